#include "corvane/environment/portable/FileOpRules.h"

namespace corvane::shellop {

uint16_t FileOpFlags(const FileOpOptions& options, size_t destinationCount) {
    uint16_t flags = 0;
    if (options.AllowUndo) flags |= fof::kAllowUndo;
    if (options.SilentMode) flags |= fof::kSilent;
    if (options.RenameOnCollision) flags |= fof::kRenameOnCollision;
    if (!options.ConfirmOperation) flags |= fof::kNoConfirmation;
    if (!options.ConfirmMakeDir) flags |= fof::kNoConfirmMkDir;
    if (!options.IncludeDirectories) flags |= fof::kFilesOnly;
    if (!options.CustomText.empty()) flags |= fof::kSimpleProgress;
    if (destinationCount > 1) flags |= fof::kMultiDestFiles;
    return flags;
}

std::string DoubleNulList(const std::vector<std::string>& paths) {
    std::string list;
    for (const auto& path : paths) {
        if (path.empty() || path.find('\0') != std::string::npos) return "";
        list += path;
        list += '\0';
    }
    list += '\0';
    return list;
}

}  // namespace corvane::shellop

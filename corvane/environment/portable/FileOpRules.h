// What the shell file operation wrapper sends: its flags from its properties
// and its double-NUL-terminated path lists. Platform-free; the values are
// those of the shell's file-operation structure.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::shellop {

namespace fof {
inline constexpr uint16_t kMultiDestFiles = 0x1;
inline constexpr uint16_t kSilent = 0x4;
inline constexpr uint16_t kRenameOnCollision = 0x8;
inline constexpr uint16_t kNoConfirmation = 0x10;
inline constexpr uint16_t kAllowUndo = 0x40;
inline constexpr uint16_t kFilesOnly = 0x80;
inline constexpr uint16_t kSimpleProgress = 0x100;
inline constexpr uint16_t kNoConfirmMkDir = 0x200;
}  // namespace fof

// The shell's function codes.
enum class FileOpFunction : uint32_t { Move = 1, Copy = 2, Delete = 3, Rename = 4 };

struct FileOpOptions {
    bool AllowUndo = false;
    bool ConfirmMakeDir = true;
    bool ConfirmOperation = true;
    std::string CustomText;
    bool IncludeDirectories = true;
    bool RenameOnCollision = false;
    bool SilentMode = false;
};

// The flags of one operation; two or more destinations make it a
// multi-destination one. The defaults give 0: every confirmation, no undo.
uint16_t FileOpFlags(const FileOpOptions& options, size_t destinationCount);

// Every path followed by a NUL, then one NUL more; an empty list is one NUL.
// "" when a path is empty or holds a NUL: the shell would read the list
// shorter, or read one path as two.
std::string DoubleNulList(const std::vector<std::string>& paths);

}  // namespace corvane::shellop

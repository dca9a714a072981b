// Whether the last backup can be repeated as it was: every saved folder of
// the list rebuilt from the control file must still be there. Platform-free.
#pragma once

#include "corvane/zip/ZipFileSystem.h"
#include "corvane/catalog/TreeList.h"

#include <cstdint>
#include <string>

namespace corvane::planning {

struct QuickCheck {
    bool ok = true;
    std::string missingCaption;  // the first saved row whose file or folder is gone
    int64_t totalBytes = 0;      // the saved rows' sizes
};

// Measures every saved row (FlgSave 1) in list order: a mail folder (type 2
// or 4) by its file in `mailFilesFolder`, a version-4 news account (type 20)
// by the files directly in its folder below `oe4NewsFolder`. Each size goes
// to the row's FileSize. Stops at the first row whose file or folder is missing.
QuickCheck CheckSavedRows(catalog::TreeList& rows, const std::string& mailFilesFolder, const std::string& oe4NewsFolder,
                          zip::FileSystem& files);

// "Mail folder - <caption> - is missing." CR LF "Unable to do Fast Backup".
std::string MissingFolderText(const std::string& caption);

}  // namespace corvane::planning

#include "corvane/backup/planning/QuickCheck.h"

#include "corvane/catalog/CatalogModel.h"
#include "corvane/catalog/FileScan.h"

namespace corvane::planning {

namespace names = catalog::names;

QuickCheck CheckSavedRows(catalog::TreeList& rows, const std::string& mailFilesFolder, const std::string& oe4NewsFolder,
                          zip::FileSystem& files) {
    QuickCheck check;
    for (int i = 1; i < rows.Count(); ++i) {
        if (rows.NumberValue(i, names::kFlgSave) != 1) continue;
        const int64_t type = rows.NumberValue(i, names::kType);
        const std::string file = rows.TextValue(i, names::kMbxName);
        zip::FileInfo info;
        int64_t size = 0;
        if (type == catalog::kTypeNewsAccount) {
            const std::string folder = oe4NewsFolder + file;
            if (file.empty() || !files.Stat(folder, &info) || !info.isFolder) {
                check.ok = false;
            } else {
                size = catalog::FolderSize(files, folder);
            }
        } else if (type == catalog::kTypeMailFolder || type == catalog::kTypeNewsgroup) {
            if (file.empty() || !files.Stat(mailFilesFolder + file, &info) || info.isFolder) {
                check.ok = false;
            } else {
                size = static_cast<int64_t>(info.size);
            }
        } else {
            continue;
        }
        if (!check.ok) {
            check.missingCaption = rows.Text(i);
            return check;
        }
        rows.SetNumberValue(i, names::kFileSize, size);
        check.totalBytes += size;
    }
    return check;
}

std::string MissingFolderText(const std::string& caption) {
    return "Mail folder - " + caption + " - is missing.\r\nUnable to do Fast Backup";
}

}  // namespace corvane::planning

#include "corvane/catalog/FileScan.h"

#include "corvane/environment/portable/TextRules.h"

#include <vector>

namespace corvane::catalog {
namespace {

// Deeper than any real Favorites tree; it stops a folder that (through a
// junction or link) contains itself.
constexpr int kDeepestFolder = 64;

// The folder a scan path names, with one separator at its end.
std::string FolderOf(const std::string& path, char separator) {
    if (EndsWithNoCase(path, "*.*")) return path.substr(0, path.size() - 3);
    if (path.back() == '\\' || path.back() == '/') return path;
    return path + separator;
}

void ScanFolder(zip::FileSystem& files, const std::string& folder, int depth, int64_t& total, int64_t& count) {
    std::vector<zip::FileInfo> entries;
    if (!files.List(folder, &entries)) return;
    for (const zip::FileInfo& entry : entries) {
        if (entry.name == "." || entry.name == "..") continue;
        if (!entry.isFolder) {
            total += static_cast<int64_t>(entry.size);
            count += 1;
        } else if (depth < kDeepestFolder) {
            ScanFolder(files, folder + entry.name + files.Separator(), depth + 1, total, count);
        }
    }
}

}  // namespace

void TreeScan(zip::FileSystem& files, const std::string& path, int64_t& total, int64_t& count) {
    if (path.empty()) return;
    ScanFolder(files, FolderOf(path, files.Separator()), 0, total, count);
}

int64_t FolderSize(zip::FileSystem& files, const std::string& folder) {
    if (folder.empty()) return 0;
    std::vector<zip::FileInfo> entries;
    if (!files.List(FolderOf(folder, files.Separator()), &entries)) return 0;
    int64_t total = 0;
    for (const zip::FileInfo& entry : entries)
        if (!entry.isFolder) total += static_cast<int64_t>(entry.size);
    return total;
}

}  // namespace corvane::catalog

#include "corvane/restore/portable/PlacementNames.h"

#include <cstdio>

namespace corvane::restore {
namespace {

std::string WithoutTrailingBackslash(std::string_view path) {
    if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    return std::string(path);
}

std::string Numbered(const std::string& base, int number) {
    char suffix[8];
    std::snprintf(suffix, sizeof suffix, "_%03d", number);
    return base + suffix;
}

}  // namespace

std::string DatedBackupFolderName(std::string_view storeFolder, int year, int month, int day,
                                  const ExistsTest& exists) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return "";
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, day);
    std::string base = WithoutTrailingBackslash(storeFolder) + "\\backup" + date;
    if (!exists(base)) return base;
    for (int number = 1; number <= kMaxSetAsideNumber; ++number) {
        std::string name = Numbered(base, number);
        if (!exists(name)) return name;
    }
    return "";
}

std::string SetAsideFolderName(std::string_view folder, const ExistsTest& exists) {
    std::string base = WithoutTrailingBackslash(folder);
    for (int number = 1; number <= kMaxSetAsideNumber; ++number) {
        std::string name = Numbered(base, number);
        if (!exists(name)) return name;
    }
    return "";
}

std::string WabSafetyName(std::string_view wabPath) {
    if (wabPath.empty()) return "";
    std::string name(wabPath);
    name.back() = 'x';
    return name;
}

BrowseStart BrowseStartOf(std::string_view archivePath) {
    size_t last = archivePath.rfind('\\');
    if (last == std::string_view::npos) return {};
    std::string_view folder = archivePath.substr(0, last + 1);
    if (folder == "a:\\") return {"c:\\", ""};
    return {std::string(folder), std::string(archivePath.substr(last + 1))};
}

bool ShowsLastDiskNote(std::string_view archivePath) {
    std::string_view drive = archivePath.substr(0, 2);
    return drive == "a:" || drive == "b:";
}

}  // namespace corvane::restore

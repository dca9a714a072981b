#include "corvane/environment/portable/OePaths.h"

#include "corvane/environment/portable/ListFcns.h"
#include "corvane/environment/portable/TextRules.h"

namespace corvane {

bool IsVersion5ProgramPath(std::string_view path) {
    size_t slash = path.find_last_of('\\');
    std::string_view file = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return EqualsNoCase(file, "MSOE.DLL");
}

std::string SafeName(std::string_view text) {
    static constexpr std::string_view kUnsafe = "\\/:*?\"<>|.";
    std::string safe;
    for (char c : text)
        if (kUnsafe.find(c) == std::string_view::npos) safe += c;
    return safe;
}

std::string FirstPathComponent(std::string_view path) { return std::string(path.substr(0, path.find('\\'))); }

std::string ReplaceFirstPathComponent(std::string_view path, std::string_view replacement) {
    size_t slash = path.find('\\');
    std::string rest = slash == std::string_view::npos ? "" : std::string(path.substr(slash));
    return std::string(replacement) + rest;
}

std::string ExpandSystemPlaceholders(std::string_view path, std::string_view windowsFolder) {
    std::string expanded(path);
    if (EqualsNoCase(FirstPathComponent(expanded), "%SYSTEMDRIVE%"))
        expanded = ReplaceFirstPathComponent(expanded, FirstPathComponent(windowsFolder));
    if (EqualsNoCase(FirstPathComponent(expanded), "%SYSTEMROOT%"))
        expanded = ReplaceFirstPathComponent(expanded, windowsFolder);
    return expanded;
}

std::string WithOneTrailingBackslash(std::string_view path) {
    std::string folder(path);
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    return folder + "\\";
}

bool StartsWithUserProfile(std::string_view path) { return EqualsNoCase(FirstPathComponent(path), "%USERPROFILE%"); }

}  // namespace corvane

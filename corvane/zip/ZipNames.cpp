#include "corvane/zip/ZipNames.h"

#include <cctype>

#include "corvane/environment/portable/Wildcard.h"

namespace corvane::zip {
namespace {
bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::string ToBackslashes(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool IsDeviceName(std::string_view component) {
    // "CON", "con.txt" and "CON .txt" all open the device on Windows.
    size_t end = component.find('.');
    std::string base = Upper(component.substr(0, end));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
    for (const char* d : kDevices)
        if (base == d) return true;
    if (base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '0' && base[3] <= '9')
        return true;
    return false;
}

bool IsHostileComponent(std::string_view c) {
    if (c.empty() || c == "." || c == "..") return true;
    if (c.back() == '.' || c.back() == ' ') return true;
    return IsDeviceName(c);
}
}  // namespace

std::string EntryNameFromPath(std::string_view path) {
    if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') path.remove_prefix(2);
    while (!path.empty() && IsSeparator(path.front())) path.remove_prefix(1);
    std::string out(path);
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

std::vector<std::string> SplitSpecifications(std::string_view list) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = list.size();
        if (end > start) out.emplace_back(list.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

bool MatchEntryName(std::string_view storedName, std::string_view specification, std::string* tail) {
    std::string name = ToBackslashes(storedName);
    std::string spec = ToBackslashes(specification);
    while (!spec.empty() && spec.front() == '\\') spec.erase(0, 1);
    if (spec.empty()) return false;
    // As on Windows, a trailing ".*" also matches names without a dot: "*.*"
    // is every name, "prefix*.*" every name that starts with the prefix.
    std::string withoutDot;
    if (spec.size() >= 2 && spec.ends_with(".*")) withoutDot = spec.substr(0, spec.size() - 2);
    for (size_t start = 0; start < name.size();) {
        std::string_view candidate = std::string_view(name).substr(start);
        if (WildcardMatch(candidate, spec) || (!withoutDot.empty() && WildcardMatch(candidate, withoutDot))) {
            *tail = std::string(candidate);
            return true;
        }
        size_t next = name.find('\\', start);
        if (next == std::string::npos) break;
        start = next + 1;
    }
    return false;
}

bool IsHostileName(std::string_view name) {
    if (name.empty() || IsSeparator(name.front())) return true;
    for (char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
            c == '>' || c == '|')
            return true;
    size_t start = 0;
    while (start < name.size()) {
        size_t end = start;
        while (end < name.size() && !IsSeparator(name[end])) ++end;
        bool lastWithSlash = end == name.size() - 1;  // "folder/" names a folder
        if (IsHostileComponent(name.substr(start, end - start))) return true;
        if (lastWithSlash) break;
        start = end + 1;
    }
    return false;
}

std::string JoinPath(std::string_view folder, std::string_view relative, char separator) {
    std::string out(folder);
    if (!out.empty() && !IsSeparator(out.back())) out += separator;
    for (char c : relative) out += IsSeparator(c) ? separator : c;
    return out;
}

}  // namespace corvane::zip

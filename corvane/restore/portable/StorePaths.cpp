#include "corvane/restore/portable/StorePaths.h"

#include "corvane/environment/portable/TextRules.h"

#include <vector>

namespace corvane::restore {
namespace {

bool IsDeviceName(std::string_view name) {
    // Windows reads the part before the first dot, without trailing blanks, as the device.
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    std::string upper = UpperCased(base);
    if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL" || upper == "CONIN$" || upper == "CONOUT$")
        return true;
    if (upper.size() != 4) return false;
    bool numbered = upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0;
    return numbered && upper[3] >= '1' && upper[3] <= '9';
}

bool IsReservedCharacter(char c) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 32) return true;
    switch (c) {
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
        return true;
    default:
        return false;
    }
}

// Splits off the root of a path already written with "\" only: "C:" of an
// absolute drive path, "\\server\share" of a share, "\" of a rooted path,
// "" of a relative one. False for forms that are not followed here: the
// device namespace ("\\?\", "\\.\") and drive-relative paths ("C:x").
bool SplitRoot(std::string_view path, std::string& root, std::string_view& rest) {
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        if (path.size() >= 3 && (path[2] == '?' || path[2] == '.')) return false;
        size_t server = path.find('\\', 2);
        if (server == std::string_view::npos || server == 2) return false;
        size_t share = path.find('\\', server + 1);
        if (share == server + 1) return false;
        root = std::string(path.substr(0, share));
        rest = share == std::string_view::npos ? std::string_view() : path.substr(share);
        return true;
    }
    if (path.size() >= 2 && path[1] == ':') {
        if (path.size() > 2 && path[2] != '\\') return false;
        root = std::string(path.substr(0, 2));
        rest = path.substr(2);
        return true;
    }
    if (!path.empty() && path[0] == '\\') {
        root = "\\";
        rest = path;
        return true;
    }
    root.clear();
    rest = path;
    return true;
}

}  // namespace

NameFault CheckPlainName(std::string_view name) {
    if (name.empty()) return NameFault::Empty;
    if (name.size() > kMaxNameLength) return NameFault::TooLong;
    if (name.find_first_of("\\/") != std::string_view::npos) return NameFault::Separator;
    if (name.find(':') != std::string_view::npos) return NameFault::DriveOrStream;
    if (name == "." || name == "..") return NameFault::DotName;
    for (char c : name)
        if (IsReservedCharacter(c)) return NameFault::ReservedCharacter;
    if (name.back() == '.' || name.back() == ' ') return NameFault::TrailingDotOrBlank;
    if (IsDeviceName(name)) return NameFault::DeviceName;
    return NameFault::None;
}

std::string NormalisePath(std::string_view path) {
    std::string slashed(path);
    for (char& c : slashed)
        if (c == '/') c = '\\';
    std::string root;
    std::string_view rest;
    if (slashed.empty() || !SplitRoot(slashed, root, rest)) return "";

    std::vector<std::string_view> parts;
    while (!rest.empty()) {
        size_t end = rest.find('\\');
        std::string_view part = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (parts.empty()) return "";
            parts.pop_back();
            continue;
        }
        while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.remove_suffix(1);
        if (part.empty()) return "";
        parts.push_back(part);
    }

    std::string normal = root == "\\" ? std::string() : root;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0 || !root.empty()) normal += '\\';
        normal += parts[i];
    }
    if (normal.empty()) normal = root;
    return normal;
}

bool IsInsideFolder(std::string_view folder, std::string_view path) {
    std::string base = NormalisePath(folder);
    std::string full = NormalisePath(path);
    if (base.empty() || full.empty()) return false;
    if (base == "\\") return full.size() > 1 && full[0] == '\\';
    return full.size() > base.size() + 1 && full[base.size()] == '\\' &&
           EqualsNoCase(std::string_view(full).substr(0, base.size()), base);
}

std::string PathInFolder(std::string_view folder, std::string_view name) {
    if (!IsPlainName(name) || folder.empty()) return "";
    std::string path(folder);
    if (path.back() != '\\' && path.back() != '/') path += '\\';
    path += name;
    return IsInsideFolder(folder, path) ? path : "";
}

}  // namespace corvane::restore

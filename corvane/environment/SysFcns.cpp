#include "corvane/environment/SysFcns.h"

namespace corvane {

std::string StripTrailingBackslash(const std::string& path) {
    if (!path.empty() && path.back() == '\\') return path.substr(0, path.size() - 1);
    return path;
}

std::string AppFolder() {
    char buffer[MAX_PATH * 4];
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    std::string path(buffer, length < sizeof buffer ? length : 0);
    size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos) return "";
    return StripTrailingBackslash(path.substr(0, slash + 1));
}

}  // namespace corvane

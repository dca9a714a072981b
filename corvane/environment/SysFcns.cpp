#include "corvane/environment/SysFcns.h"

#include "corvane/environment/portable/TextRules.h"
#include "corvane/environment/portable/Wildcard.h"

#include <shlobj.h>

#include <vector>

namespace corvane {
namespace {

bool HasWildcard(const std::string& path) { return path.find_first_of("*?") != std::string::npos; }

// Keeps Windows from asking the user to insert a disk while a path is tested;
// the caller's own error mode comes back when the test is over.
class QuietCriticalErrors {
public:
    // XP has no call that only reads the mode: setting it returns the old one.
    QuietCriticalErrors() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {
        SetErrorMode(previous_ | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    }
    QuietCriticalErrors(const QuietCriticalErrors&) = delete;
    QuietCriticalErrors& operator=(const QuietCriticalErrors&) = delete;
    ~QuietCriticalErrors() { SetErrorMode(previous_); }

private:
    UINT previous_;
};

// The attributes of a path, or INVALID_FILE_ATTRIBUTES; never a system error box.
DWORD QuietAttributes(const std::string& path) {
    QuietCriticalErrors quiet;
    return GetFileAttributesA(path.c_str());
}

std::vector<std::string> SplitAtBackslash(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t slash = path.find('\\', start);
        parts.push_back(path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
        if (slash == std::string::npos) return parts;
        start = slash + 1;
    }
}

// "5.1" for 0x00050001, "7" for 0x00000007.
std::string VersionPart(DWORD word) {
    std::string low = std::to_string(LOWORD(word));
    if (HIWORD(word) == 0) return low;
    return std::to_string(HIWORD(word)) + "." + low;
}

// The whole version resource of a file; empty when it has none.
std::vector<char> VersionResource(const std::string& path) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return {};
    return data;
}

std::string StringFileInfo(const std::vector<char>& data, const char* langCodepage, const char* name) {
    std::string query = std::string("\\StringFileInfo\\") + langCodepage + "\\" + name;
    char* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), query.c_str(), reinterpret_cast<void**>(&text), &length)) return "";
    if (text == nullptr || length == 0) return "";
    std::string value(text, length);
    return value.substr(0, value.find('\0'));
}

struct TopWindowSearch {
    const std::string* titlePattern;
    const std::string* classPattern;
    HWND found = nullptr;
};

BOOL CALLBACK MatchTopWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<TopWindowSearch*>(context);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (!WildcardMatch(className, *search->classPattern)) return TRUE;
    if (!search->titlePattern->empty()) {
        char title[256] = {};
        GetWindowTextA(window, title, sizeof title);
        if (!WildcardMatch(UpperCased(title), *search->titlePattern)) return TRUE;
    }
    search->found = window;
    return FALSE;
}

}  // namespace

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

std::string Narrow(const wchar_t* wide) {
    if (wide == nullptr) return "";
    int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return "";
    std::string text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text.data(), size, nullptr, nullptr);
    text.resize(static_cast<size_t>(size) - 1);
    return text;
}

std::wstring Widen(const std::string& text) {
    if (text.empty()) return L"";
    int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), size);
    wide.resize(static_cast<size_t>(size) - 1);
    return wide;
}

bool FileExists(const std::string& path) {
    if (path.empty() || HasWildcard(path)) return false;
    DWORD attributes = QuietAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path) {
    if (path.empty() || HasWildcard(path)) return false;
    DWORD attributes = QuietAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void MakePath(const std::string& path) {
    if (path.rfind("\\\\", 0) == 0) return;  // network paths are left to their server
    std::vector<std::string> parts = SplitAtBackslash(path);
    if (!parts.empty() && parts.back().empty()) parts.pop_back();
    // The first component is the drive ("C:") or the root of the current drive.
    std::string prefix = parts.empty() ? "" : parts.front();
    for (size_t i = 1; i < parts.size(); ++i) {
        prefix += "\\" + parts[i];
        if (FolderExists(prefix)) continue;
        if (!CreateDirectoryA(prefix.c_str(), nullptr)) return;
    }
}

std::string BrowseForFolder(HWND owner, const std::string& title) {
    // The browser needs COM on this thread; a caller's own initialisation is kept.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    std::string chosen;
    if (LPITEMIDLIST items = SHBrowseForFolderA(&info)) {
        char path[MAX_PATH + 1] = {};
        if (SHGetPathFromIDListA(items, path)) chosen = path;  // cut at the first NUL
        CoTaskMemFree(items);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return chosen;
}

std::string VersionText(const std::string& fileName) { return VersionTextOfFile(AppFolder() + "\\" + fileName); }

std::string VersionTextOfFile(const std::string& path) {
    std::vector<char> data = VersionResource(path);
    if (data.empty()) return "";
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length)) return "";
    if (fixed == nullptr || length < sizeof *fixed || fixed->dwSignature != 0xFEEF04BD) return "";
    return VersionPart(fixed->dwFileVersionMS) + " rev " + VersionPart(fixed->dwFileVersionLS);
}

std::string ProductNameOfFile(const std::string& path) {
    std::vector<char> data = VersionResource(path);
    if (data.empty()) return "";
    struct Translation {
        WORD language;
        WORD codepage;
    };
    Translation* table = nullptr;
    UINT length = 0;
    if (VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&table), &length) &&
        table != nullptr) {
        for (UINT i = 0; i < length / sizeof(Translation); ++i) {
            char langCodepage[16];
            wsprintfA(langCodepage, "%04x%04x", table[i].language, table[i].codepage);
            std::string name = StringFileInfo(data, langCodepage, "ProductName");
            if (!name.empty()) return name;
        }
    }
    // Resources without a translation table are most often US English, Unicode.
    return StringFileInfo(data, "040904b0", "ProductName");
}

int32_t PlatformId() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return 0;
    return static_cast<int32_t>(info.dwPlatformId);
}

HWND FindTopWindow(const std::string& titlePattern, const std::string& classPattern) {
    TopWindowSearch search{&titlePattern, &classPattern};
    EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void CentreForm(HWND window) {
    RECT bounds;
    if (!GetWindowRect(window, &bounds)) return;
    int width = bounds.right - bounds.left;
    int height = bounds.bottom - bounds.top;
    int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The free space of a drive root in bytes as a 64-bit figure; 0 when the
// system cannot say (an empty drive, a bad root), which turns the warning off.
int64_t DriveFreeBytes(const std::string& root) {
    std::string path = root;
    if (path.empty() || path.back() != '\\') path += '\\';
    QuietCriticalErrors quiet;
    ULARGE_INTEGER available = {}, total = {}, free = {};
    BOOL ok = GetDiskFreeSpaceExA(path.c_str(), &available, &total, &free);
    if (!ok || available.QuadPart > static_cast<ULONGLONG>(INT64_MAX)) return 0;
    return static_cast<int64_t>(available.QuadPart);
}

}  // namespace corvane

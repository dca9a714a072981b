#include "testsupport/OeTestSupport.h"

#include "corvane/environment/SysFcns.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <windows.h>
#include <shlwapi.h>

namespace corvane::testing {

void CleanOutlookExpressState() {
    SHDeleteKeyA(HKEY_CURRENT_USER, "Identities");
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Microsoft\\Outlook Express");
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Microsoft\\WAB\\WAB4");
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Account Manager");
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\BrindleWorks\\Corvane");
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Clients\\Mail\\Outlook Express");
    SHDeleteKeyA(HKEY_CLASSES_ROOT, "CLSID\\{06BE7323-EF34-11d1-ACD8-00C04FA31009}");
    WIN32_FIND_DATAA found;
    std::string folder = AppFolder();
    HANDLE search = FindFirstFileA((folder + "\\brind*.ctl").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        DeleteFileA((folder + "\\" + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::string HostPath(const std::string& windowsPath) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return {};
    std::wstring wide(windowsPath.begin(), windowsPath.end());
    char* unix = toUnix(wide.c_str());
    if (!unix) return {};
    std::string path = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return path;
}

// Wine starts a Linux program given by its Z: path; its exit code does not
// come back, so the shell writes it to a file.
int RunHostCommand(const std::string& command, std::string* output) {
    const std::string folder = FreshTestFolder("host-command");
    const std::string outPath = HostPath(folder + "\\out.txt"), statusPath = HostPath(folder + "\\status.txt");
    if (outPath.empty() || statusPath.empty()) return -1;
    std::string line = "/bin/sh -c \"" + command + " >'" + outPath + "' 2>&1; echo $? >'" + statusPath + "'\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA("Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, 60000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::string status;
    for (int wait = 0; wait < 600 && (status = ReadFileText(folder + "\\status.txt")).empty(); ++wait) Sleep(100);
    if (output) *output = ReadFileText(folder + "\\out.txt");
    return status.empty() ? -1 : std::atoi(status.c_str());
}

bool PumpUntil(const std::function<bool()>& done, double seconds) {
    const DWORD start = GetTickCount(), limit = static_cast<DWORD>(seconds * 1000);
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;  // a program's window asked its loop to end; the test goes on
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done()) return true;
        if (GetTickCount() - start >= limit) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

std::string FreshTestFolder(const std::string& name) {
    std::string folder = AppFolder() + "\\teststores\\" + name;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

std::string ReadFileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string CorvaneSetting(const std::string& section, const std::string& key, const std::string& fallback) {
    std::string path = "Software\\BrindleWorks\\Corvane" + (section.empty() ? "" : "\\" + section);
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return fallback;
    char buffer[1024] = {};
    DWORD size = sizeof buffer - 1;
    LONG status = RegQueryValueExA(handle, key.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(handle);
    return status == ERROR_SUCCESS ? std::string(buffer) : fallback;
}

void SaveCorvaneSetting(const std::string& section, const std::string& key, const std::string& value) {
    std::string path = "Software\\BrindleWorks\\Corvane" + (section.empty() ? "" : "\\" + section);
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(handle, key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
}

FakeOutlook::FakeOutlook(const std::string& className, const std::string& title, bool ignoreClose)
    : className_(className) {
    std::string command = "\"" + AppFolder() + "\\fakeoe.exe\" \"" + className + "\" \"" + title + "\"" +
                          (ignoreClose ? " --ignore-close" : "");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
        return;
    for (int i = 0; i < 200 && !Window(); ++i) Sleep(50);
}

FakeOutlook::~FakeOutlook() {
    if (!process_.hProcess) return;
    TerminateProcess(process_.hProcess, 0);
    WaitForSingleObject(process_.hProcess, 5000);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
}

HWND FakeOutlook::Window() const { return FindTopWindow("", className_); }

bool FakeOutlook::Ended(DWORD waitMs) const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, waitMs) == WAIT_OBJECT_0;
}

}  // namespace corvane::testing

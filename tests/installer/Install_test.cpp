// The setup program end to end under Wine: a silent install into a test
// folder, each program started from there, and the two silent uninstalls, one
// that keeps the user's control files and settings and one asked to remove them.
#include "CorvaneVersion.h"
#include "corvane/environment/CRegSettings.h"
#include "corvane/main/resource.h"
#include "loopline/resource.h"
#include "nudgeon/resource.h"
#include "testsupport/OeTestSupport.h"
#include "testsupport/ProcessWindows.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace corvane::testing {
namespace {

const char* const kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane";
const char* const kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kRunValue = "Corvane Reminder";
const char* const kShippedFiles[] = {"corvane.exe",    "nudgeon.exe",    "loopline.exe",   "corvane-export.exe",
                                     "skein.dll",      "loopline.ini",   "help\\999.html", "help\\help.css",
                                     "uninstall.exe"};

// The build's path of the setup program, as Wine sees it.
std::string SetupProgram() {
    std::string path = "Z:" + std::string(CORVANE_SETUP_PATH);
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        if (done()) return true;
        Sleep(100);
    }
    return done();
}

bool KeyExists(const char* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

std::string RegistryText(const char* key, const char* value) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return "<none>";
    char text[1024] = {};
    DWORD size = sizeof text - 1, type = 0;
    LONG result = RegQueryValueExA(opened, value, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(opened);
    return result == ERROR_SUCCESS && type == REG_SZ ? text : "<none>";
}

void DeleteRegistryValue(const char* key, const char* value) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return;
    RegDeleteValueA(opened, value);
    RegCloseKey(opened);
}

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, 0, path);
    return path;
}

// The four numbers of a file's version information, "" without it.
std::string FileVersion(const std::string& path) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return "";
    std::vector<char> data(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data()) ||
        !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
        return "";
    return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionLS));
}

// Runs a command line and waits for its end; its exit code, or -1.
int RunToEnd(const std::string& program, const std::string& arguments, DWORD timeoutMs = 120000) {
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    DWORD exitCode = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &exitCode);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}

struct ControlSearch {
    int id = 0;
    HWND found = nullptr;
};

BOOL CALLBACK FindControl(HWND child, LPARAM context) {
    auto* search = reinterpret_cast<ControlSearch*>(context);
    if (GetDlgCtrlID(child) != search->id || !IsWindowVisible(child)) return TRUE;
    search->found = child;
    return FALSE;
}

// An installed program, started from its own folder as a shortcut would; ended with the object.
class StartedProgram {
public:
    StartedProgram(const std::string& folder, const std::string& file, const std::string& arguments = "") {
        std::string program = folder + "\\" + file;
        std::string commandLine = "\"" + program + "\" " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  folder.c_str(), &startup, &process_);
    }
    ~StartedProgram() {
        if (!started_) return;
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 10000);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    bool Started() const { return started_; }
    // A visible top-level window of the given class of this process; nullptr after the timeout.
    HWND WaitForWindow(const char* className, int timeoutMs) const {
        HWND found = nullptr;
        WaitUntil(
            [&] {
                found = VisibleWindowOf(process_.dwProcessId, className);
                return found != nullptr || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
            },
            timeoutMs);
        return found;
    }

private:
    bool started_ = false;
    PROCESS_INFORMATION process_ = {};
};

// A visible child of `parent` with the control id, at any depth.
HWND VisibleControl(HWND parent, int id) {
    ControlSearch search;
    search.id = id;
    EnumChildWindows(parent, FindControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ForeignText(HWND control) {
    char text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        &length);
    return std::string(text, length);
}

class Install : public OeRegistryTest {
protected:
    void SetUp() override {
        OeRegistryTest::SetUp();
        ASSERT_TRUE(Exists(SetupProgram())) << SetupProgram();
        folder = FreshTestFolder("installed") + "\\Corvane Programs";
        settings.SetCompany("BrindleWorks");
        settings.SetAppName("Corvane");
        RegDeleteKeyA(HKEY_CURRENT_USER, kUninstallKey);
        DeleteRegistryValue(kRunKey, kRunValue);
    }
    void TearDown() override {
        // An uninstall the test did not reach; its ending is what the test waits for.
        if (Exists(folder + "\\uninstall.exe")) {
            RunToEnd(folder + "\\uninstall.exe", "/S /PURGE");
            WaitUntil([] { return !KeyExists(kUninstallKey); }, 60000);
        }
        settings.DeleteSetting("", "");
        OeRegistryTest::TearDown();
    }

    int Setup(const std::string& reminder) {
        // /D= comes last and unquoted, spaces and all.
        return RunToEnd(SetupProgram(), "/S /REMINDER=" + reminder + " /D=" + folder);
    }
    // The uninstaller copies itself away and returns at once; the removal of
    // its uninstall key is its last step.
    bool Uninstall(const std::string& arguments) {
        if (RunToEnd(folder + "\\uninstall.exe", arguments) != 0) return false;
        return WaitUntil([] { return !KeyExists(kUninstallKey); }, 60000);
    }
    std::string StartMenu(const std::string& entry) const {
        return ShellFolder(CSIDL_PROGRAMS) + "\\Corvane\\" + entry + ".lnk";
    }
    std::string StartupEntry() const { return ShellFolder(CSIDL_STARTUP) + "\\Corvane Reminder.lnk"; }
    std::string Quoted(const std::string& file) const { return "\"" + folder + "\\" + file + "\""; }

    std::string folder;
    CRegSettings settings;
};

TEST_F(Install, SilentInstallRunsEachProgramFromItsFolderAndUninstallKeepsTheUsersData) {
    ASSERT_EQ(Setup("run"), 0);
    for (const char* file : kShippedFiles) EXPECT_TRUE(Exists(folder + "\\" + file)) << file;
    for (const char* entry : {"Corvane", "Corvane Reminder", "Uninstall Corvane"})
        EXPECT_TRUE(Exists(StartMenu(entry))) << entry;
    EXPECT_EQ(RegistryText(kRunKey, kRunValue), Quoted("nudgeon.exe"));
    EXPECT_FALSE(Exists(StartupEntry())) << "the reminder would start twice at logon";
    EXPECT_EQ(RegistryText(kUninstallKey, "UninstallString"), Quoted("uninstall.exe"));
    // One version everywhere: every program, the library and the setup program itself.
    for (const char* file : {"corvane.exe", "nudgeon.exe", "loopline.exe", "skein.dll", "uninstall.exe"})
        EXPECT_EQ(FileVersion(folder + "\\" + file), CORVANE_VERSION_TEXT) << file;
    EXPECT_EQ(FileVersion(SetupProgram()), CORVANE_VERSION_TEXT);

    // corvane reaches its welcome page on the sample store and keeps its control file beside itself.
    ASSERT_TRUE(MakeSampleVersion5Installation(oe, FreshTestFolder("install-store")));
    {
        StartedProgram corvane(folder, "corvane.exe");
        ASSERT_TRUE(corvane.Started());
        HWND main = corvane.WaitForWindow("CorvaneMainWindow", 60000);
        ASSERT_NE(main, nullptr) << "corvane showed no main window";
        EXPECT_TRUE(WaitUntil([&] { return VisibleControl(main, IDC_CMDBACKUP) != nullptr; }, 10000))
            << "no welcome page";
    }
    std::vector<std::string> controlFiles;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string name = entry.path().filename().string();
        if (name.rfind("brind", 0) == 0 && entry.path().extension() == ".ctl") controlFiles.push_back(name);
    }
    ASSERT_EQ(controlFiles.size(), 1u) << "corvane wrote no control file beside itself";

    // nudgeon reads the settings corvane keeps.
    settings.SaveSetting("Parms", "RemindDays", "3");
    settings.SaveSetting("Parms", "LastBackup", "20000101");
    {
        StartedProgram nudgeon(folder, "nudgeon.exe");
        HWND reminder = nudgeon.WaitForWindow("#32770", 30000);
        ASSERT_NE(reminder, nullptr) << "nudgeon showed no reminder";
        EXPECT_EQ(ForeignText(GetDlgItem(reminder, IDC_CHECK_LABEL1)),
                  "You have not done a Backup of Outlook Express for at least 3 days. ");
    }
    // loopline finds its settings beside itself: it gets as far as the fetch from a
    // closed port (404), not the missing settings file (100).
    {
        StartedProgram loopline(folder, "loopline.exe", "\"LoadUrl=127.0.0.1:9/news.txt\"");
        HWND form = loopline.WaitForWindow("LooplineForm", 30000);
        ASSERT_NE(form, nullptr) << "loopline showed no window";
        std::string memo;
        WaitUntil([&] { return (memo = ForeignText(GetDlgItem(form, IDC_MEMO1))).find("]") != std::string::npos; },
                  30000);
        EXPECT_NE(memo.find("[404]"), std::string::npos) << memo;
    }

    // An archive the user saved into the program folder.
    const std::string archive = folder + "\\Corvane5Backup.zip";
    HANDLE file = CreateFileA(archive.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);

    ASSERT_TRUE(Uninstall("/S")) << "the uninstall did not end";
    for (const char* shipped : kShippedFiles) EXPECT_FALSE(Exists(folder + "\\" + shipped)) << shipped;
    EXPECT_FALSE(Exists(folder + "\\help"));
    EXPECT_FALSE(Exists(StartMenu("Corvane")));
    EXPECT_EQ(RegistryText(kRunKey, kRunValue), "<none>");
    EXPECT_TRUE(Exists(folder + "\\" + controlFiles[0]));
    EXPECT_TRUE(Exists(archive));
    EXPECT_EQ(settings.GetSetting("Parms", "RemindDays"), "3");

    // A second install over the kept data, then an uninstall asked to remove it.
    ASSERT_EQ(Setup("startup"), 0);
    EXPECT_TRUE(Exists(StartupEntry()));
    EXPECT_EQ(RegistryText(kRunKey, kRunValue), "<none>");
    EXPECT_TRUE(Exists(folder + "\\" + controlFiles[0]));
    ASSERT_TRUE(Uninstall("/S /PURGE")) << "the uninstall did not end";
    EXPECT_FALSE(Exists(folder + "\\" + controlFiles[0]));
    EXPECT_FALSE(Exists(folder + "\\corvane.exe"));
    EXPECT_FALSE(Exists(StartupEntry()));
    EXPECT_FALSE(KeyExists("Software\\BrindleWorks\\Corvane"));
    EXPECT_TRUE(Exists(archive)) << "an archive is the user's, never the uninstaller's";
}

TEST_F(Install, RefusesAnUnknownReminderChoiceAndInstallsNothing) {
    EXPECT_NE(Setup("sometimes"), 0);
    EXPECT_FALSE(Exists(folder + "\\corvane.exe"));
    EXPECT_FALSE(KeyExists(kUninstallKey));
}

}  // namespace
}  // namespace corvane::testing

// nudgeon.exe itself, on the real clock: its window comes up when a reminder
// is due, and the program ends with the window, or at once when none is.
#include "corvane/environment/CRegSettings.h"
#include "corvane/environment/SysFcns.h"
#include "nudgeon/resource.h"
#include "testsupport/ProcessWindows.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace corvane::nudgeon {
namespace {

// Another process's control text, asked for with the message.
std::string ForeignText(HWND control) {
    char text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        &length);
    return std::string(text, length);
}

class NudgeonProgram : public ::testing::Test {
protected:
    NudgeonProgram() {
        registry.SetCompany("BrindleWorks");
        registry.SetAppName("Corvane");
    }
    void SetUp() override { Clean(); }
    void TearDown() override {
        if (process.hProcess) {
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, 5000);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
        Clean();
    }
    void Clean() {
        registry.DeleteSetting("Parms", "RemindDays");
        registry.DeleteSetting("Parms", "LastBackup");
    }

    void Start() {
        std::string program = AppFolder() + "\\nudgeon.exe";
        std::string commandLine = "\"" + program + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        ASSERT_TRUE(CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   AppFolder().c_str(), &startup, &process));
    }
    HWND WaitForWindow(int timeoutMs) {
        for (int waited = 0; waited < timeoutMs; waited += 50) {
            if (HWND found = testing::VisibleWindowOf(process.dwProcessId, "#32770")) return found;
            if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) return nullptr;
        }
        return nullptr;
    }
    bool Ended(DWORD timeoutMs, DWORD* exitCode) {
        if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
        GetExitCodeProcess(process.hProcess, exitCode);
        return true;
    }

    CRegSettings registry;
    PROCESS_INFORMATION process = {};
};

TEST_F(NudgeonProgram, ShowsItsReminderAndEndsWhenItCloses) {
    registry.SaveSetting("Parms", "RemindDays", "2");
    registry.SaveSetting("Parms", "LastBackup", "20000101");
    Start();
    HWND window = WaitForWindow(30000);
    ASSERT_NE(window, nullptr) << "no reminder window";
    EXPECT_EQ(ForeignText(GetDlgItem(window, IDC_CHECK_LABEL1)),
              "You have not done a Backup of Outlook Express for at least 2 days. ");
    EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

    PostMessageA(GetDlgItem(window, IDC_CHECK_CMD + 1), BM_CLICK, 0, 0);
    DWORD exitCode = 1;
    EXPECT_TRUE(Ended(10000, &exitCode)) << "the program outlived its window";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(registry.GetSetting("Parms", "RemindDays"), "2");
}

TEST_F(NudgeonProgram, EndsAtOnceWhenNoReminderIsDue) {
    registry.SaveSetting("Parms", "RemindDays", "-1");
    registry.SaveSetting("Parms", "LastBackup", "20000101");
    Start();
    DWORD exitCode = 1;
    EXPECT_TRUE(Ended(30000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
}  // namespace corvane::nudgeon

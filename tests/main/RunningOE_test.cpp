// The running test and the close requests, against real windows of fakeoe.exe.
#include "corvane/environment/CModalDialog.h"
#include "corvane/environment/OEGenFcns.h"
#include "corvane/environment/SysFcns.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

using namespace corvane;

namespace {

// One fakeoe.exe process; ended when the object goes.
class FakeOutlook {
public:
    FakeOutlook(const std::string& className, const std::string& title, bool ignoreClose = false)
        : className_(className) {
        std::string command = "\"" + AppFolder() + "\\fakeoe.exe\" \"" + className + "\" \"" + title + "\"" +
                              (ignoreClose ? " --ignore-close" : "");
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
            return;
        for (int i = 0; i < 200 && !Window(); ++i) Sleep(50);
    }
    ~FakeOutlook() {
        if (!process_.hProcess) return;
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, 5000);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    HWND Window() const { return FindTopWindow("", className_); }
    bool Ended(DWORD waitMs = 5000) const { return WaitForSingleObject(process_.hProcess, waitMs) == WAIT_OBJECT_0; }

private:
    std::string className_;
    PROCESS_INFORMATION process_ = {};
};

}  // namespace

TEST(RunningOutlook, EachClassOfTheTable) {
    EXPECT_FALSE(IsOutlookExpressRunning());
    {
        FakeOutlook book("WABBrowseView", "Address Book - Main Identity");
        ASSERT_TRUE(book.Window());
        EXPECT_TRUE(IsOutlookExpressRunning());  // the address book alone counts
    }
    {
        FakeOutlook note("ATH_Note", "Re: lunch");
        ASSERT_TRUE(note.Window());
        EXPECT_TRUE(IsOutlookExpressRunning());
    }
    {
        FakeOutlook main("Outlook Express Browser Class", "Inbox - Outlook Express - Main Identity");
        ASSERT_TRUE(main.Window());
        EXPECT_TRUE(IsOutlookExpressRunning());
    }
    {
        // The main window's class needs the title too.
        FakeOutlook untitled("ThorBrowserWndClass", "Inbox");
        ASSERT_TRUE(untitled.Window());
        EXPECT_FALSE(IsOutlookExpressRunning());
    }
    {
        FakeOutlook other("NotepadLikeWindow", "Outlook Express");
        ASSERT_TRUE(other.Window());
        EXPECT_FALSE(IsOutlookExpressRunning());
    }
}

TEST(RunningOutlook, CloseRequestsEndCooperativeWindows) {
    FakeOutlook book("WABBrowseView", "Address Book");
    FakeOutlook main("ThorBrowserWndClass", "Outlook Express");
    ASSERT_TRUE(book.Window());
    ASSERT_TRUE(main.Window());
    EXPECT_EQ(CloseOutlookExpress(), 2);
    EXPECT_TRUE(book.Ended());
    EXPECT_TRUE(main.Ended());
    EXPECT_FALSE(IsOutlookExpressRunning());
}

TEST(RunningOutlook, AWindowThatRefusesGetsFifteenRequests) {
    FakeOutlook stubborn("Outlook Express Browser Class", "Outlook Express", true);
    FakeOutlook book("WABBrowseView", "Address Book");
    HWND window = stubborn.Window();
    ASSERT_TRUE(window);
    // The address book closes first; then fifteen requests go to the stubborn one and the call returns.
    EXPECT_EQ(CloseOutlookExpress(), 1 + 15);
    EXPECT_TRUE(book.Ended());
    EXPECT_EQ(WindowText(window), "Outlook Express [closes refused: 15]");
    EXPECT_TRUE(IsOutlookExpressRunning());
}

// The running test and the close requests, against real windows of fakeoe.exe.
#include "corvane/environment/CModalDialog.h"
#include "corvane/environment/OEGenFcns.h"
#include "corvane/environment/SysFcns.h"
#include "testsupport/OeTestSupport.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

using namespace corvane;
using namespace corvane::testing;

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

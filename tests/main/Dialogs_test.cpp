// frmGenMsg and frmSelIdent as real modal dialogs, answered through the dialog seam.
#include "corvane/environment/HelpFcns.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/main/frmGenMsg.h"
#include "corvane/main/frmSelIdent.h"
#include "corvane/main/resource.h"
#include "testsupport/ScriptedSeams.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace corvane;
using namespace corvane::testing;

namespace {

// The control's own visibility (its dialog may not be on screen under the null display).
bool HasVisibleStyle(HWND control) { return (GetWindowLongPtrA(control, GWL_STYLE) & WS_VISIBLE) != 0; }

struct SeenControls {
    std::string title, label, check, cmd0, cmd1;
    bool cmd0Visible = false, cmd1Visible = false, checked = true;
};

SeenControls Look(HWND dialog) {
    SeenControls seen;
    seen.title = WindowText(dialog);
    seen.label = ControlText(dialog, IDC_GENMSG_LABEL1);
    seen.check = ControlText(dialog, IDC_GENMSG_CHECK1);
    seen.cmd0 = ControlText(dialog, IDC_GENMSG_CMD + 0);
    seen.cmd1 = ControlText(dialog, IDC_GENMSG_CMD + 1);
    seen.cmd0Visible = HasVisibleStyle(GetDlgItem(dialog, IDC_GENMSG_CMD + 0));
    seen.cmd1Visible = HasVisibleStyle(GetDlgItem(dialog, IDC_GENMSG_CMD + 1));
    seen.checked = IsDlgButtonChecked(dialog, IDC_GENMSG_CHECK1) == BST_CHECKED;
    return seen;
}

}  // namespace

TEST(frmGenMsg, YesNoLayoutAnswersAndReportsTheBox) {
    ScriptedDialogs dialogs;
    SeenControls seen;
    dialogs.Then([&seen](HWND dialog) {
        seen = Look(dialog);
        SetCheck(dialog, IDC_GENMSG_CHECK1, true);
        ClickButton(dialog, IDC_GENMSG_CMD + 0);
    });
    bool notAgain = false;
    EXPECT_TRUE(frmGenMsg::Message(nullptr, IDI_CAUTION, "Corvane", "CAUTION - text", notAgain, 0));
    EXPECT_TRUE(notAgain);
    EXPECT_EQ(dialogs.Opened(), std::vector<int>{IDD_GENMSG});
    EXPECT_EQ(seen.title, "Corvane");
    EXPECT_EQ(seen.label, "CAUTION - text");
    EXPECT_EQ(seen.check, "&Do not show this again");
    EXPECT_FALSE(seen.checked);
    EXPECT_EQ(seen.cmd0, "&Yes");
    EXPECT_EQ(seen.cmd1, "&No");

    dialogs.Then([](HWND dialog) { ClickButton(dialog, IDC_GENMSG_CMD + 1); });
    EXPECT_FALSE(frmGenMsg::Message(nullptr, IDI_CAUTION, "Corvane", "again", notAgain, 0));
    EXPECT_FALSE(notAgain);
}

TEST(frmGenMsg, HelpLayoutOpensTheTopicAndStaysOpen) {
    // The shipped page is used when it is there; a page made here goes again.
    const bool madeHere = !std::filesystem::exists(HelpTopicPath(1050));
    if (madeHere) {
        std::filesystem::create_directories(AppFolder() + "\\help");
        std::ofstream(HelpTopicPath(1050)) << "<html>WAB</html>";
    }
    RecordingLauncher launcher;
    ScriptedDialogs dialogs;
    SeenControls seen;
    dialogs.Then([&seen](HWND dialog) {
        seen = Look(dialog);
        ClickButton(dialog, IDC_GENMSG_CMD + 1);  // Help: the dialog stays
        ClickButton(dialog, IDC_GENMSG_CMD + 0);  // OK
    });
    bool notAgain = true;
    EXPECT_FALSE(frmGenMsg::Message(nullptr, IDI_CAUTION, "Corvane", "CAUTION - WAB", notAgain, 1050));
    EXPECT_FALSE(notAgain);
    EXPECT_EQ(seen.cmd0, "&OK");
    EXPECT_EQ(seen.cmd1, "&Help");
    ASSERT_EQ(launcher.Launched().size(), 1u);
    EXPECT_EQ(launcher.Launched()[0].file, HelpTopicPath(1050));
    if (madeHere) std::filesystem::remove(HelpTopicPath(1050));
}

TEST(frmGenMsg, InformOnlyLayoutHasOneOkButton) {
    ScriptedDialogs dialogs;
    SeenControls seen;
    dialogs.Then([&seen](HWND dialog) {
        seen = Look(dialog);
        SetCheck(dialog, IDC_GENMSG_CHECK1, true);
        ClickButton(dialog, IDC_GENMSG_CMD + 1);
    });
    bool notAgain = false;
    EXPECT_FALSE(frmGenMsg::Message(nullptr, IDI_CAUTION, "Note", "Just so you know", notAgain, -1));
    EXPECT_TRUE(notAgain);
    EXPECT_FALSE(seen.cmd0Visible);
    EXPECT_TRUE(seen.cmd1Visible);
    EXPECT_EQ(seen.cmd1, "&OK");
    EXPECT_EQ(seen.title, "Note");

    // Escape closes it as a "no".
    dialogs.Then([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); });
    EXPECT_FALSE(frmGenMsg::Message(nullptr, IDI_CAUTION, "Corvane", "x", notAgain, 0));
}

namespace {

IdentityList ThreeIdentities() {
    IdentityList list;
    list.IdentityIds = std::string("{A}") + '\0' + "{B}" + '\0' + "{C}" + '\0' + '\0';
    list.sIdentNames = std::string("Main Identity") + '\0' + "Anna Berg" + '\0' + "Work";
    list.iIdentCnt = 3;
    list.iIdentDefNo = 2;
    return list;
}

struct SeenChooser {
    std::string title, label, selected;
    int count = 0;
    bool cancelVisible = true;
    int okLeft = -1;
};

SeenChooser LookAtChooser(HWND dialog) {
    SeenChooser seen;
    seen.title = WindowText(dialog);
    seen.label = ControlText(dialog, IDC_SELIDENT_LBLSEL);
    HWND list = GetDlgItem(dialog, IDC_SELIDENT_LIST);
    seen.count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    auto index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    char text[256] = {};
    if (index >= 0) SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    seen.selected = text;
    seen.cancelVisible = HasVisibleStyle(GetDlgItem(dialog, IDCANCEL));
    RECT ok;
    GetWindowRect(GetDlgItem(dialog, IDOK), &ok);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&ok), 2);
    seen.okLeft = ok.left;
    return seen;
}

}  // namespace

TEST(frmSelIdent, WithoutCancelTheChoiceIsTaken) {
    ScriptedDialogs dialogs;
    SeenChooser seen;
    dialogs.Then([&seen](HWND dialog) {
        seen = LookAtChooser(dialog);
        SendDlgItemMessageA(dialog, IDC_SELIDENT_LIST, LB_SETCURSEL, 2, 0);
        ClickButton(dialog, IDOK);
    });
    IdentityList list = ThreeIdentities();
    frmSelIdent::ChooseIdent(nullptr, list, "Corvane -- Identity: Anna Berg", false);
    EXPECT_EQ(list.iIdentDefNo, 3);
    EXPECT_EQ(seen.title, "Corvane -- Identity: Anna Berg");
    EXPECT_EQ(seen.label, "Select Identity to use for this Backup or Restore ");
    EXPECT_EQ(seen.count, 3);
    EXPECT_EQ(seen.selected, "Anna Berg");
    EXPECT_FALSE(seen.cancelVisible);

    // Closing the window without Cancel on offer keeps the selected identity.
    dialogs.Then([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); });
    frmSelIdent::ChooseIdent(nullptr, list, "Corvane", false);
    EXPECT_EQ(list.iIdentDefNo, 3);
}

TEST(frmSelIdent, CancelAnswersNegatively) {
    ScriptedDialogs dialogs;
    SeenChooser seen;
    dialogs.Then([&seen](HWND dialog) {
        seen = LookAtChooser(dialog);
        ClickButton(dialog, IDCANCEL);
    });
    IdentityList list = ThreeIdentities();
    frmSelIdent::ChooseIdent(nullptr, list, "Corvane", true);
    EXPECT_EQ(list.iIdentDefNo, -2);
    EXPECT_TRUE(seen.cancelVisible);
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(seen.okLeft, MulDiv(2520, dpi, 1440));
}

// The menus, the news launch, the identity switch, the close request and the
// unload of the real main window.
#include "tests/main/WizardWindow.h"

#include "corvane/backup/frmSetRemindIds.h"
#include "corvane/environment/RegistryEx.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/main/resource.h"

#include <windows.h>
#include <shlwapi.h>

using namespace corvane;
using namespace corvane::testing;

namespace {

const char* const kNewsKey = "Software\\BrindleWorks\\Loopline\\Corvane";

std::string LastShowDate() { return RegistryEx::ReadText("HKCU", kNewsKey, "LastShowDate", "<none>"); }

class WizardMenus : public WizardWindowTest {
protected:
    void SetUp() override {
        WizardWindowTest::SetUp();
        SHDeleteKeyA(HKEY_CURRENT_USER, kNewsKey);
    }
    void TearDown() override {
        SHDeleteKeyA(HKEY_CURRENT_USER, kNewsKey);
        WizardWindowTest::TearDown();
    }
    int NewsLaunches() const {
        int count = 0;
        for (const auto& call : launcher.Launched())
            if (call.file == AppFolder() + "\\loopline.exe " && call.parameters == "ProductId=CV") ++count;
        return count;
    }
};

TEST_F(WizardMenus, AutomaticNewsFollowsTheTwentyAndThirtyDayRule) {
    Version5();
    auto window = Start();
    ASSERT_TRUE(loaded);
    clock.Set({2026, 12, 7, 10, 0, 0});
    window->cmdBackup_Click();  // the backup start calls the automatic rule
    EXPECT_EQ(LastShowDate(), "2026/11/17");
    EXPECT_EQ(NewsLaunches(), 0);
    EXPECT_EQ(window->Wizard.Step(), 0);
    EXPECT_TRUE(Visible(window->picPage(1)));

    for (int day = 8; day <= 16; ++day) {  // nine more days of nothing
        clock.Set({2026, 12, day, 10, 0, 0});
        window->LaunchNews(true);
    }
    EXPECT_EQ(NewsLaunches(), 0);
    clock.Set({2026, 12, 17, 10, 0, 0});  // 30 days after the stored date
    window->LaunchNews(true);
    EXPECT_EQ(NewsLaunches(), 1);
    EXPECT_EQ(launcher.Launched().back().show, SW_SHOWNORMAL);
    EXPECT_EQ(LastShowDate(), "2026/11/17");  // the news program stores its own date

    // The news program showed its page yesterday: nothing for 30 days.
    RegistryEx::WriteValue("HKCU", kNewsKey, "LastShowDate", 'S', "2026/12/16");
    window->LaunchNews(true);
    EXPECT_EQ(NewsLaunches(), 1);
    // The menu entry launches whatever the date, and a failed start is ignored.
    launcher.Fail(true);
    window->mHelp_Click(5);
    EXPECT_EQ(NewsLaunches(), 2);
    EXPECT_TRUE(boxes->Shown().empty());
}

TEST_F(WizardMenus, HelpEntriesOpenTheirTopics) {
    Version5();
    auto window = Start();
    ASSERT_TRUE(loaded);
    const std::pair<int, int> entries[] = {{0, 999}, {1, 1001}, {2, 1002}, {3, 1005}, {7, 1006}};
    for (auto [entry, context] : entries) {
        window->mHelp_Click(entry);
        ASSERT_FALSE(launcher.Launched().empty()) << entry;
        EXPECT_EQ(launcher.Launched().back().file, AppFolder() + "\\help\\" + std::to_string(context) + ".html");
    }
    EXPECT_EQ(launcher.Launched().size(), 5u);
    // Every topic used anywhere has its page.
    for (int context : {999, 1001, 1002, 1005, 1006, 1007, 1050})
        EXPECT_TRUE(FileExists(AppFolder() + "\\help\\" + std::to_string(context) + ".html")) << context;
}

TEST_F(WizardMenus, AboutShowsTheNameAndVersion) {
    Version5();
    auto window = Start();
    ASSERT_TRUE(loaded);
    std::string name, version;
    dialogs.Then([&](HWND dialog) {
        name = ControlText(dialog, IDC_ABOUT_NAME);
        version = ControlText(dialog, IDC_ABOUT_VERSION);
        ClickButton(dialog, IDOK);
    });
    window->mHelp_Click(8);
    EXPECT_EQ(dialogs.Opened(), std::vector<int>{IDD_ABOUT});
    EXPECT_EQ(name, "Corvane");
    EXPECT_EQ(version.rfind("Version ", 0), 0u) << version;
}

TEST_F(WizardMenus, SetReminderStoresTheIntervalInParms) {
    Version5();
    auto window = Start();
    ASSERT_TRUE(loaded);
    dialogs.Then([](HWND dialog) {
        SetText(dialog, IDC_REMIND_TXTDAYS, "45");
        ClickButton(dialog, IDOK);
    });
    window->mOpts_Click(0);
    EXPECT_EQ(CorvaneSetting("Parms", "RemindDays"), "31");
}

TEST_F(WizardMenus, IdentitySwitchCancelLeavesAllAndOkRestartsOnce) {
    Version5(2);
    auto window = Start();
    ASSERT_TRUE(loaded);
    int before = window->Store.Identities.iIdentDefNo;
    dialogs.Then([](HWND dialog) { ClickButton(dialog, IDCANCEL); });
    window->mOpts_Click(6);
    EXPECT_EQ(window->Store.Identities.iIdentDefNo, before);
    EXPECT_TRUE(window->IsLoaded());
    EXPECT_FALSE(window->RestartPending);
    EXPECT_EQ(CorvaneSetting("", "StartAs"), "<none>");
    EXPECT_TRUE(launcher.Launched().empty());

    dialogs.Then([](HWND dialog) {
        SendDlgItemMessageA(dialog, IDC_SELIDENT_LIST, LB_SETCURSEL, 1, 0);
        ClickButton(dialog, IDOK);
    });
    window->mOpts_Click(6);
    EXPECT_EQ(CorvaneSetting("", "StartAs"), kIdentityB);
    EXPECT_TRUE(window->RestartPending);
    EXPECT_FALSE(window->IsLoaded());
    ASSERT_EQ(launcher.Launched().size(), 1u);
    EXPECT_EQ(launcher.Launched()[0].file, AppFolder() + "\\corvane.exe");
    EXPECT_EQ(launcher.Launched()[0].parameters, "");
    EXPECT_EQ(launcher.Launched()[0].show, SW_SHOWNORMAL);

    // The restarted program takes that identity once; the start after follows the rule.
    auto again = Start();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(again->Store.SettingsSection, kIdentityB);
    EXPECT_EQ(CorvaneSetting("", "StartAs"), "<none>");
}

TEST_F(WizardMenus, IdentityRuleEntriesTickOneAndStoreIt) {
    Version5(2);
    auto window = Start();
    ASSERT_TRUE(loaded);
    window->mOpts_Click(4);
    EXPECT_EQ(CorvaneSetting("", "IdentOption"), "4");
    EXPECT_EQ(window->Store.IdentOption, 4);
    for (int entry = 2; entry <= 4; ++entry)
        EXPECT_EQ((GetMenuState(window->SubMenu(1), entry, MF_BYPOSITION) & MF_CHECKED) != 0, entry == 4);
}

// A run that goes until it is told to stop, as a backup of a large store would.
void StartEndlessRun(frmMain& window, bool& stopped, bool& finished) {
    window.RunStarted();
    OperationRunner::Handlers handlers;
    handlers.finished = [&window, &finished] {
        finished = true;
        window.RunEnded();
        window.Unload();  // as a run's end does
    };
    ASSERT_TRUE(window.Runner.Start(
        [&stopped](IOperationEvents& events) {
            while (!events.Stopping()) Sleep(5);
            stopped = true;
        },
        std::move(handlers)));
}

// While a run goes, Exit and the Options menu (the identity switch among it)
// are disabled and do nothing if reached; the close box asks whether to stop
// the run, and the window goes only once the run has stopped.
TEST_F(WizardMenus, DuringARunNothingClosesTheWindowUnderIt) {
    Version5(2);
    auto window = Start();
    ASSERT_TRUE(loaded);
    bool stopped = false, finished = false;
    StartEndlessRun(*window, stopped, finished);
    EXPECT_TRUE(GetMenuState(window->SubMenu(0), IDM_EXIT, MF_BYCOMMAND) & MF_GRAYED);
    for (int entry = 0; entry < GetMenuItemCount(window->SubMenu(1)); ++entry)
        EXPECT_TRUE(GetMenuState(window->SubMenu(1), entry, MF_BYPOSITION) & MF_GRAYED) << entry;
    window->mFunction_Click(3);
    window->mOpts_Click(6);
    EXPECT_TRUE(window->IsLoaded());
    EXPECT_TRUE(boxes->Shown().empty());
    EXPECT_FALSE(window->RestartPending);

    boxes->Answer(IDNO);
    SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(window->IsLoaded());
    EXPECT_TRUE(window->Runner.Running());
    ASSERT_EQ(boxes->Shown().size(), 1u);
    EXPECT_EQ(boxes->Shown()[0].text,
              "A backup is being made. Do you want to stop it? The previous archive, if any, stays as it was.");

    boxes->Answer(IDYES);
    SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(stopped);
    EXPECT_TRUE(finished);
    EXPECT_FALSE(window->Runner.Running());
    EXPECT_FALSE(window->IsLoaded());
}

TEST_F(WizardMenus, CloseRequestAsksWithTheCaptionAsTitle) {
    Version5(2);  // the caption carries the identity
    auto window = Start();
    ASSERT_TRUE(loaded);
    std::string caption = window->Caption();
    boxes->Answer(IDNO);
    SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(window->IsLoaded());
    ASSERT_EQ(boxes->Shown().size(), 1u);
    EXPECT_EQ(boxes->Shown()[0].title, caption);
    EXPECT_EQ(boxes->Shown()[0].style, static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION));
    boxes->Answer(IDYES);
    SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(window->IsLoaded());
    EXPECT_EQ(sounds.beeps, 0);
}

TEST_F(WizardMenus, UnloadSavesThePositionButNotAfterAQuickBackup) {
    Version5();
    auto window = Start();
    ASSERT_TRUE(loaded);
    int folderChooserUnloads = 0;
    window->UnloadSelFolder = [&] { ++folderChooserUnloads; };
    SetWindowPos(window->Handle(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    window->Unload();
    EXPECT_EQ(folderChooserUnloads, 1);
    std::string expected = std::to_string(static_cast<int>(40 * window->TwipsPerPixelX + 0.5)) + "," +
                           std::to_string(static_cast<int>(30 * window->TwipsPerPixelY + 0.5));
    EXPECT_EQ(CorvaneSetting("Positions", "Main"), expected);
    EXPECT_FALSE(window->Registry);

    SaveCorvaneSetting("Positions", "Main", "15,15");
    auto quick = Start();
    ASSERT_TRUE(loaded);
    quick->Backup.FastMode = true;
    SetWindowPos(quick->Handle(), nullptr, 200, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    quick->Unload();
    EXPECT_EQ(CorvaneSetting("Positions", "Main"), "15,15");
}

}  // namespace

// Start-up of the real main window against a synthetic Outlook Express in
// Wine's registry, with message boxes, dialogs, the clock and launches scripted.
#include "corvane/environment/RegistryEx.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/environment/VXStrings.h"
#include "corvane/environment/portable/ListFcns.h"
#include "corvane/catalog/CatalogModel.h"
#include "corvane/main/ControlFileSave.h"
#include "corvane/main/frmMain.h"
#include "corvane/main/frmExportIds.h"
#include "corvane/main/resource.h"
#include "testsupport/OeTestSupport.h"

#include <cmath>

using namespace corvane;
using namespace corvane::testing;

namespace {

const std::string kIdA = "{A1A1A1A1-0000-4000-8000-00000000000A}";
const std::string kIdB = "{B2B2B2B2-0000-4000-8000-00000000000B}";

std::string ControlFileOf(const std::string& id) { return AppFolder() + "\\brind5." + id + ".ctl"; }

bool MenuChecked(HMENU menu, int position) {
    return (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_CHECKED) != 0;
}
bool MenuGrayed(HMENU menu, int position) {
    return (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_GRAYED) != 0;
}
std::string MenuText(HMENU menu, int position) {
    char text[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

class Startup : public OeRegistryTest {
protected:
    void Version5(int identities) {
        oe.RegisterProgram(kOeProgramPath5);
        std::string stores = FreshTestFolder("v5");
        oe.AddIdentity(kIdA, "Main Identity", stores + "\\A");
        if (identities > 1) oe.AddIdentity(kIdB, "Anna: Berg", stores + "\\B");
        oe.SetDefaultIdentity(kIdA);
        oe.SetLastIdentity(identities > 1 ? kIdB : kIdA);
    }
    std::string Version4(bool withMail = true) {
        oe.RegisterProgram(kOeProgramPath4);
        std::string root = FreshTestFolder("v4");
        if (withMail) CreateDirectoryA((root + "\\Mail").c_str(), nullptr);
        oe.SetVersion4StoreRoot(root);
        return root;
    }
    // A start that got as far as the welcome page.
    std::unique_ptr<frmMain> Start(const std::string& arguments = "") {
        auto window = std::make_unique<frmMain>(nullptr, arguments);
        loaded = window->Create();
        return window;
    }

    ScriptedMessageBoxes boxes;
    FixedClock clock{2026, 12, 7};
    RecordingLauncher launcher;
    ScriptedDialogs dialogs;
    bool loaded = false;
};

}  // namespace

TEST_F(Startup, FirstStartMakesDefaultsControlFileAndAsksForHelpOnce) {
    Version5(1);
    auto window = Start();
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(ReadFileText(ControlFileOf(kIdA)), "Corvane - OE5 - {Main Identity} " + kIdA + "\r\n");
    const char* expected[][2] = {{"WarnOverWrite", "Y"}, {"RemindDays", "2"},        {"WarnOnQuick", "Y"},
                                 {"AllowQuick", "N"},    {"LastBackup", "20261207"}, {"LastSavePath", ""},
                                 {"InclWab", "1"},       {"DoRename", "1"}};
    for (const auto& [key, value] : expected) EXPECT_EQ(CorvaneSetting(kIdA, key), value) << key;
    EXPECT_TRUE(window->FirstRun);
    EXPECT_EQ(window->Backup.SaveFolder, "a:\\");
    EXPECT_EQ(window->Backup.BackupName, "Corvane5Backup");
    EXPECT_EQ(window->Backup.BackupAddto, ".Main Identity.");
    EXPECT_EQ(window->Store.SettingsSection, kIdA);

    // The first paint asks, once.
    boxes.Answer(IDNO);
    window->Show(SW_SHOWNOACTIVATE);
    for (int i = 0; i < 100 && boxes.Shown().empty(); ++i) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }
    ASSERT_EQ(boxes.Texts(),
              std::vector<std::string>{"Do you wish to view the Help File before using Corvane the first time"});
    EXPECT_EQ(boxes.Shown()[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(boxes.Shown()[0].title, "Corvane");
    window->Form_FirstPaint();
    EXPECT_EQ(boxes.Shown().size(), 1u);
    window->Unload();
    EXPECT_FALSE(window->IsLoaded());

    // A second start finds its control file: it writes no defaults and asks nothing.
    SaveCorvaneSetting(kIdA, "WarnOverWrite", "N");
    auto second = Start();
    ASSERT_TRUE(loaded);
    EXPECT_FALSE(second->FirstRun);
    second->Form_FirstPaint();
    EXPECT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(CorvaneSetting(kIdA, "WarnOverWrite"), "N");
}

TEST_F(Startup, WelcomePageCaptionsMenusAndHeight) {
    Version5(1);
    auto window = Start();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(window->Caption(), "Corvane");
    EXPECT_EQ(window->ControlText(IDC_CMDBACKUP), "Make &Backup/Archive");
    EXPECT_EQ(window->ControlText(IDC_CMDRESTORE), "&Restore or Copy Folders");
    EXPECT_EQ(window->ControlText(IDC_LBL_VERSION_CAPTION), "Version Number:");
    EXPECT_EQ(window->ControlText(IDC_LBL_VERSION), "1.0 rev 1");
    EXPECT_EQ(window->ControlText(IDC_LBL_BANNER),
              "YOUR Easy, 1 Step Data Back-Up, Restore and Copy Solution for Outlook\xAE Express!");
    EXPECT_EQ(window->ControlText(IDC_TXTLOAD), "Loading Outlook Express Folders");
    EXPECT_EQ(MenuText(window->SubMenu(0), 0), "Make &Backup/Archive");
    EXPECT_EQ(MenuText(window->SubMenu(0), 1), "&Restore or Copy Folders");
    EXPECT_EQ(MenuText(window->SubMenu(0), 2), "&Export Messages...");
    EXPECT_EQ(MenuText(window->SubMenu(0), 4), "E&xit");
    EXPECT_EQ(MenuText(window->SubMenu(2), 8), "&About Corvane");
    EXPECT_EQ(MenuText(window->SubMenu(1), 0), "Set &Reminder ");
    EXPECT_EQ(MenuText(window->SubMenu(1), 6), "&Switch Identities");
    EXPECT_EQ(MenuText(window->SubMenu(2), 5), "Corvane - Loopline");
    for (int position : {2, 3, 4, 6}) EXPECT_TRUE(MenuGrayed(window->SubMenu(1), position)) << position;
    EXPECT_FALSE(MenuGrayed(window->SubMenu(1), 0));
    EXPECT_TRUE(IsWindowVisible(window->picPage(0)) || !IsWindowVisible(window->Handle()));
    EXPECT_NE(GetWindowLongPtrA(window->picPage(0), GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_EQ(GetWindowLongPtrA(window->picPage(1), GWL_STYLE) & WS_VISIBLE, 0);
    RECT bounds;
    GetWindowRect(window->Handle(), &bounds);
    EXPECT_NEAR(bounds.bottom - bounds.top, 5400 / window->TwipsPerPixelY, 1.0);
    // The whole welcome page fits the window's width.
    RECT client, button, tagline;
    GetClientRect(window->Handle(), &client);
    MapWindowPoints(window->Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    GetWindowRect(window->Control(IDC_CMDBACKUP), &button);
    GetWindowRect(window->Control(IDC_LBL_BANNER), &tagline);
    EXPECT_LE(button.right, client.right);
    EXPECT_LE(tagline.right, client.right);
    EXPECT_GE(tagline.left, client.left);
    EXPECT_EQ(window->MessageTitle, "Corvane");
    EXPECT_EQ(window->OfText, " of ");
    window->Form_Activate();
    EXPECT_EQ(window->HelpContextId, 999);
}

// A program folder that cannot take the control file (here: a folder stands
// where the file would go) must not reset the store's settings at each start;
// the user hears about it once, with the file's path.
TEST_F(Startup, UnwritableControlFileKeepsTheSettingsAndIsToldOnce) {
    Version5(1);
    ASSERT_TRUE(CreateDirectoryA(ControlFileOf(kIdA).c_str(), nullptr));
    auto first = Start();
    ASSERT_TRUE(loaded);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_NE(boxes.Texts()[0].find("could not write its control file\r\n" + ControlFileOf(kIdA)), std::string::npos)
        << boxes.Texts()[0];
    EXPECT_EQ(boxes.Shown()[0].style, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(CorvaneSetting(kIdA, "LastBackup"), "20261207");  // the defaults of a first start
    EXPECT_TRUE(first->FirstRun);
    first->Unload();

    SaveCorvaneSetting(kIdA, "LastBackup", "20261101");
    SaveCorvaneSetting(kIdA, "LastSavePath", "c:\\Backups\\");
    SaveCorvaneSetting(kIdA, "AllowQuick", "Y");
    auto second = Start();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(boxes.Shown().size(), 1u) << "told once";
    EXPECT_FALSE(second->FirstRun);
    EXPECT_EQ(CorvaneSetting(kIdA, "LastBackup"), "20261101");
    EXPECT_EQ(CorvaneSetting(kIdA, "AllowQuick"), "Y");
    EXPECT_EQ(second->Backup.SaveFolder, "c:\\Backups\\");
    second->Unload();
    RemoveDirectoryA(ControlFileOf(kIdA).c_str());
}

TEST_F(Startup, IdentityRuleFromTheSettingAndTheMenuTicks) {
    Version5(2);
    for (const char* stored : {"7", "abc"}) {
        SaveCorvaneSetting("", "IdentOption", stored);
        auto window = Start();
        ASSERT_TRUE(loaded);
        EXPECT_EQ(window->Store.IdentOption, 2) << stored;
        EXPECT_EQ(window->Store.Identities.IdentityId, kIdA) << stored;
        EXPECT_TRUE(MenuChecked(window->SubMenu(1), 2));
        EXPECT_FALSE(MenuChecked(window->SubMenu(1), 3));
        EXPECT_FALSE(MenuGrayed(window->SubMenu(1), 6));
        EXPECT_EQ(window->Caption(), "Corvane -- Identity: Main Identity");
    }
    SaveCorvaneSetting("", "IdentOption", "3");
    auto last = Start();
    EXPECT_EQ(last->Store.Identities.IdentityId, kIdB);
    EXPECT_EQ(last->Store.Identities.IdentityName, "Anna Berg");
    EXPECT_EQ(last->Caption(), "Corvane -- Identity: Anna Berg");
    EXPECT_TRUE(MenuChecked(last->SubMenu(1), 3));
    EXPECT_FALSE(MenuChecked(last->SubMenu(1), 2));
    EXPECT_EQ(ReadFileText(ControlFileOf(kIdB)), "Corvane - OE5 - {Anna Berg} " + kIdB + "\r\n");
}

TEST_F(Startup, PromptRuleAsksWithTheChooser) {
    Version5(2);
    SaveCorvaneSetting("", "IdentOption", "4");
    std::string shownCaption;
    dialogs.Then([&shownCaption](HWND dialog) {
        shownCaption = WindowText(dialog);
        SendDlgItemMessageA(dialog, IDC_SELIDENT_LIST, LB_SETCURSEL, 1, 0);
        ClickButton(dialog, IDOK);
    });
    auto window = Start();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(dialogs.Opened(), std::vector<int>{IDD_SELIDENT});
    EXPECT_EQ(shownCaption, "Corvane");
    EXPECT_EQ(window->Store.Identities.IdentityId, kIdB);
}

TEST_F(Startup, StartAsIsUsedOnceAndDeleted) {
    Version5(2);
    SaveCorvaneSetting("", "StartAs", kIdB);
    auto first = Start();
    EXPECT_EQ(first->Store.Identities.IdentityId, kIdB);
    EXPECT_EQ(CorvaneSetting("", "StartAs"), "<none>");
    first.reset();
    auto next = Start();
    EXPECT_EQ(next->Store.Identities.IdentityId, kIdA);
}

TEST_F(Startup, EveryStopMessage) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        std::string arguments;
        std::string message;
    };
    std::vector<Case> cases = {
        {"nothing registered", [] {}, "",
         "This program requires Outlook Express \r\nPlease install Outlook Express before running.\r\n\r\n"
         "Messages copied off an old disk, or kept in a Corvane archive, can still be exported for the mail "
         "programs of today. Export them now?"},
        {"no identities", [this] { oe.RegisterProgram(kOeProgramPath5); }, "",
         "Unable to locate Outlook Express 5 Identity Information"},
        {"no store root",
         [this] {
             oe.RegisterProgram(kOeProgramPath5);
             oe.AddIdentity(kIdA, "Main Identity", "");
         },
         "", "Unable to locate Outlook Express 5 Mail Folders for default identity"},
        {"version 4 without Mail", [this] { Version4(false); }, "", "Unable to locate Outlook Express 4 Mail Folders"},
        {"forced version 4", [this] { Version5(1); }, "\\4", "Unable to locate Outlook Express 4 Mail Folders"},
    };
    for (const Case& c : cases) {
        CleanOutlookExpressState();
        oe.RemoveAll();
        c.arrange();
        size_t before = boxes.Shown().size();
        auto window = Start(c.arguments);
        EXPECT_FALSE(loaded) << c.name;
        EXPECT_FALSE(window->IsLoaded()) << c.name;
        ASSERT_EQ(boxes.Shown().size(), before + 1) << c.name;
        EXPECT_EQ(boxes.Shown().back().text, c.message) << c.name;
        EXPECT_EQ(boxes.Shown().back().title, "Corvane");
        // Where no Outlook Express is installed, the export is offered instead ("No" here).
        const UINT buttons = std::string(c.name) == "nothing registered" ? MB_YESNO : MB_OK;
        EXPECT_EQ(boxes.Shown().back().style, static_cast<UINT>(buttons | MB_ICONINFORMATION)) << c.name;
        // A start that stopped leaves the stored window position alone.
        EXPECT_EQ(CorvaneSetting("Positions", "Main"), "<none>") << c.name;
    }
}

// Without Outlook Express the program still exports mail kept elsewhere:
// "Yes" opens the export window, with no store of an identity to offer.
TEST_F(Startup, WithoutOutlookExpressTheExportIsOfferedAndOpens) {
    boxes.Answer(IDYES);
    bool storeOffered = true;
    dialogs.Then([&](HWND dialog) {
        storeOffered = IsWindowEnabled(GetDlgItem(dialog, IDC_EXP_SRC_STORE)) != FALSE;
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_EXP_SRC_FOLDER), BST_CHECKED);
        ClickButton(dialog, IDCANCEL);
    });
    auto window = Start();
    EXPECT_FALSE(loaded);
    EXPECT_EQ(dialogs.Opened(), std::vector<int>{IDD_EXPORT});
    EXPECT_FALSE(storeOffered);
}

// Without a usable skein.dll beside it the program stops at once and says
// which file is at fault.
TEST_F(Startup, StopsWithoutAUsableFieldLibrary) {
    Version5(1);
    struct Case {
        std::string library;
        std::string says;
    };
    const Case cases[] = {
        {AppFolder() + "\\nowhere\\skein.dll", "is missing"},
        {AppFolder() + "\\skein_noexports.dll", "lacks a function Corvane needs"},
    };
    for (const Case& c : cases) {
        VXStrings::SetLibraryPathForTesting(c.library);
        size_t before = boxes.Shown().size();
        auto window = Start();
        VXStrings::SetLibraryPathForTesting("");
        EXPECT_FALSE(loaded) << c.library;
        ASSERT_EQ(boxes.Shown().size(), before + 1) << c.library;
        const MessageBoxCall& box = boxes.Shown().back();
        EXPECT_NE(box.text.find(c.library), std::string::npos) << box.text;
        EXPECT_NE(box.text.find(c.says), std::string::npos) << box.text;
        EXPECT_EQ(box.title, "Corvane");
        EXPECT_EQ(box.style, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
        EXPECT_FALSE(FileExists(ControlFileOf(kIdA))) << "nothing is written before the stop";
    }
}

namespace {

struct BoxSearch {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindMessageBoxOf(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<BoxSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner != search->process || std::string(className) != "#32770" || !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

// The real program, copied to a folder without skein.dll, shows its message
// box and ends when it is answered.
TEST(StartupAlone, ProgramWithoutItsFieldLibraryShowsWhyAndEnds) {
    std::string folder = FreshTestFolder("noskein");
    ASSERT_TRUE(CopyFileA((AppFolder() + "\\corvane.exe").c_str(), (folder + "\\corvane.exe").c_str(), FALSE));
    std::string command = "\"" + folder + "\\corvane.exe\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                               &process));
    BoxSearch search{process.dwProcessId, nullptr};
    for (int i = 0; i < 200 && !search.found; ++i) {
        Sleep(50);
        EnumWindows(FindMessageBoxOf, reinterpret_cast<LPARAM>(&search));
    }
    ASSERT_NE(search.found, nullptr) << "no message box";
    char title[64] = {}, text[512] = {};
    GetWindowTextA(search.found, title, sizeof title);
    GetDlgItemTextA(search.found, 0xFFFF, text, sizeof text);
    EXPECT_STREQ(title, "Corvane");
    EXPECT_NE(std::string(text).find(folder + "\\skein.dll is missing"), std::string::npos) << text;
    PostMessageA(search.found, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}

TEST_F(Startup, Version4StartAndLegacyConversion) {
    std::string root = Version4();
    auto fresh = Start();
    ASSERT_TRUE(loaded);
    EXPECT_FALSE(fresh->Store.bIsV5);
    EXPECT_EQ(fresh->Store.MailFilesFolder, root + "\\Mail\\");
    EXPECT_EQ(fresh->Backup.BackupName, "CorvaneBackup");
    EXPECT_EQ(fresh->Backup.BackupAddto, ".");
    EXPECT_EQ(ReadFileText(AppFolder() + "\\brind4.ctl"), "Corvane OE4\r\n");
    EXPECT_EQ(CorvaneSetting("Parms", "AllowQuick"), "N");
    EXPECT_TRUE(fresh->FirstRun);
    EXPECT_EQ(GetMenuItemCount(fresh->SubMenu(1)), 1);  // only "Set Reminder"
    fresh.reset();

    CleanOutlookExpressState();
    Version4();
    const std::string e(1, '\x03');
    // Mail lines: name, file, folder, parent, flag; news lines: account, directory.
    std::string legacy = "Corvane 3\r\n[Mail]\r\nInbox" + e + "Inbox" + e + "1" + e + "0" + e +
                         "1\r\nNews Folders=2\r\nmsnews" + e + "msnews.microsoft.com\r\n";
    ASSERT_TRUE(SyntheticOE::WriteFile(AppFolder() + "\\brind3.ctl", legacy));
    auto converted = Start();
    ASSERT_TRUE(loaded);
    EXPECT_FALSE(converted->FirstRun);
    EXPECT_EQ(CorvaneSetting("Parms", "AllowQuick"), "<none>");
    EXPECT_EQ(ReadFileText(AppFolder() + "\\brind4.ctl"), "Corvane - OE4\r\n2" + e + "Inbox" + e + "Inbox.mbx" + e +
                                                              "1" + e + "0" + e + "1\r\n20" + e + "msnews" + e +
                                                              "msnews.microsoft.com" + e + "0" + e + "0" + e + "1\r\n");
    EXPECT_EQ(ReadFileText(AppFolder() + "\\brind3.ctl"), legacy);
    EXPECT_EQ(converted->Store.ControlFileHeader, "Corvane - OE4");
    EXPECT_EQ(converted->Backup.SavedNames, "Inbox.mbx\x02msnews.microsoft.com");
    EXPECT_EQ(converted->Backup.SavedFlags,
              "1\x02"
              "1");
    converted->Form_FirstPaint();
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(Startup, ControlFileSelectionAndStoreSettings) {
    Version5(1);
    const std::string e(1, '\x03');
    ASSERT_TRUE(SyntheticOE::WriteFile(
        ControlFileOf(kIdA), "Corvane - OE5 - {Main Identity} " + kIdA + "\r\n1" + e + "Local Folders" + e + e + "1" +
                                 e + "0" + e + "2\r\n2" + e + "Inbox" + e + "Inbox.dbx" + e + "2" + e + "1" + e +
                                 "-1\r\n10" + e + "WAB" + e + "C:\\x.wab" + e + "0" + e + "0" + e + "1\r\n4" + e +
                                 "Drafts" + e + "Drafts.dbx" + e + "3" + e + "1" + e + "0\r\n"));
    SaveCorvaneSetting(kIdA, "LastSavePath", "D:\\Backups\\");
    SaveCorvaneSetting(kIdA, "InclWab", "0");
    SaveCorvaneSetting(kIdA, "DoRename", "0");
    auto window = Start();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(window->Backup.SavedNames,
              "Inbox.dbx\x02"
              "Drafts.dbx");
    EXPECT_EQ(window->Backup.SavedFlags,
              "1\x02"
              "0");
    EXPECT_EQ(window->Backup.SaveFolder, "D:\\Backups\\");
    EXPECT_EQ(window->Backup.IncludeAddressBook, 0);
    EXPECT_FALSE(window->Backup.KeepExisting);
    EXPECT_EQ(window->tlMail.Count(), 0);  // only a quick backup rebuilds the list
}

TEST_F(Startup, QuickBackupSwitchMessages) {
    Version5(1);
    Start().reset();  // first start: AllowQuick "N"
    auto fast = Start("\\F");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Fast Backup Not possible at this time"});
    EXPECT_FALSE(fast->Backup.FastMode);
    auto reminder = Start("\\FX");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(boxes.Shown().size(), 1u);  // the reminder's request is refused silently
    SaveCorvaneSetting(kIdA, "AllowQuick", "y");
    auto allowed = Start("\\f");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(boxes.Shown().size(), 1u);
    EXPECT_FALSE(allowed->Backup.FastMode);  // no quick-backup run in this build: the welcome page
}

TEST_F(Startup, WindowPositionFromTheSetting) {
    Version5(1);
    SaveCorvaneSetting("Positions", "Main", "-500,100");
    auto window = Start();
    ASSERT_TRUE(loaded);
    RECT bounds;
    GetWindowRect(window->Handle(), &bounds);
    int width = bounds.right - bounds.left;
    EXPECT_NEAR(bounds.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2.0, 1.5);
    EXPECT_NEAR(bounds.top, 100 / window->TwipsPerPixelY, 1.0);

    // The unload stores where the window is, in twips.
    SetWindowPos(window->Handle(), nullptr, 40, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    window->Unload();
    std::string saved = CorvaneSetting("Positions", "Main");
    EXPECT_EQ(saved, std::to_string(std::lround(40 * window->TwipsPerPixelX)) + "," +
                         std::to_string(std::lround(60 * window->TwipsPerPixelY)));

    SaveCorvaneSetting("Positions", "Main", "not a position");
    auto centred = Start();
    GetWindowRect(centred->Handle(), &bounds);
    EXPECT_NEAR(bounds.top, (GetSystemMetrics(SM_CYSCREEN) - (bounds.bottom - bounds.top)) / 2.0, 1.5);
}

TEST_F(Startup, WizardsRefuseWhileOutlookExpressIsOpen) {
    Version5(1);
    auto window = Start();
    ASSERT_TRUE(loaded);
    int backupStarts = 0, restoreStarts = 0;
    window->StartBackupWizard = [&backupStarts] { ++backupStarts; };
    window->StartRestoreWizard = [&restoreStarts] { ++restoreStarts; };
    {
        FakeOutlook book("WABBrowseView", "Address Book");
        ASSERT_TRUE(book.Window());
        window->cmdRestore_Click();
        EXPECT_TRUE(window->Backup.AbortRequested);  // either refusal asks the load to stop
        window->Backup.AbortRequested = false;
        window->mFunction_Click(0);  // File entry 0 is the backup button
        EXPECT_TRUE(window->Backup.AbortRequested);
        ASSERT_EQ(boxes.Shown().size(), 2u);
        EXPECT_EQ(boxes.Texts()[1],
                  "You MUST exit Outlook Express and the Address Book\r\nprior to doing a Backup or Restore");
        EXPECT_EQ(boxes.Shown()[1].style, static_cast<UINT>(MB_OK | MB_ICONSTOP));
        EXPECT_EQ(backupStarts + restoreStarts, 0);
    }
    window->cmdBackup_Click();
    window->cmdRestore_Click();
    EXPECT_EQ(backupStarts, 1);
    EXPECT_EQ(restoreStarts, 1);
}

TEST_F(Startup, StringTableHoldsTheNumberedTexts) {
    EXPECT_EQ(LoadText(177), "Select \"Restore Now\" to begin the Restore");
    EXPECT_EQ(LoadText(263), "Choose \"Help\" for more information.");
    EXPECT_EQ(LoadText(118), "Unable to find Index File (\"folders.nch\")");
    EXPECT_NE(LoadText(150).find("from a  different"), std::string::npos);
    EXPECT_EQ(LoadText(229), "This program requires Outlook Express ");
    EXPECT_EQ(LoadText(246), "Select Identity to use for this Backup or Restore ");
    EXPECT_EQ(LoadText(999), "");
}

TEST_F(Startup, SampleInstallationAndItsRemoval) {
    oe.RemoveAll();  // the system's own Favorites, not the fixture's empty one
    std::string favoritesBefore = RegistryEx::ReadText(
        "HKCU", "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Favorites", "<none>");
    std::string root = FreshTestFolder("sample");
    ASSERT_TRUE(MakeSampleVersion5Installation(oe, root));
    oe.AddNewsAccount("news.example.org", "news.example.org");
    IdentityList identities;
    ListIdentities(identities);
    ASSERT_EQ(identities.iIdentCnt, 2);
    FindDefaultAndLastIdentity(identities);
    EXPECT_EQ(NulListEntry(identities.sIdentNames, identities.iIdentDefNo), "Main Identity");
    EXPECT_EQ(NulListEntry(identities.sIdentNames, identities.iIdentLastNo), "Anna Berg");
    std::string store = FindVersion5StoreFolder(NulListEntry(identities.IdentityIds, 1), WindowsFolderPath());
    EXPECT_TRUE(FileExists(store + "folders.dbx")) << store;
    std::string wab = RegistryEx::ReadText("HKCU", "Software\\Microsoft\\WAB\\WAB4\\WAB File Name", "");
    EXPECT_TRUE(FileExists(wab)) << wab;
    std::string favorites = RegistryEx::ReadText(
        "HKCU", "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Favorites", "");
    EXPECT_TRUE(FileExists(favorites + "\\Links\\News.url"));
    EXPECT_EQ(RegistryEx::ReadText("HKCU", "Software\\Microsoft\\Internet Account Manager\\Accounts\\00000000",
                                   "NNTP Data Directory"),
              "news.example.org");
    std::string count;
    RegistryEx::ReadValue("HKCU", "Software\\Microsoft\\Internet Account Manager", "Account Name", 'D', "", count);
    EXPECT_EQ(count, "1");

    oe.RemoveAll();
    EXPECT_EQ(DecideVersion().found, false);
    EXPECT_EQ(RegistryEx::ReadText("HKCU", "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                                   "Favorites", "<none>"),
              favoritesBefore);
    EXPECT_EQ(RegistryEx::ReadText("HKCU", "Software\\Microsoft\\WAB\\WAB4\\WAB File Name", "", "<none>"), "<none>");
}

namespace {

// Root; Local Folders (no file) with Inbox (saved) and Sent Items (not saved).
void FillFolders(catalog::TreeList& list) {
    namespace names = catalog::names;
    list.Clear();
    list.AddItem("Main Identity");
    auto add = [&list](int parent, int type, const std::string& display, const std::string& file, int flag) {
        int at = list.AddItem(display, parent);
        list.SetNumberValue(at, names::kType, type);
        list.SetTextValue(at, names::kDisplay, display);
        list.SetTextValue(at, names::kMbxName, file);
        list.SetNumberValue(at, names::kFlgSave, flag);
        return at;
    };
    int local = add(0, catalog::kTypeLocalRoot, "Local Folders", "", 2);
    add(local, catalog::kTypeMailFolder, "Inbox", "Inbox.dbx", 1);
    add(local, catalog::kTypeMailFolder, "Sent Items", "Sent Items.dbx", 0);
    add(0, catalog::kTypeAddressBook, "Address Book", "Main.wab", 1);
}

}  // namespace

TEST_F(Startup, SavedControlFileIsReadBackAtTheNextStart) {
    Version5(1);
    auto first = Start();
    ASSERT_TRUE(loaded);
    FillFolders(first->tlMail);
    ASSERT_TRUE(SaveCtrl(first->Store, first->tlMail, "5"));
    first.reset();
    auto next = Start();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(next->Store.ControlFileHeader, "Corvane - OE5 - {Main Identity} " + kIdA);
    EXPECT_EQ(next->Backup.SavedNames,
              "Inbox.dbx\x02"
              "Sent Items.dbx");
    EXPECT_EQ(next->Backup.SavedFlags,
              "1\x02"
              "0");
    EXPECT_FALSE(next->FirstRun);
}

TEST_F(Startup, ControlFileStaysWholeWhenItCannotBeReplaced) {
    Version5(1);
    auto window = Start();
    ASSERT_TRUE(loaded);
    const std::string path = window->Store.ControlFilePath;
    const std::string old = ReadFileText(path);
    FillFolders(window->tlMail);

    // A folder where the new file would be written first.
    ASSERT_TRUE(CreateDirectoryA((path + ".new").c_str(), nullptr));
    EXPECT_FALSE(SaveCtrl(window->Store, window->tlMail, "5"));
    EXPECT_EQ(ReadFileText(path), old);
    RemoveDirectoryA((path + ".new").c_str());

    // An old file held open by a reader that does not allow its removal.
    HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(SaveCtrl(window->Store, window->tlMail, "5"));
    CloseHandle(reader);
    EXPECT_EQ(ReadFileText(path), old);
    EXPECT_EQ(GetFileAttributesA((path + ".new").c_str()), INVALID_FILE_ATTRIBUTES);

    // The leftover of an interrupted run is no obstacle.
    ASSERT_TRUE(SyntheticOE::WriteFile(path + ".new", "Corvane - OE5 - {half"));
    EXPECT_TRUE(SaveCtrl(window->Store, window->tlMail, "5"));
    EXPECT_NE(ReadFileText(path).find("Inbox.dbx"), std::string::npos);
    EXPECT_EQ(GetFileAttributesA((path + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
}

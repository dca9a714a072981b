// The quick backup from the command line, on the real main window: the
// decision, the confirmation, the check of the saved folders and the run in
// its own window, after a normal backup of the sample store.
#include "corvane/backup/frmQuickIds.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/main/WizardIds.h"
#include "corvane/main/frmMain.h"
#include "corvane/main/frmMain_BackupRun.h"
#include "corvane/main/frmMain_BackupStart.h"
#include "corvane/main/frmMain_QuickBackup.h"
#include "corvane/main/resource.h"
#include "tests/main/BackupDriver.h"
#include "testsupport/OeTestSupport.h"
#include "testsupport/portable/SampleStore.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using namespace corvane;
using namespace corvane::testing;

namespace {

const std::string kId = "{E5E5E5E5-0000-4000-8000-00000000000E}";
const std::string kNotPossible = "Fast Backup Not possible at this time";

class QuickBackup : public OeRegistryTest {
protected:
    void SetUp() override {
        OeRegistryTest::SetUp();
        oe.RegisterProgram(kOeProgramPath5);
        root = FreshTestFolder("quick");
        store = root + "\\Store";
        ASSERT_TRUE(WriteSampleStore(store));
        oe.AddIdentity(kId, "Main Identity", store);
        oe.SetDefaultIdentity(kId);
        oe.SetLastIdentity(kId);
        ASSERT_TRUE(SyntheticOE::WriteFile(root + "\\Favorites\\Debian.url", "[InternetShortcut]\r\n"));
        oe.SetFavorites(root + "\\Favorites");
        destination = root + "\\Backups";
        ASSERT_TRUE(SyntheticOE::MakeFolders(destination));
        SaveCorvaneSetting("", "WarnVirus", "N");
        archive = destination + "\\Corvane5Backup.Main Identity.2001-01-31.zip";
    }
    // A window started with `arguments`; false from Create when a quick
    // backup runs, which is then let run to its end.
    bool Launch(const std::string& arguments) {
        boxes.reset();
        boxes = std::make_unique<ScriptedMessageBoxes>();
        window = std::make_unique<frmMain>(nullptr, arguments);
        AttachBackupStart(*window);
        AttachBackupRun(*window);
        AttachQuickBackup(*window);
        const bool shown = window->Create();
        EXPECT_TRUE(PumpUntil([this] { return !window->Runner.Running(); })) << "the run did not end";
        return shown;
    }
    bool RunToEnd() {
        window->doIT_Click();
        return PumpUntil([this] { return !window->Runner.Running(); });
    }
    void NormalBackup() {
        ASSERT_TRUE(Launch(""));
        window->cmdBackup_Click();
        window->Backup.SaveFolder = destination;
        for (int step = 0; step < 3; ++step) window->btnNext_Click();
        ASSERT_EQ(window->ControlText(IDC_TXTBACKNAME), archive);
        ASSERT_TRUE(RunToEnd());
        ASSERT_EQ(boxes->Texts(), std::vector<std::string>{"Archive is complete"});
        ASSERT_EQ(CorvaneSetting(kId, "AllowQuick"), "Y");
    }
    void AnswerConfirmation(bool ok, bool notAgain) {
        dialogs.Then([ok, notAgain](HWND dialog) {
            boxShown = (GetWindowLongA(GetDlgItem(dialog, IDC_CHECKFAST_CHECK1), GWL_STYLE) & WS_VISIBLE) != 0;
            RECT frame = {};
            GetWindowRect(dialog, &frame);
            height = frame.bottom - frame.top;
            if (notAgain) SetCheck(dialog, IDC_CHECKFAST_CHECK1, true);
            ClickButton(dialog, ok ? IDOK : IDCANCEL);
        });
    }
    std::string root, store, destination, archive;
    std::unique_ptr<ScriptedMessageBoxes> boxes = std::make_unique<ScriptedMessageBoxes>();
    FixedClock clock{CalendarTime{2001, 1, 31, 9, 30, 0}};
    RecordingLauncher launcher;
    ScriptedDialogs dialogs;
    CountingSounds sounds;
    std::unique_ptr<frmMain> window;
    inline static bool boxShown = false;
    inline static int height = 0;
};

TEST_F(QuickBackup, NotBeforeTheFirstCompleteBackup) {
    EXPECT_TRUE(Launch("\\F"));
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{kNotPossible});
    EXPECT_EQ(boxes->Shown()[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_TRUE(Launch("\\fx"));  // from the reminder: no message, the wizard
    EXPECT_TRUE(boxes->Texts().empty());
    EXPECT_TRUE(Launch("F"));  // without the backslash no quick backup is asked for
    EXPECT_TRUE(boxes->Texts().empty());
    EXPECT_TRUE(dialogs.Opened().empty());
    EXPECT_FALSE(FileExists(archive));
}

TEST_F(QuickBackup, ConfirmationByRequestAndSetting) {
    NormalBackup();
    DeleteFileA(archive.c_str());

    // Cancel: the wizard, nothing written.
    AnswerConfirmation(false, false);
    EXPECT_TRUE(Launch("\\F"));
    EXPECT_EQ(dialogs.Opened(), std::vector<int>{IDD_CHECKFAST});
    EXPECT_TRUE(boxShown);
    EXPECT_FALSE(FileExists(archive));

    // OK with "Do not show this again": the quick backup runs, unseen.
    AnswerConfirmation(true, true);
    EXPECT_FALSE(Launch("\\F"));
    EXPECT_EQ(CorvaneSetting(kId, "WarnOnQuick"), "N");
    EXPECT_TRUE(FileExists(archive));
    EXPECT_TRUE(boxes->Texts().empty());  // no "Archive is complete" in a quick backup

    // Now "\F" asks nothing, but the reminder's "\FX" still asks, without the box.
    EXPECT_FALSE(Launch("\\F"));
    EXPECT_EQ(dialogs.Opened().size(), 2u);
    AnswerConfirmation(true, false);
    EXPECT_FALSE(Launch("\\FX"));
    EXPECT_EQ(dialogs.Opened().size(), 3u);
    EXPECT_FALSE(boxShown);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(height, GetDeviceCaps(screen, LOGPIXELSY));  // 1440 twips
    ReleaseDC(nullptr, screen);
}

TEST_F(QuickBackup, RepeatsTheLastBackupWithTheSameEntriesAndLogRows) {
    NormalBackup();
    const std::vector<std::string> entries = SortedArchiveEntries(archive);
    const std::string log = LogInside(archive);
    ASSERT_GT(entries.size(), 5u);
    SaveCorvaneSetting(kId, "WarnOnQuick", "N");
    SaveCorvaneSetting(kId, "LastBackup", "20000101");
    SaveCorvaneSetting("Positions", "Main", "remembered");

    EXPECT_FALSE(Launch("\\F"));
    EXPECT_TRUE(boxes->Texts().empty());
    EXPECT_EQ(SortedArchiveEntries(archive), entries);
    EXPECT_EQ(LogInside(archive), log);
    EXPECT_EQ(CorvaneSetting(kId, "LastBackup"), "20010131");
    EXPECT_EQ(CorvaneSetting("Positions", "Main"), "remembered");  // its place is not remembered
}

TEST_F(QuickBackup, MissingFolderOrEmptyControlFileGivesTheWizard) {
    NormalBackup();
    SaveCorvaneSetting(kId, "WarnOnQuick", "N");
    DeleteFileA(archive.c_str());
    const std::string control = window->Store.ControlFilePath;

    ASSERT_TRUE(MoveFileA((store + "\\Family.dbx").c_str(), (store + "\\Family.old").c_str()));
    EXPECT_TRUE(Launch("\\F"));
    EXPECT_EQ(boxes->Texts(),
              std::vector<std::string>{"Mail folder - Family - is missing.\r\nUnable to do Fast Backup"});
    EXPECT_EQ(sounds.beeps, 1);
    EXPECT_FALSE(FileExists(archive));
    MoveFileA((store + "\\Family.old").c_str(), (store + "\\Family.dbx").c_str());

    const std::string header = ReadFileText(control).substr(0, ReadFileText(control).find("\r\n") + 2);
    ASSERT_TRUE(SyntheticOE::WriteFile(control, header));
    EXPECT_TRUE(Launch("\\F"));
    EXPECT_TRUE(boxes->Texts().empty());
    EXPECT_FALSE(FileExists(archive));
}

TEST_F(QuickBackup, OutlookExpressOpenStopsItOnlyWhenAskedToCloseIt) {
    NormalBackup();
    SaveCorvaneSetting(kId, "WarnOnQuick", "N");
    DeleteFileA(archive.c_str());
    FakeOutlook book("WABBrowseView", "Address Book - Main Identity", /*ignoreClose=*/true);
    ASSERT_TRUE(book.Window());
    EXPECT_TRUE(Launch("\\FA"));  // it would not close: the normal window
    EXPECT_FALSE(FileExists(archive));
    EXPECT_FALSE(Launch("\\F"));  // not asked to close it: on regardless
    EXPECT_TRUE(FileExists(archive));
}

TEST_F(QuickBackup, CancelInItsWindowLeavesNoArchiveAndNoLastBackup) {
    NormalBackup();
    SaveCorvaneSetting(kId, "WarnOnQuick", "N");
    SaveCorvaneSetting(kId, "LastBackup", "20000101");
    DeleteFileA(archive.c_str());
    // A big folder, so the run lasts while the window's Cancel is pressed.
    {
        std::string block(1 << 20, 'm');
        for (size_t i = 0; i < block.size(); i += 61) block[i] = static_cast<char>('a' + i % 26);
        HANDLE work =
            CreateFileA((store + "\\Work.dbx").c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(work, INVALID_HANDLE_VALUE);
        for (int i = 0; i < 200; ++i) {
            DWORD written = 0;
            WriteFile(work, block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
        }
        CloseHandle(work);
    }
    std::atomic<bool> pressed{false};
    std::thread presser([&pressed] {
        for (int wait = 0; wait < 600 && !pressed; ++wait) {
            HWND fast = FindWindowA(nullptr, " Corvane - Fast Backup");
            if (fast && IsWindowVisible(fast)) {
                Sleep(100);
                PostMessageA(fast, WM_COMMAND, MAKEWPARAM(IDC_FAST_CANCEL, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(fast, IDC_FAST_CANCEL)));
                pressed = true;
            }
            Sleep(10);
        }
    });
    EXPECT_FALSE(Launch("\\F"));
    presser.join();
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(boxes->Texts().empty());
    EXPECT_FALSE(FileExists(archive));
    EXPECT_FALSE(FileExists(archive + ".new"));
    EXPECT_EQ(CorvaneSetting(kId, "LastBackup"), "20000101");
}

}  // namespace

// The wizard page of the real main window: both transition tables, the run
// button, the destination and name pages.
#include "tests/main/WizardWindow.h"

#include "corvane/environment/SysFcns.h"

#include <fstream>

using namespace corvane;
using namespace corvane::testing;

namespace {

class WizardSteps : public WizardWindowTest {
protected:
    void SetUp() override {
        WizardWindowTest::SetUp();
        Version5();
        window = Start();
        ASSERT_TRUE(loaded);
    }
    // The visible step panels, as a string of their indices.
    std::string VisibleSteps() const {
        std::string steps;
        for (int i = 0; i < 5; ++i)
            if (Visible(window->picStep(i))) steps += std::to_string(i);
        return steps;
    }
    HWND Back() const { return window->Control(IDC_BTNBACK); }
    HWND Next() const { return window->Control(IDC_BTNNEXT); }
    std::string Text(int id) const { return window->ControlText(id); }

    std::unique_ptr<frmMain> window;
    FakeDrives drives;
};

TEST_F(WizardSteps, BackupTableForwardAndBack) {
    window->Backup.SaveFolder = AppFolder();
    window->OpenBackupWizard();
    EXPECT_EQ(window->Wizard.Mode(), WizardMode::Backup);
    EXPECT_FALSE(Visible(window->picPage(0)));
    EXPECT_TRUE(Visible(window->picPage(1)));
    EXPECT_EQ(VisibleSteps(), "0");
    EXPECT_FALSE(Enabled(Back()));
    EXPECT_TRUE(Enabled(Next()));
    EXPECT_EQ(GetMenuState(window->SubMenu(0), 0, MF_BYPOSITION) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));

    window->btnBack_Click();  // nothing before step 0
    EXPECT_EQ(window->Wizard.Step(), 0);

    const int expectedSteps[] = {1, 2, 3, 3};
    for (int expected : expectedSteps) {
        window->btnNext_Click();
        EXPECT_EQ(window->Wizard.Step(), expected);
        EXPECT_EQ(VisibleSteps(), std::to_string(expected));
        EXPECT_TRUE(Enabled(Back()));
        EXPECT_EQ(Enabled(Next()), expected != 3);
    }
    for (int expected = 2; expected >= 0; --expected) {
        window->btnBack_Click();
        EXPECT_EQ(window->Wizard.Step(), expected);
        EXPECT_EQ(VisibleSteps(), std::to_string(expected));
        EXPECT_TRUE(Enabled(Next()));
        EXPECT_EQ(Enabled(Back()), expected != 0);
    }
    EXPECT_TRUE(boxes->Shown().empty());
}

TEST_F(WizardSteps, LeavingTheDestinationForAMissingFolderIsRefused) {
    window->OpenBackupWizard();
    window->btnNext_Click();
    SetWindowTextA(window->Control(IDC_TXTSAVELOCN), (AppFolder() + "\\no such folder").c_str());
    EXPECT_EQ(window->Backup.SaveFolder, AppFolder() + "\\no such folder");  // typed text counts at once
    window->btnNext_Click();
    EXPECT_EQ(window->Wizard.Step(), 1);
    EXPECT_EQ(VisibleSteps(), "1");
    ASSERT_EQ(boxes->Shown().size(), 1u);
    EXPECT_EQ(boxes->Shown()[0].text, "The drive is not ready or the folder does not exist");
    EXPECT_EQ(boxes->Shown()[0].title, "Corvane");
    EXPECT_EQ(boxes->Shown()[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));

    SetWindowTextA(window->Control(IDC_TXTSAVELOCN), AppFolder().c_str());
    window->btnNext_Click();
    EXPECT_EQ(window->Wizard.Step(), 2);
}

// The page's title is the wizard's own: the backup start sets it, the restore
// wizard has its own, and no step replaces it with a text of its own.
TEST_F(WizardSteps, PageTitleBelongsToTheWizardNotItsSteps) {
    window->Backup.SaveFolder = AppFolder();
    window->OpenBackupWizard();
    SetWindowTextA(window->Control(IDC_LBLCAPTION), "Data Available to Archive");  // as the start leaves it
    for (int step = 1; step <= 3; ++step) {
        window->btnNext_Click();
        ASSERT_EQ(window->Wizard.Step(), step);
        EXPECT_EQ(Text(IDC_LBLCAPTION), "Data Available to Archive") << "step " << step;
    }
    window->btnBack_Click();
    EXPECT_EQ(Text(IDC_LBLCAPTION), "Data Available to Archive");
    window->OpenRestoreWizard();
    EXPECT_EQ(Text(IDC_LBLCAPTION), "Items available in archive file");
    window->btnNext_Click();
    EXPECT_EQ(Text(IDC_LBLCAPTION), "Items available in archive file");
}

TEST_F(WizardSteps, RestoreTable) {
    int restarts = 0;
    window->StartRestoreWizard = [&] { ++restarts; };
    window->OpenRestoreWizard();
    EXPECT_EQ(window->Wizard.Mode(), WizardMode::Restore);
    EXPECT_EQ(VisibleSteps(), "4");
    window->btnNext_Click();
    EXPECT_EQ(window->Wizard.Step(), 3);
    EXPECT_EQ(VisibleSteps(), "3");
    EXPECT_FALSE(Enabled(Next()));
    EXPECT_EQ(Text(IDC_LBL_PAGETEXT), "Select \"Restore Now\" to begin the Restore");
    EXPECT_EQ(Text(IDC_DOIT), "&Restore Now");
    window->btnBack_Click();
    EXPECT_EQ(window->Wizard.Step(), 4);
    EXPECT_TRUE(Enabled(Next()));
    EXPECT_EQ(restarts, 0);
    window->btnBack_Click();  // from step 4: choose another archive
    EXPECT_EQ(restarts, 1);
    EXPECT_EQ(window->Wizard.Step(), 4);
}

TEST_F(WizardSteps, RunButtonDispatchesByModeAndCancelOnlyAsksTheRunToStop) {
    int backups = 0, restores = 0;
    window->StartBackupRun = [&] { ++backups; };
    window->StartRestoreRun = [&] { ++restores; };
    window->Backup.SaveFolder = AppFolder();
    window->OpenBackupWizard();
    for (int i = 0; i < 3; ++i) window->btnNext_Click();
    EXPECT_EQ(Text(IDC_LBL_PAGETEXT), "Select \"Make Archive\" to compress and backup your email folders");
    EXPECT_EQ(Text(IDC_DOIT), "Make &Archive");
    window->Backup.KeepExisting = true;
    window->doIT_Click();
    EXPECT_EQ(backups, 1);
    EXPECT_FALSE(window->Backup.KeepExisting);  // no archive of that name: option 1 is clear

    // While a run goes the button cancels it: the flag is set, and the
    // window stays until the run has ended.
    bool stopped = false;
    window->RunStarted();
    OperationRunner::Handlers handlers;
    handlers.finished = [&] { window->RunEnded(); };
    ASSERT_TRUE(window->Runner.Start(
        [&stopped](IOperationEvents& events) {
            while (!events.Stopping()) Sleep(5);
            stopped = true;
        },
        std::move(handlers)));
    window->btnBack_Click();  // no move while a run goes
    EXPECT_EQ(window->Wizard.Step(), kRunStep);
    window->doIT_Click();
    EXPECT_EQ(backups, 1);
    EXPECT_TRUE(window->IsLoaded());
    ASSERT_TRUE(PumpUntil([&] { return !window->Runner.Running(); }, 10));
    EXPECT_TRUE(stopped);
    EXPECT_EQ(restores, 0);
}

TEST_F(WizardSteps, RestoreRunButtonStartsTheRestore) {
    int restores = 0;
    window->StartRestoreRun = [&] { ++restores; };
    window->OpenRestoreWizard();
    window->btnNext_Click();
    window->doIT_Click();
    EXPECT_EQ(restores, 1);
    EXPECT_FALSE(Enabled(Back()));
    EXPECT_FALSE(Visible(window->Control(IDC_DOIT)));
    EXPECT_FALSE(Visible(window->Control(IDC_LBL_PAGETEXT)));
    EXPECT_TRUE(Visible(window->Control(IDC_LBLPROGRESS)));
}

TEST_F(WizardSteps, CountsShowKilobytesOfDataAndEstimate) {
    window->Backup.TotalBytes = 2048;
    window->Backup.SelectedCount = 3;
    window->Backup.ItemCount = 12;
    window->OpenBackupWizard();
    EXPECT_EQ(Text(IDC_TXTCOUNT), "3 of 12 Items");
    EXPECT_EQ(Text(IDC_TXTTOTALSIZE), "2 KBytes");
    EXPECT_EQ(Text(IDC_TXTBACKSIZE), "1 KBytes");
}

TEST_F(WizardSteps, DisketteDestinationShowsTheEstimateAndNoSpaceCheck) {
    const std::pair<int64_t, const char*> cases[] = {{0, "1"}, {2'829'999, "1"}, {2'830'000, "2"}, {5'660'000, "3"}};
    for (auto [total, diskettes] : cases) {
        window->Backup.TotalBytes = total;
        window->Backup.SaveFolder = "A:\\Backup";
        window->OpenBackupWizard();
        window->btnNext_Click();
        EXPECT_TRUE(window->Backup.IsDiskette);
        EXPECT_EQ(Text(IDC_LBL_DISKETTE_ESTIMATE), std::string("Estimated diskettes required = ") + diskettes);
        EXPECT_TRUE(Visible(window->Control(IDC_LBL_DISKETTE_CAUTION)));
        EXPECT_TRUE(Visible(window->Control(IDC_LBL_DISKETTE_ESTIMATE)));
        EXPECT_FALSE(Visible(window->Control(IDC_LBL_SPACE_WARNING)));
        window->btnBack_Click();
    }
    EXPECT_TRUE(drives.askedRoots.empty());
}

TEST_F(WizardSteps, FreeSpaceWarningOnSmallButNotOnVeryLargeFreeSpace) {
    window->Backup.SaveFolder = "c:\\Backups";
    window->Backup.TotalBytes = 10'240;  // estimate 6 KB
    drives.freeBytes = 4'000;
    window->OpenBackupWizard();
    window->btnNext_Click();
    EXPECT_EQ(drives.askedRoots.back(), "c:\\");
    EXPECT_FALSE(Visible(window->Control(IDC_LBL_DISKETTE_CAUTION)));
    EXPECT_TRUE(Visible(window->Control(IDC_LBL_SPACE_WARNING)));
    EXPECT_TRUE(Visible(window->Control(IDC_LBL_SPACE_NEEDED)));
    EXPECT_EQ(Text(IDC_LBL_SPACE_NEEDED), "You require estimated free space of:\r\n6 KBytes");

    // 5 GB free against a 3 GB selection (1.8 GB estimate): a 32-bit figure
    // would have wrapped; the 64-bit one sees enough room.
    window->Backup.TotalBytes = 3LL * 1024 * 1024 * 1024;
    drives.freeBytes = 5LL * 1024 * 1024 * 1024;
    window->UpdateDestinationWarnings();
    EXPECT_FALSE(Visible(window->Control(IDC_LBL_SPACE_WARNING)));
    // A 10 GB selection does not fit in 5 GB: the warning works beyond 2 GB.
    window->Backup.TotalBytes = 10LL * 1024 * 1024 * 1024;
    window->UpdateDestinationWarnings();
    EXPECT_TRUE(Visible(window->Control(IDC_LBL_SPACE_WARNING)));
    // A failed query turns the warning off.
    drives.freeBytes = 0;
    window->UpdateDestinationWarnings();
    EXPECT_FALSE(Visible(window->Control(IDC_LBL_SPACE_WARNING)));
}

// Today's archive of the same name is there: replaced, it would leave room,
// and the page says so; too small to help, the usual warning stays.
TEST_F(WizardSteps, TheDestinationPageForeseesRoomMadeByReplacingTheArchive) {
    const std::string folder = FreshTestFolder("room-if-replaced");
    window->Backup.SaveFolder = folder;
    window->Backup.TotalBytes = 10'240;  // estimate 6 KB
    drives.freeBytes = 4'000;
    const std::string sameName = folder + "\\Corvane5Backup.Main Identity.2001-01-31.zip";
    ASSERT_TRUE(SyntheticOE::WriteFile(sameName, std::string(3'000, 'z')));
    window->OpenBackupWizard();
    window->btnNext_Click();
    EXPECT_TRUE(Visible(window->Control(IDC_LBL_SPACE_WARNING)));
    EXPECT_EQ(Text(IDC_LBL_SPACE_WARNING), "There is room for the new archive only if it replaces the archive of the "
                                           "same name, which is then removed first.");
    ASSERT_TRUE(SyntheticOE::WriteFile(sameName, std::string(1'000, 'z')));
    window->UpdateDestinationWarnings();
    EXPECT_NE(Text(IDC_LBL_SPACE_WARNING).find("insufficient space"), std::string::npos) << Text(IDC_LBL_SPACE_WARNING);
}

TEST_F(WizardSteps, NetworkDestinationSkipsTheSpaceCheck) {
    window->Backup.SaveFolder = "\\\\server\\share";
    window->Backup.TotalBytes = 1'000'000;
    drives.freeBytes = 1;
    window->OpenBackupWizard();
    window->btnNext_Click();
    EXPECT_FALSE(window->Backup.IsDiskette);
    EXPECT_TRUE(drives.askedRoots.empty());
    EXPECT_FALSE(Visible(window->Control(IDC_LBL_SPACE_WARNING)));
}

TEST_F(WizardSteps, BrowseRefusesARamDiskAndKeepsTheDestination) {
    window->Backup.SaveFolder = "c:\\Backups";
    window->OpenBackupWizard();
    window->btnNext_Click();
    std::string chosen;
    drives.browse = [&](const std::string& title) {
        EXPECT_EQ(title, "Select Location to save Archive");
        return chosen;
    };
    drives.driveType = [](const std::string& root) { return root == "R:\\" ? 6u : 3u; };

    chosen = "R:\\Temp";
    window->cmdSaveLocn_Click();
    ASSERT_EQ(boxes->Texts().size(), 1u);
    EXPECT_EQ(boxes->Texts()[0], "R:\\- is not a valid drive for an archive");
    EXPECT_EQ(window->Backup.SaveFolder, "c:\\Backups");
    EXPECT_EQ(Text(IDC_TXTSAVELOCN), "c:\\Backups");

    chosen = "\\\\server\\share\\mail";
    window->cmdSaveLocn_Click();
    EXPECT_EQ(window->Backup.SaveFolder, chosen);
    EXPECT_EQ(Text(IDC_TXTSAVELOCN), chosen);
    EXPECT_FALSE(window->Backup.IsDiskette);

    chosen = "b:\\";
    window->cmdSaveLocn_Click();
    EXPECT_TRUE(window->Backup.IsDiskette);
    EXPECT_TRUE(Visible(window->Control(IDC_LBL_DISKETTE_CAUTION)));

    // Cancelled with an empty box: the first diskette drive.
    chosen = "";
    SetWindowTextA(window->Control(IDC_TXTSAVELOCN), "");
    window->cmdSaveLocn_Click();
    EXPECT_EQ(window->Backup.SaveFolder, "a:\\");
    EXPECT_TRUE(window->Backup.IsDiskette);
    EXPECT_EQ(boxes->Texts().size(), 1u);
}

TEST_F(WizardSteps, NamePageBuildsTheArchiveNameFromTodaysDate) {
    std::string folder = FreshTestFolder("names");
    window->Backup.SaveFolder = folder;
    window->OpenBackupWizard();
    window->btnNext_Click();
    window->btnNext_Click();
    std::string expected = folder + "\\Corvane5Backup.Main Identity.2001-01-31.zip";
    EXPECT_EQ(Text(IDC_TXTBACKNAME), expected);
    EXPECT_FALSE(Visible(window->Control(IDC_FRARENAME)));
    EXPECT_FALSE(Checked(window->Control(IDC_OPT_KEEP)));

    // An archive of that name exists: the choice appears, keeping it by default.
    std::ofstream(expected) << "zip";
    window->btnBack_Click();
    window->btnNext_Click();
    EXPECT_TRUE(Visible(window->Control(IDC_FRARENAME)));
    EXPECT_TRUE(Visible(window->Control(IDC_OPT_REPLACE)));
    EXPECT_TRUE(Checked(window->Control(IDC_OPT_KEEP)));
    EXPECT_FALSE(Checked(window->Control(IDC_OPT_REPLACE)));
    window->btnNext_Click();
    window->doIT_Click();
    EXPECT_TRUE(window->Backup.KeepExisting);

    // A version-4 store, a destination ending in "\", another day.
    clock.Set({2026, 12, 7, 9, 0, 0});
    window->Backup.BackupName = "CorvaneBackup";
    window->Backup.BackupAddto = ".";
    window->Backup.SaveFolder = folder + "\\";
    window->ShowNamePage();
    EXPECT_EQ(Text(IDC_TXTBACKNAME), folder + "\\CorvaneBackup.2026-12-07.zip");
}

// A diskette archive always replaces: even when the diskette already holds
// an archive of that name, the page offers no rename and chooses replace.
TEST_F(WizardSteps, ADisketteArchiveAlwaysReplaces) {
    // The test prefix has a drive A: (a folder); elsewhere there may be none.
    const std::string archive = "a:\\Corvane5Backup.Main Identity.2001-01-31.zip";
    if (!(std::ofstream(archive) << "an older archive")) GTEST_SKIP() << "no writable drive A: here";
    window->Backup.SaveFolder = "a:\\";
    window->OpenBackupWizard();
    window->btnNext_Click();
    window->btnNext_Click();
    DeleteFileA(archive.c_str());
    EXPECT_EQ(Text(IDC_TXTBACKNAME), archive);
    EXPECT_TRUE(window->Backup.IsDiskette);
    EXPECT_FALSE(Visible(window->Control(IDC_FRARENAME)));
    EXPECT_TRUE(Checked(window->Control(IDC_OPT_REPLACE)));
    EXPECT_FALSE(Checked(window->Control(IDC_OPT_KEEP)));
}

}  // namespace

// The backup run end to end on the real main window: the sample store is
// archived through the wizard's last page, and the archive is checked with
// the host's unzip.
#include "corvane/environment/SysFcns.h"
#include "tests/main/BackupDriver.h"
#include "tests/main/FaultSupport.h"
#include "testsupport/portable/SampleStore.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::testing;

namespace {

const std::string kId = "{D4D4D4D4-0000-4000-8000-00000000000D}";
const std::string kComplete = "Archive is complete";

class BackupRun : public BackupDriverTest {
protected:
    void SetUp() override {
        BackupDriverTest::SetUp();
        Version5Sample("run", kId);
    }
    void WithAddressBookAndFavorites() {
        ASSERT_TRUE(SyntheticOE::WriteFile(root + "\\Main.wab", std::string(2000, 'w')));
        oe.SetAddressBook(root + "\\Main.wab");
        ASSERT_TRUE(SyntheticOE::WriteFile(root + "\\Favorites\\Debian.url", "[InternetShortcut]\r\n"));
        ASSERT_TRUE(SyntheticOE::WriteFile(root + "\\Favorites\\Links\\News.url", "[InternetShortcut]\r\n"));
        oe.SetFavorites(root + "\\Favorites");
    }
    std::string Setting(const std::string& name) const { return CorvaneSetting(kId, name); }
};

TEST_F(BackupRun, ArchiveHoldsTheIndexTheTickedItemsAndTheLog) {
    WithAddressBookAndFavorites();
    ToLastPage(destination);
    Untick("Work.dbx");  // Projects beneath it stays ticked: Work is logged as its parent only
    const std::string controlFile = window->Store.ControlFilePath;
    ASSERT_TRUE(RunToEnd());

    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{kComplete});
    EXPECT_EQ(boxes->Shown()[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_FALSE(window->IsLoaded());
    EXPECT_EQ(archive, destination + "\\Corvane5Backup.Main Identity.2001-01-31.zip");

    std::vector<std::string> expected = {EntryOf(store + "\\Folders.dbx"),
                                         "corvanebackup.log",
                                         EntryOf(root + "\\Main.wab"),
                                         EntryOf(root + "\\Favorites\\Debian.url"),
                                         EntryOf(root + "\\Favorites\\Links") + "/",
                                         EntryOf(root + "\\Favorites\\Links\\News.url")};
    for (const char* file : {"Inbox.dbx", "Outbox.dbx", "Sent Items.dbx", "Deleted Items.dbx", "Drafts.dbx",
                             "Family.dbx", "Projects.dbx", "comp.lang.c++.dbx", "alt.test.dbx"})
        expected.push_back(EntryOf(store + "\\" + file));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(SortedArchiveEntries(archive), expected);
    EXPECT_TRUE(ArchiveTestsSound(archive));

    const std::string log = LogInside(archive);
    EXPECT_EQ(log.substr(0, log.find("\r\n")), "V5 - Corvane Backup started: Wed Jan 31, 2001 @ 02:15 PM  " + kId);
    EXPECT_NE(log.find("\r\nNCH\tFolders.dbx\r\n"), std::string::npos);
    const std::string work = std::to_string(Row("Work.dbx"));
    EXPECT_NE(log.find("\r\nMBX\tWork.dbx\tWork\t" + work + "\t1\t2\t"), std::string::npos);  // FlgSave 2
    EXPECT_NE(log.find("\r\nWAB\t"), std::string::npos);
    EXPECT_NE(log.find("\r\nFAVS\t"), std::string::npos);
    EXPECT_FALSE(FileExists("c:\\CorvaneBackup.log"));

    EXPECT_EQ(Setting("AllowQuick"), "Y");
    EXPECT_EQ(Setting("LastBackup"), "20010131");
    EXPECT_EQ(CorvaneSetting("Parms", "LastBackup"), "20010131");
    EXPECT_EQ(Setting("LastSavePath"), destination);
    EXPECT_EQ(Setting("InclWab"), "1");
    EXPECT_EQ(Setting("DoRename"), "0");  // no archive of that name yet: replace was offered
    EXPECT_EQ(Setting("LastSaveName"), "Corvane5Backup.Main Identity.2001-01-31.zip");
    const std::string control = ReadFileText(controlFile);
    EXPECT_NE(control.find("2\x03Inbox\x03Inbox.dbx\x03"), std::string::npos);
    EXPECT_NE(control.find("\x03Work.dbx\x03" + work +
                           "\x03"
                           "1\x03"
                           "2\r\n"),
              std::string::npos);
}

TEST_F(BackupRun, WithoutMailFoldersTheIndexAndTheLogAreStillArchived) {
    ToLastPage(destination);
    window->cmdSelect_Click(1);  // Clear All
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{kComplete});
    std::vector<std::string> expected = {"corvanebackup.log", EntryOf(store + "\\Folders.dbx")};
    std::sort(expected.begin(), expected.end());  // the store's path may sort either side of the log
    EXPECT_EQ(SortedArchiveEntries(archive), expected);
    EXPECT_TRUE(ArchiveTestsSound(archive));
    EXPECT_EQ(Setting("InclWab"), "0");
}

TEST_F(BackupRun, KeptArchivesAreNumberedAndReplaceKeepsTheOldOneUntilTheNewIsSound) {
    std::vector<std::string> sizes;
    for (int run = 0; run < 3; ++run) {
        ToLastPage(destination);
        ASSERT_TRUE(RunToEnd());
        ASSERT_EQ(boxes->Texts(), std::vector<std::string>{kComplete}) << run;
    }
    EXPECT_TRUE(FileExists(archive));
    EXPECT_TRUE(FileExists(archive + "000.zip"));
    EXPECT_TRUE(FileExists(archive + "001.zip"));
    EXPECT_FALSE(FileExists(archive + "002.zip"));
    EXPECT_EQ(Setting("DoRename"), "1");

    // Replace, and the run fails: the old archive stays byte for byte.
    const std::string old = ReadFileText(archive);
    ToLastPage(destination);
    window->optRename_Click(0);
    ASSERT_TRUE(CreateDirectoryA((archive + ".new").c_str(), nullptr));  // the new archive cannot be made
    ASSERT_TRUE(RunToEnd());
    RemoveDirectoryA((archive + ".new").c_str());
    ASSERT_EQ(boxes->Texts().size(), 1u);
    EXPECT_NE(boxes->Texts()[0], kComplete);
    EXPECT_EQ(ReadFileText(archive), old);
    EXPECT_FALSE(FileExists(archive + "002.zip"));
    EXPECT_EQ(Setting("DoRename"), "0");  // the run's choices are kept ...
    EXPECT_EQ(Setting("LastBackup"), "20010131");

    // ... but a failed run is no last backup.
    SaveCorvaneSetting(kId, "LastBackup", "20000101");
    SaveCorvaneSetting(kId, "AllowQuick", "N");
    ToLastPage(destination);
    window->optRename_Click(0);
    HANDLE held = CreateFileA((store + "\\Inbox.dbx").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(RunToEnd());
    CloseHandle(held);
    ASSERT_FALSE(boxes->Texts().empty());
    EXPECT_EQ(boxes->Texts()[0],
              "ERROR - One or more selected files (or their components) are in use.\r\n"
              "Files in use can not be copied to the archive file.");
    EXPECT_EQ(boxes->Shown()[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    for (const std::string& text : boxes->Texts()) EXPECT_NE(text, kComplete);
    EXPECT_EQ(ReadFileText(archive), old);
    EXPECT_EQ(Setting("LastBackup"), "20000101");
    EXPECT_EQ(Setting("AllowQuick"), "N");
    EXPECT_FALSE(window->IsLoaded());
}

TEST_F(BackupRun, WriteTestAsksAgainAndItsCancelEndsWithNothingWritten) {
    ToLastPage(destination);
    const std::string control = ReadFileText(window->Store.ControlFilePath);
    SaveCorvaneSetting(kId, "LastSavePath", "D:\\Before");
    window->Backup.SaveFolder = "Q:\\nowhere";  // no such drive
    boxes->Answer(IDRETRY);
    boxes->Answer(IDCANCEL);
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(boxes->Texts(),
              (std::vector<std::string>(2, "Disk Access Error - Check that disk is ready and not Write protected")));
    EXPECT_EQ(boxes->Shown()[0].style & (MB_TYPEMASK | MB_ICONMASK), static_cast<UINT>(MB_RETRYCANCEL | MB_ICONSTOP));
    EXPECT_FALSE(window->IsLoaded());
    EXPECT_EQ(Setting("LastSavePath"), "D:\\Before");
    EXPECT_EQ(ReadFileText(window->Store.ControlFilePath), control);
    EXPECT_FALSE(FileExists("c:\\CorvaneBackup.log"));
}

TEST_F(BackupRun, DisketteRunAndTheFirstDisketteCancel) {
    ToLastPage("a:\\");
    const std::string control = ReadFileText(window->Store.ControlFilePath);
    SaveCorvaneSetting(kId, "LastSavePath", "D:\\Before");
    boxes->Answer(IDCANCEL);
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{"Insert first diskette for the Archive"});
    EXPECT_TRUE(window->IsLoaded());  // back on the last page
    EXPECT_TRUE(IsWindowEnabled(window->Control(IDC_BTNBACK)));
    EXPECT_EQ(Setting("LastSavePath"), "D:\\Before");
    EXPECT_EQ(ReadFileText(window->Store.ControlFilePath), control);
    EXPECT_FALSE(FileExists("c:\\CorvaneBackup.log"));
    EXPECT_FALSE(FileExists(archive));

    ToLastPage("a:\\");
    ASSERT_TRUE(RunToEnd());  // OK to the first diskette; everything fits on it
    EXPECT_EQ(boxes->Texts(), (std::vector<std::string>{"Insert first diskette for the Archive", kComplete}));
    ASSERT_TRUE(FileExists(archive));
    EXPECT_TRUE(ArchiveTestsSound(archive));
    DeleteFileA(archive.c_str());
}

TEST_F(BackupRun, CancelDuringTheRunLeavesNoArchiveNoSettingsAndNoControlFile) {
    ToLastPage(destination);
    const std::string control = ReadFileText(window->Store.ControlFilePath);
    SaveCorvaneSetting(kId, "LastSavePath", "D:\\Before");
    // The click waits in the queue until the archive is being written.
    PostMessageA(window->Control(IDC_DOIT), BM_CLICK, 0, 0);
    ASSERT_TRUE(RunToEnd());
    EXPECT_FALSE(window->IsLoaded());
    EXPECT_TRUE(boxes->Texts().empty());
    EXPECT_FALSE(FileExists(archive));
    EXPECT_FALSE(FileExists(archive + ".new"));
    EXPECT_EQ(Setting("LastSavePath"), "D:\\Before");
    EXPECT_EQ(ReadFileText(window->Store.ControlFilePath), control);
    EXPECT_FALSE(FileExists("c:\\CorvaneBackup.log"));
}

TEST_F(BackupRun, LogGoesToTheTemporaryFolderWhereTheDriveRootIsClosed) {
    ToLastPage(destination);
    window->Backup.LogPath = "Q:\\CorvaneBackup.log";  // cannot be written
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{kComplete});
    std::vector<std::string> entries = SortedArchiveEntries(archive);
    EXPECT_NE(std::find(entries.begin(), entries.end(), "corvanebackup.log"), entries.end());
    EXPECT_EQ(LogInside(archive).substr(0, 29), "V5 - Corvane Backup started: ");
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    EXPECT_FALSE(FileExists(std::string(temp) + "CorvaneBackup.log"));
}

TEST_F(BackupRun, AFullDiskLeavesTheOldArchiveAndRecordsNoBackup) {
    // Drive T: is a real 2 MiB volume where the machine lets the tests mount one.
    REQUIRE_SMALL_VOLUME('t');
    AppendNoise(store + "\\Work.dbx", 3 << 20);  // does not compress: the new archive cannot fit
    const std::string old = "t:\\Corvane5Backup.Main Identity.2001-01-31.zip";
    ASSERT_TRUE(SyntheticOE::WriteFile(old, "the archive of an earlier backup"));
    SaveCorvaneSetting(kId, "LastBackup", "20000101");

    ToLastPage("t:\\");
    ASSERT_EQ(Lower(archive), Lower(old));
    window->optRename_Click(0);  // replace
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{"Archive failed - Disk is full"});
    EXPECT_EQ(ReadFileText(old), "the archive of an earlier backup");
    EXPECT_FALSE(FileExists(old + ".new"));
    EXPECT_EQ(Setting("LastBackup"), "20000101");
    EXPECT_EQ(Setting("LastSavePath"), "t:\\");
    DeleteFileA(old.c_str());
}

TEST_F(BackupRun, ADisketteSetOverRealSmallVolumesJoinsIntoASoundArchive) {
    // Drive B: is a real 1.44 MB volume where the machine lets the tests mount one.
    REQUIRE_SMALL_VOLUME('b');
    AppendNoise(store + "\\Work.dbx", 3 << 20);
    const std::string shelf = FreshTestFolder("diskettes");
    ToLastPage("b:\\");
    std::vector<std::string> volumes = BackUpOntoDiskettes(shelf);
    ASSERT_FALSE(boxes->Texts().empty());
    EXPECT_EQ(boxes->Texts().front(), "Insert first diskette for the Archive");
    EXPECT_EQ(boxes->Texts().back(), kComplete);
    EXPECT_GE(volumes.size(), 2u);  // three diskettes at least
    EXPECT_EQ(boxes->Texts()[1], "Please insert a Disk for archive disk # 2");

    // Joined into one ordinary archive (Info-ZIP's own joiner loses an entry
    // that runs over more than two volumes), the set tests sound.
    std::string command = std::string("python3 '") + CORVANE_SOURCE_DIR + "/tests/main/join-spanned-set' '" +
                          HostPath(shelf) + "/joined.zip'";
    for (const std::string& volume : volumes) command += " '" + HostPath(volume) + "'";
    command += " '" + HostPath(archive) + "'";
    std::string output;
    ASSERT_EQ(RunHostCommand(command, &output), 0) << output;
    DeleteFileA(archive.c_str());
    EXPECT_TRUE(ArchiveTestsSound(shelf + "\\joined.zip"));
    EXPECT_EQ(Setting("LastBackup"), "20010131");
}

}  // namespace

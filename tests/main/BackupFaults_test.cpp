// The backup run when something goes wrong under it: the destination drive
// pulled out while the archive is written, and a store file changing size
// while it is read. The old archive survives, a failed run records no
// backup, and an archive that says it is complete holds every file as it
// was at one moment.
#include "corvane/environment/SysFcns.h"
#include "corvane/main/WizardIds.h"
#include "tests/main/BackupDriver.h"
#include "tests/main/FaultSupport.h"
#include "tests/main/TextChangeHook.h"

#include <string>
#include <thread>
#include <vector>

using namespace corvane;
using namespace corvane::testing;

namespace {

const std::string kId = "{D4D4D4D4-0000-4000-8000-000000000010}";
const std::string kComplete = "Archive is complete";
const std::string kFilesInUse =
    "ERROR - One or more selected files (or their components) are in use.\r\n"
    "Files in use can not be copied to the archive file.";

class BackupFaults : public BackupDriverTest {
protected:
    void SetUp() override {
        BackupDriverTest::SetUp();
        Version5Sample("backup-faults", kId);
    }
    std::string Setting(const std::string& name) const { return CorvaneSetting(kId, name); }
    // The settings a complete run writes, set to those of an earlier backup.
    void AnEarlierBackup() {
        SaveCorvaneSetting(kId, "LastBackup", "20000101");
        SaveCorvaneSetting(kId, "AllowQuick", "N");
        SaveCorvaneSetting(kId, "LastSaveName", "Corvane5Backup.Main Identity.2000-01-01.zip");
        SaveCorvaneSetting("Parms", "LastBackup", "20000101");
    }
    void ExpectNoBackupRecorded() {
        EXPECT_EQ(Setting("LastBackup"), "20000101");
        EXPECT_EQ(Setting("AllowQuick"), "N");
        EXPECT_EQ(Setting("LastSaveName"), "Corvane5Backup.Main Identity.2000-01-01.zip");
        EXPECT_EQ(CorvaneSetting("Parms", "LastBackup"), "20000101");
    }
    // Whether the archive's entry for store file `file` holds the file's bytes as they are now.
    bool EntryHoldsTheFile(const std::string& file) {
        std::string output;
        return RunHostCommand("unzip -C -p '" + HostPath(archive) + "' '" + EntryOf(store + "\\" + file) +
                                  "' | cmp -s - '" + HostPath(store + "\\" + file) + "'",
                              &output) == 0;
    }
};

// Drive V: is a folder of the host given a drive letter, taken away again as
// a drive pulled out.
class PulledDrive : public BackupFaults {
protected:
    void SetUp() override {
        BackupFaults::SetUp();
        shelf = FreshTestFolder("pulled-drive");
        ASSERT_TRUE(PlugDrive('v', shelf)) << "no drive letter can be made here";
        ASSERT_TRUE(SyntheticOE::WriteFile(old, "the archive of an earlier backup"));
        AnEarlierBackup();
    }
    void TearDown() override {
        UnplugDrive('v');
        BackupFaults::TearDown();
    }
    // A run replacing the old archive on V:, the drive pulled out when the
    // control `id` is given a text beginning with `when`; then plugged in again.
    void RunAndPullOutWhen(int id, const std::string& when) {
        ToLastPage("v:\\");
        ASSERT_EQ(Lower(archive), Lower(old));
        window->optRename_Click(0);  // replace
        TextChangeHook pull(window->Control(id), when, [] { UnplugDrive('v'); });
        ASSERT_TRUE(RunToEnd());
        EXPECT_EQ(pull.Fired(), 1) << pull.Texts();
        ASSERT_TRUE(PlugDrive('v', shelf));
    }
    std::string shelf;
    const std::string old = "v:\\Corvane5Backup.Main Identity.2001-01-31.zip";
};

TEST_F(PulledDrive, MidArchiveTheOldArchiveSurvivesTheUserIsToldAndNoBackupIsRecorded) {
    RunAndPullOutWhen(IDC_LBLPROGRESS, "Saving: ");
    ASSERT_EQ(boxes->Texts().size(), 1u);
    EXPECT_NE(boxes->Texts()[0], kComplete);
    EXPECT_EQ(boxes->Texts()[0],
              "Archive Failed - the destination v:\\ could not be reached any more (was the drive removed?).\r\n"
              "The previous archive, if any, is unchanged.");
    EXPECT_EQ(ReadFileText(old), "the archive of an earlier backup");
    ExpectNoBackupRecorded();
    EXPECT_FALSE(window->IsLoaded());
    // What the run was writing when the drive went stays there under its
    // temporary name, which no later run takes for its own.
    for (const std::string& name : FilesIn(shelf)) {
        if (Lower(name) != Lower(old.substr(3))) {
            EXPECT_EQ(Lower(name), Lower(old.substr(3)) + ".new.~0.tmp");
        }
    }
}

TEST_F(PulledDrive, BeforeTheArchiveIsMadeTheUserIsToldAndNoBackupIsRecorded) {
    // The run button turns into Cancel just before the archive is made.
    RunAndPullOutWhen(IDC_DOIT, "Cancel");
    ASSERT_EQ(boxes->Texts().size(), 1u);
    EXPECT_EQ(boxes->Texts()[0],
              "Archive Failed - the destination v:\\ could not be reached any more (was the drive removed?).\r\n"
              "The previous archive, if any, is unchanged.");
    EXPECT_EQ(ReadFileText(old), "the archive of an earlier backup");
    ExpectNoBackupRecorded();
}

// Work's file is larger than the engine reads ahead of what it writes, so
// the progress of its entry comes while most of it is still to be read.
class ChangingStoreFile : public BackupFaults {
protected:
    void SetUp() override {
        BackupFaults::SetUp();
        AnEarlierBackup();
    }
    void MakeWorkLarge() {
        const std::string work = store + "\\Work.dbx";
        ASSERT_TRUE(SyntheticOE::WriteFile(work, ""));
        unsigned threads = std::max(1u, std::thread::hardware_concurrency());
        AppendNoise(work, (4 * threads + 8) << 20);
    }
    // A run in which a host program (no Windows lock stops it) runs `command`
    // on Work's file as Work's entry begins.
    void RunChangingWork(const std::string& command) {
        DeleteFileA(archive.c_str());
        ToLastPage(destination);
        const std::string work = HostPath(store + "\\Work.dbx");
        TextChangeHook change(window->Control(IDC_LBLPROGRESS), "Saving: Work",
                              [&] { ASSERT_EQ(RunHostCommand(command + " '" + work + "'"), 0); });
        ASSERT_TRUE(RunToEnd());
        EXPECT_EQ(change.Fired(), 1) << change.Texts();
    }
};

TEST_F(ChangingStoreFile, ChangedAfterTheMeasuringTheArchiveHoldsItAsItIsRead) {
    MakeWorkLarge();
    ToLastPage(destination);  // the wizard has measured the folders
    AppendNoise(store + "\\Work.dbx", 1 << 20, 7);
    HANDLE family = CreateFileA((store + "\\Family.dbx").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(family, INVALID_HANDLE_VALUE);
    SetFilePointer(family, 1000, nullptr, FILE_BEGIN);
    SetEndOfFile(family);
    CloseHandle(family);
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{kComplete});
    EXPECT_TRUE(ArchiveTestsSound(archive));
    EXPECT_TRUE(EntryHoldsTheFile("Work.dbx"));
    EXPECT_TRUE(EntryHoldsTheFile("Family.dbx"));
    EXPECT_EQ(Setting("LastBackup"), "20010131");
}

TEST_F(ChangingStoreFile, TruncatedOrGrownWhileItIsReadTheRunFailsAndNoArchiveIsLeft) {
    for (const char* change : {"truncate -s 1M", "truncate -s +3M"}) {
        SCOPED_TRACE(change);
        MakeWorkLarge();
        RunChangingWork(change);
        EXPECT_EQ(boxes->Texts(), std::vector<std::string>{kFilesInUse});
        EXPECT_FALSE(FileExists(archive));
        EXPECT_FALSE(FileExists(archive + ".new"));
        EXPECT_TRUE(FilesIn(destination, "*.tmp").empty());
        ExpectNoBackupRecorded();
    }
}

}  // namespace

// The backup operation when something goes wrong under it: the destination
// drive pulled out while the archive is written, and a store file changing
// size while it is read. The old archive survives, the failure is told as
// such, and an archive that says it is complete holds every file as it was
// at one moment. The operation runs as under any window: its progress
// reports are where the faults are made.
#include "corvane/backup/BackupMessages.h"
#include "corvane/backup/planning/RunContents.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/main/WizardIds.h"
#include "tests/main/BackupDriver.h"
#include "tests/main/FaultSupport.h"
#include "tests/operations/BoundedRun.h"

#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace corvane;
using namespace corvane::testing;

namespace {

const std::string kId = "{D4D4D4D4-0000-4000-8000-000000000010}";
const std::string kFilesInUse =
    "ERROR - One or more selected files (or their components) are in use.\r\n"
    "Files in use can not be copied to the archive file.";
const std::string kDriveGone =
    "Archive Failed - the destination v:\\ could not be reached any more (was the drive removed?).\r\n"
    "The previous archive, if any, is unchanged.";

class BackupFaults : public BackupDriverTest {
protected:
    void SetUp() override {
        BackupDriverTest::SetUp();
        Version5Sample("backup-faults", kId);
    }
    // The operation of the wizard's last page for `folder`, replacing an
    // archive of the same name; `onProgress` sees each report as it is made.
    ops::BackupOutcome Run(const std::string& folder, std::function<void(const ProgressReport&)> onProgress) {
        ToLastPage(folder);
        planning::MarkParentsOfSaved(window->tlMail);
        ops::BackupInput input = BackupInputOf(*window, archive);
        input.keepExisting = false;
        InlineEvents events;
        events.progress = std::move(onProgress);
        ops::BackupOutcome outcome;
        RunWithin(120, [&] { outcome = ops::RunBackup(input, events); });
        return outcome;
    }
    static std::string Said(const ops::BackupOutcome& outcome) { return BackupOutcomeText(outcome, false).text; }
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
    }
    void TearDown() override {
        UnplugDrive('v');
        BackupFaults::TearDown();
    }
    // A run replacing the old archive on V:, the drive pulled out at the
    // first report that `when` accepts; then plugged in again.
    ops::BackupOutcome RunAndPullOutWhen(std::function<bool(const ProgressReport&)> when) {
        int pulled = 0;
        ops::BackupOutcome outcome = Run("v:\\", [&](const ProgressReport& report) {
            if (pulled == 0 && when(report) && UnplugDrive('v')) ++pulled;
        });
        EXPECT_EQ(Lower(archive), Lower(old));
        EXPECT_EQ(pulled, 1);
        EXPECT_TRUE(PlugDrive('v', shelf));
        return outcome;
    }
    std::string shelf;
    const std::string old = "v:\\Corvane5Backup.Main Identity.2001-01-31.zip";
};

TEST_F(PulledDrive, MidArchiveTheOldArchiveSurvivesAndTheUserIsToldWhy) {
    ops::BackupOutcome outcome =
        RunAndPullOutWhen([](const ProgressReport& report) { return report.item == "Work"; });
    EXPECT_EQ(outcome.kind, ops::Kind::Failed);
    EXPECT_EQ(outcome.fault, ops::BackupFault::DestinationGone);
    EXPECT_EQ(Said(outcome), kDriveGone);
    EXPECT_EQ(ReadFileText(old), "the archive of an earlier backup");
    // What the run was writing when the drive went stays there under its
    // temporary name, which no later run takes for its own.
    for (const std::string& name : FilesIn(shelf)) {
        if (Lower(name) != Lower(old.substr(3))) {
            EXPECT_EQ(Lower(name), Lower(old.substr(3)) + ".new.~0.tmp");
        }
    }
}

TEST_F(PulledDrive, AtTheFirstEntryTheUserIsToldWhy) {
    ops::BackupOutcome outcome = RunAndPullOutWhen([](const ProgressReport&) { return true; });
    EXPECT_EQ(outcome.kind, ops::Kind::Failed);
    EXPECT_EQ(Said(outcome), kDriveGone);
    EXPECT_EQ(ReadFileText(old), "the archive of an earlier backup");
}

// Work's file is larger than the engine reads ahead of what it writes, so
// the progress of its entry comes while most of it is still to be read.
class ChangingStoreFile : public BackupFaults {
protected:
    void MakeWorkLarge() {
        const std::string work = store + "\\Work.dbx";
        ASSERT_TRUE(SyntheticOE::WriteFile(work, ""));
        unsigned threads = std::max(1u, std::thread::hardware_concurrency());
        AppendNoise(work, (4 * threads + 8) << 20);
    }
    // A run in which a host program (no Windows lock stops it) runs
    // `command` on Work's file as Work's entry begins.
    ops::BackupOutcome RunChangingWork(const std::string& command) {
        DeleteFileA(archive.c_str());
        const std::string work = HostPath(store + "\\Work.dbx");
        int changed = 0;
        ops::BackupOutcome outcome = Run(destination, [&](const ProgressReport& report) {
            if (report.item != "Work" || changed++ != 0) return;
            EXPECT_EQ(RunHostCommand(command + " '" + work + "'"), 0);
        });
        EXPECT_EQ(changed, 1);
        return outcome;
    }
};

TEST_F(ChangingStoreFile, ChangedAfterTheMeasuringTheArchiveHoldsItAsItIsRead) {
    MakeWorkLarge();
    ToLastPage(destination);  // the wizard has measured the folders
    planning::MarkParentsOfSaved(window->tlMail);
    ops::BackupInput input = BackupInputOf(*window, archive);
    AppendNoise(store + "\\Work.dbx", 1 << 20, 7);
    HANDLE family = CreateFileA((store + "\\Family.dbx").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(family, INVALID_HANDLE_VALUE);
    SetFilePointer(family, 1000, nullptr, FILE_BEGIN);
    SetEndOfFile(family);
    CloseHandle(family);
    InlineEvents events;
    ops::BackupOutcome outcome;
    RunWithin(120, [&] { outcome = ops::RunBackup(input, events); });
    EXPECT_TRUE(outcome.Complete());
    EXPECT_TRUE(ArchiveTestsSound(archive));
    EXPECT_TRUE(EntryHoldsTheFile("Work.dbx"));
    EXPECT_TRUE(EntryHoldsTheFile("Family.dbx"));
}

TEST_F(ChangingStoreFile, TruncatedOrGrownWhileItIsReadTheRunFailsAndNoArchiveIsLeft) {
    for (const char* change : {"truncate -s 1M", "truncate -s +3M"}) {
        SCOPED_TRACE(change);
        MakeWorkLarge();
        ops::BackupOutcome outcome = RunChangingWork(change);
        EXPECT_EQ(outcome.fault, ops::BackupFault::FilesInUse);
        EXPECT_EQ(Said(outcome), kFilesInUse);
        EXPECT_FALSE(FileExists(archive));
        EXPECT_FALSE(FileExists(archive + ".new"));
        EXPECT_TRUE(FilesIn(destination, "*.tmp").empty());
    }
}

}  // namespace

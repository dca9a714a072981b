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
#include "corvane/zip/Win32FileSystem.h"
#include "tests/main/BackupDriver.h"
#include "tests/main/FaultSupport.h"
#include "tests/operations/BoundedRun.h"
#include "tests/zip/ZipTestSupport.h"

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
    // The input of the wizard's last page for `folder`, replacing an archive of the same name.
    ops::BackupInput Input(const std::string& folder) {
        ToLastPage(folder);
        planning::MarkParentsOfSaved(window->tlMail);
        ops::BackupInput input = BackupInputOf(*window, archive);
        input.keepExisting = false;
        return input;
    }
    // The operation run as a window runs it: `onProgress` sees each report
    // as it is made, `answer` answers the questions and records them.
    ops::BackupOutcome RunOperation(const ops::BackupInput& input,
                                    std::function<void(const ProgressReport&)> onProgress = nullptr,
                                    bool answer = true) {
        InlineEvents events;
        events.progress = std::move(onProgress);
        events.answer = [this, answer](const QuestionCall& call) {
            asked.push_back(call.question);
            return answer;
        };
        ops::BackupOutcome outcome;
        RunWithin(120, [&] { outcome = ops::RunBackup(input, events); });
        return outcome;
    }
    ops::BackupOutcome Run(const std::string& folder, std::function<void(const ProgressReport&)> onProgress) {
        return RunOperation(Input(folder), std::move(onProgress));
    }
    std::vector<Question> asked;
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

// Each run writes its log under a name of its own: another run's log of the
// usual name is neither overwritten nor deleted.
TEST_F(BackupFaults, ARunNeverTouchesAnotherRunsLog) {
    ASSERT_TRUE(SyntheticOE::WriteFile("c:\\CorvaneBackup.log", "the log of another identity's run"));
    ops::BackupOutcome outcome = RunOperation(Input(destination));
    EXPECT_TRUE(outcome.Complete());
    EXPECT_EQ(ReadFileText("c:\\CorvaneBackup.log"), "the log of another identity's run");
    EXPECT_EQ(LogInside(archive).rfind("V5 - Corvane Backup started: ", 0), 0u);
    EXPECT_TRUE(FilesIn("c:\\", "CorvaneBackup.*.log").empty());
    DeleteFileA("c:\\CorvaneBackup.log");
}

// A file the list names that is gone when the run begins (the index moved
// away after the last page) fails the run: no archive, no "complete". An
// archive kept under a numbered name for this run gets its name back.
TEST_F(BackupFaults, ANamedFileThatVanishedFailsTheRunAndTheKeptArchiveKeepsItsName) {
    for (const char* file : {"Folders.dbx", "Family.dbx"}) {
        SCOPED_TRACE(file);
        ops::BackupInput input = Input(destination);
        ASSERT_TRUE(SyntheticOE::WriteFile(archive, "the last archive"));
        input.keepExisting = true;
        const std::string moved = root + "\\moved away";
        ASSERT_TRUE(MoveFileA((store + "\\" + file).c_str(), moved.c_str()));
        ops::BackupOutcome outcome = RunOperation(input);
        ASSERT_TRUE(MoveFileA(moved.c_str(), (store + "\\" + file).c_str()));
        EXPECT_EQ(outcome.kind, ops::Kind::Failed);
        EXPECT_EQ(outcome.fault, ops::BackupFault::FileMissing);
        EXPECT_EQ(Lower(outcome.path), Lower(store + "\\" + file));
        EXPECT_EQ(Said(outcome), "Archive Failed - " + outcome.path +
                                     " could not be found, so the archive would not hold it.\r\n"
                                     "The previous archive, if any, is unchanged.");
        EXPECT_EQ(ReadFileText(archive), "the last archive");
        EXPECT_EQ(FilesIn(destination), std::vector<std::string>{archive.substr(destination.size() + 1)});
        DeleteFileA(archive.c_str());
    }
}

// Cancel while the new archive is read back, or just after: the old archive
// stays, and the run is not called unsound.
TEST_F(BackupFaults, AStopDuringTheReadBackKeepsTheOldArchiveAndSaysNothing) {
    ops::BackupInput input = Input(destination);
    ASSERT_TRUE(SyntheticOE::WriteFile(archive, "the last archive"));
    std::atomic<bool>* stop = nullptr;
    InlineEvents events;
    events.progress = [&](const ProgressReport& report) {
        if (report.activity == Activity::Checking) *stop = true;
    };
    stop = &events.StopFlag();
    ops::BackupOutcome outcome;
    RunWithin(120, [&] { outcome = ops::RunBackup(input, events); });
    EXPECT_EQ(outcome.kind, ops::Kind::Cancelled);
    EXPECT_TRUE(BackupOutcomeText(outcome, true).text.empty());
    EXPECT_TRUE(Said(outcome).empty());
    EXPECT_EQ(ReadFileText(archive), "the last archive");
    EXPECT_FALSE(FileExists(archive + ".new"));
}

// A byte of the new archive changed on the disk after it was written (the
// host changes it: Windows lets no second writer in), before the run read it
// back: the run is not complete and the old archive stays.
TEST_F(BackupFaults, AnArchiveDamagedOnTheDiskAfterItWasWrittenFailsTheRun) {
    ops::BackupInput input = Input(destination);
    ASSERT_TRUE(SyntheticOE::WriteFile(archive, "the last archive"));
    std::unique_ptr<zip::FileSystem> win32 = zip::MakeWin32FileSystem();
    zip::ziptest::DamagingFileSystem damaging(*win32);
    damaging.damageAt = 200;  // in the first entry
    damaging.flip = [](const std::string& path, uint64_t offset) {
        return RunHostCommand("python3 -c 'import sys; f = open(sys.argv[1], sys.argv[3]); n = int(sys.argv[2]); "
                              "f.seek(n); b = f.read(1); f.seek(n); f.write(bytes([b[0] ^ 90]))' '" +
                              HostPath(path) + "' " + std::to_string(offset) + " r+b") == 0;
    };
    input.files = &damaging;
    ops::BackupOutcome outcome = RunOperation(input);
    EXPECT_EQ(damaging.damaged, 1);
    EXPECT_EQ(outcome.kind, ops::Kind::Failed);
    EXPECT_EQ(outcome.fault, ops::BackupFault::NotSound);
    EXPECT_EQ(Said(outcome),
              "Archive Failed - the new archive did not read back correctly.\r\n"
              "The previous archive, if any, is unchanged.");
    EXPECT_EQ(ReadFileText(archive), "the last archive");
    EXPECT_EQ(FilesIn(destination), std::vector<std::string>{archive.substr(destination.size() + 1)});
}

// A destination inside a folder the archive holds (here the Favorites):
// the archive holds neither itself nor its kept copies.
TEST_F(BackupFaults, TheArchiveNeverStoresItselfOrItsKeptCopies) {
    ASSERT_TRUE(SyntheticOE::WriteFile(destination + "\\Debian.url", "[InternetShortcut]\r\n"));
    oe.SetFavorites(destination);
    ops::BackupInput input = Input(destination);
    input.keepExisting = true;
    ASSERT_TRUE(SyntheticOE::WriteFile(archive, "the last archive"));
    ASSERT_TRUE(SyntheticOE::WriteFile(archive + "000.zip", "the one before"));
    ops::BackupOutcome outcome = RunOperation(input);
    ASSERT_TRUE(outcome.Complete()) << Said(outcome);
    const std::vector<std::string> entries = ArchiveEntries(archive);
    EXPECT_NE(std::find(entries.begin(), entries.end(), EntryOf(destination + "\\Debian.url")), entries.end());
    for (const std::string& entry : entries) EXPECT_EQ(entry.find("corvane5backup"), std::string::npos) << entry;
    EXPECT_EQ(ReadFileText(archive + "001.zip"), "the last archive");
}

// The 2 MiB volume T: holds the last archive and little more: the new one
// fits only once the old one is gone. The user is asked; without consent
// nothing changes, with it the old archive goes first.
TEST_F(BackupFaults, ReplacingOnANearlyFullDestinationAsksToRemoveTheOldArchiveFirst) {
    REQUIRE_SMALL_VOLUME('t');
    const std::string filler = "t:\\filler";
    const std::string old = "t:\\Corvane5Backup.Main Identity.2001-01-31.zip";
    ASSERT_TRUE(SyntheticOE::WriteFile(store + "\\Work.dbx", ""));
    AppendNoise(store + "\\Work.dbx", 1000 << 10);  // does not compress
    ops::BackupInput input = Input("t:\\");
    ASSERT_EQ(Lower(archive), Lower(old));
    // Work alone is ticked.
    for (int row = 1; row < input.rows.Count(); ++row)
        if (input.rows.TextValue(row, catalog::names::kMbxName) != "Work.dbx")
            input.rows.SetNumberValue(row, catalog::names::kFlgSave, 0);
    input.totalBytes = 1000 << 10;
    std::string oldBytes(1000 << 10, 'o');
    ASSERT_TRUE(SyntheticOE::WriteFile(old, oldBytes));
    FillVolumeLeaving("t:\\", filler, 400 << 10);

    ops::BackupOutcome declined = RunOperation(input, nullptr, false);
    EXPECT_EQ(asked, std::vector<Question>{Question::ReplaceInPlace});
    EXPECT_EQ(declined.kind, ops::Kind::NotStarted);
    EXPECT_EQ(ReadFileText(old), oldBytes);

    ops::BackupOutcome replaced = RunOperation(input, nullptr, true);
    EXPECT_TRUE(replaced.Complete()) << Said(replaced);
    EXPECT_TRUE(ArchiveTestsSound(old));
    EXPECT_TRUE(EntryHoldsTheFile("Work.dbx"));
    DeleteFileA(old.c_str());
    DeleteFileA(filler.c_str());
}

}  // namespace

// The restore when something goes wrong under it: the target disk fills, a
// store file is held open by another program, the old files cannot be set
// aside, the program is killed in the middle. Afterwards every current file
// is whole - its old bytes or the archive's, never a part of either - and
// the user has been told what failed.
#include "corvane/catalog/CatalogModel.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/main/WizardIds.h"
#include "corvane/operations/FilePlacement.h"
#include "corvane/restore/RestoreMessages.h"
#include "tests/main/FaultSupport.h"
#include "tests/main/RestoreDriver.h"
#include "tests/operations/RestoreOperationDriver.h"
#include "tests/main/TextChangeHook.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::testing;

namespace {

const std::string kId = "{D4D4D4D4-0000-4000-8000-00000000000F}";
const std::string kComplete = "Restore is Complete";
const std::string kMailFailed = "Mail Folder Restore Failed - ";
const char* const kMail[] = {"Inbox.dbx",  "Outbox.dbx", "Sent Items.dbx", "Deleted Items.dbx",
                             "Drafts.dbx", "Family.dbx", "Projects.dbx",   "Work.dbx"};
// The child restore's orders: "<mode>|<archive>|<file>,<file>..."
const char* const kChildOrders = "CORVANE_RESTORE_CHILD";

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }
bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::vector<std::string> Sorted(std::vector<std::string> names) {
    for (std::string& name : names) name = Lower(name);
    std::sort(names.begin(), names.end());
    return names;
}

// Bytes compared without printing megabytes of them.
::testing::AssertionResult Same(const std::string& actual, const std::string& expected) {
    if (actual == expected) return ::testing::AssertionSuccess();
    auto shown = [](const std::string& bytes) {
        return bytes.size() <= 40 ? "\"" + bytes + "\"" : std::to_string(bytes.size()) + " bytes";
    };
    return ::testing::AssertionFailure() << shown(actual) << " where " << shown(expected) << " was expected";
}

// A name the extraction gives a file while it is written: "<target>.~<n>.tmp".
bool IsExtractionTemporary(const std::string& name) {
    size_t mark = name.rfind(".~");
    if (mark == std::string::npos || name.size() < mark + 7 || Lower(name.substr(name.size() - 4)) != ".tmp")
        return false;
    std::string digits = name.substr(mark + 2, name.size() - 4 - mark - 2);
    return !digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos;
}

class RestoreFaults : public RestoreOperationTest {
protected:
    void SetUp() override {
        RestoreOperationTest::SetUp();
        Version5Sample("faults", kId);
    }
    // A backup of the store holding the mail folders `files` only (and the
    // store's index); `archived` keeps what it holds.
    void MakeArchiveOf(const std::vector<std::string>& files) {
        ToLastPage(destination);
        catalog::TreeList& rows = window->tlMail;
        for (int row = 1; row < rows.Count(); ++row) {
            std::string name = rows.TextValue(row, catalog::names::kMbxName);
            if (name.empty() || std::find(files.begin(), files.end(), name) != files.end()) continue;
            rows.SetMark(row, 0);
            rows.SetNumberValue(row, catalog::names::kFlgSave, 0);
        }
        ASSERT_TRUE(RunToEnd());
        ASSERT_EQ(boxes->Texts(), std::vector<std::string>{"Archive is complete"});
        for (const std::string& file : files) archived[file] = ReadFileText(store + "\\" + file);
        archived["Folders.dbx"] = ReadFileText(store + "\\Folders.dbx");
    }
    void MakeFullArchive() { MakeArchiveOf(std::vector<std::string>(std::begin(kMail), std::end(kMail))); }
    // Each mail file given bytes of its own that the archive does not hold.
    void ChangeEveryMailFile() {
        for (const char* file : kMail) {
            current[file] = std::string("current ") + file;
            ASSERT_TRUE(SyntheticOE::WriteFile(store + "\\" + file, current[file]));
        }
    }
    std::string Stored(const std::string& file) const { return ReadFileText(store + "\\" + file); }
    std::vector<std::string> Temporaries(const std::string& folder) const {
        std::vector<std::string> found;
        for (const std::string& name : FilesIn(folder, "*", true))
            if (IsExtractionTemporary(name.substr(name.find_last_of('\\') + 1))) found.push_back(name);
        return found;
    }
    HANDLE HoldShut(const std::string& file) {
        // Share mode 0: nobody else may read, write, rename or delete it.
        return CreateFileA((store + "\\" + file).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    std::map<std::string, std::string> archived, current;
    const std::string dated = "\\backup2001-01-31";
};

// The store on the 2 MiB volume T:, filled up; the archive's Inbox is larger
// than the whole volume.
class RestoreOnFullDisk : public RestoreFaults {
protected:
    void SetUp() override {
        RestoreFaults::SetUp();
        REQUIRE_SMALL_VOLUME('t');
        RemoveFromVolume();
    }
    void TearDown() override {
        RemoveFromVolume();
        RestoreFaults::TearDown();
    }
    void RemoveFromVolume() {
        std::error_code ignored;
        std::filesystem::remove_all(small, ignored);
        DeleteFileA(filler.c_str());
    }
    const std::string small = "t:\\Store", filler = "t:\\filler";
};

TEST_F(RestoreOnFullDisk, TheCurrentFileStaysWholeTheUserIsToldAndFullRestorePutsTheOldOneBack) {
    const std::string inbox = Stored("Inbox.dbx");
    AppendNoise(store + "\\Inbox.dbx", 3 << 20);
    MakeArchiveOf({"Inbox.dbx", "Drafts.dbx"});
    ASSERT_TRUE(SyntheticOE::MakeFolders(small));
    ASSERT_TRUE(CopyFileA((store + "\\Folders.dbx").c_str(), (small + "\\Folders.dbx").c_str(), FALSE));
    ASSERT_TRUE(SyntheticOE::WriteFile(small + "\\Inbox.dbx", inbox));
    ASSERT_TRUE(SyntheticOE::WriteFile(small + "\\Drafts.dbx", "current drafts"));
    oe.AddIdentity(kId, "Main Identity", small);
    // Less room than the old Inbox takes, too: it cannot be copied on this disk.
    FillVolumeLeaving("t:\\", filler, 64 * 1024);

    OpenArchive(0, archive);
    ASSERT_TRUE(loaded);
    Click("Inbox.dbx");
    Click("Drafts.dbx");
    RunRestore();
    ASSERT_EQ(boxes->Texts().size(), 1u);
    EXPECT_TRUE(StartsWith(boxes->Texts()[0], kMailFailed)) << boxes->Texts()[0];
    EXPECT_TRUE(Contains(boxes->Texts()[0], "not enough free space")) << boxes->Texts()[0];
    EXPECT_TRUE(Same(ReadFileText(small + "\\Inbox.dbx"), inbox));
    EXPECT_TRUE(Same(ReadFileText(small + "\\Drafts.dbx"), archived["Drafts.dbx"]));
    EXPECT_EQ(Sorted(FilesIn(small, "*", true)), Sorted({"Drafts.dbx", "Folders.dbx", "Inbox.dbx"}));

    // A full restore moves the old files aside first: the Inbox that did not
    // fit comes back from there, though the disk has no room for a copy of it.
    ASSERT_TRUE(SyntheticOE::WriteFile(small + "\\Drafts.dbx", "current drafts"));
    OpenArchive(2, archive);
    ASSERT_TRUE(loaded);
    RunRestore();
    ASSERT_FALSE(boxes->Texts().empty());
    EXPECT_TRUE(StartsWith(boxes->Texts()[0], kMailFailed)) << boxes->Texts()[0];
    EXPECT_TRUE(Contains(boxes->Texts()[0], "not enough free space")) << boxes->Texts()[0];
    EXPECT_TRUE(Same(ReadFileText(small + "\\Inbox.dbx"), inbox));
    EXPECT_TRUE(Same(ReadFileText(small + "\\Drafts.dbx"), archived["Drafts.dbx"]));
    EXPECT_TRUE(Same(ReadFileText(small + "\\Folders.dbx"), archived["Folders.dbx"]));
    EXPECT_TRUE(Same(ReadFileText(small + dated + "\\Drafts.dbx"), "current drafts"));
    EXPECT_FALSE(FileExists(small + dated + "\\Inbox.dbx"));  // not replaced, so not kept twice
    EXPECT_TRUE(Temporaries(small).empty());
}

// The address book takes its safety name by a rename: on a disk with no
// room for a copy of it, the archive's still comes in and the old one is kept.
TEST_F(RestoreOnFullDisk, TheAddressBookIsRestoredWhereThereIsNoRoomForACopyOfIt) {
    const std::string book = root + "\\Main.wab";
    ASSERT_TRUE(SyntheticOE::WriteFile(book, "the archive's book"));
    oe.SetAddressBook(book);
    MakeArchive(destination);
    ASSERT_TRUE(SyntheticOE::MakeFolders(small));
    const std::string onT = small + "\\Main.wab", old(1200 << 10, 'b');
    ASSERT_TRUE(SyntheticOE::WriteFile(onT, old));
    oe.SetAddressBook(onT);
    FillVolumeLeaving("t:\\", filler, 64 * 1024);

    OpenArchive(0, archive);
    ASSERT_TRUE(loaded);
    const int row = restore::FindItemOfType(items, catalog::kTypeAddressBook);
    ASSERT_GT(row, 0);
    MarkClick(row);
    ASSERT_EQ(items.Mark(row), 1);
    RunRestore();
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{kComplete});
    EXPECT_EQ(ReadFileText(onT), "the archive's book");
    EXPECT_TRUE(Same(ReadFileText(small + "\\Main.wax"), old));
}

// Another program holds a store file open and shares it with nobody.
TEST_F(RestoreFaults, AStoreFileHeldOpenStaysAsItWasAndTheStoreIsRestorableOnceItIsLetGo) {
    MakeFullArchive();
    ChangeEveryMailFile();
    HANDLE held = HoldShut("Inbox.dbx");
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    OpenArchive(0, archive);
    ASSERT_TRUE(loaded);
    Click("Inbox.dbx");
    Click("Family.dbx");
    RunRestore();
    CloseHandle(held);
    ASSERT_EQ(boxes->Texts().size(), 1u);
    EXPECT_TRUE(StartsWith(boxes->Texts()[0], kMailFailed)) << boxes->Texts()[0];
    EXPECT_TRUE(Contains(boxes->Texts()[0], "could not be replaced")) << boxes->Texts()[0];
    EXPECT_TRUE(Same(Stored("Inbox.dbx"), current["Inbox.dbx"]));
    EXPECT_TRUE(Same(Stored("Family.dbx"), archived["Family.dbx"]));
    current["Family.dbx"] = archived["Family.dbx"];
    EXPECT_TRUE(Temporaries(store).empty());

    // A full restore cannot move the held file aside: it restores nothing,
    // and what it had moved already is back in place.
    held = HoldShut("Inbox.dbx");
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    OpenArchive(2, archive);
    ASSERT_TRUE(loaded);
    RunRestore();
    CloseHandle(held);
    ASSERT_FALSE(boxes->Texts().empty());
    EXPECT_TRUE(StartsWith(boxes->Texts()[0], "These files could not be moved into " + store + dated))
        << boxes->Texts()[0];
    EXPECT_TRUE(Contains(boxes->Texts()[0], store + "\\Inbox.dbx")) << boxes->Texts()[0];
    for (const char* file : kMail) EXPECT_TRUE(Same(Stored(file), current[file])) << file;
    EXPECT_TRUE(Same(Stored("Folders.dbx"), archived["Folders.dbx"]));
    EXPECT_TRUE(FilesIn(store + dated, "*", true).empty());

    // Let go, the same store takes a full restore.
    OpenArchive(2, archive);
    ASSERT_TRUE(loaded);
    RunRestore();
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{kComplete});
    for (const char* file : kMail) EXPECT_TRUE(Same(Stored(file), archived[file])) << file;
    EXPECT_TRUE(Temporaries(store).empty());
}

// Where the dated folder cannot be made, or the old files cannot all be
// moved into it, nothing is replaced and nothing stays moved.
TEST_F(RestoreFaults, OldFilesThatCannotBeSetAsideAreNeitherReplacedNorLeftHalfMoved) {
    MakeFullArchive();
    ChangeEveryMailFile();
    // The dated folder's name and every numbered one are taken by files.
    std::vector<std::string> taken = {store + dated};
    for (int number = 1; number <= 999; ++number) {
        char suffix[8];
        std::snprintf(suffix, sizeof suffix, "_%03d", number);
        taken.push_back(store + dated + suffix);
    }
    for (const std::string& path : taken) ASSERT_TRUE(SyntheticOE::WriteFile(path, "taken"));
    OpenArchive(2, archive);
    ASSERT_TRUE(loaded);
    RunRestore();
    ASSERT_FALSE(boxes->Texts().empty());
    EXPECT_TRUE(StartsWith(boxes->Texts()[0], "The folder " + store + "\\backup")) << boxes->Texts()[0];
    EXPECT_TRUE(Contains(boxes->Texts()[0],
                         " could not be made. No mail folder was restored; the current files stay "
                         "as they were."))
        << boxes->Texts()[0];
    for (const char* file : kMail) EXPECT_TRUE(Same(Stored(file), current[file])) << file;
    for (const std::string& path : taken) DeleteFileA(path.c_str());

    // A file in the middle of the list cannot be moved.
    HANDLE held = HoldShut("Sent Items.dbx");
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    OpenArchive(2, archive);
    ASSERT_TRUE(loaded);
    RunRestore();
    CloseHandle(held);
    ASSERT_FALSE(boxes->Texts().empty());
    EXPECT_TRUE(StartsWith(boxes->Texts()[0], "These files could not be moved into ")) << boxes->Texts()[0];
    EXPECT_TRUE(Contains(boxes->Texts()[0], store + "\\Sent Items.dbx")) << boxes->Texts()[0];
    for (const char* file : kMail) EXPECT_TRUE(Same(Stored(file), current[file])) << file;
    EXPECT_TRUE(Same(Stored("Folders.dbx"), archived["Folders.dbx"]));
    EXPECT_FALSE(FolderExists(store + dated));

    // Where the old files are moved (a volume without hard links), a move
    // stopped half-way by the held file is undone.
    held = HoldShut("Sent Items.dbx");
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    PlacementResult made = MakeDatedBackupFolder(store + "\\");
    ASSERT_TRUE(made.ok) << PlacementText(made);
    PlacementResult moved =
        MoveOldFiles(store + "\\", made.path, std::vector<std::string>(std::begin(kMail), std::end(kMail)));
    CloseHandle(held);
    EXPECT_FALSE(moved.ok);
    EXPECT_TRUE(Contains(PlacementText(moved), store + "\\Sent Items.dbx")) << PlacementText(moved);
    for (const char* file : kMail) EXPECT_TRUE(Same(Stored(file), current[file])) << file;
    EXPECT_TRUE(Same(Stored("Folders.dbx"), archived["Folders.dbx"]));
    EXPECT_FALSE(FolderExists(made.path));
}

// A full restore that sends an archived folder into a current one replaces
// that one's file too, although the archive does not hold it: its old bytes
// are set aside in the dated folder with the others.
TEST_F(RestoreFaults, AFullRestoreSetsAsideTheFileOfAFolderItSendsAnotherInto) {
    MakeArchiveOf({"Family.dbx", "Work.dbx"});
    ChangeEveryMailFile();
    OpenArchive(2, archive);
    ASSERT_TRUE(loaded);
    ASSERT_LE(Row("Inbox.dbx"), 0);  // the archive holds no Inbox
    SendTo(Row("Family.dbx"), "Inbox.dbx", "Inbox", 1);
    RunRestore();
    EXPECT_TRUE(Same(Stored("Inbox.dbx"), archived["Family.dbx"]));
    EXPECT_TRUE(Same(ReadFileText(store + dated + "\\Inbox.dbx"), current["Inbox.dbx"]));
    EXPECT_TRUE(Same(ReadFileText(store + dated + "\\Work.dbx"), current["Work.dbx"]));
}

// A version-4 store, whose full restore sets the whole mail folder aside.
class RestoreFaultsV4 : public RestoreFaults {
protected:
    void SetUp() override {
        RestoreOperationTest::SetUp();
        Version4Sample("faults-v4");
        store = mail;
    }
};

// A version-4 full restore that fails or is stopped keeps every file of the
// mail folder, each the old one or the archive's; only one that went
// through leaves the store with the restore's files alone.
TEST_F(RestoreFaultsV4, AFailedFullRestoreKeepsEveryFileOfTheMailFolder) {
    MakeArchive(destination);
    window.reset();
    ASSERT_TRUE(SyntheticOE::WriteFile(mail + "\\Notes.mbx", "a folder the archive does not hold"));
    std::map<std::string, std::string> before;
    for (const std::string& name : FilesIn(mail)) before[Lower(name)] = ReadFileText(mail + "\\" + name);
    const std::string damaged = destination + "\\damaged.zip";
    ASSERT_TRUE(SyntheticOE::WriteFile(damaged, WithEntryDamaged(ReadFileText(archive), "work.mbx")));

    OpenArchive(2, damaged);
    ASSERT_TRUE(loaded);
    ops::RestoreOutcome outcome = RunRestore();
    EXPECT_EQ(outcome.kind, ops::Kind::Failed);
    std::map<std::string, std::string> after;
    for (const std::string& name : FilesIn(mail)) after[Lower(name)] = ReadFileText(mail + "\\" + name);
    for (const auto& [name, bytes] : before) EXPECT_TRUE(after.count(name)) << "gone from the store: " << name;
    EXPECT_EQ(after["notes.mbx"], "a folder the archive does not hold");
    EXPECT_EQ(after["work.mbx"], before["work.mbx"]);

    // Through, the same restore leaves only what the archive holds.
    OpenArchive(2, archive);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(RunRestore().kind == ops::Kind::Complete);
    EXPECT_FALSE(FileExists(mail + "\\Notes.mbx"));
}

// The restore run by a second copy of this program, which is killed while
// it extracts; the parent test looks at what is left.
class KilledRestore : public RestoreFaults {
protected:
    // Starts the child on the restore, waits until an extracted file is being
    // written (a temporary of at least `written` bytes beside its target),
    // and kills it then. False when the child ended on its own first.
    bool RunAndKillMidway(int mode, const std::vector<std::string>& files, uint64_t written) {
        std::string orders = std::to_string(mode) + "|" + archive + "|";
        for (const std::string& file : files) orders += file + ",";
        SetEnvironmentVariableA(kChildOrders, orders.c_str());
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, sizeof self);
        std::string line = std::string("\"") + self +
                           "\" --gtest_filter=RestoreChild.DISABLED_RunsTheRestoreItIsGiven "
                           "--gtest_also_run_disabled_tests";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child = {};
        bool started =
            CreateProcessA(self, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child) != 0;
        SetEnvironmentVariableA(kChildOrders, nullptr);
        EXPECT_TRUE(started);
        if (!started) return false;
        bool killed = false;
        for (int wait = 0; wait < 60000 && !killed; ++wait) {
            if (WaitForSingleObject(child.hProcess, 1) == WAIT_OBJECT_0) break;
            for (const std::string& name : Temporaries(store)) {
                WIN32_FILE_ATTRIBUTE_DATA data;
                if (!GetFileAttributesExA((store + "\\" + name).c_str(), GetFileExInfoStandard, &data)) continue;
                if (data.nFileSizeHigh == 0 && data.nFileSizeLow < written) continue;
                killed = TerminateProcess(child.hProcess, 9) != 0;
                break;
            }
        }
        if (!killed) TerminateProcess(child.hProcess, 9);
        WaitForSingleObject(child.hProcess, 10000);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
        return killed;
    }
    // Every file of `folder` that is not an extraction's temporary must be
    // one of `known`, and each known one whole: its old bytes or the archive's.
    void ExpectEveryFileOldOrNew(const std::string& folder) {
        std::map<std::string, std::string> old, made;
        for (const auto& [name, bytes] : current) old[Lower(name)] = bytes;
        for (const auto& [name, bytes] : archived) made[Lower(name)] = bytes;
        for (const std::string& name : FilesIn(folder)) {
            if (IsExtractionTemporary(name)) continue;
            ASSERT_EQ(old.count(Lower(name)), 1u) << "a file nobody made: " << name;
            std::string bytes = ReadFileText(folder + "\\" + name);
            EXPECT_TRUE(bytes == old[Lower(name)] || bytes == made[Lower(name)])
                << name << " is neither the old file nor the archive's (" << bytes.size() << " bytes)";
        }
    }
    // Large folders, so the kill finds an extraction under way; every file of
    // the store is then known as it is now.
    void MakeLargeArchive() {
        for (const char* file : {"Inbox.dbx", "Family.dbx", "Work.dbx"})
            AppendNoise(store + "\\" + file, 24 << 20, static_cast<uint32_t>(std::hash<std::string>{}(file)));
        MakeFullArchive();
        ChangeEveryMailFile();
        for (const std::string& name : FilesIn(store))
            if (!current.count(name)) current[name] = ReadFileText(store + "\\" + name);
        window.reset();
    }
};

TEST_F(KilledRestore, EveryStoreFileIsTheOldOneOrTheArchivesAndTheNextRestoreFinishesTheJob) {
    MakeLargeArchive();

    ASSERT_TRUE(RunAndKillMidway(0, {"Inbox.dbx", "Family.dbx", "Work.dbx"}, 2 << 20))
        << "the restore ended before it could be killed";
    ExpectEveryFileOldOrNew(store);
    // A file being written when the program died never took its target's
    // name: that target is still the old file.
    const std::vector<std::string> strays = Temporaries(store);
    EXPECT_FALSE(strays.empty());
    for (const std::string& stray : strays) {
        std::string target = stray.substr(0, stray.rfind(".~"));
        EXPECT_TRUE(Same(Stored(target), current[target])) << stray;
    }

    // The next restore of the same folders finishes the job, and takes away
    // what the killed one left beside the files it restores.
    OpenArchive(0, archive);
    ASSERT_TRUE(loaded);
    for (const char* file : {"Inbox.dbx", "Family.dbx", "Work.dbx"}) Click(file);
    RunRestore();
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{kComplete});
    for (const char* file : {"Inbox.dbx", "Family.dbx", "Work.dbx"})
        EXPECT_TRUE(Same(Stored(file), archived[file])) << file;
    EXPECT_TRUE(Temporaries(store).empty()) << ::testing::PrintToString(Temporaries(store));
}

TEST_F(KilledRestore, AFullRestoreKilledMidwayLosesNoFile) {
    MakeLargeArchive();

    ASSERT_TRUE(RunAndKillMidway(2, {}, 2 << 20)) << "the restore ended before it could be killed";
    ExpectEveryFileOldOrNew(store);
    // No file is missing from the store.
    for (const char* file : kMail) EXPECT_TRUE(FileExists(store + "\\" + file)) << file;
}

// A version-4 store, whose full restore sets the whole mail folder aside.
class KilledRestoreV4 : public KilledRestore {
protected:
    void SetUp() override {
        RestoreOperationTest::SetUp();
        Version4Sample("faults4");
        store = mail;  // where the mail files are restored
    }
};

TEST_F(KilledRestoreV4, AFullRestoreKilledMidwayLosesNoFile) {
    for (const char* file : {"Inbox.mbx", "Family.mbx", "Work.mbx"})
        AppendNoise(mail + "\\" + file, 24 << 20, static_cast<uint32_t>(std::hash<std::string>{}(file)));
    MakeArchive(destination);
    window.reset();
    for (const std::string& name : FilesIn(mail)) {
        archived[name] = ReadFileText(mail + "\\" + name);
        current[name] = "current " + name;
        ASSERT_TRUE(SyntheticOE::WriteFile(mail + "\\" + name, current[name]));
    }

    ASSERT_TRUE(RunAndKillMidway(2, {}, 2 << 20)) << "the restore ended before it could be killed";
    ExpectEveryFileOldOrNew(mail);
    for (const auto& [name, bytes] : current) EXPECT_TRUE(FileExists(mail + "\\" + name)) << name;
}

// The child: a restore as the parent orders it, in a process of its own. It
// leaves the registry as the parent made it.
class RestoreChild : public RestoreOperationTest {
protected:
    void SetUp() override {}
    void TearDown() override {}
};

TEST_F(RestoreChild, DISABLED_RunsTheRestoreItIsGiven) {
    const char* orders = std::getenv(kChildOrders);
    if (!orders) GTEST_SKIP() << "started by KilledRestore only";
    std::istringstream parts(orders);
    std::string mode, path, files;
    std::getline(parts, mode, '|');
    std::getline(parts, path, '|');
    std::getline(parts, files);
    OpenArchive(std::atoi(mode.c_str()), path);
    ASSERT_TRUE(loaded);
    std::istringstream names(files);
    for (std::string name; std::getline(names, name, ',');)
        if (!name.empty()) Click(name);
    RunRestore();
}

}  // namespace

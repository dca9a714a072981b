// Archives no backup of ours writes, given to the real restore on the real
// main window: a log whose names climb out of the store or name drives,
// devices and streams, entries that do the same, one file named by several
// entries, items the archive lacks, and entries larger than the disk. Each
// archive is written byte by byte by make-hostile-zip; the checks are on the
// files in and around the store and on the boxes the user is shown.
#include "corvane/catalog/CatalogModel.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/main/frmMain.h"
#include "corvane/restore/RestoreRun.h"
#include "corvane/restore/portable/RestoreMapping.h"
#include "tests/main/FaultSupport.h"
#include "tests/operations/RestoreOperationDriver.h"
#include "testsupport/OeTestSupport.h"
#include "testsupport/portable/SampleStore.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::testing;

namespace {

const std::string kId = "{D4D4D4D4-0000-4000-8000-0000000000A5}";
const std::string kComplete = "Restore is Complete";
const std::string kLeftOut =
    "These items of the archive cannot be restored: their names would not stay inside the mail store.";
const std::string kElsewhere = "the name points to another folder or drive";
const std::string kRefused =
    "These entries of the archive were not restored: their names would leave the folder they belong in.";
const std::string kDoubled =
    "The archive holds more than one entry for each of these files. The first entry of "
    "each was restored, the others were left out:";
const std::string kWithoutEntry =
    "The archive holds no data for these items, so they were not restored; their "
    "current files stay as they were:";
const std::string kNoRoom =
    "The disk has not enough free space for an entry of the archive. Nothing was written "
    "in its place; the current file stays as it was.";

// The entries of an archive in the order they are added, written by the
// host's python through make-hostile-zip.
class HostileArchive {
public:
    explicit HostileArchive(std::string workFolder) : folder_(std::move(workFolder)) {}
    void File(const std::string& name, const std::string& bytes) {
        std::string data = folder_ + "\\entry" + std::to_string(count_++);
        EXPECT_TRUE(SyntheticOE::WriteFile(data, bytes));
        manifest_ += "file\t" + name + "\t" + HostPath(data) + "\n";
    }
    // `actual` zero bytes whose headers claim `declared`.
    void Bomb(const std::string& name, uint64_t actual, uint64_t declared) {
        manifest_ += "bomb\t" + name + "\t" + std::to_string(actual) + "\t" + std::to_string(declared) + "\n";
    }
    void Write(const std::string& path) {
        const std::string manifest = folder_ + "\\manifest";
        ASSERT_TRUE(SyntheticOE::WriteFile(manifest, manifest_));
        std::string output;
        ASSERT_EQ(RunHostCommand(std::string("python3 '") + CORVANE_SOURCE_DIR + "/tests/main/make-hostile-zip' '" +
                                     HostPath(path) + "' '" + HostPath(manifest) + "'",
                                 &output),
                  0)
            << output;
    }

private:
    std::string folder_, manifest_;
    int count_ = 0;
};

// A log of the current layout: the banner, the index line, then the rows.
std::string LogOf(const std::string& rows) {
    return "V5 - Corvane Backup started: Wed Jan 31, 2001 @ 02:15 PM  " + kId + "\r\nNCH\tFolders.dbx\r\n" + rows;
}
// One row: kind, store file, display text, row number, parent 0, saved, counts 0, type.
std::string RowOf(const std::string& kind, const std::string& name, const std::string& display, int number,
                  int type = catalog::kTypeMailFolder) {
    return kind + "\t" + name + "\t" + display + "\t" + std::to_string(number) + "\t0\t1\t0\t" + std::to_string(type) +
           "\r\n";
}

// Every file below `folder`, by its path relative to it, with its bytes.
std::map<std::string, std::string> FilesBelow(const std::string& folder) {
    std::map<std::string, std::string> files;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (!it->is_regular_file()) continue;
        std::string path = it->path().string();
        files[path.substr(folder.size() + 1)] = ReadFileText(path);
    }
    return files;
}
// Names of the files and folders directly in `folder`.
std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator(folder, error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class RestoreHostile : public RestoreOperationTest {
protected:
    // The sample store two folders below `root`, so "..\..\victim.dbx" from
    // the store is root\victim.dbx; the address book and Favorites beside
    // the store; the archives in a folder of their own.
    void SetUp() override {
        RestoreOperationTest::SetUp();
        oe.RegisterProgram(kOeProgramPath5);
        root = FreshTestFolder("hostile");
        profile = root + "\\Profile";
        store = profile + "\\Store";
        ASSERT_TRUE(WriteSampleStore(store));
        oe.AddIdentity(kId, "Main Identity", store);
        oe.SetDefaultIdentity(kId);
        oe.SetLastIdentity(kId);
        victim = root + "\\victim.dbx";
        ASSERT_TRUE(SyntheticOE::WriteFile(victim, "outside the store"));
        ASSERT_TRUE(SyntheticOE::WriteFile(profile + "\\Main.wab", "current book"));
        oe.SetAddressBook(profile + "\\Main.wab");
        favorites = profile + "\\Favorites";
        ASSERT_TRUE(SyntheticOE::WriteFile(favorites + "\\Debian.url", "current link"));
        oe.SetFavorites(favorites);
        destination = FreshTestFolder("hostile-archives");
        work = FreshTestFolder("hostile-entries");
        before = FilesBelow(root);
        driveRoot = NamesIn("c:\\");
    }
    void TearDown() override {
        DeleteFileA("c:\\x.dbx");
        RestoreOperationTest::TearDown();
    }

    // A store file's entry as the backup names it.
    std::string EntryOfStoreFile(const std::string& file) const { return zip::EntryNameFromPath(store + "\\" + file); }
    // The Favorites folder as the log names it, and its entries' prefix.
    std::string FavoritesInLog() const { return favorites.substr(3); }
    std::string FavoritesEntry(const std::string& rest) const { return zip::EntryNameFromPath(favorites) + "/" + rest; }
    std::string Written(HostileArchive& zip, const std::string& name) {
        std::string path = destination + "\\" + name;
        zip.Write(path);
        return path;
    }
    // The position of the archive item shown as `display`.
    int Item(const std::string& display) const {
        for (int i = 1; i < items.Count(); ++i)
            if (restore::FirstColumn(items.Text(i)) == display) return i;
        return 0;
    }
    void ClickItem(const std::string& display) {
        ASSERT_GT(Item(display), 0) << display;
        MarkClick(Item(display));
    }
    std::string Stored(const std::string& file) const { return ReadFileText(store + "\\" + file); }
    std::string Original(const std::string& file) const { return before.at("Profile\\Store\\" + file); }

    // Outside the store nothing is new, gone or changed but the files named
    // in `changed` (relative to root); no temporary file is left anywhere.
    void OutsideTheStoreAsBefore(const std::map<std::string, std::string>& changed = {}) {
        std::map<std::string, std::string> now = FilesBelow(root);
        for (const auto& [path, bytes] : now) {
            EXPECT_FALSE(Contains(path, ".tmp")) << path;
            if (path.rfind("Profile\\Store\\", 0) == 0) continue;
            auto expected = changed.find(path);
            if (expected != changed.end()) {
                EXPECT_EQ(bytes, expected->second) << path;
            } else {
                ASSERT_TRUE(before.count(path)) << "new outside the store: " << path;
                EXPECT_EQ(bytes, before.at(path)) << path;
            }
        }
        for (const auto& [path, bytes] : before)
            EXPECT_TRUE(path.rfind("Profile\\Store\\", 0) == 0 || now.count(path)) << "gone: " << path;
        EXPECT_EQ(ReadFileText(victim), "outside the store");
        EXPECT_EQ(NamesIn("c:\\"), driveRoot);
        EXPECT_EQ(GetFileAttributesA("c:x.dbx"), INVALID_FILE_ATTRIBUTES);
    }
    // The store's files directly in it, as they are now.
    std::vector<std::string> StoreNames() const {
        std::vector<std::string> names;
        for (const std::string& name : NamesIn(store))
            if (name.rfind("backup", 0) != 0) names.push_back(name);
        return names;
    }

    std::string profile, favorites, victim, work;
    std::map<std::string, std::string> before;
    std::vector<std::string> driveRoot;
};

// A row that climbs out of the store, once as a mail folder and once
// disguised as Favorites with the type of a mail folder, and an entry of the
// same name beside the store's own Inbox.
TEST_F(RestoreHostile, ClimbingNameNeverReachesTheFileBesideTheStore) {
    HostileArchive zip(work);
    zip.File("CorvaneBackup.log",
             LogOf(RowOf("MBX", "Inbox.dbx", "Inbox", 1) + RowOf("MBX", "..\\..\\victim.dbx", "Victim", 2) +
                   RowOf("FAVS", "..\\..\\victim.dbx", "Disguised", 3)));
    zip.File(EntryOfStoreFile("Folders.dbx"), Original("folders.dbx"));
    zip.File(EntryOfStoreFile("Inbox.dbx"), "the archive's Inbox");
    zip.File("../../victim.dbx", "from the archive");
    zip.File(EntryOfStoreFile("../../victim.dbx"), "from the archive");
    const std::string archive = Written(zip, "climb.zip");
    const std::string leftOut = kLeftOut + "\r\n\"Victim (..\\..\\victim.dbx)\" - " + kElsewhere +
                                "\r\n\"Disguised (..\\..\\victim.dbx)\" - " + kElsewhere;

    // Selected: the items are grey and stay unmarked; the user is told once.
    OpenArchive(0, archive);
    ASSERT_TRUE(loaded);
    for (const char* display : {"Victim", "Disguised"}) {
        EXPECT_EQ(items.Mark(Item(display)), 2) << display;
        EXPECT_EQ(items.TextColour(Item(display)), catalog::kGreyText) << display;
        ClickItem(display);
        EXPECT_EQ(items.Mark(Item(display)), 2) << display;
    }
    ClickItem("Inbox");
    RunRestore();
    EXPECT_EQ(boxes->Texts(), (std::vector<std::string>{leftOut, kComplete}));
    EXPECT_EQ(Stored("Inbox.dbx"), "the archive's Inbox");
    OutsideTheStoreAsBefore();

    // Full: the victim is neither moved into the dated folder nor replaced.
    OpenArchive(2, archive);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(items.Mark(Item("Disguised")), 2);
    RunRestore();
    EXPECT_EQ(boxes->Texts(), (std::vector<std::string>{leftOut, kComplete}));
    EXPECT_EQ(Stored("Folders.dbx"), Original("folders.dbx"));
    EXPECT_EQ(NamesIn(store + "\\backup2001-01-31"), (std::vector<std::string>{"Inbox.dbx", "folders.dbx"}));
    OutsideTheStoreAsBefore();
}

// A zip that is no backup of ours (no log at its root) is refused before
// anything moves; a log stored under a folder is not the archive's log, even
// when it comes first.
TEST_F(RestoreHostile, OnlyTheRootLogMakesAnArchiveRestorable) {
    HostileArchive plain(work);
    plain.File(EntryOfStoreFile("Inbox.dbx"), "an Inbox of somebody's zip");
    const std::string noLog = Written(plain, "nolog.zip");
    OpenArchive(2, noLog);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{"This archive holds no backup log (CorvaneBackup.log), so it is "
                                                       "not a Corvane backup and cannot be restored. Nothing was changed."});
    EXPECT_EQ(StoreNames(), NamesIn(store));  // no dated folder, no folder set aside
    OutsideTheStoreAsBefore();

    HostileArchive nested(work);
    nested.File(FavoritesEntry("CorvaneBackup.log"), LogOf(RowOf("MBX", "Family.dbx", "Not the log", 1)));
    nested.File("CorvaneBackup.log", LogOf(RowOf("MBX", "Inbox.dbx", "Inbox", 1)));
    nested.File(EntryOfStoreFile("Inbox.dbx"), "the archive's Inbox");
    const std::string archive = Written(nested, "nested-log.zip");
    OpenArchive(0, archive);
    ASSERT_TRUE(loaded);
    EXPECT_GT(Item("Inbox"), 0);
    EXPECT_EQ(Item("Not the log"), 0);
}

// The Favorites row names a folder path; empty or a pattern it would match
// every entry, and the mail files, the log and the address book would land
// in the Favorites folder.
TEST_F(RestoreHostile, FavoritesRowsThatAreNoFolderPathRestoreNothing) {
    for (const std::string& name : {std::string(), std::string("*"), std::string("Links\\*")}) {
        SCOPED_TRACE(name);
        HostileArchive zip(work);
        zip.File("CorvaneBackup.log", LogOf(RowOf("MBX", "Inbox.dbx", "Inbox", 1) +
                                            RowOf("FAVS", name, "Favorites", 2, catalog::kTypeFavorites)));
        zip.File(EntryOfStoreFile("Folders.dbx"), Original("folders.dbx"));
        zip.File(EntryOfStoreFile("Inbox.dbx"), "the archive's Inbox");
        zip.File("Main.wab", "the archive's book");
        const std::string archive = Written(zip, "favorites.zip");
        OpenArchive(2, archive);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(items.Mark(Item("Favorites")), 2);
        ClickItem("Favorites");
        EXPECT_EQ(items.Mark(Item("Favorites")), 2);
        RunRestore();
        ASSERT_FALSE(boxes->Texts().empty());
        EXPECT_EQ(boxes->Texts().front().rfind(kLeftOut, 0), 0u) << boxes->Texts().front();
        EXPECT_EQ(NamesIn(favorites), std::vector<std::string>{"Debian.url"});
        EXPECT_EQ(ReadFileText(favorites + "\\Debian.url"), "current link");
    }
}

// Names that are no plain file name of the store, in the log and as
// entries: under Favorites, as address books, and bare. The address book
// entries that name drives, devices or climb come before the honest one.
TEST_F(RestoreHostile, DrivesDevicesStreamsAndOverlongNamesWriteNothing) {
    const std::vector<std::string> hostile = {"C:\\x.dbx",
                                              "c:x.dbx",
                                              "\\x.dbx",
                                              "\\\\server\\share\\x.dbx",
                                              "CON",
                                              "NUL",
                                              "COM1",
                                              "nul.dbx",
                                              "LPT1.txt",
                                              "Inbox.dbx:evil",
                                              "Inbox.dbx.",
                                              "Inbox.dbx ",
                                              std::string(300, 'a') + ".dbx"};
    std::string rows = RowOf("MBX", "Inbox.dbx", "Inbox", 1) + RowOf("WAB", "Main.wab", "Address Book", 2, 10) +
                       RowOf("FAVS", FavoritesInLog(), "Favorites", 3, 30);
    for (size_t i = 0; i < hostile.size(); ++i)
        rows += RowOf("MBX", hostile[i], "Bad " + std::to_string(i), 10 + static_cast<int>(i));
    HostileArchive zip(work);
    zip.File("CorvaneBackup.log", LogOf(rows));
    zip.File(EntryOfStoreFile("Folders.dbx"), Original("folders.dbx"));
    zip.File(EntryOfStoreFile("Inbox.dbx"), "the archive's Inbox");
    const std::vector<std::string> hostileBooks = {"C:/evil.wab", "c:evil.wab", "../../evil.wab",
                                                   "/evil.wab",   "CON.wab",    "x/aux.wab"};
    for (const std::string& name : hostileBooks) zip.File(name, "hostile book");
    zip.File(zip::EntryNameFromPath(profile + "\\Main.wab"), "the archive's book");
    std::vector<std::string> refusedLinks;
    for (const std::string& name : hostile) {
        zip.File(name, "bare");
        zip.File(FavoritesEntry(name), "link");
        std::string shown = FavoritesEntry(name);
        for (char& c : shown)
            if (c == '/') c = '\\';
        refusedLinks.push_back(shown);
    }
    zip.File(FavoritesEntry("Debian.url"), "the archive's link");
    const std::string archive = Written(zip, "names.zip");

    OpenArchive(2, archive);
    ASSERT_TRUE(loaded);
    ASSERT_EQ(boxes->Texts().size(), 1u);
    EXPECT_EQ(boxes->Texts()[0].rfind(kLeftOut, 0), 0u);
    for (size_t i = 0; i < hostile.size(); ++i) {
        EXPECT_TRUE(Contains(boxes->Texts()[0], "\"Bad " + std::to_string(i) + " (" + hostile[i] + ")\" - "))
            << hostile[i];
        EXPECT_EQ(items.Mark(Item("Bad " + std::to_string(i))), 2) << hostile[i];
    }
    ClickItem("Address Book");
    ClickItem("Favorites");
    RunRestore();
    ASSERT_EQ(boxes->Texts().size(), 3u) << boxes->Texts().back();
    EXPECT_EQ(boxes->Texts()[2], kComplete);
    const std::string refused = boxes->Texts()[1];
    EXPECT_EQ(refused.rfind(kRefused, 0), 0u) << refused;
    for (const char* name : {"C:\\evil.wab", "c:evil.wab", "..\\..\\evil.wab", "\\evil.wab", "CON.wab", "x\\aux.wab"})
        EXPECT_TRUE(Contains(refused, "\r\n" + std::string(name))) << name;
    for (const std::string& name : refusedLinks) EXPECT_TRUE(Contains(refused, "\r\n" + name)) << name;

    EXPECT_EQ(Stored("Inbox.dbx"), "the archive's Inbox");
    for (const char* file : {"Outbox.dbx", "Work.dbx", "Sent Items.dbx"}) EXPECT_EQ(Stored(file), Original(file));
    std::vector<std::string> names = StoreNames();
    EXPECT_EQ(names.size(), 11u);  // folders.dbx and the ten store files, nothing new
    OutsideTheStoreAsBefore({{"Profile\\Main.wab", "the archive's book"},
                             {"Profile\\Main.wax", "current book"},
                             {"Profile\\Favorites\\Debian.url", "the archive's link"}});
}

// Entries under Favorites whose rest climbs: nothing lands beside the
// Favorites folder or above it.
TEST_F(RestoreHostile, FavoritesEntriesThatClimbStayOut) {
    HostileArchive zip(work);
    zip.File("CorvaneBackup.log", LogOf(RowOf("FAVS", FavoritesInLog(), "Favorites", 1, 30)));
    const std::vector<std::string> climbing = {"../evil.url",  "Links/../../evil.url",
                                               "..\\evil.url", "Links\\..\\..\\..\\evil.url",
                                               ".../evil.url", "Links/../../Store/x.dbx"};
    for (const std::string& rest : climbing) zip.File(FavoritesEntry(rest), "climbed");
    zip.File(FavoritesEntry("Links/News.url"), "the archive's news link");
    const std::string archive = Written(zip, "favorites.zip");

    OpenArchive(0, archive);
    ASSERT_TRUE(loaded);
    ClickItem("Favorites");
    RunRestore();
    ASSERT_EQ(boxes->Texts().size(), 2u);
    EXPECT_EQ(boxes->Texts()[0].rfind(kRefused, 0), 0u);
    for (const std::string& rest : climbing) {
        std::string shown = FavoritesEntry(rest);
        for (char& c : shown)
            if (c == '/') c = '\\';
        EXPECT_TRUE(Contains(boxes->Texts()[0], "\r\n" + shown + "\r\n") || boxes->Texts()[0].ends_with("\r\n" + shown))
            << shown;
    }
    EXPECT_EQ(boxes->Texts()[1], kComplete);
    EXPECT_EQ(ReadFileText(favorites + "\\Links\\News.url"), "the archive's news link");
    OutsideTheStoreAsBefore({{"Profile\\Favorites\\Links\\News.url", "the archive's news link"}});
    EXPECT_EQ(StoreNames().size(), 11u);
}

// One store file named by several entries: twice in the store's own folder
// with names that differ in case, once from another folder, then a damaged
// one; the log names it twice too. The first entry in archive order is the
// one restored; the later ones are left out unread (the damaged one is
// never opened), so the file is whole and is that entry's, and the user is
// told which file had more than one.
TEST_F(RestoreHostile, OneFileNamedBySeveralEntriesIsRestoredFromTheFirst) {
    HostileArchive zip(work);
    zip.File("CorvaneBackup.log",
             LogOf(RowOf("MBX", "Inbox.dbx", "Inbox", 1) + RowOf("MBX", "INBOX.DBX", "Inbox again", 2) +
                   RowOf("MBX", "Family.dbx", "Family", 3)));
    zip.File(EntryOfStoreFile("Folders.dbx"), Original("folders.dbx"));
    zip.File(EntryOfStoreFile("Inbox.dbx"), "the first Inbox");
    zip.File(EntryOfStoreFile("INBOX.DBX"), "the second Inbox");
    zip.File("elsewhere/inbox.dbx", "the third Inbox");
    zip.Bomb(EntryOfStoreFile("Inbox.dbx"), 1 << 20, 100);
    zip.File(EntryOfStoreFile("Family.dbx"), "the archive's Family");
    const std::string archive = Written(zip, "twice.zip");
    const std::vector<std::string> expected = {kDoubled + "\r\nInbox.dbx", kComplete};

    OpenArchive(0, archive);
    ASSERT_TRUE(loaded);
    ClickItem("Inbox again");
    // The archive's Family sent to the Inbox as well: a fourth entry for it.
    SendTo(Item("Family"), "Inbox.dbx", "Inbox", 1);
    RunRestore();
    EXPECT_EQ(boxes->Texts(), expected);
    EXPECT_EQ(Stored("Inbox.dbx"), "the first Inbox");
    EXPECT_EQ(Stored("Family.dbx"), Original("Family.dbx"));

    OpenArchive(2, archive);
    ASSERT_TRUE(loaded);
    RunRestore();
    EXPECT_EQ(boxes->Texts(), expected);
    EXPECT_EQ(Stored("Inbox.dbx"), "the first Inbox");
    EXPECT_EQ(Stored("Family.dbx"), "the archive's Family");
    EXPECT_EQ(StoreNames().size(), 11u);
    OutsideTheStoreAsBefore();
}

// A log naming items the archive holds no entry for: the user is told which,
// and their current files stay (a full restore puts them back).
TEST_F(RestoreHostile, ItemsTheArchiveLacksAreNamedAndTheirFilesStay) {
    HostileArchive zip(work);
    zip.File("CorvaneBackup.log",
             LogOf(RowOf("MBX", "Inbox.dbx", "Inbox", 1) + RowOf("MBX", "Work.dbx", "Work", 2) +
                   RowOf("MBX", "Family.dbx", "Family", 3) + RowOf("WAB", "Main.wab", "Address Book", 4, 10) +
                   RowOf("FAVS", FavoritesInLog(), "Favorites", 5, 30)));
    zip.File(EntryOfStoreFile("Inbox.dbx"), "the archive's Inbox");
    const std::string archive = Written(zip, "lacking.zip");

    OpenArchive(0, archive);
    ASSERT_TRUE(loaded);
    for (const char* display : {"Inbox", "Work", "Address Book", "Favorites"}) ClickItem(display);
    RunRestore();
    EXPECT_EQ(boxes->Texts(), (std::vector<std::string>{kWithoutEntry + "\r\nAddress Book\r\nWork (Work.dbx)\r\n"
                                                                        "Favorites",
                                                        kComplete}));
    EXPECT_EQ(Stored("Inbox.dbx"), "the archive's Inbox");
    EXPECT_EQ(Stored("Work.dbx"), Original("Work.dbx"));
    OutsideTheStoreAsBefore({{"Profile\\Main.wax", "current book"}});

    OpenArchive(2, archive);
    ASSERT_TRUE(loaded);
    RunRestore();
    EXPECT_EQ(boxes->Texts(), (std::vector<std::string>{kWithoutEntry + "\r\nfolders.dbx\r\nWork (Work.dbx)\r\n"
                                                                        "Family (Family.dbx)",
                                                        kComplete}));
    EXPECT_EQ(Stored("Folders.dbx"), Original("folders.dbx"));
    EXPECT_EQ(Stored("Work.dbx"), Original("Work.dbx"));
    EXPECT_EQ(Stored("Family.dbx"), Original("Family.dbx"));
    EXPECT_EQ(StoreNames().size(), 11u);
}

// The store on drive T:, a real 2 MiB volume, and archives whose entries
// are larger than its free space: as their headers say, or only once
// inflated (the header lies), or only together.
class RestoreHostileOnSmallDisk : public RestoreOperationTest {
protected:
    void SetUp() override {
        RestoreOperationTest::SetUp();
        REQUIRE_SMALL_VOLUME('t');
        std::error_code ignored;
        std::filesystem::remove_all("t:\\Store", ignored);
        const std::string sample = FreshTestFolder("hostile-sample");
        ASSERT_TRUE(WriteSampleStore(sample));
        store = "t:\\Store";
        ASSERT_TRUE(SyntheticOE::WriteFile(store + "\\folders.dbx", ReadFileText(sample + "\\folders.dbx")));
        for (const char* file : {"Inbox.dbx", "Work.dbx", "Drafts.dbx", "Sent Items.dbx"})
            ASSERT_TRUE(SyntheticOE::WriteFile(store + "\\" + file, std::string("current ") + file));
        oe.RegisterProgram(kOeProgramPath5);
        oe.AddIdentity(kId, "Main Identity", store);
        oe.SetDefaultIdentity(kId);
        oe.SetLastIdentity(kId);
        destination = FreshTestFolder("hostile-archives");
        work = FreshTestFolder("hostile-entries");
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all("t:\\Store", ignored);
        RestoreOperationTest::TearDown();
    }
    uint64_t FreeOnT() const {
        ULARGE_INTEGER free{};
        GetDiskFreeSpaceExA("t:\\", &free, nullptr, nullptr);
        return free.QuadPart;
    }
    std::string Stored(const std::string& file) const { return ReadFileText(store + "\\" + file); }
    // Nothing on T: but the store's files (and the dated folder's): no part of any entry.
    void NoPartialFile() const {
        for (const auto& [path, bytes] : FilesBelow("t:\\")) EXPECT_FALSE(Contains(path, ".tmp")) << path;
    }
    std::string work;
};

TEST_F(RestoreHostileOnSmallDisk, EntriesLargerThanTheFreeSpaceLeaveTheCurrentFiles) {
    const uint64_t free = FreeOnT();
    ASSERT_GT(free, 1u << 20);
    HostileArchive zip(work);
    zip.File("CorvaneBackup.log",
             LogOf(RowOf("MBX", "Inbox.dbx", "Inbox", 1) + RowOf("MBX", "Work.dbx", "Work", 2) +
                   RowOf("MBX", "Drafts.dbx", "Drafts", 3) + RowOf("MBX", "Sent Items.dbx", "Sent Items", 4)));
    zip.Bomb("Store/Inbox.dbx", 64 << 20, 64 << 20);  // says how large it is
    zip.Bomb("Store/Work.dbx", 64 << 20, 4096);       // says it is small
    // Each fits alone, the two together do not.
    zip.Bomb("Store/Drafts.dbx", free * 6 / 10, free * 6 / 10);
    zip.Bomb("Store/Sent Items.dbx", free * 6 / 10, free * 6 / 10);
    const std::string archive = destination + "\\bomb.zip";
    zip.Write(archive);

    OpenArchive(0, archive);
    ASSERT_TRUE(loaded);
    for (const char* file : {"Inbox.dbx", "Work.dbx", "Drafts.dbx", "Sent Items.dbx"}) Click(file);
    RunRestore();
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{"Mail Folder Restore Failed - internal error 470\r\n" + kNoRoom});
    EXPECT_EQ(Stored("Inbox.dbx"), "current Inbox.dbx");
    EXPECT_EQ(Stored("Work.dbx"), "current Work.dbx");
    // Written in parallel, either may be the one that found the disk full.
    for (const char* file : {"Drafts.dbx", "Sent Items.dbx"}) {
        std::string now = Stored(file);
        EXPECT_TRUE(now == std::string("current ") + file || now == std::string(free * 6 / 10, '\0'))
            << file << " holds " << now.size() << " bytes";
    }
    NoPartialFile();
}

// A full restore has moved the current file aside into the dated folder on
// the same disk; where the archive's copy cannot be written, the current one
// goes back even though the disk has no room for a copy of it.
TEST_F(RestoreHostileOnSmallDisk, FullRestorePutsBackAFileTheDiskHasNoRoomToCopy) {
    const std::string large(FreeOnT() * 6 / 10, 'w');
    ASSERT_TRUE(SyntheticOE::WriteFile(store + "\\Work.dbx", large));
    HostileArchive zip(work);
    zip.File("CorvaneBackup.log", LogOf(RowOf("MBX", "Inbox.dbx", "Inbox", 1) + RowOf("MBX", "Work.dbx", "Work", 2)));
    zip.File("Store/folders.dbx", Stored("folders.dbx"));
    zip.File("Store/Inbox.dbx", "the archive's Inbox");
    zip.Bomb("Store/Work.dbx", 64 << 20, 64 << 20);
    const std::string archive = destination + "\\bomb.zip";
    zip.Write(archive);

    OpenArchive(2, archive);
    ASSERT_TRUE(loaded);
    RunRestore();
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{"Mail Folder Restore Failed - internal error 470\r\n" + kNoRoom});
    EXPECT_EQ(Stored("Inbox.dbx"), "the archive's Inbox");
    EXPECT_TRUE(Stored("Work.dbx") == large) << Stored("Work.dbx").size() << " bytes";
    EXPECT_EQ(Stored("Drafts.dbx"), "current Drafts.dbx");
    NoPartialFile();
}

}  // namespace

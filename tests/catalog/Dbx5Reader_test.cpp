#include "corvane/catalog/Dbx5Reader.h"

#include "tests/catalog/CatalogFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <set>

namespace corvane::catalog {
namespace {

using testing::DbxFolder;
using testing::DbxIndexWriter;
using testing::DbxSlot;

std::vector<std::string> Texts(const TreeList& list) {
    std::vector<std::string> texts;
    for (int i = 0; i < list.Count(); ++i) texts.push_back(list.Text(i));
    return texts;
}

std::string RealFilePath() { return std::string(CORVANE_SOURCE_DIR) + "/../shared/realdata/test_OutlookDBX.dbx"; }

TEST(Dbx5Reader, RootNodeFoldersLandInWorkListTextOrder) {
    MemoryStore store;
    store.StoreFile("Inbox.dbx", 3);
    store.StoreFile("Family.dbx", 1);
    store.StoreFile("Zoo.dbx", 1);
    store.Folders({DbxFolder::Mail(0x0A, 1, "Zoo", "Zoo.dbx"), DbxFolder::Mail(2, 1, "Inbox", "Inbox.dbx"),
                   DbxFolder::NoFile(1, 0, "Local Folders"), DbxFolder::Mail(0x0B, 1, "Family", "Family.dbx")});
    TreeList work;
    store.ReadWork(work);
    EXPECT_EQ(Texts(work), (std::vector<std::string>{"Outlook Express", "  9999local folders ", "00010002inbox",
                                                     "00019999family", "00019999zoo"}));
    int local = FindDisplay(work, "Local Folders ");
    ASSERT_GT(local, 0);  // folder 1 without a file: trailing blank, type 1
    EXPECT_EQ(work.NumberValue(local, names::kType), kTypeLocalRoot);
    EXPECT_EQ(work.TextValue(local, names::kParentNo), "  ");
    int zoo = FindDisplay(work, "Zoo");
    EXPECT_EQ(work.TextValue(zoo, names::kFolderNo), "0A");
    EXPECT_EQ(work.TextValue(zoo, names::kSortMe), "9999zoo");
    EXPECT_EQ(work.TextValue(zoo, names::kHasData), "Y");
    EXPECT_EQ(work.NumberValue(zoo, names::kType), kTypeMailFolder);
    EXPECT_EQ(work.NumberValue(0, names::kType), kTypeRoot);
}

TEST(Dbx5Reader, StoreFileNamesAndTheirPresenceDecideTheType) {
    MemoryStore store;
    store.StoreFile("Inbox.DBX", 3);
    store.Folders({DbxFolder::Mail(2, 1, "Inbox", "Inbox.DBX"), DbxFolder::Mail(3, 1, "Text", "Inbox.txt"),
                   DbxFolder::Mail(4, 1, "Gone", "Gone.dbx"), DbxFolder::NoFile(0x20, 1, "Empty"),
                   DbxFolder::Container(0x30, 0, "news.example.com")});
    TreeList work;
    store.ReadWork(work);
    int inbox = FindDisplay(work, "Inbox");
    EXPECT_EQ(work.TextValue(inbox, names::kMbxName), "Inbox.DBX");
    EXPECT_EQ(work.NumberValue(inbox, names::kType), kTypeMailFolder);
    int text = FindDisplay(work, "Text");
    EXPECT_EQ(work.TextValue(text, names::kMbxName), "");
    EXPECT_EQ(work.NumberValue(text, names::kType), kTypeNoData);
    int gone = FindDisplay(work, "Gone");
    EXPECT_EQ(work.TextValue(gone, names::kMbxName), "");  // named but missing
    EXPECT_EQ(work.NumberValue(gone, names::kType), kTypeNoData);
    EXPECT_EQ(work.TextValue(gone, names::kHasData), "N");
    EXPECT_EQ(work.NumberValue(FindDisplay(work, "Empty"), names::kType), kTypeNoData);
    EXPECT_EQ(work.NumberValue(FindDisplay(work, "news.example.com"), names::kType), kTypeContainer);
}

TEST(Dbx5Reader, RootRecordRenamesItemZeroAndAddsNothing) {
    MemoryStore store;
    store.Folders({DbxFolder::Root("Main Identity"), DbxFolder::NoFile(1, 0, "Local Folders")});
    TreeList work;
    store.ReadWork(work);
    EXPECT_EQ(Texts(work), (std::vector<std::string>{"Main Identity", "  9999local folders "}));
}

TEST(Dbx5Reader, WalksTwoLevelsAndStopsAtTheExpectedCount) {
    DbxIndexWriter writer;
    int32_t a = writer.AddRecord(DbxFolder::NoFile(1, 0, "A"));
    int32_t b = writer.AddRecord(DbxFolder::NoFile(0x21, 1, "B"));
    int32_t c = writer.AddRecord(DbxFolder::NoFile(0x22, 1, "C"));
    int32_t deep = writer.AddRecord(DbxFolder::NoFile(0x23, 1, "Deep"));
    int32_t late = writer.AddRecord(DbxFolder::NoFile(0x24, 1, "Late"));
    int32_t third = writer.AddNode(0, {{deep, 0}});
    int32_t rootChild = writer.AddNode(third, {{b, 0}});  // its own child is a third level
    int32_t slot0Child = writer.AddNode(0, {{c, 0}});
    int32_t slot1Child = writer.AddNode(0, {{late, 0}});
    // root: slot 0 empty but with a child, slot 1 holds A and a child
    int32_t root = writer.AddNode(rootChild, {{0, slot0Child}, {a, slot1Child}});
    writer.SetRootNode(root);
    writer.SetExpectedCount(3);
    MemoryStore store;
    store.Index(writer.Bytes());
    TreeList work;
    store.ReadWork(work);
    // B (root child), A (root entry), C (slot 0's child); then the count of 3
    // is reached, so slot 1's child is not visited; Deep is on the third level.
    EXPECT_EQ(work.Count(), 4);
    EXPECT_GT(FindDisplay(work, "C"), 0);
    EXPECT_EQ(FindDisplay(work, "Late"), -1);
    EXPECT_EQ(FindDisplay(work, "Deep"), -1);
    writer.SetExpectedCount(10);
    store.Index(writer.Bytes());
    store.ReadWork(work);
    EXPECT_EQ(work.Count(), 5);
    EXPECT_GT(FindDisplay(work, "Late"), 0);
}

TEST(Dbx5Reader, TheRootRecordCountsTowardTheExpectedCount) {
    DbxIndexWriter writer;
    int32_t root = writer.AddRecord(DbxFolder::Root("Store"));
    int32_t local = writer.AddRecord(DbxFolder::NoFile(1, 0, "Local Folders"));
    int32_t child = writer.AddRecord(DbxFolder::NoFile(0x20, 1, "Below"));
    int32_t childNode = writer.AddNode(0, {{child, 0}});
    writer.SetRootNode(writer.AddNode(0, {{root, childNode}, {local, 0}}));
    writer.SetExpectedCount(2);
    MemoryStore store;
    store.Index(writer.Bytes());
    TreeList work;
    store.ReadWork(work);
    EXPECT_EQ(work.Text(0), "Store");
    EXPECT_EQ(FindDisplay(work, "Below"), -1);
}

TEST(Dbx5Reader, PointersOfZeroOrIntoTheHeaderNameNoNode) {
    DbxIndexWriter writer;
    int32_t ghost = writer.AddRecord(DbxFolder::NoFile(0x20, 1, "Ghost"));
    int32_t real = writer.AddRecord(DbxFolder::NoFile(0x21, 1, "Real"));
    // A block shaped like a node inside the header, and the header itself,
    // whose constant bytes read as a node of 163 entries.
    int32_t inHeader = writer.AddNodeAt(0x400, 0, {{ghost, 0}});
    writer.SetExpectedCount(5);
    MemoryStore store;
    TreeList work;
    for (int32_t root : {0, -1, inHeader, DbxIndexWriter::kHeaderSize - 1}) {
        writer.SetRootNode(root);
        store.Index(writer.Bytes());
        store.ReadWork(work);
        EXPECT_EQ(Texts(work), (std::vector<std::string>{"Outlook Express"})) << "root pointer " << root;
    }
    // Nor is a child pointer or a record pointer into the header followed.
    writer.SetRootNode(writer.AddNode(inHeader, {{real, inHeader}, {0x400 + 24, 0}}));
    store.Index(writer.Bytes());
    store.ReadWork(work);
    EXPECT_EQ(Texts(work), (std::vector<std::string>{"Outlook Express", "00019999real"}));
}

TEST(Dbx5Reader, EntryCountLimitsTheSlotsReadAndEmptySlotsAreSkipped) {
    DbxIndexWriter writer;
    int32_t a = writer.AddRecord(DbxFolder::NoFile(0x20, 1, "A"));
    int32_t b = writer.AddRecord(DbxFolder::NoFile(0x21, 1, "B"));
    int32_t c = writer.AddRecord(DbxFolder::NoFile(0x22, 1, "C"));
    writer.SetRootNode(writer.AddNode(0, {{0, 0}, {a, 0}, {-5, 0}, {b, 0}, {c, 0}}, 2));
    writer.SetExpectedCount(3);
    MemoryStore store;
    store.Index(writer.Bytes());
    TreeList work;
    store.ReadWork(work);
    EXPECT_EQ(Texts(work), (std::vector<std::string>{"Outlook Express", "00019999a", "00019999b"}));
}

TEST(Dbx5Reader, RecordsAtChosenOffsetsAndAShortDataArea) {
    DbxIndexWriter writer;
    int32_t far = writer.AddRecordAt(0x4000, DbxFolder::NoFile(0x20, 1, "Far"));
    writer.SetRootNode(writer.AddNodeAt(0x3000, 0, {{far, 0}}));
    writer.SetExpectedCount(1);
    std::vector<uint8_t> bytes = writer.Bytes();
    bytes.resize(0x4000 + 12 + 16 + 2);  // the name is cut after "Fa", no NUL
    MemoryStore store;
    store.Index(bytes);
    TreeList work;
    store.ReadWork(work);
    ASSERT_EQ(work.Count(), 2);
    EXPECT_EQ(work.TextValue(1, names::kDisplay), "Fa");
}

TEST(Dbx5Reader, MissingIndexReportsFailureAndEmptiesTheLists) {
    MemoryStore store;
    TreeList work, tree;
    work.AddItem("stale");
    tree.AddItem("stale");
    EXPECT_FALSE(ReadV5Index(kStore, store.files, work, tree, false));
    EXPECT_EQ(work.Count(), 0);
    EXPECT_EQ(tree.Count(), 0);
}

TEST(Dbx5Reader, MessageCountComesFromOffset0xC4) {
    testing::MemoryFileSource files;
    files.Put("big.dbx", testing::StoreFileBytes(123456));
    files.Put("short.dbx", std::vector<uint8_t>(0xC6, 0xFF));  // ends inside the count
    EXPECT_EQ(ReadMessageCount(files, "big.dbx"), 123456);
    EXPECT_EQ(ReadMessageCount(files, "short.dbx"), 0xFFFF);
    EXPECT_EQ(ReadMessageCount(files, "absent.dbx"), 0);
}

TEST(Dbx5Reader, RealStoreFileHeaderSays28Messages) {
    std::string path = RealFilePath();
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "real data file not present: " << path;
    StdFileSource files;
    int32_t count = ReadMessageCount(files, path);
    std::printf("test_OutlookDBX.dbx message count read: %d\n", count);
    EXPECT_EQ(count, 28);
}

// The real file is a folder's message store, not a folder index: its
// folder-tree pointer (0xEC) is 0, and its messages hang in the tree whose
// root is at 0xE4. Read as an index it lists nothing; walked from each of
// its three tree pointers it gives exactly the 28 messages of its header.
TEST(Dbx5Reader, RealStoreFileTreesWalkTo28ConsistentRecords) {
    std::string path = RealFilePath();
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "real data file not present: " << path;
    StdFileSource files;
    std::vector<uint8_t> bytes = files.ReadStart(path, kMaxIndexBytes);
    ASSERT_EQ(bytes.size(), 535252u);
    ByteView view(bytes);
    TreeList work;
    ReadFolderIndex(bytes, "", files, work);
    EXPECT_EQ(Texts(work), (std::vector<std::string>{"Outlook Express"}));

    std::vector<int64_t> records;
    std::set<int64_t> nodes;
    for (int64_t treePointer : {0xE4, 0xE8, 0xEC}) {
        IndexTreeWalk walk = WalkIndexTree(view, view.I32(treePointer), std::numeric_limits<int>::max());
        records.insert(records.end(), walk.records.begin(), walk.records.end());
        for (int64_t node : walk.nodes) EXPECT_TRUE(nodes.insert(node).second) << "node visited twice: " << node;
    }
    EXPECT_EQ(records.size(), static_cast<size_t>(ReadMessageCount(files, path)));
    ASSERT_EQ(records.size(), 28u);
    EXPECT_EQ(std::set<int64_t>(records.begin(), records.end()).size(), 28u);
    std::optional<FolderRecord> first = ParseFolderRecord(view, records[0]);
    ASSERT_TRUE(first.has_value());
    for (int64_t record : records) {
        SCOPED_TRACE(record);
        // Each record names its own offset, and its entries and data end inside it and inside the file.
        EXPECT_EQ(view.I32(record), record);
        int64_t entries = view.U8(record + 10);
        int64_t end = record + 12 + view.I32(record + 4);
        EXPECT_GT(entries, 0);
        EXPECT_LE(record + 12 + 4 * entries, end);
        EXPECT_LE(end, view.Size());
        // Every message record has the same entry layout as the first.
        std::optional<FolderRecord> parsed = ParseFolderRecord(view, record);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(parsed->id1, first->id1);
        EXPECT_EQ(parsed->id2, first->id2);
        EXPECT_EQ(parsed->id3, first->id3);
    }
}

}  // namespace
}  // namespace corvane::catalog

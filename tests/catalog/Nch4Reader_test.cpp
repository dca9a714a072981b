// The version-4 store: "folders.nch" read into the work list, the tree
// under "Mail Folders", the measuring pass and the restore-target list, on
// indexes written by the test writer.
#include "corvane/catalog/Nch4Reader.h"
#include "corvane/catalog/StoreCatalog.h"
#include "corvane/catalog/TreeBuilder.h"
#include "testsupport/portable/MemoryFileSource.h"
#include "testsupport/portable/NchWriter.h"

#include <gtest/gtest.h>

namespace corvane::catalog {
namespace {

using testing::NchFolder;

const std::string kMail = "C:\\Store\\Mail\\";

// Display texts of the tree with their depth, "  " per level.
std::vector<std::string> Outline(const TreeList& tree) {
    std::vector<std::string> lines;
    for (int i = 0; i < tree.Count(); ++i) lines.push_back(std::string(2 * tree.Depth(i), ' ') + tree.Text(i));
    return lines;
}

class Nch4Test : public ::testing::Test {
protected:
    void Index(const std::vector<uint8_t>& bytes) { files.Put(kMail + kNchIndexFileName, bytes); }
    void Folders(const std::vector<NchFolder>& folders) { Index(testing::BuildFolderNch(folders)); }
    void Mbx(const std::string& base, int32_t messages, size_t length = 0x400) {
        files.Put(kMail + base + ".mbx", testing::MbxFileBytes(messages, length));
    }
    // Every folder gets its file.
    void FoldersWithFiles(const std::vector<NchFolder>& folders) {
        for (const NchFolder& folder : folders) Mbx(folder.baseName, 1);
        Folders(folders);
    }
    void Read() { ASSERT_TRUE(ReadV4Index(kMail, files, work, tree)); }
    std::vector<std::string> WorkTexts() const {
        std::vector<std::string> texts;
        for (int i = 1; i < work.Count(); ++i) texts.push_back(work.Text(i));
        return texts;
    }
    int Row(const std::string& display) const {
        for (int i = 0; i < tree.Count(); ++i)
            if (tree.TextValue(i, names::kDisplay) == display) return i;
        return -1;
    }

    testing::MemoryFileSource files;
    TreeList work, tree;
};

const std::string k2 = std::string(1, '\x02');

TEST_F(Nch4Test, WorkListHoldsFoldersWithFilesByOrderThenName) {
    Mbx("Inbox", 3);
    Mbx("Zeta", 1);
    Mbx("alpha", 1);
    Mbx("Beta", 1);
    Mbx("ghost", 1);
    Folders({{5, 0, "Zeta", "Zeta", -1},
             {6, 0, "Beta", "Beta", 5},
             {1, 0, "Inbox", "Inbox", 0},
             {7, 0, "Old Mail", "Old Mail", -1},  // no file: left out
             {0, 0, "Ghost", "ghost", 2},         // folder number 0: left out
             {8, 0, "alpha", "alpha", 4},
             {9, 3, "Under", "Under", 12}});  // no file either
    ReadNchIndex(files.ReadStart(kMail + kNchIndexFileName, 1 << 20), kMail, files, work);
    EXPECT_EQ(work.Text(0), "Outlook Express");
    // Order -1 sorts with 4, and names compare in lower case.
    EXPECT_EQ(WorkTexts(), (std::vector<std::string>{"00" + k2 + "inbox", "04" + k2 + "alpha", "04" + k2 + "zeta",
                                                     "05" + k2 + "beta"}));
    const NamedValue* number = work.Value(1, names::kFolderNo);
    ASSERT_NE(number, nullptr);
    EXPECT_FALSE(number->isText);
    EXPECT_EQ(number->number, 1);
    EXPECT_EQ(work.TextValue(1, names::kDisplay), "Inbox");
    EXPECT_EQ(work.TextValue(1, names::kMbxName), "Inbox.mbx");
    EXPECT_EQ(work.NumberValue(1, names::kType), kTypeMailFolder);
    EXPECT_EQ(work.TextValue(1, names::kParentNo), "0");
    EXPECT_TRUE(work.Value(1, names::kParentNo)->isText);
    EXPECT_EQ(work.TextValue(3, names::kSortMe), "zeta");

    // Inbox is listed only while Inbox.mbx exists.
    files.Erase(kMail + "Inbox.mbx");
    ReadNchIndex(files.ReadStart(kMail + kNchIndexFileName, 1 << 20), kMail, files, work);
    EXPECT_EQ(work.Count(), 4);
    EXPECT_EQ(work.Text(1), "04" + k2 + "alpha");
}

TEST_F(Nch4Test, BaseNamesThatLeaveTheMailFolderNameNoFile) {
    // A file really is there, but reaching it needs a path.
    files.Put(kMail + "..\\..\\secret.mbx", testing::MbxFileBytes(1));
    files.Put(kMail + "sub\\deep.mbx", testing::MbxFileBytes(1));
    files.Put(kMail + "..mbx", testing::MbxFileBytes(1));
    files.Put(kMail + "D:x.mbx", testing::MbxFileBytes(1));
    Mbx("Inbox", 1);
    Folders({{1, 0, "Escape", "..\\..\\secret", -1},
             {2, 0, "Deep", "sub\\deep", -1},
             {3, 0, "Dot", ".", -1},
             {4, 0, "Drive", "D:x", -1},
             {5, 0, "Inbox", "Inbox", 0}});
    Read();
    EXPECT_EQ(Outline(tree), (std::vector<std::string>{"Outlook Express", "  Mail Folders", "    Inbox"}));
}

TEST_F(Nch4Test, TreeHangsUnderTheGroupItemWithSubFoldersPlacedInLaterPasses) {
    // Children come before their parents in the chain.
    FoldersWithFiles({{9, 8, "Archive", "Archive", -1},
                      {8, 7, "projects", "Projects", -1},
                      {1, 0, "Inbox", "Inbox", 0},
                      {10, 7, "Budget", "Budget", -1},
                      {7, 0, "Work", "Work", -1},
                      {2, 0, "Outbox", "Outbox", 1},
                      {11, 6, "Orphan", "Orphan", -1},  // folder 6 is not in the index
                      {12, -3, "Negative", "Negative", -1}});
    Read();
    EXPECT_EQ(Outline(tree),
              (std::vector<std::string>{"Outlook Express", "  Mail Folders", "    Inbox", "    Outbox", "    Work",
                                        "      Budget", "      projects", "        Archive"}));
    int group = Row("Mail Folders");
    ASSERT_EQ(group, 1);
    EXPECT_EQ(tree.Text(1), "Mail Folders");
    EXPECT_EQ(tree.TextColour(1), kGreyText);
    EXPECT_EQ(tree.NumberValue(1, names::kType), kTypeRoot);
    EXPECT_EQ(tree.TextValue(1, names::kHasData), "N");
    EXPECT_EQ(tree.NumberValue(1, names::kFolderNo), 0);
    int archive = Row("Archive");
    EXPECT_EQ(tree.TextValue(archive, names::kHasData), "Y");
    EXPECT_EQ(tree.TextValue(archive, names::kMbxName), "Archive.mbx");
    EXPECT_EQ(tree.NumberValue(archive, names::kType), kTypeMailFolder);
    EXPECT_EQ(tree.TextValue(Row("Inbox"), names::kHasData), "Y");
    EXPECT_EQ(tree.TextColour(Row("Inbox")), kDefaultColour);
}

TEST_F(Nch4Test, AChainSortedDeepestFirstShowsThreeLevelsBelowTheTop) {
    // The work list orders by name, so each child comes before its parent.
    FoldersWithFiles({{1, 0, "Top", "Top", -1},
                      {2, 1, "D1", "D1", -1},
                      {3, 2, "C2", "C2", -1},
                      {4, 3, "B3", "B3", -1},
                      {5, 4, "A4", "A4", -1}});
    Read();
    EXPECT_EQ(Outline(tree), (std::vector<std::string>{"Outlook Express", "  Mail Folders", "    Top", "      D1",
                                                       "        C2", "          B3"}));
}

TEST_F(Nch4Test, MissingIndexEmptiesTheListsAndAnEmptyOneLeavesTheGroup) {
    tree.AddItem("left over");
    work.AddItem("left over");
    EXPECT_FALSE(ReadV4Index(kMail, files, work, tree));
    EXPECT_EQ(tree.Count(), 0);
    EXPECT_EQ(work.Count(), 0);

    Folders({});
    Read();
    EXPECT_EQ(Outline(tree), (std::vector<std::string>{"Outlook Express", "  Mail Folders"}));
}

TEST_F(Nch4Test, MeasuringCountsMessagesAndFollowsTheRememberedFlagsOnly) {
    Mbx("Inbox", 23, 5000);
    Mbx("Work", 240, 70000);
    Mbx("Family", 35, 9000);
    Folders({{1, 0, "Inbox", "Inbox", 0}, {7, 0, "Work", "Work", -1}, {6, 7, "Family", "Family", -1}});
    Read();
    // A news account row as the accounts' step leaves it, measured already.
    int news = tree.AddItem("news.example.com", 0);
    tree.SetNumberValue(news, names::kType, kTypeNewsAccount);
    tree.SetTextValue(news, names::kMbxName, "news.example.com");
    tree.SetNumberValue(news, names::kFileSize, 1234);
    work.AddItem("left by the accounts' step");

    CatalogTotals totals;
    RememberedSelection saved{"work.mbx" + k2 + "Family.mbx", "0" + k2 + "-1"};
    MeasureV4(tree, work, kMail, saved, files, totals);

    EXPECT_EQ(work.Count(), 0);
    EXPECT_EQ(tree.Picture(0), kRootPicture);
    EXPECT_TRUE(tree.IsOpen(0));
    int inbox = Row("Inbox"), work_ = Row("Work"), family = Row("Family");
    EXPECT_EQ(tree.NumberValue(inbox, names::kMbxCounts), 23);
    EXPECT_EQ(tree.NumberValue(inbox, names::kFileSize), 5000);
    EXPECT_EQ(tree.NumberValue(work_, names::kMbxCounts), 240);
    // Marks by flag: the group (no file, first row) 0, Work remembered 0, Family -1 counts as 1.
    EXPECT_EQ(tree.Mark(1), 0);
    EXPECT_EQ(tree.NumberValue(1, names::kFlgSave), 0);
    EXPECT_EQ(tree.Mark(inbox), 1);
    EXPECT_EQ(tree.Mark(work_), 0);
    EXPECT_EQ(tree.NumberValue(work_, names::kFlgSave), 0);
    EXPECT_EQ(tree.Mark(family), 1);
    EXPECT_EQ(tree.Picture(family), 1);
    EXPECT_EQ(tree.Mark(news), 1);
    EXPECT_EQ(tree.NumberValue(news, names::kFileSize), 1234);  // kept, not read as a file
    EXPECT_EQ(tree.NumberValue(news, names::kMbxCounts), 0);
    // No colours: the news row keeps none of its own here, the group stays grey.
    EXPECT_EQ(tree.BackColour(news), kDefaultColour);
    EXPECT_EQ(tree.TextColour(1), kGreyText);

    EXPECT_EQ(totals.itemCount, 5);
    EXPECT_EQ(totals.selectedCount, 3);
    EXPECT_EQ(totals.totalBytes, 5000 + 9000 + 1234);
    EXPECT_EQ(totals.catalogBytes, 5000 + 70000 + 9000 + 1234);
}

TEST_F(Nch4Test, TargetListCarriesMessageCounts) {
    Mbx("Inbox", 23);
    Mbx("Work", 240);
    Folders({{1, 0, "Inbox", "Inbox", 0}, {7, 0, "Work", "Work", -1}});
    ASSERT_TRUE(BuildV4TargetList(kMail, files, work, tree));
    EXPECT_EQ(tree.NumberValue(Row("Inbox"), names::kMbxCounts), 23);
    EXPECT_EQ(tree.NumberValue(Row("Work"), names::kMbxCounts), 240);
    EXPECT_EQ(tree.TextValue(1, names::kHasData), "N");  // the group is no target
    EXPECT_FALSE(BuildV4TargetList("C:\\Elsewhere\\", files, work, tree));
}

// Chains that a damaged index may hold.
class NchChain : public Nch4Test {
protected:
    // Three folders with files, chained 1 -> 2 -> 3; the header names 1 and 3.
    void ThreeRecords() {
        for (const char* base : {"A", "B", "C"}) Mbx(base, 1);
        a = writer.AddRecord({1, 0, "A", "A", -1});
        b = writer.AddRecord({2, 0, "B", "B", -1});
        c = writer.AddRecord({3, 0, "C", "C", -1});
        writer.SetNext(a, b);
        writer.SetNext(b, c);
        writer.SetFirst(a);
        writer.SetLast(c);
    }
    std::vector<std::string> Listed() {
        Index(writer.Bytes());
        Read();
        std::vector<std::string> shown;
        for (int i = 2; i < tree.Count(); ++i) shown.push_back(tree.Text(i));
        return shown;
    }
    testing::NchIndexWriter writer;
    int32_t a = 0, b = 0, c = 0;
};

TEST_F(NchChain, WellFormedChainListsEveryRecordOnce) {
    ThreeRecords();
    EXPECT_EQ(Listed(), (std::vector<std::string>{"A", "B", "C"}));
    // One record, first and last alike, with its next pointing at itself.
    testing::NchIndexWriter single;
    int32_t only = single.AddRecord({1, 0, "A", "A", -1});
    single.SetNext(only, only);
    single.SetFirst(only);
    single.SetLast(only);
    writer = single;
    EXPECT_EQ(Listed(), (std::vector<std::string>{"A"}));
}

TEST_F(NchChain, ALoopBackEndsTheChainAndTheLastIsStillRead) {
    ThreeRecords();
    writer.SetNext(b, a);  // never reaches c through the chain
    EXPECT_EQ(Listed(), (std::vector<std::string>{"A", "B", "C"}));
    writer.SetNext(b, b);
    EXPECT_EQ(Listed(), (std::vector<std::string>{"A", "B", "C"}));
}

TEST_F(NchChain, OffsetsPastTheEndInTheHeaderOrZeroEndTheChain) {
    for (int32_t bad : {0, -557, 5, 23, 0x7FFFFFFF}) {
        ThreeRecords();
        writer.SetNext(a, bad);
        EXPECT_EQ(Listed(), (std::vector<std::string>{"A", "C"})) << bad;
    }
    ThreeRecords();
    writer.SetLast(1 << 30);  // the last record is past the end: the chain runs out on its own
    EXPECT_EQ(Listed(), (std::vector<std::string>{"A", "B", "C"}));
    writer.SetFirst(0);
    EXPECT_TRUE(Listed().empty());
}

TEST_F(NchChain, ATruncatedRecordReadsAsZerosAndAFieldWithoutEndIsEmpty) {
    for (const char* base : {"A", "B", "C"}) Mbx(base, 1);
    a = writer.AddRecord({1, 0, "A", "A", -1});
    b = writer.AddRecord({2, 0, "B", "B", -1});
    c = writer.AddRecord({3, 1, "C", "C", -1});  // under A, until its parent number is cut off
    writer.SetNext(a, b);
    writer.SetNext(b, c);
    writer.SetFirst(a);
    writer.SetLast(c);
    for (int32_t i = 0; i < 259; ++i) writer.Put8(b + 20 + i, 'x');  // B's name fills its field
    std::vector<uint8_t> bytes = writer.Bytes();
    bytes.resize(static_cast<size_t>(c) + 300);
    Index(bytes);
    Read();
    // C: parent 0 and order 0 now, so first at the top; B without a name.
    EXPECT_EQ(Outline(tree), (std::vector<std::string>{"Outlook Express", "  Mail Folders", "    C", "    ", "    A"}));
    NchRecord record = ParseNchRecord(ByteView(bytes), c);
    EXPECT_EQ(record.baseName, "C");
    EXPECT_EQ(record.parentNumber, 0);
    EXPECT_EQ(record.order, 0);
    EXPECT_EQ(ParseNchRecord(ByteView(bytes), b).name, "");
}

}  // namespace
}  // namespace corvane::catalog

// The archive's log read back as a tree, and the names the restore gives
// entries: real logs of both layouts, and hostile ones (short lines,
// non-numeric and huge fields, missing parents, names that would leave the
// store). Built with the sanitizers on the native preset.
#include "corvane/catalog/CatalogModel.h"
#include "corvane/restore/portable/ArchiveLog.h"
#include "corvane/restore/portable/RestoreMapping.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace corvane;
using namespace corvane::restore;
namespace names = corvane::catalog::names;

namespace {

const std::string kBanner = "V5 - Corvane Backup started: Wed Jan 31, 2001 @ 02:15 PM  {D4D4-0D}\r\n";

int Find(const catalog::TreeList& tree, const std::string& text) {
    for (int i = 0; i < tree.Count(); ++i)
        if (FirstColumn(tree.Text(i)) == text) return i;
    return -1;
}

TEST(ArchiveLog, CurrentLayoutBuildsTheTreeWithMarksTintsAndCaption) {
    catalog::TreeList tree;
    ArchiveTree read = FillArchiveTree(kBanner +
                                           "NCH\tFolders.dbx\r\n"
                                           "MBX\tInbox.dbx\tInbox\t2\t1\t1\t12\t2\r\n"
                                           "MBX\tWork.dbx\tWork\t5\t1\t2\t0\t2\r\n"
                                           "MBX\tProjects.dbx\tProjects\t6\t5\t1\t3\t2\r\n"
                                           "MBX\t\tArchive 2001\t7\t6\t1\t0\t2\r\n"
                                           "DBX\tcomp.dbx\tcomp\t9\t0\t1\t4\t4\r\n"
                                           "\r\n"
                                           "WAB\tdocs\\Main.wab\tAddress Book\t20\t0\t1\t0\t10\r\n"
                                           "FAVS\tdocs\\Favorites\tFavorites\t21\t0\t1\t0\t30\r\n",
                                       true, tree);
    EXPECT_EQ(read.refusal, LogRefusal::None);
    EXPECT_TRUE(read.currentLayout);
    EXPECT_EQ(read.caption, "Restoring from:  Wed Jan 31, 2001 @ 02:15 PM  ");
    ASSERT_EQ(tree.Count(), 8);  // the root and seven items; NCH and the empty line give none
    EXPECT_EQ(tree.Text(0), "Outlook Express");
    EXPECT_EQ(tree.TextValue(0, names::kFolderNo), "00");
    int work = Find(tree, "Work"), projects = Find(tree, "Projects");
    EXPECT_EQ(tree.ParentPosition(projects), work);
    EXPECT_EQ(tree.ParentPosition(Find(tree, "Inbox")), 0);  // row 1 is not in the log: the root
    EXPECT_EQ(tree.Mark(work), 2);
    EXPECT_EQ(tree.Picture(work), 2);
    EXPECT_EQ(tree.TextColour(work), catalog::kGreyText);
    EXPECT_EQ(tree.TextValue(work, names::kHasData), "N");
    EXPECT_EQ(tree.Mark(projects), 0);
    EXPECT_EQ(tree.TextValue(projects, names::kHasData), "Y");
    // A folder without a file of its own keeps the flag of the row before it
    // in the log, but the archive holds nothing for it.
    EXPECT_EQ(tree.Mark(Find(tree, "Archive 2001")), 2);
    EXPECT_EQ(tree.TextValue(Find(tree, "Archive 2001"), names::kHasData), "N");
    EXPECT_EQ(tree.TextValue(Find(tree, "Inbox"), names::kMbxCounts), "12");
    EXPECT_EQ(tree.BackColour(Find(tree, "comp")), catalog::kNewsBack);
    EXPECT_EQ(tree.BackColour(Find(tree, "Address Book")), catalog::kAddressBookBack);
    EXPECT_EQ(tree.BackColour(Find(tree, "Favorites")), catalog::kFavoritesBack);
    EXPECT_TRUE(read.leftOut.empty());

    // Without a current address book the archive's cannot be restored.
    FillArchiveTree(kBanner + "WAB\tMain.wab\tAddress Book\t20\t0\t1\t0\t10\r\n", false, tree);
    EXPECT_EQ(tree.Mark(1), 2);
}

TEST(ArchiveLog, OlderLayoutTakesEveryRowAsSavedAndTheTypeFromTheKind) {
    catalog::TreeList tree;
    ArchiveTree read = FillArchiveTree(
        "Corvane Backup started: Mon\r\n"
        "MBX\tInbox.mbx\tInbox\t1\t0\t0\t5\r\n"
        "NEWS\tacct\tNews account\t2\t0\t7\r\n"
        "WAB\tMain.wab\tanything\t3\t2\r\n"
        "FAVS\tFavorites\tFavorites\t4\t0\r\n",
        true, tree);
    EXPECT_FALSE(read.currentLayout);
    EXPECT_EQ(read.caption, "Restoring from:  Mon");
    ASSERT_EQ(tree.Count(), 5);
    EXPECT_EQ(tree.NumberValue(Find(tree, "Inbox"), names::kType), catalog::kTypeMailFolder);
    EXPECT_EQ(tree.Mark(Find(tree, "Inbox")), 0);  // field 6 says 0, the older layout does not care
    EXPECT_EQ(tree.NumberValue(Find(tree, "News account"), names::kType), catalog::kTypeNewsAccount);
    int book = Find(tree, "Windows Address Book (WAB)");
    ASSERT_GT(book, 0);
    EXPECT_EQ(tree.ParentPosition(book), 0);  // findable and markable at the top
    EXPECT_EQ(tree.Mark(book), 0);
    EXPECT_EQ(FindItemOfType(tree, catalog::kTypeFavorites), Find(tree, "Favorites"));

    FillArchiveTree("no colon here\r\n", true, tree);
    EXPECT_EQ(RestoringCaption(ReadBanner("no colon here")), "Restoring from: ");
}

TEST(ArchiveLog, HostileLinesAreReadSafely) {
    catalog::TreeList tree;
    std::string log = kBanner;
    log += "MBX\r\n";                                        // kind only: no display, no item
    log += "MBX\tShort.dbx\tShort\r\n";                      // three fields
    log += "MBX\tOdd.dbx\tOdd\tabc\txyz\tyes\t-\tmail\r\n";  // nothing numeric
    log += "MBX\tHuge.dbx\tHuge\t99999999999999999999999\t7\t1\t99999999999999999999\t2\r\n";
    log += "MBX\tOrphan.dbx\tOrphan\t40\t12345\t1\t1\t2\r\n";  // its parent never comes
    log += "MBX\tSelf.dbx\tSelf\t50\t50\t1\t1\t2\r\n";         // its own parent
    log += "MBX\tLate.dbx\tLate\t60\t70\t1\t1\t2\r\nMBX\tParent.dbx\tParent\t70\t0\t1\t1\t2\r\n";
    log += "MBX\tExtra.dbx\tExtra\t80\t0\t1\t1\t2\tmore\tfields\r\n";
    log += "\xff\xfe\tbinary\x01\t\t\t\r\n";
    log += "MBX\tNoEnd.dbx\tNoEnd\t90\t0\t1\t1\t2";  // last line without its end
    ArchiveTree read = FillArchiveTree(log, true, tree);
    EXPECT_EQ(read.refusal, LogRefusal::None);
    for (const char* name : {"Short", "Odd", "Huge", "Orphan", "Self", "Late", "Parent", "Extra", "NoEnd"})
        EXPECT_GT(Find(tree, name), 0) << name;
    EXPECT_EQ(tree.Count(), 10);
    EXPECT_EQ(tree.Mark(Find(tree, "Short")), 2);  // no save flag: not in the archive
    EXPECT_EQ(tree.Mark(Find(tree, "Odd")), 2);
    EXPECT_EQ(tree.NumberValue(Find(tree, "Huge"), names::kFolderNo), INT64_MAX);
    EXPECT_EQ(tree.ParentPosition(Find(tree, "Orphan")), 0);
    EXPECT_EQ(tree.ParentPosition(Find(tree, "Self")), 0);
    EXPECT_EQ(tree.ParentPosition(Find(tree, "Late")), 0);  // the parent came later
    EXPECT_EQ(tree.Mark(Find(tree, "Extra")), 0);

    // A long chain of parents: the tree stays shallow enough to build.
    std::string chain = kBanner;
    for (int i = 1; i <= 5000; ++i)
        chain += "MBX\tf" + std::to_string(i) + ".dbx\tf" + std::to_string(i) + "\t" + std::to_string(i) + "\t" +
                 std::to_string(i - 1) + "\t1\t0\t2\r\n";
    FillArchiveTree(chain, true, tree);
    EXPECT_EQ(tree.Count(), 5001);
    int deepest = 0;
    for (int i = 0; i < tree.Count(); ++i) deepest = std::max(deepest, tree.Depth(i));
    EXPECT_LE(deepest, 65);
}

TEST(ArchiveLog, NamesThatWouldLeaveTheStoreGiveItemsThatCannotBeMarked) {
    catalog::TreeList tree;
    const std::set<std::string> bad = {
        "..\\..\\victim.dbx", "C:\\Windows\\win.ini", "c:evil.dbx", "Inbox.dbx:stream", "CON.dbx", "lpt1", "..",
        "sub/Inbox.dbx",      "trailing.dbx ",        "dot."};
    std::string log = kBanner;
    int row = 1;
    for (const std::string& name : bad) {
        log += "MBX\t" + name + "\tBad" + std::to_string(row) + "\t" + std::to_string(row) + "\t0\t1\t1\t2\r\n";
        ++row;
    }
    log += "NEWS\t..\\acct\tNewsBad\t98\t0\t1\t0\t20\r\n";
    log += "FAVS\t..\\..\\victim.dbx\tDisguised\t96\t0\t1\t0\t2\r\n";  // the type of a mail folder decides
    log += "FAVS\tsub\\Inbox.dbx\tDisguised too\t95\t0\t1\t0\t2\r\n";  // a path of plain names is still no file name
    log += "FAVS\tdocs\\Favorites\tFavorites\t99\t0\t1\t0\t30\r\n";    // only matched against entries: no fault
    log += "MBX\t\tLocal Folders\t97\t0\t2\t0\t1\r\n";                 // a folder without a file: layout only
    ArchiveTree read = FillArchiveTree(log, true, tree);
    ASSERT_EQ(read.leftOut.size(), bad.size() + 3);
    for (int i = 1; i < tree.Count(); ++i) {
        bool favorites = tree.NumberValue(i, names::kType) == catalog::kTypeFavorites;
        EXPECT_EQ(tree.Mark(i), favorites ? 0 : 2) << tree.Text(i);
        if (tree.Text(i) == "Local Folders") {
            EXPECT_EQ(tree.TextValue(i, names::kFlgSave), "2");
        }
        EXPECT_FALSE(tree.Text(i).empty());  // the caption is kept
    }
    for (const LeftOutItem& item : read.leftOut) EXPECT_NE(item.fault, NameFault::None) << item.name;

    // Even when such an item is forced to mark 1, the rename event leaves its entry out.
    int first = 1;
    tree.SetMark(first, 1);
    EntryTarget target = MapEntry(tree, {}, tree.TextValue(first, names::kMbxName));
    EXPECT_TRUE(target.newName.empty() || IsPlainName(target.newName));
}

TEST(ArchiveLog, OversizedLogsAreRefused) {
    catalog::TreeList tree;
    tree.AddItem("stale");
    std::string big(kMaxLogBytes + 1, 'x');
    EXPECT_EQ(FillArchiveTree(big, true, tree).refusal, LogRefusal::TooLarge);
    EXPECT_EQ(tree.Count(), 0);
    std::string many = kBanner;
    for (size_t i = 0; i <= kMaxLogLines; ++i) many += "\n";
    EXPECT_EQ(FillArchiveTree(many, true, tree).refusal, LogRefusal::TooManyLines);
}

class Marking : public ::testing::Test {
protected:
    void SetUp() override {
        FillArchiveTree(kBanner +
                            "MBX\tInbox.dbx\tInbox\t2\t0\t1\t12\t2\r\n"
                            "MBX\tGone.dbx\tGone\t3\t0\t1\t1\t2\r\n"
                            "DBX\tcomp.dbx\tcomp\t4\t0\t1\t4\t4\r\n"
                            "NEWS\tacct\tAccount\t5\t0\t1\t0\t20\r\n"
                            "MBX\tOld.dbx\tOld\t6\t0\t0\t0\t2\r\n"
                            "WAB\tMain.wab\tAddress Book\t7\t0\t1\t0\t10\r\n",
                        true, tree);
    }
    MarkAction Click(const std::string& text, int mode) {
        int position = Find(tree, text);
        MarkAction action = DecideMark(tree, position, mode, folders, files, dirs);
        ApplyMark(tree, position, action);
        return action;
    }
    catalog::TreeList tree;
    StoreFolders folders{"C:\\Store\\", "C:\\Store\\", "C:\\News\\"};
    std::set<std::string> present = {"C:\\Store\\Inbox.dbx"};
    ExistsTest files = [this](const std::string& path) { return present.count(path) > 0; };
    ExistsTest dirs = [](const std::string&) { return false; };
};

TEST_F(Marking, SelectedRestoreRulesAndTheTargetColumn) {
    EXPECT_EQ(Click("Inbox", kSelectedRestore), MarkAction::MarkOwnTarget);
    EXPECT_EQ(tree.Text(Find(tree, "Inbox")), "Inbox\t>>> Inbox");
    EXPECT_EQ(Click("Gone", kSelectedRestore), MarkAction::FolderMissing);
    EXPECT_EQ(tree.Mark(Find(tree, "Gone")), 0);
    EXPECT_EQ(Click("comp", kSelectedRestore), MarkAction::NotSubscribed);
    EXPECT_EQ(Click("Account", kSelectedRestore), MarkAction::NotSubscribed);
    EXPECT_EQ(Click("Old", kSelectedRestore), MarkAction::Nothing);
    EXPECT_EQ(Click("Address Book", kSelectedRestore), MarkAction::Mark);

    // An alternate target, then unmarking takes it away; marking again targets the own name.
    int gone = Find(tree, "Gone");
    SetAlternateTarget(tree, gone, "Other.dbx", "Other\tsecond column", 4);
    EXPECT_EQ(tree.Text(gone), "Gone\t>>> Other");
    EXPECT_EQ(MapEntry(tree, {}, "gone.DBX").newName, "Other.dbx");
    EXPECT_EQ(MapEntry(tree, {}, "Gone.dbx").replacedName, "Other.dbx");
    EXPECT_EQ(Click("Gone", kSelectedRestore), MarkAction::Unmark);
    EXPECT_EQ(tree.Text(gone), "Gone");
    EXPECT_FALSE(tree.HasValue(gone, names::kRestoreToName));
    EXPECT_EQ(std::vector<int>{Find(tree, "Inbox")}, MarkedMailItems(tree));
}

TEST_F(Marking, FullRestoreMarksMailAndKeepsItMarked) {
    MarkForFullRestore(tree);
    EXPECT_EQ(MarkedMailItems(tree).size(), 3u);  // Inbox, Gone, comp; Old is not in the archive
    EXPECT_EQ(Click("Inbox", kFullRestore), MarkAction::Beep);
    EXPECT_EQ(tree.Mark(Find(tree, "Inbox")), 1);
    EXPECT_EQ(Click("Address Book", kFullRestore), MarkAction::Mark);
    EXPECT_EQ(Click("Address Book", kFullRestore), MarkAction::Unmark);
}

TEST(RenameRules, EntriesKeepInsideTheirFolders) {
    catalog::TreeList tree;
    RenameRules rules{"Current.wab", "docs\\Favorites\\"};
    EXPECT_EQ(MapEntry(tree, rules, "tmp\\Old Name.WAB").newName, "Current.wab");
    EXPECT_EQ(MapEntry(tree, rules, "docs\\favorites\\Links\\News.url").newName, "Links\\News.url");
    EntryTarget climbing = MapEntry(tree, rules, "docs\\Favorites\\..\\..\\evil.url");
    EXPECT_TRUE(climbing.refused);
    EXPECT_TRUE(climbing.newName.empty());
    EXPECT_TRUE(MapEntry(tree, rules, "docs\\Favorites\\c:\\evil.url").refused);
    EXPECT_TRUE(MapEntry(tree, rules, "docs\\Favorites\\x.url:stream").refused);
    EXPECT_TRUE(MapEntry(tree, rules, "docs\\Favorites\\NUL.txt").refused);
    EXPECT_TRUE(MapEntry(tree, {"..\\x.wab", ""}, "a.wab").refused);
    for (const char* book : {"..\\..\\evil.wab", "C:\\evil.wab", "\\evil.wab", "CON.wab", "x\\aux.wab"})
        EXPECT_TRUE(MapEntry(tree, rules, book).refused) << book;
    EntryTarget news = MapEntry(tree, {}, "acct\\sub\\file");
    EXPECT_EQ(news.newName, "acct\\sub\\file");
    EXPECT_EQ(news.shown, "acct");
    EXPECT_TRUE(IsSafeRelativeName("Links\\"));
    EXPECT_FALSE(IsSafeRelativeName("\\rooted"));
    EXPECT_EQ(IndexCompanion("C:\\Mail\\Inbox.mbx"), "C:\\Mail\\Inbox.idx");
}

TEST(EntryLedger, TheFirstEntryForAFileIsTheOnlyOneTaken) {
    EntryLedger ledger;
    ledger.NewExtraction();
    EXPECT_FALSE(ledger.MetAny());
    EXPECT_TRUE(ledger.Take("Inbox.dbx", "Inbox.dbx"));
    EXPECT_FALSE(ledger.Take("INBOX.DBX", "INBOX.DBX"));
    EXPECT_FALSE(ledger.Take("Family.dbx", "inbox.dbx"));  // sent to the same file
    EXPECT_TRUE(ledger.Take("Links\\News.url", "Links\\News.url"));
    EXPECT_FALSE(ledger.Take("links/news.url", "links/news.url"));
    EXPECT_TRUE(ledger.Met("family.DBX"));
    EXPECT_FALSE(ledger.Met("Work.dbx"));
    EXPECT_TRUE(ledger.Delivered("INBOX.dbx"));
    EXPECT_TRUE(ledger.Delivered("links/News.url"));
    EXPECT_FALSE(ledger.Delivered("Family.dbx"));  // its entry went to Inbox's file
    EXPECT_EQ(ledger.Doubled(), (std::vector<std::string>{"Inbox.dbx", "Links\\News.url"}));
    // The next extraction starts afresh; the report keeps what was doubled.
    ledger.NewExtraction();
    EXPECT_FALSE(ledger.Met("Inbox.dbx"));
    EXPECT_FALSE(ledger.Delivered("Inbox.dbx"));
    EXPECT_TRUE(ledger.Take("Inbox.dbx", "Inbox.dbx"));
    EXPECT_FALSE(ledger.Take("Inbox.dbx", "Inbox.dbx"));
    EXPECT_EQ(ledger.Doubled().size(), 2u);
}

}  // namespace

#include "corvane/catalog/StoreCatalog.h"

#include "corvane/catalog/TextFcns.h"
#include "tests/catalog/CatalogFixture.h"

#include "corvane/backup/planning/BackupPlanning.h"
#include "corvane/environment/portable/ListFcns.h"

#include <gtest/gtest.h>

namespace corvane::catalog {
namespace {

// The count box's text, as the selection page makes it.
std::string CountOf(const CatalogTotals& totals) { return planning::CountText(totals.selectedCount, totals.itemCount); }

using testing::DbxFolder;

std::string List(std::initializer_list<const char*> fields) {
    std::string text;
    for (const char* field : fields) {
        if (!text.empty()) text += PrimaryDelimiter();
        text += field;
    }
    return text;
}

// Local Folders with Inbox (100 bytes), Work (1000, remembered unticked),
// Old (remembered as -1) and Empty (no file) holding Sub (10); a news server
// with a group (5).
class CatalogTest : public ::testing::Test {
protected:
    void SetUp() override {
        store.StoreFile("Inbox.dbx", 12, 100);
        store.StoreFile("Work.dbx", 30, 1000);
        store.StoreFile("Old.dbx", 4, 50);
        store.StoreFile("Sub.dbx", 2, 10);
        store.StoreFile("group.dbx", 7, 5);
        store.Folders({DbxFolder::Root("Main Identity"), DbxFolder::NoFile(1, 0, "Local Folders"),
                       DbxFolder::Mail(2, 1, "Inbox", "Inbox.dbx"), DbxFolder::Mail(0x20, 1, "Work", "Work.dbx"),
                       DbxFolder::Mail(0x21, 1, "Old", "Old.dbx"), DbxFolder::NoFile(0x22, 1, "Empty"),
                       DbxFolder::Mail(0x23, 0x22, "Sub", "Sub.dbx"), DbxFolder::Container(0x30, 0, "news.example.com"),
                       DbxFolder::Mail(0x31, 0x30, "group", "group.dbx")});
        saved.names = List({"WORK.DBX", "Old.dbx"});
        saved.flags = List({"0", "-1"});
        ASSERT_TRUE(BuildV5BackupCatalog(kStore, saved, store.files, work, tree, totals));
    }
    int At(const char* display) { return FindDisplay(tree, display); }

    MemoryStore store;
    RememberedSelection saved;
    TreeList work, tree;
    CatalogTotals totals;
};

TEST_F(CatalogTest, MeasuringSetsSizesFlagsMarksPicturesAndTotals) {
    EXPECT_EQ(work.Count(), 0);
    EXPECT_TRUE(tree.IsOpen(0));
    EXPECT_EQ(tree.Picture(0), kRootPicture);
    EXPECT_EQ(totals.itemCount, 8);
    EXPECT_EQ(tree.NumberValue(At("Inbox"), names::kMbxCounts), 12);
    EXPECT_EQ(tree.NumberValue(At("Work"), names::kFileSize), 1000);
    EXPECT_EQ(totals.catalogBytes, 100 + 1000 + 50 + 10 + 5);
    // Work remembered unticked, Old's -1 counts as ticked, the rest unlisted.
    EXPECT_EQ(tree.Mark(At("Work")), 0);
    EXPECT_EQ(tree.Mark(At("Old")), 1);
    EXPECT_EQ(tree.Mark(At("Inbox")), 1);
    EXPECT_EQ(tree.NumberValue(At("Old"), names::kFlgSave), 1);
    EXPECT_EQ(totals.totalBytes, 100 + 50 + 10 + 5);
    EXPECT_EQ(totals.selectedCount, 4);
    // Item 1 and a container with items beneath get 0; a folder without data 2.
    EXPECT_EQ(tree.Mark(1), 0);
    EXPECT_EQ(tree.Mark(At("news.example.com")), 0);
    EXPECT_EQ(tree.Mark(At("Empty")), 2);
    for (int i = 1; i < tree.Count(); ++i) EXPECT_EQ(tree.Picture(i), tree.Mark(i)) << tree.Text(i);
    EXPECT_EQ(tree.TextColour(At("Empty")), kGreyText);
    EXPECT_EQ(tree.BackColour(At("group")), kNewsBack);
    EXPECT_EQ(tree.BackColour(At("news.example.com")), kNewsBack);
    EXPECT_EQ(tree.BackColour(At("Inbox")), kDefaultColour);
    EXPECT_EQ(tree.TextColour(At("Inbox")), kDefaultColour);
}

TEST_F(CatalogTest, TickingTogglesMarkFlagAndTotalsButLeavesMarkTwo) {
    int work = At("Work");
    MarkClick(tree, work, totals);
    EXPECT_EQ(tree.Mark(work), 1);
    EXPECT_EQ(tree.NumberValue(work, names::kFlgSave), 1);
    EXPECT_EQ(totals.totalBytes, 1165);
    EXPECT_EQ(totals.selectedCount, 5);
    MarkClick(tree, work, totals);
    EXPECT_EQ(totals.totalBytes, 165);
    EXPECT_EQ(tree.NumberValue(work, names::kFlgSave), 0);
    MarkClick(tree, At("Empty"), totals);
    EXPECT_EQ(tree.Mark(At("Empty")), 2);
    EXPECT_EQ(totals.selectedCount, 4);
}

TEST_F(CatalogTest, PictureOnAContainerTicksEverythingSelectableBeneathIt) {
    ClearAll(tree, totals);
    tree.SetSelected(1);  // Local Folders, mark 0
    PictureClick(tree, totals);
    EXPECT_EQ(tree.Mark(1), 1);
    EXPECT_EQ(tree.Picture(1), 1);
    for (const char* name : {"Inbox", "Work", "Old", "Sub"}) EXPECT_EQ(tree.Mark(At(name)), 1) << name;
    EXPECT_EQ(tree.Mark(At("Empty")), 2);
    EXPECT_EQ(tree.Mark(At("group")), 0);  // another branch
    EXPECT_EQ(totals.selectedCount, 5);    // the container itself counts
    EXPECT_EQ(totals.totalBytes, 1160);
    PictureClick(tree, totals);  // and off again
    EXPECT_EQ(totals.selectedCount, 0);
    EXPECT_EQ(totals.totalBytes, 0);
    tree.SetSelected(0);
    PictureClick(tree, totals);  // the root does nothing
    EXPECT_EQ(tree.Mark(0), 0);
}

TEST_F(CatalogTest, SelectAllCountsEveryItemAndClearAllNone) {
    SelectAll(tree, totals);
    EXPECT_EQ(totals.selectedCount, totals.itemCount);  // even with Empty unselectable
    EXPECT_EQ(totals.totalBytes, totals.catalogBytes);
    EXPECT_EQ(tree.Mark(At("Work")), 1);
    EXPECT_EQ(tree.Picture(At("Work")), 1);
    EXPECT_EQ(tree.Mark(At("Empty")), 2);
    EXPECT_EQ(CountOf(totals), "8 of 8 Items");
    ClearAll(tree, totals);
    EXPECT_EQ(totals.selectedCount, 0);
    EXPECT_EQ(tree.NumberValue(At("Inbox"), names::kFlgSave), 0);
    EXPECT_EQ(tree.Picture(At("Inbox")), 0);
    EXPECT_EQ(tree.Mark(At("Empty")), 2);
}

TEST_F(CatalogTest, RightClickDetailsOfAMailFolder) {
    store.StoreFile("Work.dbx", 30, 1234567);
    CatalogTotals fresh;
    ASSERT_TRUE(BuildV5BackupCatalog(kStore, saved, store.files, work, tree, fresh));
    EXPECT_EQ(DetailsText(tree, At("Work"), true, ','),
              "Folder : Work" + std::string(14, ' ') + "\r\nMessage Count: 30\r\nFile Size: 1,234,567 Bytes");
    EXPECT_EQ(DetailsText(tree, At("Work"), false, '.'),
              "Folder : Work" + std::string(14, ' ') + "\r\nMessage Count: 30");
    EXPECT_EQ(DetailsText(tree, At("Empty"), true, ','), "Folder : Empty" + std::string(14, ' '));
}

TEST(Details, FavoritesShowItemCountAndTotalSizeAddressBookOnlyItsName) {
    TreeList tree;
    tree.AddItem("Outlook Express");
    int favs = tree.AddItem("IE Favorites", 0);
    tree.SetNumberValue(favs, names::kType, kTypeFavorites);
    tree.SetTextValue(favs, names::kHasData, "Y");
    tree.SetNumberValue(favs, names::kMbxCounts, 250);
    tree.SetNumberValue(favs, names::kFileSize, 40960);
    int wab = tree.AddItem("Windows Address Book (WAB)", 0);
    tree.SetNumberValue(wab, names::kType, kTypeAddressBook);
    tree.SetTextValue(wab, names::kHasData, "Y");
    EXPECT_EQ(DetailsText(tree, favs, true, ','),
              "Folder : IE Favorites" + std::string(14, ' ') + "\r\nItem Count: 250\r\nTotal Size: 40,960 Bytes");
    EXPECT_EQ(DetailsText(tree, wab, true, ','), "Folder : Windows Address Book (WAB)" + std::string(14, ' '));
}

TEST(AddressBook, UntickingShowsTheCautionOnlyWhenTheBookHasData) {
    TreeList tree;
    tree.AddItem("Outlook Express");
    int wab = tree.AddItem("Windows Address Book (WAB)", 0);
    tree.SetTextValue(wab, names::kHasData, "Y");
    tree.SetMark(wab, 1);
    CatalogTotals totals;
    totals.addressBookIndex = wab;
    totals.selectedCount = 1;
    EXPECT_EQ(MarkClick(tree, wab, totals), AddressBookCaution::Show);
    EXPECT_EQ(MarkClick(tree, wab, totals), AddressBookCaution::HideAndCheck);
    tree.SetTextValue(wab, names::kHasData, "N");
    EXPECT_EQ(MarkClick(tree, wab, totals), AddressBookCaution::Hide);
    totals.addressBookIndex = 0;
    EXPECT_EQ(MarkClick(tree, wab, totals), AddressBookCaution::Untouched);
}

TEST(CountDisplay, AnIndexWithoutFoldersShowsNoneOfNoItems) {
    for (const std::vector<DbxFolder>& folders :
         {std::vector<DbxFolder>{DbxFolder::Root("Main Identity")}, std::vector<DbxFolder>{}}) {
        MemoryStore store;
        store.Folders(folders);
        TreeList work, tree;
        CatalogTotals totals;
        ASSERT_TRUE(BuildV5BackupCatalog(kStore, {}, store.files, work, tree, totals));
        EXPECT_EQ(CountOf(totals), "0 of 0 Items") << folders.size() << " records";
        SelectAll(tree, totals);
        EXPECT_EQ(CountOf(totals), "0 of 0 Items");
        ClearAll(tree, totals);
        EXPECT_EQ(CountOf(totals), "0 of 0 Items");
    }
}

TEST(LargeSelection, SizesAboveTwoGibibytesAddUpAndShowRight) {
    MemoryStore store;
    const int64_t big = 3LL << 30;  // 3 GiB, reported without holding the bytes
    store.StoreFile("Big.dbx", 90000, big);
    store.StoreFile("Inbox.dbx", 1, 1024);
    store.Folders({DbxFolder::NoFile(1, 0, "Local Folders"), DbxFolder::Mail(2, 1, "Inbox", "Inbox.dbx"),
                   DbxFolder::Mail(0x20, 1, "Big", "Big.dbx")});
    TreeList work, tree;
    CatalogTotals totals;
    ASSERT_TRUE(BuildV5BackupCatalog(kStore, {}, store.files, work, tree, totals));
    EXPECT_EQ(totals.totalBytes, big + 1024);
    EXPECT_EQ(totals.catalogBytes, big + 1024);
    // The page shows them as the planning texts make them.
    EXPECT_EQ(planning::KBytesText(static_cast<double>(totals.totalBytes)), "3,145,729 KBytes");
    EXPECT_EQ(planning::KBytesText(planning::EstimatedArchiveBytes(totals.totalBytes)), "1,887,437 KBytes");
    int bigAt = FindDisplay(tree, "Big");
    EXPECT_EQ(DetailsText(tree, bigAt, true, ','),
              "Folder : Big" + std::string(14, ' ') + "\r\nMessage Count: 90000\r\nFile Size: 3,221,225,472 Bytes");
    MarkClick(tree, bigAt, totals);
    EXPECT_EQ(totals.totalBytes, 1024);
}

}  // namespace
}  // namespace corvane::catalog

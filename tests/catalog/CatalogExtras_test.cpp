// The address book, Favorites and version-4 news accounts on real folders of
// the host, through the zip engine's standard file system.
#include "corvane/catalog/CatalogExtras.h"

#include "corvane/catalog/FileScan.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace corvane::catalog {
namespace {

namespace fs = std::filesystem;

class CatalogExtras : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("corvane-extras-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root);
        fs::create_directories(root);
        mail.AddItem("Main Identity");
    }
    void TearDown() override { fs::remove_all(root); }

    std::string Write(const std::string& relative, size_t length) {
        fs::path path = root / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << std::string(length, 'x');
        return path.string();
    }
    std::string Folder(const std::string& relative) {
        fs::create_directories(root / relative);
        return (root / relative).string();
    }

    fs::path root;
    std::unique_ptr<zip::FileSystem> files = zip::MakeStdFileSystem();
    TreeList mail;
    TreeList work;
    CatalogTotals totals;
};

TEST_F(CatalogExtras, TreeScanCountsEveryFileOfTheTreeAndFolderSizeOnlyTheTop) {
    Write("Favorites/Debian.url", 40);
    Write("Favorites/NoExtension", 7);
    Write("Favorites/Links/Weather.url", 30);
    Write("Favorites/Links/Deeper/More/news", 5);
    Folder("Favorites/Empty");
    const std::string favorites = (root / "Favorites").string();

    int64_t total = 0, count = 0;
    TreeScan(*files, favorites, total, count);
    EXPECT_EQ(total, 82);
    EXPECT_EQ(count, 4);

    // "*.*" names the folder before it; a trailing separator is the same folder.
    total = count = 0;
    TreeScan(*files, favorites + "/*.*", total, count);
    EXPECT_EQ(count, 4);
    TreeScan(*files, favorites + "/", total, count);
    EXPECT_EQ(count, 8);  // added to what was there

    EXPECT_EQ(FolderSize(*files, favorites), 47);
    EXPECT_EQ(FolderSize(*files, favorites + "/Links"), 30);

    // Nothing to list is nothing counted.
    total = count = 0;
    TreeScan(*files, "", total, count);
    TreeScan(*files, (root / "missing").string(), total, count);
    EXPECT_EQ(total, 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(FolderSize(*files, (root / "missing").string()), 0);
}

TEST_F(CatalogExtras, TreeScanEndsInAFolderThatContainsItself) {
    Write("Favorites/a.url", 10);
    std::error_code error;
    fs::create_directory_symlink(root / "Favorites", root / "Favorites" / "loop", error);
    if (error) GTEST_SKIP() << "no symbolic links here";
    int64_t total = 0, count = 0;
    TreeScan(*files, (root / "Favorites").string(), total, count);
    EXPECT_GT(count, 1);  // the loop is followed a bounded number of times, not forever
    EXPECT_EQ(total, count * 10);
}

TEST_F(CatalogExtras, AddressBookByItsFileAndTheIncludeSetting) {
    // No registered book: no item, nothing counted.
    EXPECT_EQ(AddAddressBook("", 1, *files, mail, totals), AddressBookCaution::Untouched);
    EXPECT_EQ(mail.Count(), 1);
    EXPECT_EQ(totals.itemCount, 0);
    EXPECT_EQ(totals.addressBookIndex, 0);

    // Present and included: ticked, measured, selected.
    const std::string wab = Write("Main.wab", 1234);
    EXPECT_EQ(AddAddressBook(wab, 1, *files, mail, totals), AddressBookCaution::Hide);
    ASSERT_EQ(mail.Count(), 2);
    EXPECT_EQ(totals.addressBookIndex, 1);
    EXPECT_EQ(mail.Text(1), "Windows Address Book (WAB)");
    EXPECT_EQ(mail.NumberValue(1, names::kType), kTypeAddressBook);
    EXPECT_EQ(mail.TextValue(1, names::kMbxName), wab);
    EXPECT_EQ(mail.TextValue(1, names::kHasData), "Y");
    EXPECT_EQ(mail.NumberValue(1, names::kFileSize), 1234);
    EXPECT_EQ(mail.BackColour(1), kAddressBookBack);
    EXPECT_EQ(mail.Mark(1), 1);
    EXPECT_EQ(mail.Picture(1), 1);
    EXPECT_EQ(mail.NumberValue(1, names::kFlgSave), 1);
    EXPECT_EQ(totals.itemCount, 1);
    EXPECT_EQ(totals.selectedCount, 1);
    EXPECT_EQ(totals.totalBytes, 1234);
    EXPECT_EQ(totals.catalogBytes, 1234);
    EXPECT_TRUE(AddressBookCheckDue(1, mail, totals));
    EXPECT_FALSE(AddressBookCheckDue(0, mail, totals));

    // Left out by the setting: unticked, counted in the catalog only, the caution shows.
    TreeList other;
    other.AddItem("Main Identity");
    CatalogTotals left;
    EXPECT_EQ(AddAddressBook(wab, 0, *files, other, left), AddressBookCaution::Show);
    EXPECT_EQ(other.Mark(1), 0);
    EXPECT_EQ(other.NumberValue(1, names::kFlgSave), 0);
    EXPECT_EQ(left.selectedCount, 0);
    EXPECT_EQ(left.totalBytes, 0);
    EXPECT_EQ(left.catalogBytes, 1234);
    EXPECT_FALSE(AddressBookCheckDue(1, other, left));
}

TEST_F(CatalogExtras, RegisteredAddressBookThatDoesNotExistCannotBeTicked) {
    for (int include : {0, 1}) {
        TreeList list;
        list.AddItem("Main Identity");
        CatalogTotals sums;
        EXPECT_EQ(AddAddressBook((root / "gone.wab").string(), include, *files, list, sums), AddressBookCaution::Hide);
        EXPECT_EQ(list.Mark(1), 2);
        EXPECT_EQ(list.TextValue(1, names::kHasData), "N");
        EXPECT_EQ(list.TextColour(1), kGreyText);
        EXPECT_EQ(sums.itemCount, 1);
        EXPECT_EQ(sums.selectedCount, 0);
        EXPECT_EQ(sums.catalogBytes, 0);
        EXPECT_FALSE(AddressBookCheckDue(1, list, sums));
    }
    // A folder of that name is no address book either.
    TreeList list;
    list.AddItem("Main Identity");
    CatalogTotals sums;
    AddAddressBook(Folder("Folder.wab"), 1, *files, list, sums);
    EXPECT_EQ(list.Mark(1), 2);
}

TEST_F(CatalogExtras, FavoritesMeasuredWholeAndTickedByTheRememberedFlag) {
    // Empty, nothing remembered: ticked although it holds nothing.
    const std::string empty = Folder("EmptyFavorites");
    AddFavorites(empty, {}, *files, mail, totals);
    ASSERT_EQ(mail.Count(), 2);
    EXPECT_EQ(mail.Text(1), "IE Favorites");
    EXPECT_EQ(mail.NumberValue(1, names::kType), kTypeFavorites);
    EXPECT_EQ(mail.TextValue(1, names::kHasData), "N");
    EXPECT_EQ(mail.Mark(1), 1);
    EXPECT_EQ(mail.BackColour(1), kFavoritesBack);
    EXPECT_EQ(totals.itemCount, 1);
    EXPECT_EQ(totals.selectedCount, 1);

    // Remembered unticked (its folder as the key, any case): counted, not selected.
    Write("Favorites/a.url", 10);
    Write("Favorites/Links/b", 20);
    const std::string favorites = (root / "Favorites").string();
    TreeList list;
    list.AddItem("Main Identity");
    CatalogTotals sums;
    std::string upper = favorites;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    AddFavorites(favorites,
                 {"Inbox.dbx\x02" + upper,
                  "1\x02"
                  "0"},
                 *files, list, sums);
    EXPECT_EQ(list.TextValue(1, names::kHasData), "Y");
    EXPECT_EQ(list.NumberValue(1, names::kFileSize), 30);
    EXPECT_EQ(list.NumberValue(1, names::kMbxCounts), 2);
    EXPECT_EQ(list.Mark(1), 0);
    EXPECT_EQ(list.NumberValue(1, names::kFlgSave), 0);
    EXPECT_EQ(sums.catalogBytes, 30);
    EXPECT_EQ(sums.totalBytes, 0);
    EXPECT_EQ(sums.selectedCount, 0);

    // No Favorites folder registered: no item.
    AddFavorites("", {}, *files, list, sums);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(sums.itemCount, 1);
}

TEST_F(CatalogExtras, NewsAccountsInNameOrderOnlyWithTheirFolders) {
    EXPECT_EQ(AccountKeyName(0), "00000000");
    EXPECT_EQ(AccountKeyName(9), "00000009");
    EXPECT_EQ(AccountKeyName(10), "0000000a");
    EXPECT_EQ(AccountKeyName(15), "0000000f");
    EXPECT_EQ(AccountKeyName(16), "00000010");

    const std::string news = (root / "News").string() + "/";
    Write("News/zeta/group.nws", 100);
    Write("News/zeta/other.nws", 50);
    Write("News/zeta/sub/deep.nws", 1000);  // not directly in the folder
    Folder("News/alpha");
    std::vector<NewsAccount> accounts = {
        {"Zeta News", "zeta"}, {"Gone", "missing"}, {"alpha server", "alpha"}, {"No Folder", ""}};

    AddNewsAccounts(accounts, news, true, *files, work, mail);
    ASSERT_EQ(mail.Count(), 3);
    EXPECT_EQ(mail.Text(1), "alpha server");
    EXPECT_EQ(mail.Text(2), "Zeta News");
    EXPECT_EQ(mail.TextValue(2, names::kDisplay), "Zeta News");
    EXPECT_EQ(mail.TextValue(2, names::kMbxName), "zeta");
    EXPECT_EQ(mail.NumberValue(2, names::kType), kTypeNewsAccount);
    EXPECT_EQ(mail.NumberValue(2, names::kFileSize), 150);
    EXPECT_EQ(mail.NumberValue(1, names::kFileSize), 0);
    EXPECT_EQ(mail.TextValue(2, names::kFolderNo), "0");
    EXPECT_EQ(mail.TextValue(2, names::kParentNo), "0");
    EXPECT_EQ(mail.BackColour(2), kNewsBack);
    EXPECT_EQ(mail.ParentPosition(2), 0);
    EXPECT_EQ(work.Count(), 3);  // the root and the two listed accounts

    // Without measuring no sizes are set.
    TreeList target;
    target.AddItem("root");
    AddNewsAccounts(accounts, news, false, *files, work, target);
    ASSERT_EQ(target.Count(), 3);
    EXPECT_FALSE(target.HasValue(2, names::kFileSize));
}

}  // namespace
}  // namespace corvane::catalog

// The sample store on disk read through the Windows file access: the same
// path the backup start takes.
#include "corvane/catalog/StoreCatalog.h"
#include "corvane/catalog/Win32Catalog.h"
#include "testsupport/portable/SampleStore.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

namespace corvane::catalog {
namespace {

std::string TempStore(const char* name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + name + "\\";
    std::filesystem::remove_all(folder);
    return folder;
}

int At(const TreeList& tree, const std::string& display) {
    for (int i = 0; i < tree.Count(); ++i) {
        if (tree.TextValue(i, names::kDisplay) == display) return i;
    }
    return -1;
}

TEST(Win32Catalog, SampleStoreBuildsTheBackupTree) {
    std::string folder = TempStore("corvane-sample-store");
    ASSERT_TRUE(testing::WriteSampleStore(folder));
    Win32FileSource files;
    TreeList work, mail;
    CatalogTotals totals;
    ASSERT_TRUE(BuildV5BackupCatalog(folder, {}, files, work, mail, totals));
    EXPECT_EQ(totals.itemCount, testing::SampleStoreItemCount());
    EXPECT_EQ(mail.Text(0), "Main Identity");
    int inbox = At(mail, "Inbox");
    ASSERT_GT(inbox, 0);
    EXPECT_EQ(mail.NumberValue(inbox, names::kMbxCounts), 42);
    EXPECT_EQ(mail.NumberValue(inbox, names::kFileSize), files.FileLength(folder + "Inbox.dbx"));
    EXPECT_EQ(mail.Mark(At(mail, "Old Mail")), 2);  // its store file is missing
    EXPECT_EQ(mail.NumberValue(At(mail, "comp.lang.c++"), names::kType), kTypeNewsgroup);
    EXPECT_GT(totals.totalBytes, 0);
    std::filesystem::remove_all(folder);
}

TEST(Win32Catalog, FileAccessReportsMissingFilesAndFolders) {
    std::string folder = TempStore("corvane-file-access");
    std::filesystem::create_directories(folder);
    Win32FileSource files;
    EXPECT_FALSE(files.FileExists(folder));
    EXPECT_EQ(files.FileLength(folder), -1);
    EXPECT_EQ(files.FileLength(folder + "none.dbx"), -1);
    EXPECT_TRUE(files.ReadStart(folder + "none.dbx", 200).empty());
    TreeList work, mail;
    CatalogTotals totals;
    EXPECT_FALSE(BuildV5BackupCatalog(folder, {}, files, work, mail, totals));
    std::filesystem::remove_all(folder);
}

// The user's own grouping character, not a fixed comma: set it, read it back.
TEST(Win32Catalog, ThousandSeparatorFollowsTheUsersSetting) {
    char saved[8] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, saved, sizeof saved);
    ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, "."));
    char dot = LocaleThousandSeparator();
    ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, "'"));
    char apostrophe = LocaleThousandSeparator();
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, saved[0] ? saved : ",");
    EXPECT_EQ(dot, '.');
    EXPECT_EQ(apostrophe, '\'');
}

}  // namespace
}  // namespace corvane::catalog

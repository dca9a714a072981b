#include "corvane/zip/ZipNames.h"

#include <gtest/gtest.h>

namespace corvane::zip {
namespace {

TEST(ZipNames, StoredNameDropsDriveAndUsesSlashes) {
    EXPECT_EQ(EntryNameFromPath("c:\\CorvaneBackup.log"), "CorvaneBackup.log");
    EXPECT_EQ(EntryNameFromPath("C:\\Documents and Settings\\u\\Inbox.dbx"), "Documents and Settings/u/Inbox.dbx");
    EXPECT_EQ(EntryNameFromPath("/tmp/x/a.txt"), "tmp/x/a.txt");
    EXPECT_EQ(EntryNameFromPath("\\\\x\\y"), "x/y");
}

TEST(ZipNames, SpecificationListSplitsOnCarriageReturns) {
    auto specs = SplitSpecifications("a.dbx\rc:\\b\\*\r\r\nlast");
    ASSERT_EQ(specs.size(), 3u);
    EXPECT_EQ(specs[1], "c:\\b\\*");
    EXPECT_EQ(specs[2], "last");
}

TEST(ZipNames, EarliestComponentBoundaryThatMatchesWins) {
    std::string tail;
    const char* stored = "Documents and Settings/u/Local Settings/Outlook Express/Inbox.dbx";
    ASSERT_TRUE(MatchEntryName(stored, "inbox.DBX", &tail));
    EXPECT_EQ(tail, "Inbox.dbx");
    // "*" runs over backslashes, so a pattern starting with the first folder keeps the whole path.
    ASSERT_TRUE(MatchEntryName(stored, "Documents and Settings\\*.dbx", &tail));
    EXPECT_EQ(tail, "Documents and Settings\\u\\Local Settings\\Outlook Express\\Inbox.dbx");
    ASSERT_TRUE(MatchEntryName("News/news.example.com/sub/x.dat", "news.example.com\\*.*", &tail));
    EXPECT_EQ(tail, "news.example.com\\sub\\x.dat");
    ASSERT_TRUE(MatchEntryName("a/b.wab", "*.wab", &tail));
    EXPECT_EQ(tail, "a\\b.wab");  // "*" already matches at the first boundary
    ASSERT_TRUE(MatchEntryName("x/Fav/site.url", "Fav\\*.*", &tail));
    EXPECT_EQ(tail, "Fav\\site.url");
}

TEST(ZipNames, StarDotStarMatchesNamesWithoutADotAsWindowsDoes) {
    std::string tail;
    ASSERT_TRUE(MatchEntryName("News/acct/README", "acct\\*.*", &tail));
    EXPECT_EQ(tail, "acct\\README");
    ASSERT_TRUE(MatchEntryName("News/acct/empty/", "acct\\*.*", &tail));
    EXPECT_EQ(tail, "acct\\empty\\");
    EXPECT_TRUE(MatchEntryName("u/Favorites/Links", "Favorites\\*.*", &tail));
    EXPECT_TRUE(MatchEntryName("Fav/siteNoDot", "Fav\\site*.*", &tail));
    EXPECT_FALSE(MatchEntryName("Fav/other", "Fav\\site*.*", &tail));
    EXPECT_FALSE(MatchEntryName("a/Inbox", "*.dbx", &tail));
    EXPECT_FALSE(MatchEntryName("acct2/x", "acct\\*.*", &tail));
}

TEST(ZipNames, MatchNeedsComponentBoundary) {
    std::string tail;
    EXPECT_FALSE(MatchEntryName("dir/MyInbox.dbx", "Inbox.dbx", &tail));
    EXPECT_FALSE(MatchEntryName("dir/Inbox.dbx.bak", "Inbox.dbx", &tail));
    EXPECT_TRUE(MatchEntryName("dir/Inbox1.dbx", "Inbox?.dbx", &tail));
    EXPECT_FALSE(MatchEntryName("dir/Inbox.dbx", "", &tail));
}

TEST(ZipNames, HostileNamesAreRefused) {
    for (const char* bad : {"../evil.txt", "a/../../b", "..",       "/etc/passwd", "\\\\server\\share\\x",
                            "C:\\x",       "c:x",       "CON",      "con.txt",     "dir/NUL",
                            "aux.dbx",     "COM1",      "lpt9.log", "a:b",         "file.txt:stream",
                            "dir\\..\\x",  "trailing.", "blank ",   "a//b",        "",
                            "tab\tname",   "star*",     "./x"})
        EXPECT_TRUE(IsHostileName(bad)) << bad;
    for (const char* good : {"Inbox.dbx", "a/b/c.txt", "Documents and Settings\\u\\x.wab", "folder/", "console.txt",
                             "COM10", "..hidden", "caf\xe9.txt", "a.b.c"})
        EXPECT_FALSE(IsHostileName(good)) << good;
}

TEST(ZipNames, JoinUsesTheFileSystemSeparator) {
    EXPECT_EQ(JoinPath("C:\\out", "a/b\\c.txt", '\\'), "C:\\out\\a\\b\\c.txt");
    EXPECT_EQ(JoinPath("/tmp/out/", "a\\b", '/'), "/tmp/out/a/b");
}

}  // namespace
}  // namespace corvane::zip

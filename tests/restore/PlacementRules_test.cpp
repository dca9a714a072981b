#include "corvane/restore/portable/FileDialogRules.h"
#include "corvane/environment/portable/FileOpRules.h"
#include "corvane/restore/portable/PlacementNames.h"

#include <gtest/gtest.h>

#include <set>

namespace corvane::restore {
namespace {

using namespace std::string_literals;
using namespace corvane::shellop;

// A set of existing folders the names are tested against.
ExistsTest ExistingIn(const std::set<std::string>& taken) {
    return [taken](const std::string& path) { return taken.count(path) > 0; };
}

TEST(PlacementNamesTest, DatedFolderCountsUpOnTheSameDay) {
    std::set<std::string> taken;
    auto next = [&] { return DatedBackupFolderName("C:\\Store\\", 2001, 3, 5, ExistingIn(taken)); };
    EXPECT_EQ(next(), "C:\\Store\\backup2001-03-05");
    taken.insert(next());
    EXPECT_EQ(next(), "C:\\Store\\backup2001-03-05_001");
    taken.insert(next());
    EXPECT_EQ(next(), "C:\\Store\\backup2001-03-05_002");
    EXPECT_EQ(DatedBackupFolderName("C:\\Store", 2001, 12, 31, ExistingIn(taken)), "C:\\Store\\backup2001-12-31");
    EXPECT_EQ(DatedBackupFolderName("C:\\Store", 2001, 13, 1, ExistingIn(taken)), "");
}

TEST(PlacementNamesTest, SetAsideNamesStartAtOneAndEndAt999) {
    std::set<std::string> taken;
    EXPECT_EQ(SetAsideFolderName("C:\\OE4\\Mail\\", ExistingIn(taken)), "C:\\OE4\\Mail_001");
    taken.insert("C:\\OE4\\Mail_001");
    taken.insert("C:\\OE4\\Mail_003");
    EXPECT_EQ(SetAsideFolderName("C:\\OE4\\Mail", ExistingIn(taken)), "C:\\OE4\\Mail_002");
    EXPECT_EQ(SetAsideFolderName("C:\\OE4\\Mail", [](const std::string&) { return true; }), "");
    EXPECT_EQ(DatedBackupFolderName("C:\\S", 2001, 3, 5, [](const std::string&) { return true; }), "");
}

TEST(PlacementNamesTest, WabSafetyNameReplacesTheLastCharacter) {
    EXPECT_EQ(WabSafetyName("C:\\WAB\\Main.wab"), "C:\\WAB\\Main.wax");
    EXPECT_EQ(WabSafetyName("C:\\WAB\\book"), "C:\\WAB\\boox");
    EXPECT_EQ(WabSafetyName(""), "");
}

TEST(PlacementNamesTest, BrowseStartsInTheArchiveFolderButNeverOnDriveA) {
    auto start = BrowseStartOf("D:\\Backups\\Corvane5Backup.zip");
    EXPECT_EQ(start.InitDir, "D:\\Backups\\");
    EXPECT_EQ(start.Filename, "Corvane5Backup.zip");
    start = BrowseStartOf("a:\\Corvane5Backup.zip");
    EXPECT_EQ(start.InitDir, "c:\\");
    EXPECT_EQ(start.Filename, "");
    start = BrowseStartOf("A:\\Corvane5Backup.zip");  // only "a:\" exactly
    EXPECT_EQ(start.InitDir, "A:\\");
    start = BrowseStartOf("a:\\sub\\x.zip");
    EXPECT_EQ(start.InitDir, "a:\\sub\\");
    start = BrowseStartOf("Corvane5Backup.zip");
    EXPECT_EQ(start.InitDir, "");
    EXPECT_EQ(start.Filename, "");
    start = BrowseStartOf("C:\\Backups\\");
    EXPECT_EQ(start.InitDir, "C:\\Backups\\");
    EXPECT_EQ(start.Filename, "");
}

TEST(PlacementNamesTest, LastDiskNoteOnlyForLowerCaseDisketteDrives) {
    EXPECT_TRUE(ShowsLastDiskNote("a:\\x.zip"));
    EXPECT_TRUE(ShowsLastDiskNote("b:\\x.zip"));
    EXPECT_FALSE(ShowsLastDiskNote("B:\\x.zip"));
    EXPECT_FALSE(ShowsLastDiskNote("c:\\x.zip"));
    EXPECT_FALSE(ShowsLastDiskNote("a"));
}

TEST(FileDialogRulesTest, FlagPropertiesSetAndClearOnlyTheirBits) {
    EXPECT_EQ(FlagsForSystem(0x1801 | ofn::kShowHelp | ofn::kLongNames), 0x1801u);
    EXPECT_EQ(WithMultiSelect(0x1, 2), 0x1u | 0x200 | 0x80000);
    EXPECT_EQ(WithMultiSelect(0x1 | 0x200 | 0x80000, 1), 0x1u | 0x200);
    EXPECT_EQ(WithMultiSelect(0x1 | 0x200 | 0x80000, 0), 0x1u);
    EXPECT_EQ(WithFileReadOnly(0x800 | 0x4, 1), 0x801u);
    EXPECT_EQ(WithFileReadOnly(0x800 | 0x1, 2), 0x804u);
    EXPECT_EQ(WithFileReadOnly(0x805, 0), 0x800u);
    EXPECT_EQ(WithFileMustExist(0x1, 2), 0x1801u);
    EXPECT_EQ(WithFileMustExist(0x1801, 4), 0x3u);
    EXPECT_EQ(WithFileMustExist(0x1803, 0), 0x1u);
}

TEST(FileDialogRulesTest, FilterPairsAndTheResetMark) {
    FileDialogFilter filter;
    filter.Set("Outlook Express Backups|Corvane5Backup*.zip");
    EXPECT_EQ(filter.ForSystem(), "Outlook Express Backups\0Corvane5Backup*.zip\0\0"s);
    filter.Add("Archives", "*.zip", true);
    EXPECT_EQ(filter.Text(), "Outlook Express Backups|Corvane5Backup*.zip|Archives (*.zip)|*.zip");
    EXPECT_EQ(filter.Index(), 2);
    filter.Add("Pictures", "*.bmp;*.ico", false);
    EXPECT_EQ(filter.Text(), "Outlook Express Backups|Corvane5Backup*.zip|Archives (*.zip)|*.zip|Pictures|*.bmp;*.ico");
    EXPECT_EQ(filter.Index(), 2);
    filter.MarkUsed();  // after a dialog run, the next pair starts a new filter
    filter.Add("All Files", "*.*", true);
    EXPECT_EQ(filter.Text(), "All Files (*.*)|*.*");
    EXPECT_EQ(filter.Index(), 1);
    filter.Set("A|*.a|");
    filter.Add("B", "*.b", true);
    EXPECT_EQ(filter.Text(), "A|*.a|B (*.b)|*.b");
    EXPECT_EQ(filter.Index(), 2);
    EXPECT_EQ(FileDialogFilter().ForSystem(), "\0\0"s);
}

TEST(FileDialogRulesTest, SelectedFilesJoinTheFolderToEachName) {
    using Files = std::vector<std::string>;
    std::string single = "C:\\B\\x.zip\0\0garbage"s;
    EXPECT_EQ(SplitSelectedFiles(single, 0), Files{"C:\\B\\x.zip"});
    std::string several = "C:\\B\0x.zip\0y y.zip\0\0"s;
    EXPECT_EQ(SplitSelectedFiles(several, ofn::kAllowMultiSelect | ofn::kExplorer),
              (Files{"C:\\B\\x.zip", "C:\\B\\y y.zip"}));
    EXPECT_EQ(SplitSelectedFiles("C:\\ X.ZIP Y.ZIP\0"s, ofn::kAllowMultiSelect), (Files{"C:\\X.ZIP", "C:\\Y.ZIP"}));
    EXPECT_EQ(SplitSelectedFiles("C:\\My Files\\x.zip\0\0"s, ofn::kAllowMultiSelect | ofn::kExplorer),
              Files{"C:\\My Files\\x.zip"});
    EXPECT_TRUE(SplitSelectedFiles("\0\0"s, 0).empty());
}

TEST(FileOpRulesTest, FlagsFollowThePropertiesAndTheDestinationCount) {
    FileOpOptions options;
    EXPECT_EQ(FileOpFlags(options, 1), 0);
    EXPECT_EQ(FileOpFlags(options, 2), fof::kMultiDestFiles);
    options.CustomText = "Moving";
    EXPECT_EQ(FileOpFlags(options, 1), fof::kSimpleProgress);
    options = {true, false, false, "", false, true, true};
    EXPECT_EQ(FileOpFlags(options, 0), 0x40 | 0x200 | 0x10 | 0x80 | 0x8 | 0x4);
}

TEST(FileOpRulesTest, ListsEndInTwoNulsAndRefuseNulsInsideAPath) {
    EXPECT_EQ(DoubleNulList({"C:\\a", "C:\\b"}), "C:\\a\0C:\\b\0\0"s);
    EXPECT_EQ(DoubleNulList({}), "\0"s);
    EXPECT_EQ(DoubleNulList({"C:\\a", "C:\\b\0C:\\Windows"s}), "");
    EXPECT_EQ(DoubleNulList({"C:\\a", ""}), "");
}

}  // namespace
}  // namespace corvane::restore

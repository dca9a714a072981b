#include "corvane/backup/planning/RunContents.h"

#include "corvane/catalog/CatalogModel.h"

#include <gtest/gtest.h>

#include <set>

namespace corvane::planning {
namespace {

namespace names = catalog::names;
using catalog::TreeList;

int AddRow(TreeList& rows, int parent, int type, const std::string& caption, const std::string& file, int flag,
           int64_t size = 0, int64_t count = 0) {
    int at = rows.AddItem(caption, parent);
    rows.SetTextValue(at, names::kDisplay, caption);
    rows.SetNumberValue(at, names::kType, type);
    rows.SetTextValue(at, names::kMbxName, file);
    rows.SetNumberValue(at, names::kFlgSave, flag);
    rows.SetNumberValue(at, names::kFileSize, size);
    rows.SetNumberValue(at, names::kMbxCounts, count);
    return at;
}

// Root; Local Folders (1, no file) with Inbox (2, saved) holding Work (3, not
// saved); Archive (4, no file) with Old (5, not saved); a news server (6) with
// its group (7, saved); the address book (8) and the Favorites (9), saved.
class RunContentsTest : public ::testing::Test {
protected:
    void SetUp() override {
        rows.AddItem("Main Identity");
        int local = AddRow(rows, 0, catalog::kTypeLocalRoot, "Local Folders", "", 0);
        int inbox = AddRow(rows, local, catalog::kTypeMailFolder, "Inbox", "Inbox.dbx", 1, 5000, 12);
        AddRow(rows, inbox, catalog::kTypeMailFolder, "Work", "Work.dbx", 0, 700, 3);
        int archive = AddRow(rows, 0, catalog::kTypeFolderEmpty, "Archive", "", 0);
        AddRow(rows, archive, catalog::kTypeMailFolder, "Old", "Old.dbx", 0, 10, 1);
        int server = AddRow(rows, 0, catalog::kTypeContainer, "news.example.com", "", 0);
        AddRow(rows, server, catalog::kTypeNewsgroup, "comp.misc & more", "comp.misc.dbx", 1, 90, 4);
        AddRow(rows, 0, catalog::kTypeAddressBook, "Windows Address Book (WAB)", "C:\\WAB\\Main.wab", 1, 300);
        AddRow(rows, 0, catalog::kTypeFavorites, "IE Favorites", "C:\\Favorites", 1, 400, 5);
        sources.indexPath = "C:\\Store\\Folders.dbx";
        sources.mailFilesFolder = "C:\\Store\\";
        sources.wabPath = "C:\\WAB\\Main.wab";
        sources.favoritesFolder = "C:\\Favorites";
        sources.oe4NewsFolder = "C:\\OE4\\News\\";
    }
    TreeList rows;
    RunSources sources;
};

TEST(RunLog, StartLineInEnglishWithTwelveHourClock) {
    EXPECT_EQ(LogStartLine({2001, 1, 31, 14, 15}, "{ID}"),
              "V5 - Corvane Backup started: Wed Jan 31, 2001 @ 02:15 PM  {ID}");
    EXPECT_EQ(LogStartLine({2026, 12, 7, 0, 5}, ""), "V5 - Corvane Backup started: Mon Dec 07, 2026 @ 12:05 AM  ");
    EXPECT_EQ(LogStartLine({2000, 2, 29, 12, 0}, "x"), "V5 - Corvane Backup started: Tue Feb 29, 2000 @ 12:00 PM  x");
    EXPECT_EQ(LogStartLine({1999, 12, 31, 23, 59}, "x"), "V5 - Corvane Backup started: Fri Dec 31, 1999 @ 11:59 PM  x");
}

TEST_F(RunContentsTest, ParentsOfSavedRowsAreMarkedTwo) {
    MarkParentsOfSaved(rows);
    EXPECT_EQ(rows.NumberValue(1, names::kFlgSave), 2);  // Local Folders, above the Inbox
    EXPECT_EQ(rows.NumberValue(2, names::kFlgSave), 1);  // saved rows stay saved
    EXPECT_EQ(rows.NumberValue(3, names::kFlgSave), 0);  // nothing saved beneath
    EXPECT_EQ(rows.NumberValue(4, names::kFlgSave), 0);  // Archive holds only unsaved Old
    EXPECT_EQ(rows.NumberValue(6, names::kFlgSave), 2);  // the news server
}

TEST_F(RunContentsTest, LogAndFileListFollowTheRowsInOrder) {
    MarkParentsOfSaved(rows);
    RunContents contents = BuildRunContents(rows, sources);
    EXPECT_TRUE(contents.includeAddressBook);
    EXPECT_EQ(contents.zipFileList,
              "C:\\Store\\Folders.dbx\r"
              "C:\\Store\\Inbox.dbx\r"
              "C:\\Store\\comp.misc.dbx\r"
              "C:\\WAB\\Main.wab\r"
              "C:\\Favorites\\*");
    // Rows in list order, FlgSave 2 rows in the log only.
    std::string expected =
        "NCH\tFolders.dbx\r\n"
        "MBX\t\tLocal Folders\t1\t0\t2\t0\t1\r\n"
        "MBX\tInbox.dbx\tInbox\t2\t1\t1\t12\t2\r\n"
        "MBX\t\tnews.example.com\t6\t0\t2\t0\t3\r\n"
        "MBX\tcomp.misc.dbx\tcomp.misc & more\t7\t6\t1\t4\t4\r\n"
        "WAB\tWAB\\Main.wab\tWindows Address Book (WAB)\t8\t0\t1\t0\t10\r\n"
        "FAVS\tFavorites\tIE Favorites\t9\t0\t1\t5\t30\r\n";
    EXPECT_EQ(contents.log, expected);
}

TEST_F(RunContentsTest, WithoutMailFoldersTheIndexIsStillListed) {
    for (int i = 1; i < rows.Count(); ++i) rows.SetNumberValue(i, names::kFlgSave, 0);
    RunContents contents = BuildRunContents(rows, sources);
    EXPECT_EQ(contents.zipFileList, "C:\\Store\\Folders.dbx");
    EXPECT_EQ(contents.log, "NCH\tFolders.dbx\r\n");
    EXPECT_FALSE(contents.includeAddressBook);
}

TEST_F(RunContentsTest, Version4NewsFoldersAreTakenWhole) {
    TreeList v4;
    v4.AddItem("Outlook Express");
    AddRow(v4, 0, catalog::kTypeMailFolder, "Inbox", "Inbox.mbx", 1, 10, 2);
    AddRow(v4, 0, catalog::kTypeNewsAccount, "News Server", "nntp1", 1, 20);
    sources.isV5 = false;
    sources.indexPath = "C:\\OE4\\Mail\\Folders.nch";
    sources.mailFilesFolder = "C:\\OE4\\Mail\\";
    RunContents contents = BuildRunContents(v4, sources);
    EXPECT_EQ(contents.zipFileList, "C:\\OE4\\Mail\\Folders.nch\rC:\\OE4\\Mail\\Inbox.mbx\rC:\\OE4\\News\\nntp1\\*");
    EXPECT_EQ(contents.log.substr(0, 17), "NCH\tFolders.nch\r\n");
    EXPECT_NE(contents.log.find("NEWS\tnntp1\tNews Server\t2\t0\t1\t0\t20\r\n"), std::string::npos);
}

TEST(RunNames, KeptArchivesCountUpFromZero) {
    std::set<std::string> present;
    auto exists = [&present](const std::string& path) { return present.count(path) > 0; };
    const std::string name = "Corvane5Backup.Main Identity.2001-01-31.zip";
    EXPECT_EQ(KeptArchiveName("C:\\Backups\\", name, exists), "C:\\Backups\\" + name + "000.zip");
    present.insert("C:\\Backups\\" + name + "000.zip");
    EXPECT_EQ(KeptArchiveName("C:\\Backups", name, exists), "C:\\Backups\\" + name + "001.zip");
    for (int i = 0; i < 1000; ++i)
        present.insert("C:\\B\\a.zip" + std::string(i < 10 ? "00" : i < 100 ? "0" : "") + std::to_string(i) + ".zip");
    EXPECT_EQ(KeptArchiveName("C:\\B", "a.zip", exists), "");

    EXPECT_EQ(ArchiveFileNameOf("C:\\Backups\\" + name, "C:\\Backups"), name);
    EXPECT_EQ(ArchiveFileNameOf("C:\\Backups\\" + name, "C:\\Backups\\"), name);
    EXPECT_EQ(ArchiveFileNameOf("a:\\x.zip", "a:\\"), "x.zip");
}

TEST_F(RunContentsTest, ProgressNamesAndBytesByKindOfFile) {
    auto step = [this](const std::string& path, uint64_t size) {
        return DescribeProgress(path, size, rows, sources.favoritesFolder, sources.oe4NewsFolder);
    };
    ProgressStep log = step("C:\\CorvaneBackup.log", 999);
    EXPECT_EQ(ProgressCaption("Saving: ", log), "Saving Archive Log && Finalizing Archive");
    EXPECT_EQ(log.bytes, 0);

    ProgressStep inbox = step("C:\\Store\\INBOX.DBX", 1);
    EXPECT_EQ(inbox.name, "Inbox");
    EXPECT_EQ(inbox.bytes, 5000);  // the row's size, not the event's
    ProgressStep group = step("C:\\Store\\comp.misc.dbx", 1);
    EXPECT_EQ(ProgressCaption("Saving: ", group), "Saving: comp.misc && more");
    ProgressStep unknown = step("C:\\Store\\Stray.dbx", 77);
    EXPECT_EQ(unknown.name, "Stray");
    EXPECT_EQ(unknown.bytes, 77);

    ProgressStep book = step("C:\\WAB\\Main.wab", 1);
    EXPECT_EQ(book.name, "Address Book");
    EXPECT_EQ(book.bytes, 300);

    ProgressStep link = step("C:\\Favorites\\Links\\Weather.url", 40);
    EXPECT_EQ(ProgressCaption("Updating: ", link), "Updating: Links\\Weather.url");
    EXPECT_EQ(link.bytes, 40);

    AddRow(rows, 0, catalog::kTypeNewsAccount, "Server A", "nntp1", 1);
    ProgressStep news = step("C:\\OE4\\News\\nntp1\\group.nws", 12);
    EXPECT_EQ(news.name, "Server A");
    EXPECT_EQ(news.bytes, 12);
    EXPECT_EQ(step("C:\\OE4\\News\\other\\g.nws", 5).name, "other\\g.nws");

    ProgressStep other = step("D:\\elsewhere\\readme.txt", 10);
    EXPECT_EQ(other.name, "readme.txt");
    EXPECT_EQ(other.bytes, 0);

    EXPECT_EQ(ProgressPercent(0, 0), 0);
    EXPECT_EQ(ProgressPercent(50, 200), 25);
    EXPECT_EQ(ProgressPercent(int64_t{3} << 32, int64_t{4} << 32), 75);  // beyond 32 bits
    EXPECT_EQ(ProgressPercent(300, 200), 100);
}

}  // namespace
}  // namespace corvane::planning

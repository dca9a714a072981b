// A version-4 store backed up end to end on the real main window: the
// sample store's folders, sub-folders and news accounts go through the
// wizard into an archive that the host's unzip lists and tests.
#include "corvane/environment/SysFcns.h"
#include "tests/main/BackupDriver.h"

#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::testing;

namespace {

class BackupRunV4 : public BackupDriverTest {
protected:
    void SetUp() override {
        BackupDriverTest::SetUp();
        Version4Sample("run4");
    }
    void ToLastPage() { BackupDriverTest::ToLastPage(destination); }
};

TEST_F(BackupRunV4, ArchiveHoldsTheIndexFirstTheMailFilesTheNewsFoldersAndTheLog) {
    ToLastPage();
    EXPECT_EQ(archive, destination + "\\CorvaneBackup.2001-01-31.zip");
    Untick("Family.mbx");  // Receipts beneath stays ticked: Family is logged as its parent only
    Untick("corpnews");
    const std::string family = std::to_string(Row("Family.mbx"));
    const std::string newsRow = std::to_string(Row("news.example.com"));
    const std::string controlFile = window->Store.ControlFilePath;
    ASSERT_TRUE(RunToEnd());

    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{"Archive is complete"});
    EXPECT_FALSE(window->IsLoaded());
    std::vector<std::string> entries = ArchiveEntries(archive);
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.front(), EntryOf(mail + "\\Folders.nch"));
    std::vector<std::string> expected = {EntryOf(mail + "\\Folders.nch"), "corvanebackup.log"};
    for (const char* file :
         {"Inbox", "Outbox", "Sent Items", "Deleted Items", "Drafts", "Receipts", "Work", "Projects", "Archive 2001"})
        expected.push_back(EntryOf(mail + "\\" + file + ".mbx"));
    for (const char* file : {"comp.lang.c++.nws", "alt.test.nws", "grouplst.dat"})
        expected.push_back(EntryOf(news + "\\news.example.com\\" + file));
    std::vector<std::string> stored = entries;
    stored.erase(std::remove_if(stored.begin(), stored.end(),
                                [&](const std::string& name) {
                                    // The address book and the Favorites are not what this test is about.
                                    return name.find(".wab") != std::string::npos ||
                                           name.find("favorites/") != std::string::npos;
                                }),
                 stored.end());
    std::sort(stored.begin(), stored.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(stored, expected);
    EXPECT_TRUE(ArchiveTestsSound(archive));

    const std::string log = LogInside(archive);
    EXPECT_EQ(log.substr(0, log.find("\r\n")), "V5 - Corvane Backup started: Wed Jan 31, 2001 @ 02:15 PM  ");
    EXPECT_NE(log.find("\r\nNCH\tFolders.nch\r\n"), std::string::npos);
    EXPECT_NE(log.find("\r\nMBX\t\tMail Folders\t1\t0\t2\t0\t0\r\n"), std::string::npos);
    EXPECT_NE(log.find("\r\nMBX\tFamily.mbx\tFamily\t" + family + "\t1\t2\t35\t2\r\n"), std::string::npos);
    EXPECT_NE(log.find("\r\nNEWS\tnews.example.com\tnews.example.com\t" + newsRow + "\t0\t1\t0\t20\r\n"),
              std::string::npos);
    EXPECT_EQ(log.find("corpnews"), std::string::npos);

    EXPECT_EQ(CorvaneSetting("Parms", "LastBackup"), "20010131");
    EXPECT_EQ(CorvaneSetting("Parms", "LastSaveName"), "CorvaneBackup.2001-01-31.zip");
    const std::string control = ReadFileText(controlFile);
    EXPECT_NE(controlFile.find("brind4.ctl"), std::string::npos);
    EXPECT_NE(control.find("\x03Inbox.mbx\x03"), std::string::npos);
    EXPECT_NE(control.find("\x03"
                           "corpnews\x03"),
              std::string::npos);

    // The next start remembers what was left out.
    ToLastPage();
    EXPECT_EQ(window->tlMail.Mark(Row("Family.mbx")), 0);
    EXPECT_EQ(window->tlMail.Mark(Row("corpnews")), 0);
    EXPECT_EQ(window->tlMail.Mark(Row("Receipts.mbx")), 1);
}

}  // namespace

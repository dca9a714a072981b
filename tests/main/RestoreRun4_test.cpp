// A version-4 store backed up and restored end to end on the real main
// window: selected folders, one of them into another current folder chosen
// in the chooser, and a news account; files compared byte for byte.
#include "corvane/catalog/CatalogModel.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/main/WizardIds.h"
#include "corvane/main/frmMain.h"
#include "corvane/main/frmMain_BackupRun.h"
#include "corvane/main/frmMain_BackupStart.h"
#include "corvane/main/frmMain_Restore.h"
#include "corvane/restore/RestoreIds.h"
#include "corvane/restore/RestoreRun.h"
#include "tests/main/RestoreDriver.h"
#include "testsupport/OeTestSupport.h"
#include "tests/main/TreeViewItems.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::testing;

namespace {

class RestoreRunV4 : public RestoreDriverTest {
protected:
    void SetUp() override {
        RestoreDriverTest::SetUp();
        Version4Sample("restore4");
        MakeArchive(destination);
        for (const char* file : {"Inbox.mbx", "Family.mbx", "Drafts.mbx", "Work.mbx", "Folders.nch"})
            original[file] = ReadFileText(mail + "\\" + file);
        original["news"] = ReadFileText(news + "\\news.example.com\\grouplst.dat");
    }
    void OpenArchive(int mode) { RestoreDriverTest::OpenArchive(mode, archive); }
    void Write(const std::string& path, const std::string& text) { ASSERT_TRUE(SyntheticOE::WriteFile(path, text)); }
};

TEST_F(RestoreRunV4, SelectedFoldersAnAlternateFolderAndANewsAccountComeBackByteForByte) {
    for (const char* file : {"Inbox", "Drafts", "Work"}) {
        Write(mail + "\\" + file + ".mbx", "changed");
        Write(mail + "\\" + file + ".idx", "old index");
    }
    Write(news + "\\news.example.com\\grouplst.dat", "changed");
    Write(news + "\\news.example.com\\extra.nws", "not in the archive");

    OpenArchive(0);
    ASSERT_TRUE(loaded);
    ASSERT_TRUE(session->CurFoldersLoaded());
    Click("Inbox.mbx");
    // The archive's Family goes into the current Drafts, chosen in the list
    // of the store's current folders.
    const int family = Row("Family.mbx");
    window->tlMail.SetSelected(family);
    dialogs.Then([](HWND dialog) {
        HWND tree = TreeIn(dialog);
        HTREEITEM drafts = FindTreeItem(tree, TreeView_GetRoot(tree), "Drafts");
        ASSERT_NE(drafts, nullptr);
        TreeView_SelectItem(tree, drafts);
        ClickButton(dialog, IDC_SELFOLDER_CMD + 0);
    });
    session->tlMail_DblClick();
    EXPECT_EQ(window->tlMail.Text(family), "Family\t>>> Drafts");
    Click("news.example.com");
    EXPECT_EQ(window->tlMail.Mark(Row("news.example.com")), 1);

    window->btnNext_Click();
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{"Restore is Complete"});
    EXPECT_EQ(ReadFileText(mail + "\\Inbox.mbx"), original["Inbox.mbx"]);
    EXPECT_EQ(ReadFileText(mail + "\\Drafts.mbx"), original["Family.mbx"]);
    EXPECT_EQ(ReadFileText(mail + "\\Family.mbx"), original["Family.mbx"]);
    // The replaced folders' indexes went with them; the others stay.
    EXPECT_FALSE(FileExists(mail + "\\Inbox.idx"));
    EXPECT_FALSE(FileExists(mail + "\\Drafts.idx"));
    EXPECT_EQ(ReadFileText(mail + "\\Work.mbx"), "changed");
    EXPECT_EQ(ReadFileText(mail + "\\Work.idx"), "old index");
    EXPECT_EQ(ReadFileText(mail + "\\Folders.nch"), original["Folders.nch"]);  // not restored here
    // The news account: the archive's files, the old folder set aside whole.
    EXPECT_EQ(ReadFileText(news + "\\news.example.com\\grouplst.dat"), original["news"]);
    EXPECT_FALSE(FileExists(news + "\\news.example.com\\extra.nws"));
    EXPECT_EQ(ReadFileText(news + "\\news.example.com_001\\extra.nws"), "not in the archive");
    EXPECT_EQ(ReadFileText(news + "\\news.example.com_001\\grouplst.dat"), "changed");
}

// A full restore sets the whole mail folder aside, indexes and all, and
// restores the folder index and every mail folder of the archive.
TEST_F(RestoreRunV4, FullRestoreSetsTheMailFolderAsideAndRestoresEveryFolder) {
    for (const char* file : {"Inbox", "Family", "Drafts", "Work"}) {
        Write(mail + "\\" + file + ".mbx", "changed");
        Write(mail + "\\" + file + ".idx", "old index");
    }
    Write(mail + "\\Folders.nch", "changed");
    Write(mail + "\\Extra.mbx", "not in the archive");
    OpenArchive(2);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(window->tlMail.Mark(Row("Inbox.mbx")), 1);
    window->btnNext_Click();
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{"Restore is Complete"});
    for (const char* file : {"Inbox.mbx", "Family.mbx", "Drafts.mbx", "Work.mbx", "Folders.nch"})
        EXPECT_EQ(ReadFileText(mail + "\\" + file), original[file]) << file;
    EXPECT_FALSE(FileExists(mail + "\\Inbox.idx"));
    const std::string aside = mail + "_001";
    EXPECT_EQ(ReadFileText(aside + "\\Inbox.mbx"), "changed");
    EXPECT_EQ(ReadFileText(aside + "\\Inbox.idx"), "old index");
    EXPECT_EQ(ReadFileText(aside + "\\Folders.nch"), "changed");
    // What the archive does not hold went aside with the folder.
    EXPECT_FALSE(FileExists(mail + "\\Extra.mbx"));
    EXPECT_EQ(ReadFileText(aside + "\\Extra.mbx"), "not in the archive");
}

// A news account whose entry is damaged: the account's old folder comes back
// whole, and what had been extracted of the archive's is kept aside.
TEST_F(RestoreRunV4, ANewsAccountThatCannotBeRestoredIsPutBack) {
    Write(news + "\\news.example.com\\grouplst.dat", "changed");
    Write(news + "\\news.example.com\\extra.nws", "not in the archive");
    const std::string spoiled = destination + "\\spoiled.zip";
    Write(spoiled, WithEntryDamaged(ReadFileText(archive), "news.example.com/grouplst.dat"));
    RestoreDriverTest::OpenArchive(0, spoiled);
    ASSERT_TRUE(loaded);
    Click("news.example.com");
    window->btnNext_Click();
    ASSERT_TRUE(RunToEnd());
    ASSERT_EQ(boxes->Texts().size(), 1u) << ::testing::PrintToString(boxes->Texts());
    EXPECT_EQ(boxes->Texts()[0].rfind("News Account Restore Failed - internal error ", 0), 0u) << boxes->Texts()[0];
    EXPECT_EQ(ReadFileText(news + "\\news.example.com\\grouplst.dat"), "changed");
    EXPECT_EQ(ReadFileText(news + "\\news.example.com\\extra.nws"), "not in the archive");
    EXPECT_FALSE(FileExists(news + "\\news.example.com_001\\extra.nws"));
}

}  // namespace

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
#include "testsupport/OeTestSupport.h"
#include "tests/main/TreeViewItems.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::testing;

namespace {

class RestoreRunV4 : public OeRegistryTest {
protected:
    void SetUp() override {
        OeRegistryTest::SetUp();
        root = FreshTestFolder("restore4");
        ASSERT_TRUE(MakeSampleVersion4Installation(oe, root));
        mail = root + "\\Store\\Mail";
        news = root + "\\Store\\News";
        destination = root + "\\Backups";
        ASSERT_TRUE(SyntheticOE::MakeFolders(destination));
        SaveCorvaneSetting("", "WarnVirus", "N");
        window = std::make_unique<frmMain>(nullptr, "");
        ASSERT_TRUE(window->Create());
        AttachBackupStart(*window);
        AttachBackupRun(*window);
        window->cmdBackup_Click();
        window->Backup.SaveFolder = destination;
        for (int step = 0; step < 3; ++step) window->btnNext_Click();
        archive = window->ControlText(IDC_TXTBACKNAME);
        window->doIT_Click();
        ASSERT_EQ(boxes->Texts(), std::vector<std::string>{"Archive is complete"});
        for (const char* file : {"Inbox.mbx", "Family.mbx", "Drafts.mbx", "Work.mbx", "Folders.nch"})
            original[file] = ReadFileText(mail + "\\" + file);
        original["news"] = ReadFileText(news + "\\news.example.com\\grouplst.dat");
    }
    void OpenArchive(int mode) {
        window = std::make_unique<frmMain>(nullptr, "");
        ASSERT_TRUE(window->Create());
        session = &AttachRestore(*window);
        boxes.reset();
        boxes = std::make_unique<ScriptedMessageBoxes>();
        WizardMode = 2;
        window->Restore.RestorePath = archive;
        window->Restore.RestoreMode = static_cast<int16_t>(mode);
        window->OpenRestoreWizard();
        loaded = session->LoadArchive();
    }
    int Item(const std::string& name) const {
        return window->tlMail.Find(catalog::NamedValue::Text(name), 1, window->tlMail.Count() - 1,
                                   catalog::names::kMbxName);
    }
    void Click(const std::string& name) {
        ASSERT_GT(Item(name), 0) << name;
        window->tlMail.SetSelected(Item(name));
        session->tlMail_MarkClick();
    }
    void Write(const std::string& path, const std::string& text) { ASSERT_TRUE(SyntheticOE::WriteFile(path, text)); }

    std::string root, mail, news, destination, archive;
    std::map<std::string, std::string> original;
    std::unique_ptr<ScriptedMessageBoxes> boxes = std::make_unique<ScriptedMessageBoxes>();
    FixedClock clock{CalendarTime{2001, 1, 31, 14, 15, 0}};
    RecordingLauncher launcher;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> window;
    RestoreSession* session = nullptr;
    bool loaded = false;
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
    const int family = Item("Family.mbx");
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
    EXPECT_EQ(window->tlMail.Mark(Item("news.example.com")), 1);

    window->btnNext_Click();
    window->doIT_Click();
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

}  // namespace

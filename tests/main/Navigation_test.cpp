// Moving through the real wizard as a user would, around a run: Back, Next,
// the archive chosen again or not at all, Exit. Whatever the path, the store
// changes only where a run completed, and no "complete" box follows a failure.
#include "corvane/environment/SysFcns.h"
#include "corvane/main/WizardIds.h"
#include "corvane/main/frmMain_Restore.h"
#include "corvane/main/frmMain_RestoreStart.h"
#include "corvane/main/resource.h"
#include "corvane/restore/RestoreIds.h"
#include "tests/main/FaultSupport.h"
#include "tests/main/RestoreDriver.h"

#include <map>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::testing;

namespace {

const std::string kId = "{D4D4D4D4-0000-4000-8000-000000000020}";
const char* const kMail[] = {"Inbox.dbx",  "Outbox.dbx", "Sent Items.dbx", "Deleted Items.dbx",
                             "Drafts.dbx", "Family.dbx", "Projects.dbx",   "Work.dbx"};

class Navigation : public RestoreDriverTest {
protected:
    void SetUp() override {
        RestoreDriverTest::SetUp();
        Version5Sample("navigation", kId);
    }
    // Every file of the store, by name.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const std::string& name : FilesIn(store, "*", true)) files[name] = ReadFileText(store + "\\" + name);
        return files;
    }
    // A window on the welcome page with both wizards attached.
    void Welcome() {
        window = std::make_unique<frmMain>(nullptr, "");
        ASSERT_TRUE(window->Create());
        AttachBackupStart(*window);
        AttachBackupRun(*window);
        AttachRestoreStart(*window);
        AttachRestore(*window);
        boxes.reset();
        boxes = std::make_unique<ScriptedMessageBoxes>();
    }
    // Answers the next archive dialog: restore type `type` (1 selected, 2
    // full) is clicked, then OK, or Cancel when `ok` is false.
    void AnswerArchiveDialog(int type, bool ok) {
        dialogs.Then([type, ok](HWND dialog) {
            int id = IDC_GETLOCN_OPTTYPE + type;
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
            ClickButton(dialog, IDC_GETLOCN_CMD + (ok ? 0 : 1));
        });
    }
    bool OnWelcomePage() const { return Visible(window->picPage(0)) && !Visible(window->picPage(1)); }
    static bool Visible(HWND control) { return control && (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE); }
};

// Restore, choose the archive, Previous, choose it again: the list is read
// again in whole, and a full restore from it restores every folder.
TEST_F(Navigation, ChoosingTheArchiveAgainReadsItWholeAndAFullRestoreFromItLosesNothing) {
    MakeArchive(destination);
    std::map<std::string, std::string> archived;
    for (const char* file : kMail) archived[file] = ReadFileText(store + "\\" + file);
    for (const char* file : kMail) ASSERT_TRUE(SyntheticOE::WriteFile(store + "\\" + file, "current"));

    Welcome();
    AnswerArchiveDialog(2, true);
    window->cmdRestore_Click();
    ASSERT_EQ(window->Wizard.Mode(), WizardMode::Restore);
    const int rows = window->tlMail.Count();
    ASSERT_GT(Row("Inbox.dbx"), 0);

    AnswerArchiveDialog(2, true);
    window->btnBack_Click();  // Previous from the archive's items: choose again
    EXPECT_EQ(window->tlMail.Count(), rows);
    ASSERT_GT(Row("Inbox.dbx"), 0);
    ASSERT_GT(Row("Work.dbx"), 0);

    window->btnNext_Click();
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{"Restore is Complete"});
    for (const char* file : kMail) EXPECT_EQ(ReadFileText(store + "\\" + file), archived[file]) << file;
}

// Previous, then Cancel in the archive dialog (after switching the type in
// it): the welcome page, nothing chosen, and the run button does nothing.
TEST_F(Navigation, CancellingTheArchiveChoiceForgetsTheRestoreWhole) {
    MakeArchive(destination);
    const auto before = Snapshot();
    Welcome();
    AnswerArchiveDialog(1, true);
    window->cmdRestore_Click();
    ASSERT_GT(Row("Inbox.dbx"), 0);

    AnswerArchiveDialog(2, false);
    window->btnBack_Click();
    EXPECT_TRUE(OnWelcomePage());
    EXPECT_EQ(window->Wizard.Mode(), WizardMode::None);
    EXPECT_EQ(window->Restore.RestorePath, "");
    EXPECT_EQ(window->Restore.RestoreMode, 0);
    EXPECT_EQ(window->tlMail.Count(), 0);
    EXPECT_TRUE(IsWindowEnabled(window->Control(IDC_CMDRESTORE)));
    window->doIT_Click();
    EXPECT_FALSE(window->Runner.Running());
    EXPECT_TRUE(boxes->Texts().empty());
    EXPECT_EQ(Snapshot(), before);

    // And the restore can start again from there.
    AnswerArchiveDialog(1, true);
    window->cmdRestore_Click();
    EXPECT_GT(Row("Inbox.dbx"), 0);
}

// Back and Next over every backup page, then Exit: no archive, no log, the store as it was.
TEST_F(Navigation, EveryBackupPageLeftBackNextOrByExitChangesNothing) {
    const auto before = Snapshot();
    ToLastPage(destination);
    for (int step = kRunStep; step > kSelectionStep; --step) {
        window->btnBack_Click();
        EXPECT_EQ(window->Wizard.Step(), step - 1);
    }
    window->btnBack_Click();
    EXPECT_EQ(window->Wizard.Step(), kSelectionStep);
    for (int step = kSelectionStep; step < kRunStep; ++step) window->btnNext_Click();
    window->btnNext_Click();  // none past the last page
    EXPECT_EQ(window->Wizard.Step(), kRunStep);
    boxes->Answer(IDYES);
    window->mFunction_Click(3);
    EXPECT_FALSE(window->IsLoaded());
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{"Are you sure you wish to exit?"});
    EXPECT_TRUE(FilesIn(destination).empty());
    EXPECT_FALSE(FileExists("c:\\CorvaneBackup.log"));
    EXPECT_EQ(Snapshot(), before);
}

// A backup stopped by the close box: the window asks, waits for the run to
// stop and goes; no archive, no "complete" box, the store as it was.
TEST_F(Navigation, TheCloseBoxDuringABackupStopsItCleanly) {
    AppendNoise(store + "\\Work.dbx", 8 << 20);
    const auto before = Snapshot();
    ToLastPage(destination);
    boxes->Answer(IDYES);
    boxes->whileShown = nullptr;
    window->doIT_Click();
    ASSERT_TRUE(window->Runner.Running());
    SendMessageA(window->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(window->Runner.Running());
    EXPECT_FALSE(window->IsLoaded());
    ASSERT_FALSE(boxes->Texts().empty());
    EXPECT_EQ(boxes->Texts().front(),
              "A backup is being made. Do you want to stop it? The previous archive, if any, stays as it was.");
    for (const std::string& text : boxes->Texts()) EXPECT_NE(text, "Archive is complete");
    EXPECT_FALSE(FileExists(archive));
    EXPECT_FALSE(FileExists(archive + ".new"));
    EXPECT_TRUE(FilesIn(destination).empty());
    EXPECT_EQ(Snapshot(), before);
}

}  // namespace

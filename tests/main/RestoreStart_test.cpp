// The restore start on the real main window: the archive choice opens on the
// last archive written, its Cancel gives the welcome page back, and a chosen
// archive opens the restore page.
#include "corvane/main/WizardIds.h"
#include "corvane/main/frmMain.h"
#include "corvane/main/frmMain_RestoreStart.h"
#include "corvane/main/resource.h"
#include "corvane/restore/RestoreIds.h"
#include "tests/main/WizardWindow.h"

#include <string>

using namespace corvane;
using namespace corvane::testing;

namespace {

class RestoreStartOnTheWindow : public WizardWindowTest {
protected:
    void SetUp() override {
        WizardWindowTest::SetUp();
        Version5();
        folder = FreshTestFolder("restorestart");
        archive = folder + "\\Corvane5Backup.Main Identity.2001-01-31.zip";
        ASSERT_TRUE(SyntheticOE::WriteFile(archive, "PK"));
        window = Start();
        ASSERT_TRUE(loaded);
        AttachRestoreStart(*window);
        // The last backup went to that folder under that name.
        window->Backup.SaveFolder = folder + "\\";
        SaveCorvaneSetting(window->Store.SettingsSection, "LastSaveName",
                           "Corvane5Backup.Main Identity.2001-01-31.zip");
    }
    // Answers the archive dialog: the path it showed is kept; `type` < 0 cancels.
    void Answer(int type) {
        dialogs.Then([type](HWND dialog) {
            shownPath = ControlText(dialog, IDC_GETLOCN_TXTBACKUPLOCN);
            if (type < 0) {
                ClickButton(dialog, IDC_GETLOCN_CMD + 1);
                return;
            }
            int id = IDC_GETLOCN_OPTTYPE + type;
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
            ClickButton(dialog, IDC_GETLOCN_CMD + 0);
        });
    }
    bool StartsEnabled() const {
        return Enabled(window->Control(IDC_CMDBACKUP)) && Enabled(window->Control(IDC_CMDRESTORE)) &&
               (GetMenuState(window->SubMenu(0), 1, MF_BYPOSITION) & MF_GRAYED) == 0;
    }

    std::string folder, archive;
    std::unique_ptr<frmMain> window;
    inline static std::string shownPath;
};

TEST_F(RestoreStartOnTheWindow, CancelGivesTheWelcomePageBack) {
    Answer(-1);
    window->cmdRestore_Click();
    EXPECT_EQ(dialogs.Opened(), std::vector<int>{IDD_GETLOCN});
    EXPECT_EQ(shownPath, archive);  // the last archive written
    EXPECT_EQ(window->Wizard.Mode(), WizardMode::None);
    EXPECT_TRUE(StartsEnabled());
    EXPECT_TRUE(Visible(window->picPage(0)));
    EXPECT_FALSE(Visible(window->picPage(1)));
    EXPECT_EQ(window->Restore.RestorePath, "");
}

TEST_F(RestoreStartOnTheWindow, AChosenArchiveOpensTheRestorePage) {
    Answer(2);  // a full restore
    window->cmdRestore_Click();
    EXPECT_EQ(window->Restore.RestorePath, archive);
    EXPECT_EQ(window->Restore.RestoreMode, 2);
    EXPECT_EQ(window->Wizard.Mode(), WizardMode::Restore);
    EXPECT_TRUE(Visible(window->picPage(1)));
    EXPECT_FALSE(Visible(window->picPage(0)));
    EXPECT_EQ(window->Wizard.Step(), 4);
    EXPECT_TRUE(boxes->Shown().empty());
}

}  // namespace

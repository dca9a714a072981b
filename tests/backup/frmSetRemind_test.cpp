#include "corvane/backup/frmSetRemind.h"

#include "corvane/backup/frmSetRemindIds.h"
#include "testsupport/ScriptedSeams.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::ClickButton;
using testing::ControlText;
using testing::ScriptedDialogs;
using testing::SetCheck;
using testing::SetText;

// Picks an option as a click does: the radio pair changes, then the dialog
// hears the click. (A posted BM_CLICK does not move a radio button in a
// window that never became active.)
void ChooseOption(HWND dialog, int option) {
    SetCheck(dialog, IDC_REMIND_OPTDAYS0, option == 0);
    SetCheck(dialog, IDC_REMIND_OPTDAYS1, option == 1);
    int id = option == 0 ? IDC_REMIND_OPTDAYS0 : IDC_REMIND_OPTDAYS1;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

class WizardSetRemindTest : public ::testing::Test {
protected:
    void SetUp() override { registry.DeleteSetting("Parms", "RemindDays"); }
    void TearDown() override { registry.DeleteSetting("Parms", "RemindDays"); }

    std::string Stored() const { return registry.GetSetting("Parms", "RemindDays", "<none>"); }

    // Opens the dialog, types `typed` into the day box (unless null), picks
    // option `option` (unless -1) and presses `button`; notes what it showed.
    bool Run(const char* typed, int option, int button) {
        ScriptedDialogs dialogs;
        dialogs.Then([&](HWND dialog) {
            shownText = ControlText(dialog, IDC_REMIND_TXTDAYS);
            shownNever = IsDlgButtonChecked(dialog, IDC_REMIND_OPTDAYS1) == BST_CHECKED;
            shownBoxEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_REMIND_TXTDAYS)) != FALSE;
            if (option >= 0) ChooseOption(dialog, option);
            if (typed) SetText(dialog, IDC_REMIND_TXTDAYS, typed);
            ClickButton(dialog, button);
        });
        frmSetRemind form(registry);
        return form.Edit(nullptr);
    }

    CRegSettings registry;
    std::string shownText;
    bool shownNever = false;
    bool shownBoxEnabled = false;
};

TEST_F(WizardSetRemindTest, OpensOnTheDefaultOfTwoDays) {
    EXPECT_FALSE(Run(nullptr, -1, IDCANCEL));
    EXPECT_EQ(shownText, "2");
    EXPECT_FALSE(shownNever);
    EXPECT_TRUE(shownBoxEnabled);
    EXPECT_EQ(Stored(), "<none>");  // Cancel stores nothing
}

TEST_F(WizardSetRemindTest, TypedDaysAreClampedWhenStored) {
    const std::pair<const char*, const char*> cases[] = {
        {"0", "1"}, {"45", "31"}, {"abc", "1"}, {"14", "14"}, {"", "1"}};
    for (auto [typed, stored] : cases) {
        EXPECT_TRUE(Run(typed, -1, IDOK)) << typed;
        EXPECT_EQ(Stored(), stored) << typed;
    }
}

TEST_F(WizardSetRemindTest, NeverIsStoredAsMinusOneAndShownWithAnEmptyDisabledBox) {
    registry.SaveSetting("Parms", "RemindDays", "9");
    EXPECT_TRUE(Run(nullptr, 1, IDOK));
    EXPECT_EQ(shownText, "9");
    EXPECT_EQ(Stored(), "-1");

    EXPECT_FALSE(Run(nullptr, -1, IDCANCEL));
    EXPECT_TRUE(shownNever);
    EXPECT_EQ(shownText, "");
    EXPECT_FALSE(shownBoxEnabled);

    // Back from "never": the chosen count is stored.
    EXPECT_TRUE(Run("5", 0, IDOK));
    EXPECT_EQ(Stored(), "5");
}

}  // namespace
}  // namespace corvane

#include "corvane/backup/frmSetRemind.h"

#include "corvane/backup/frmSetRemindIds.h"
#include "corvane/backup/planning/ReminderDays.h"
#include "corvane/environment/portable/SettingNames.h"
#include "corvane/environment/portable/TextRules.h"

#include <string>

namespace corvane {
namespace {

using settings::kGeneralSection;
constexpr const char* kRemindDaysKey = settings::kRemindDays;
constexpr const char* kDefaultRemindDays = "2";

}  // namespace

frmSetRemind::frmSetRemind(CRegSettings& registry) : CModalDialog(IDD_SETREMIND), registry_(registry) {}

bool frmSetRemind::Edit(HWND owner) { return DoModal(owner) == IDOK; }

bool frmSetRemind::OnInit() {
    int days = LeadingInt(registry_.GetSetting(kGeneralSection, kRemindDaysKey, kDefaultRemindDays));
    if (days == planning::kNeverRemind) {
        SetItemText(IDC_REMIND_TXTDAYS, "");
        SetChecked(IDC_REMIND_OPTDAYS1, true);
        optDays_Click(1);
        return true;
    }
    SetItemText(IDC_REMIND_TXTDAYS, std::to_string(days));
    SetChecked(IDC_REMIND_OPTDAYS0, true);
    optDays_Click(0);
    return true;
}

bool frmSetRemind::OnButtonClicked(int id) {
    switch (id) {
    case IDC_REMIND_OPTDAYS0:
        optDays_Click(0);
        return true;
    case IDC_REMIND_OPTDAYS1:
        optDays_Click(1);
        return true;
    case IDOK:
        cmdOK_Click();
        return true;
    case IDCANCEL:
        End(IDCANCEL);
        return true;
    default:
        return false;
    }
}

// The day count can be typed only while "Remind me" is chosen.
void frmSetRemind::optDays_Click(int index) { EnableItem(IDC_REMIND_TXTDAYS, index == 0); }

void frmSetRemind::cmdOK_Click() {
    int days = planning::kNeverRemind;
    if (IsChecked(IDC_REMIND_OPTDAYS0)) days = planning::ClampRemindDays(ItemText(IDC_REMIND_TXTDAYS));
    registry_.SaveSetting(kGeneralSection, kRemindDaysKey, std::to_string(days));
    End(IDOK);
}

}  // namespace corvane

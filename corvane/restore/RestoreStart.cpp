#include "corvane/restore/RestoreStart.h"

#include "corvane/environment/SysFcns.h"
#include "corvane/environment/portable/SettingNames.h"
#include "corvane/restore/frmGetLocn.h"

namespace corvane {
namespace {
constexpr int16_t kRestoreWizard = 2;
}  // namespace

bool RestoreStart::Start() {
    int16_t previousMode = WizardMode;
    WizardMode = kRestoreWizard;
    page_.EnableStarts(false);
    std::string lastName;
    if (parts_.Registry)
        lastName = parts_.Registry->GetSetting(parts_.Store.SettingsSection, settings::kLastSaveName, "");
    parts_.Restore.RestorePath = StripTrailingBackslash(parts_.Backup.SaveFolder) + "\\" + lastName;

    frmGetLocn(parts_.Restore, parts_.Backup.BackupName, parts_.MessageTitle).Show(page_.Owner());
    if (parts_.Restore.RestorePath.empty()) {
        WizardMode = previousMode;
        page_.EnableStarts(true);
        return false;
    }
    page_.OpenRestoreWizard();
    return true;
}

}  // namespace corvane

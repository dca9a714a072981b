#include "corvane/restore/RestoreStart.h"

#include "corvane/environment/HelpFcns.h"
#include "corvane/environment/StringTable.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/environment/portable/SettingNames.h"
#include "corvane/restore/RestoreIds.h"
#include "corvane/restore/frmGetLocn.h"
#include "corvane/restore/portable/RestoreMapping.h"

namespace corvane {

bool RestoreStart::Start() {
    page_.EnableStarts(false);
    std::string lastName;
    if (parts_.Registry)
        lastName = parts_.Registry->GetSetting(parts_.Store.SettingsSection, settings::kLastSaveName, "");
    parts_.Restore.RestorePath = StripTrailingBackslash(parts_.Backup.SaveFolder) + "\\" + lastName;

    frmGetLocn(parts_.Restore, parts_.Backup.BackupName, parts_.MessageTitle).Show(page_.Owner());
    if (parts_.Restore.RestorePath.empty()) {
        page_.CancelArchiveChoice();
        return false;
    }
    CautionAboutReplacing();
    page_.OpenRestoreWizard();
    return true;
}

// A restore of selected folders replaces the current folders' messages;
// a full restore keeps the old files aside and never asks.
void RestoreStart::CautionAboutReplacing() {
    CRegSettings* registry = parts_.Registry.get();
    if (!registry || parts_.Restore.RestoreMode != restore::kSelectedRestore) return;
    const std::string& section = parts_.Store.SettingsSection;
    if (_stricmp(registry->GetSetting(section, settings::kWarnOverWrite, "Y").c_str(), "Y") != 0) return;
    bool notAgain = false;
    if (page_.AskCaution(LoadText(IDS_RESTORE_CAUTION), notAgain)) ShowHelpContext(kCautionHelp);
    registry->SaveSetting(section, settings::kWarnOverWrite, notAgain ? "N" : "Y");
}

}  // namespace corvane

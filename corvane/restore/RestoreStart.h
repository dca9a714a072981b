// The first half of a restore start: the archive and the type of restore
// chosen in frmGetLocn, starting from the last archive written; then the
// restore page. The main window is reached through IRestoreWizardPage, so
// the restore library needs no control ids of it.
#pragma once

#include "corvane/backup/BackupPlan.h"
#include "corvane/environment/CRegSettings.h"
#include "corvane/environment/StoreContext.h"
#include "corvane/restore/RestoreState.h"

#include <windows.h>

#include <memory>
#include <string>

namespace corvane {

class IRestoreWizardPage {
public:
    virtual ~IRestoreWizardPage() = default;
    virtual HWND Owner() const = 0;
    // The backup and restore entries of the function menu and the two start buttons.
    virtual void EnableStarts(bool enabled) = 0;
    virtual void OpenRestoreWizard() = 0;
    // The archive choice was cancelled: the wizard forgets the restore and
    // shows the welcome page with both starts.
    virtual void CancelArchiveChoice() = 0;
    // The caution before a restore of selected folders, with Yes, No and
    // "Do not show this again"; true for Yes.
    virtual bool AskCaution(const std::string& text, bool& notAgain) = 0;
};

struct RestoreStartParts {
    StoreContext& Store;
    BackupPlan& Backup;
    RestoreState& Restore;
    std::unique_ptr<CRegSettings>& Registry;
    const std::string& MessageTitle;
};

class RestoreStart {
public:
    RestoreStart(IRestoreWizardPage& page, RestoreStartParts parts) : page_(page), parts_(parts) {}

    // True when an archive was chosen and the restore page is open.
    bool Start();

    static constexpr int kCautionHelp = 1007;

private:
    void CautionAboutReplacing();

    IRestoreWizardPage& page_;
    RestoreStartParts parts_;
};

}  // namespace corvane

// The archive choice of a restore: which archive file, and whether to restore
// selected folders or do a full restore. The answer goes back through the
// restore's state: RestorePath empty means the user cancelled.
#pragma once

#include "corvane/environment/CModalDialog.h"
#include "corvane/restore/RestoreState.h"

#include <string>

namespace corvane {

class frmGetLocn final : public CModalDialog {
public:
    // `backupName` is the archives' base name ("Corvane5Backup"), which the
    // file dialog's filter lists; `messageTitle` titles its message boxes.
    frmGetLocn(RestoreState& restore, std::string backupName, std::string messageTitle);

    // Shows the dialog modally over `owner`, starting from the path preset in
    // RestorePath; RestorePath holds the archive once OK found it.
    void Show(HWND owner);

    static constexpr int kHelpContext = 1002;
    static constexpr int kIcon = 91;

private:
    bool OnInit() override;  // Form_Load
    bool OnButtonClicked(int id) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;
    void optType_Click(int index);
    void cmd_Click(int index);
    void cmdBrwse_Click();

    RestoreState& restore_;
    std::string backupName_;
    std::string messageTitle_;
    HICON icon_ = nullptr;
};

}  // namespace corvane

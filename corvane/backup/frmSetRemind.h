// The reminder interval dialog: how many days after the last backup the
// reminder program speaks up, or never. The interval lives in the general
// "Parms" section, whatever the store, because the reminder program reads it.
#pragma once

#include "corvane/environment/CModalDialog.h"
#include "corvane/environment/CRegSettings.h"

namespace corvane {

class frmSetRemind final : public CModalDialog {
public:
    explicit frmSetRemind(CRegSettings& registry);

    // Shows the dialog modally over `owner`; true when OK stored a value.
    bool Edit(HWND owner);

private:
    bool OnInit() override;
    bool OnButtonClicked(int id) override;
    void optDays_Click(int index);
    void cmdOK_Click();

    CRegSettings& registry_;
};

}  // namespace corvane

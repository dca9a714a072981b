// The reminder window: how many days it has been since the last backup, a box
// to stop asking, and a button that starts a quick backup at once. The
// program is this window; it ends when the window closes, or at the load when
// no reminder is due.
#pragma once

#include "corvane/environment/CRegSettings.h"
#include "corvane/environment/Dialog.h"

#include <optional>
#include <string>

namespace corvane::nudgeon {

class frmCheck final : public CDialogBase {
public:
    frmCheck();
    ~frmCheck() override;

    // Reads the interval and the last backup (from the settings, else from
    // the old reminder file, else the settings with an interval of 2 days)
    // and, when the reminder is due, makes the window,
    // still hidden, with its text. False when the program is to end: nothing
    // due, or an input it cannot use.
    bool Form_Load();
    // Shows the window on top of all others without taking the focus.
    void Show();
    bool IsLoaded() const { return Handle() != nullptr; }

    // cmd(0) "&Backup Now" starts corvane.exe with "\FX"; both close the window.
    void cmd_Click(int index);

private:
    struct Reminder {
        int days = 0;
        std::string lastBackup;
    };

    bool OnInit() override;
    bool OnButtonClicked(int id) override;
    void OnFailure() override;

    std::optional<Reminder> ReadReminder();
    std::optional<Reminder> ReadLegacyReminder();
    bool FieldLibraryUsable();
    std::optional<std::string> ReminderText(int days);
    // Stores "never" when the box is ticked, then closes the window.
    void Form_Unload();

    CRegSettings registry_;
    std::string messageTitle_;
};

}  // namespace corvane::nudgeon

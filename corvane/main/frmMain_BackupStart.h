// The start of the backup wizard: the anti-virus caution, the store's
// catalog in tlMail with its tree view on the wizard page, and the
// selection page with its counts.
#pragma once

namespace corvane {

class frmMain;

// Puts the backup start on the window's StartBackupWizard hook and the
// backup side of its select buttons on SelectAllItems. The state of the
// selection (totals, view) lives with the hooks, so as long as the window.
void AttachBackupStart(frmMain& window);

}  // namespace corvane

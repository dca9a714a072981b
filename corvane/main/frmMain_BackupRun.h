// The backup run behind the wizard's last page.
#pragma once

namespace corvane {

class frmMain;

// Puts the backup run on the window's StartBackupRun and AbortBackupRun
// hooks; the run lives with the hooks, so as long as the window.
void AttachBackupRun(frmMain& window);

}  // namespace corvane

// The quick backup: the confirmation at start-up, the check that the last
// backup's folders are all still there, and the run in its own small window.
#pragma once

namespace corvane {

class frmMain;

// Puts the quick backup on the window's ConfirmQuickBackup,
// PrepareQuickBackup and RunQuickBackup hooks (before the window is created).
void AttachQuickBackup(frmMain& window);

}  // namespace corvane

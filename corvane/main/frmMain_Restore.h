// The restore page and run on the main window: the archive's items after the
// archive choice, their marking, Select/Clear All and "Restore Now".
#pragma once

namespace corvane {

class frmMain;
class RestoreSession;

// Puts the restore on the window's hooks (after AttachRestoreStart). The
// session is returned for tests; it lives as long as the window's hooks.
RestoreSession& AttachRestore(frmMain& window);

}  // namespace corvane

// The start of the restore wizard: the archive choice, then the restore page.
#pragma once

namespace corvane {

class frmMain;

// Puts the restore start on the window's StartRestoreWizard hook.
void AttachRestoreStart(frmMain& window);

}  // namespace corvane

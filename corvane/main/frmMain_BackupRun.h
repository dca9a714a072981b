// The backup run behind the wizard's last page and the quick backup: the
// operation's input taken from the window's state, the run under the
// window's runner, and what a finished run records.
#pragma once

#include "corvane/operations/BackupOperation.h"

#include <string>

namespace corvane {

class frmMain;

// Puts the backup run on the window's StartBackupRun hook.
void AttachBackupRun(frmMain& window);

// The run's input from the window's state, the archive going to `archivePath`.
ops::BackupInput BackupInputOf(frmMain& window, const std::string& archivePath);
// The run's choices become the next run's defaults; only a complete archive
// counts as the last backup. Then the control file is written again. A run
// that failed before its archive was begun records nothing.
void RecordBackupRun(frmMain& window, const ops::BackupOutcome& outcome);

}  // namespace corvane

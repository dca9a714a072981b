// corvane.exe: the main window and its message loop.
#include "corvane/environment/MessagePump.h"
#include "corvane/main/frmMain.h"
#include "corvane/main/frmMain_BackupRun.h"
#include "corvane/main/frmMain_BackupStart.h"
#include "corvane/main/frmMain_QuickBackup.h"
#include "corvane/main/frmMain_Restore.h"
#include "corvane/main/frmMain_RestoreStart.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    corvane::frmMain window(instance, commandLine ? commandLine : "");
    window.SetQuitOnDestroy(true);
    corvane::AttachBackupStart(window);
    corvane::AttachBackupRun(window);
    corvane::AttachQuickBackup(window);
    corvane::AttachRestoreStart(window);
    corvane::AttachRestore(window);
    if (window.Create()) window.Show(showCommand);
    MSG message;
    while (window.IsLoaded() && GetMessageA(&message, nullptr, 0, 0) > 0) corvane::DeliverMessage(message);
    return 0;
}

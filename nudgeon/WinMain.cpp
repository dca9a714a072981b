// nudgeon.exe: the backup reminder. It takes no command line; the reminder
// window's load decides whether there is anything to show.
#include "corvane/environment/MessagePump.h"
#include "nudgeon/frmCheck.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    corvane::nudgeon::frmCheck window;
    if (!window.Form_Load()) return 0;
    window.Show();
    MSG message;
    while (window.IsLoaded() && GetMessageA(&message, nullptr, 0, 0) > 0) corvane::DeliverMessage(message);
    return 0;
}

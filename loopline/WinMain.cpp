// loopline.exe: the news window and its message loop.
#include "corvane/environment/MessagePump.h"
#include "corvane/environment/SysFcns.h"
#include "loopline/TForm1.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    corvane::loopline::TForm1 form(instance, commandLine ? commandLine : "", corvane::AppFolder());
    form.SetQuitOnDestroy(true);
    if (!form.Create()) return 0;
    MSG message;
    while (form.IsLoaded() && GetMessageA(&message, nullptr, 0, 0) > 0) corvane::DeliverMessage(message);
    return 0;
}

// The one window procedure of the programs' own window classes and of the
// controls they subclass. A class of ours derives from CWindowBase and
// overrides OnMessage; one object may handle several windows (it is told
// which). Every message passes an exception barrier: nothing thrown in a
// handler reaches the system's code.
#pragma once

#include <windows.h>

namespace corvane {

class CWindowBase {
public:
    CWindowBase() = default;
    virtual ~CWindowBase() = default;
    CWindowBase(const CWindowBase&) = delete;
    CWindowBase& operator=(const CWindowBase&) = delete;

    // Makes a window of a class whose procedure is WindowProc: its messages
    // come to this object from the very first one.
    HWND CreateHandled(DWORD exStyle, const char* className, const char* title, DWORD style, const RECT& at,
                       HWND parent, HMENU menuOrId, HINSTANCE instance);
    // Sends an existing window's messages (a common control's) here first; the
    // control's own procedure still gets what CallDefault passes on.
    bool Subclass(HWND window);
    // The window's messages no longer come to any object.
    static void Release(HWND window);

    // The procedure to register for window classes of ours.
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // One message of one of the windows this object handles. The default
    // passes it on to CallDefault.
    virtual LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // What the window would do without us: a subclassed control's own
    // procedure, else DefWindowProc.
    static LRESULT CallDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace corvane

// The dots per inch a window is drawn at: its monitor's where the system
// tells it (Windows 10), else the screen's (XP and later), 96 when unknown.
#pragma once

#include <windows.h>

namespace corvane {

int WindowDpi(HWND window);
// A length given at 96 dots per inch, at the window's scale.
int ScaledForWindow(HWND window, int pixelsAt96);

}  // namespace corvane

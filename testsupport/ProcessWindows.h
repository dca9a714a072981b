// The windows of another process, as a test that started it looks for them.
#pragma once

#include <windows.h>

namespace corvane::testing {

// A visible top-level window of class `className` ("#32770" for a dialog)
// belonging to `process`; nullptr when there is none yet.
HWND VisibleWindowOf(DWORD process, const char* className);

}  // namespace corvane::testing

#include "testsupport/ProcessWindows.h"

namespace corvane::testing {
namespace {

struct WindowSearch {
    DWORD process;
    const char* className;
    HWND found;
};

BOOL CALLBACK TakeMatching(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (owner != search->process || lstrcmpA(name, search->className) != 0 || !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND VisibleWindowOf(DWORD process, const char* className) {
    WindowSearch search{process, className, nullptr};
    EnumWindows(TakeMatching, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace corvane::testing

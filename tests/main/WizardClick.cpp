// wizard_click: works the running program's main window from a script, for
// pictures of each step: "wizard_click 1500" clicks the control of that id,
// "wizard_click 3040 C:\" sets its text, "wizard_click ok" answers the open
// message box. Exit code 0 when it found what it was to work.
#include <windows.h>

#include <cstdlib>

namespace {

struct Search {
    int id;
    HWND found;
};

BOOL CALLBACK MatchId(HWND child, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    if (GetDlgCtrlID(child) != search->id || !IsWindowVisible(child)) return TRUE;
    search->found = child;
    return FALSE;
}

BOOL CALLBACK FindMain(HWND window, LPARAM context) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "CorvaneMainWindow") != 0) return TRUE;
    *reinterpret_cast<HWND*>(context) = window;
    return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    if (lstrcmpA(argv[1], "ok") == 0) {
        HWND box = FindWindowA("#32770", nullptr);
        if (!box) return 3;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return 0;
    }
    HWND main = nullptr;
    EnumWindows(FindMain, reinterpret_cast<LPARAM>(&main));
    if (!main) return 3;
    Search search{std::atoi(argv[1]), nullptr};
    EnumChildWindows(main, MatchId, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return 4;
    if (argc >= 3) {
        SendMessageA(search.found, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2]));
        return 0;
    }
    PostMessageA(search.found, BM_CLICK, 0, 0);
    return 0;
}

// wizard_click: works the running program's main window from a script, for
// pictures of each step: "wizard_click 1500" clicks the control of that id,
// "wizard_click 3040 C:\" sets its text, "wizard_click ok" answers the open
// message box, "wizard_click expand 1100" unfolds every item of the tree view
// inside the control of that id, "wizard_click select 3002 4" selects the
// fourth visible item of that tree view, "wizard_click space 3002" presses
// Space in it and "wizard_click dblclick 3002" double-clicks it. Put first,
// "dialog" works the open dialog box instead of the main window. Exit code 0
// when it found what it was to work.
#include <windows.h>
#include <commctrl.h>

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

// Item handles are values to the owning process, so they pass between processes as they are.
void ExpandAll(HWND tree, HTREEITEM item) {
    for (; item != nullptr; item = TreeView_GetNextSibling(tree, item)) {
        TreeView_Expand(tree, item, TVE_EXPAND);
        ExpandAll(tree, TreeView_GetChild(tree, item));
    }
}

HWND TreeInside(HWND control) {
    HWND tree = FindWindowExA(control, nullptr, WC_TREEVIEWA, nullptr);
    return tree ? tree : control;
}

}  // namespace

int main(int argc, char** argv) {
    HWND main = nullptr;
    if (argc >= 2 && lstrcmpA(argv[1], "dialog") == 0) {
        main = FindWindowA("#32770", nullptr);
        if (!main) return 3;
        --argc;
        ++argv;
    }
    if (argc < 2) return 2;
    if (lstrcmpA(argv[1], "ok") == 0) {
        HWND box = FindWindowA("#32770", nullptr);
        if (!box) return 3;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return 0;
    }
    const char* verb = argv[1];
    bool onTree = lstrcmpA(verb, "expand") == 0 || lstrcmpA(verb, "select") == 0 || lstrcmpA(verb, "space") == 0 ||
                  lstrcmpA(verb, "dblclick") == 0;
    if (onTree && argc < 3) return 2;
    if (!main) EnumWindows(FindMain, reinterpret_cast<LPARAM>(&main));
    if (!main) return 3;
    Search search{std::atoi(argv[onTree ? 2 : 1]), nullptr};
    EnumChildWindows(main, MatchId, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return 4;
    if (onTree) {
        HWND tree = TreeInside(search.found);
        if (lstrcmpA(verb, "expand") == 0) {
            ExpandAll(tree, TreeView_GetRoot(tree));
        } else if (lstrcmpA(verb, "select") == 0) {
            if (argc < 4) return 2;
            HTREEITEM item = TreeView_GetRoot(tree);
            for (int n = std::atoi(argv[3]); item != nullptr && n > 0; --n) item = TreeView_GetNextVisible(tree, item);
            if (!item) return 4;
            TreeView_SelectItem(tree, item);
        } else if (lstrcmpA(verb, "space") == 0) {
            PostMessageA(tree, WM_KEYDOWN, VK_SPACE, 0);
        } else {
            PostMessageA(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 1));
        }
        return 0;
    }
    if (argc >= 3) {
        SendMessageA(search.found, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2]));
        return 0;
    }
    PostMessageA(search.found, BM_CLICK, 0, 0);
    return 0;
}

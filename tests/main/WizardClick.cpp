// wizard_click: works the running program's main window from a script, for
// pictures of each step: "wizard_click 1500" clicks the control of that id,
// "wizard_click 3040 C:\" sets its text, "wizard_click ok" answers the open
// message box, "wizard_click expand 1100" unfolds every item of the tree view
// inside the control of that id. Exit code 0 when it found what it was to work.
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

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    if (lstrcmpA(argv[1], "ok") == 0) {
        HWND box = FindWindowA("#32770", nullptr);
        if (!box) return 3;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return 0;
    }
    bool expand = lstrcmpA(argv[1], "expand") == 0;
    if (expand && argc < 3) return 2;
    HWND main = nullptr;
    EnumWindows(FindMain, reinterpret_cast<LPARAM>(&main));
    if (!main) return 3;
    Search search{std::atoi(argv[expand ? 2 : 1]), nullptr};
    EnumChildWindows(main, MatchId, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return 4;
    if (expand) {
        HWND tree = FindWindowExA(search.found, nullptr, WC_TREEVIEWA, nullptr);
        if (!tree) tree = search.found;
        ExpandAll(tree, TreeView_GetRoot(tree));
        return 0;
    }
    if (argc >= 3) {
        SendMessageA(search.found, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2]));
        return 0;
    }
    PostMessageA(search.found, BM_CLICK, 0, 0);
    return 0;
}

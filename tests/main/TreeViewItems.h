// The TreeView inside a dialog and its items by text, for tests that work
// the restore's chooser of current folders as a user would.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace corvane::testing {

inline BOOL CALLBACK TakeTreeView(HWND child, LPARAM out) {
    char name[64] = {};
    GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, WC_TREEVIEWA) != 0) return TRUE;
    *reinterpret_cast<HWND*>(out) = child;
    return FALSE;
}

inline HWND TreeIn(HWND dialog) {
    HWND found = nullptr;
    EnumChildWindows(dialog, TakeTreeView, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The first item at or below `item` (and its later siblings) whose text begins with `name`.
inline HTREEITEM FindTreeItem(HWND tree, HTREEITEM item, const std::string& name) {
    for (; item != nullptr; item = TreeView_GetNextSibling(tree, item)) {
        char text[260] = {};
        TVITEMA info{};
        info.mask = TVIF_TEXT;
        info.hItem = item;
        info.pszText = text;
        info.cchTextMax = sizeof text;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
        if (std::string(text).rfind(name, 0) == 0) return item;
        if (HTREEITEM below = FindTreeItem(tree, TreeView_GetChild(tree, item), name)) return below;
    }
    return nullptr;
}

}  // namespace corvane::testing

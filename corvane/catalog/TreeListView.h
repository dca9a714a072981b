// The Win32 view of a TreeList: a common TreeView inside a small host window
// of its own, so it handles its notifications itself. Pictures (the tick
// images, index = mark) are the item icons: one box per row. Back and text
// colours come through custom draw, and a TAB in an item text starts a second
// column drawn at a fixed x (further left where the tree is too narrow for it).
//
// Events (std::function, set what you need):
//   pictureClick()              left click on an item's picture, or Space;
//                               the item is selected first (model and view)
//   mouseDown(button, shift, x, y)  right button; x, y in twips of the view
//   dblClick()                  double click
// After changing the model call Refresh() (structure) or RefreshItems()
// (marks, pictures, texts, colours, the selected item).
#pragma once

#include "corvane/catalog/TreeList.h"
#include "corvane/environment/Window.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <vector>

namespace corvane::catalog {

class TreeListView final : public CWindowBase {
public:
    struct Events {
        std::function<void()> pictureClick;
        std::function<void(int button, int shift, int xTwips, int yTwips)> mouseDown;
        std::function<void()> dblClick;
    };

    TreeListView() = default;
    ~TreeListView() override;
    TreeListView(const TreeListView&) = delete;
    TreeListView& operator=(const TreeListView&) = delete;

    // Creates the host and the TreeView as a child of `parent`; false on failure.
    bool Create(HWND parent, int controlId, const RECT& rect, TreeList& model);
    HWND Host() const { return host_; }
    HWND Tree() const { return tree_; }
    Events& On() { return events_; }

    void SetTabColumn(int pixels) { tabColumn_ = pixels; }
    void Refresh();       // rebuilds every item from the model
    void RefreshItems();  // updates the items in place
    void Move(const RECT& rect);
    void Show(bool visible);

    // Item under a point of the view's client area, kNotFound when none.
    int HitTest(int x, int y) const;
    int HitTestTwips(int xTwips, int yTwips) const;
    int TwipsPerPixelX() const;
    int TwipsPerPixelY() const;

    // Custom draw of one item (public so a test can drive it directly).
    LRESULT OnCustomDraw(NMTVCUSTOMDRAW& draw);
    // Where the second column of an item is drawn with the font selected
    // into `dc` (empty for an item without one).
    RECT SecondColumnPlace(int position, HDC dc) const;

private:
    // The host's and the subclassed TreeView's messages.
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnTreeMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnNotify(NMHDR& header);
    bool OnTreeMouse(UINT message, WPARAM wParam, LPARAM lParam);
    void UpdateItem(int position);
    void ShowModelSelection();
    void SelectPosition(int position);
    int PositionOf(HTREEITEM item) const;
    void DrawSecondColumn(NMTVCUSTOMDRAW& draw);

    TreeList* model_ = nullptr;
    HWND host_ = nullptr;
    HWND tree_ = nullptr;
    HIMAGELIST pictures_ = nullptr;
    int tabColumn_ = 220;
    std::vector<HTREEITEM> handles_;
    Events events_;
};

}  // namespace corvane::catalog

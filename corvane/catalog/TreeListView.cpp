#include "corvane/catalog/TreeListView.h"

#include "corvane/catalog/TreeListImages.h"
#include "corvane/environment/Dpi.h"

#include <algorithm>
#include <string>

namespace corvane::catalog {

namespace {

constexpr const char* kHostClass = "CorvaneTreeListHost";
constexpr int kBlankPicture = 3;

bool RegisterHostClass() {
    WNDCLASSA existing;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (GetClassInfoA(instance, kHostClass, &existing)) return true;
    WNDCLASSA wc{};
    wc.lpfnWndProc = CWindowBase::WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kHostClass;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    return RegisterClassA(&wc) != 0;
}

std::string FirstColumn(const std::string& text) { return text.substr(0, text.find('\t')); }

int ShiftState() {
    int shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= 1;
    if (GetKeyState(VK_CONTROL) < 0) shift |= 2;
    if (GetKeyState(VK_MENU) < 0) shift |= 4;
    return shift;
}

}  // namespace

TreeListView::~TreeListView() {
    if (host_ != nullptr) DestroyWindow(host_);
    if (pictures_ != nullptr) ImageList_Destroy(pictures_);
}

bool TreeListView::Create(HWND parent, int controlId, const RECT& rect, TreeList& model) {
    model_ = &model;
    INITCOMMONCONTROLSEX init{sizeof init, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&init);
    if (!RegisterHostClass()) return false;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    host_ = CreateHandled(0, kHostClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance);
    if (host_ == nullptr) return false;
    tree_ = CreateWindowExA(
        WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 0, 0,
        rect.right - rect.left, rect.bottom - rect.top, host_, nullptr, instance, nullptr);
    if (tree_ == nullptr) return false;
    Subclass(tree_);
    pictures_ = CreateTickImages();
    TreeView_SetImageList(tree_, pictures_, TVSIL_NORMAL);
    return true;
}

void TreeListView::Move(const RECT& rect) {
    MoveWindow(host_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    MoveWindow(tree_, 0, 0, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

void TreeListView::Show(bool visible) { ShowWindow(host_, visible ? SW_SHOW : SW_HIDE); }

// --- filling ----------------------------------------------------------------

void TreeListView::Refresh() {
    if (tree_ == nullptr || model_ == nullptr) return;
    SendMessageA(tree_, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(tree_);
    handles_.assign(model_->Count(), nullptr);
    for (int p = 0; p < model_->Count(); ++p) {
        int parent = model_->ParentPosition(p);
        std::string text = FirstColumn(model_->Text(p));
        TVINSERTSTRUCTA insert{};
        insert.hParent = parent >= 0 ? handles_[parent] : TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = text.data();
        insert.item.lParam = p;
        handles_[p] =
            reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    RefreshItems();
    for (int p = 0; p < model_->Count(); ++p) {
        if (model_->IsOpen(p) && model_->HasChildren(p)) TreeView_Expand(tree_, handles_[p], TVE_EXPAND);
    }
    ShowModelSelection();
    SendMessageA(tree_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree_, nullptr, TRUE);
}

void TreeListView::UpdateItem(int p) {
    if (p < 0 || p >= static_cast<int>(handles_.size()) || handles_[p] == nullptr) return;
    std::string text = FirstColumn(model_->Text(p));
    int picture = model_->Picture(p);
    TVITEMA item{};
    item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = handles_[p];
    item.pszText = text.data();
    item.iImage = item.iSelectedImage = (picture >= 0 && picture < kImageCount) ? picture : kBlankPicture;
    SendMessageA(tree_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void TreeListView::RefreshItems() {
    if (tree_ == nullptr || model_ == nullptr) return;
    if (static_cast<int>(handles_.size()) != model_->Count()) {
        Refresh();  // the structure changed since the last fill
        return;
    }
    for (int p = 0; p < model_->Count(); ++p) UpdateItem(p);
    ShowModelSelection();
    InvalidateRect(tree_, nullptr, TRUE);
}

// The highlighted item is the model's selected one, so what the user sees
// selected is what Space and the handlers act on.
void TreeListView::ShowModelSelection() {
    int selected = model_->Selected();
    if (selected <= 0 || selected >= static_cast<int>(handles_.size())) return;
    if (TreeView_GetSelection(tree_) != handles_[selected]) TreeView_SelectItem(tree_, handles_[selected]);
}

int TreeListView::PositionOf(HTREEITEM handle) const {
    if (handle == nullptr) return kNotFound;
    TVITEMA item{};
    item.mask = TVIF_PARAM;
    item.hItem = handle;
    if (!SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return kNotFound;
    return static_cast<int>(item.lParam);
}

void TreeListView::SelectPosition(int position) {
    if (position < 0 || position >= static_cast<int>(handles_.size())) return;
    TreeView_SelectItem(tree_, handles_[position]);
    model_->SetSelected(position);
}

// --- hit tests ----------------------------------------------------------------

int TreeListView::HitTest(int x, int y) const {
    TVHITTESTINFO hit{};
    hit.pt = {x, y};
    HTREEITEM item = TreeView_HitTest(tree_, &hit);
    if (item == nullptr || (hit.flags & TVHT_ONITEM) == 0) return kNotFound;
    return PositionOf(item);
}

// Twips (1/1440 inch) per pixel at the view's own scale.
int TreeListView::TwipsPerPixelX() const { return 1440 / WindowDpi(tree_); }

int TreeListView::TwipsPerPixelY() const { return 1440 / WindowDpi(tree_); }

int TreeListView::HitTestTwips(int xTwips, int yTwips) const {
    return HitTest(xTwips / TwipsPerPixelX(), yTwips / TwipsPerPixelY());
}

// --- input ----------------------------------------------------------------

// Clicks are taken from the TreeView's own mouse messages, where the point
// is exact, before its default handling; true when the click was ours.
bool TreeListView::OnTreeMouse(UINT message, WPARAM, LPARAM lParam) {
    TVHITTESTINFO hit{};
    hit.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    HTREEITEM handle = TreeView_HitTest(tree_, &hit);
    int position = PositionOf(handle);
    if (message == WM_RBUTTONDOWN) {
        if (events_.mouseDown) {
            events_.mouseDown(2, ShiftState(), hit.pt.x * TwipsPerPixelX(), hit.pt.y * TwipsPerPixelY());
        }
        return true;
    }
    if (message == WM_LBUTTONDBLCLK) {
        if (events_.dblClick) events_.dblClick();
        return false;  // the TreeView still opens or closes the item
    }
    if (position < 0) return false;
    if ((hit.flags & TVHT_ONITEMICON) != 0) {
        SelectPosition(position);
        if (events_.pictureClick) events_.pictureClick();
        return true;
    }
    return false;
}

LRESULT TreeListView::OnTreeMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (OnTreeMouse(message, wParam, lParam)) return 0;
        break;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && model_->Selected() > 0) {
            if (events_.pictureClick) events_.pictureClick();
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == ' ') return 0;  // no incremental search on Space
        break;
    default:
        break;
    }
    return CallDefault(tree_, message, wParam, lParam);
}

// --- notifications ----------------------------------------------------------

LRESULT TreeListView::OnNotify(NMHDR& header) {
    if (header.hwndFrom != tree_) return 0;
    switch (header.code) {
    case NM_CUSTOMDRAW:
        return OnCustomDraw(reinterpret_cast<NMTVCUSTOMDRAW&>(header));
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW: {
        auto& change = reinterpret_cast<NMTREEVIEWA&>(header);
        if (change.itemNew.hItem != nullptr) model_->SetSelected(static_cast<int>(change.itemNew.lParam));
        return 0;
    }
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW: {
        auto& change = reinterpret_cast<NMTREEVIEWA&>(header);
        int position = PositionOf(change.itemNew.hItem);
        if (position >= 0) model_->SetOpen(position, (change.itemNew.state & TVIS_EXPANDED) != 0);
        return 0;
    }
    default:
        return 0;
    }
}

LRESULT TreeListView::OnCustomDraw(NMTVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        int position = static_cast<int>(draw.nmcd.lItemlParam);
        bool selected = (draw.nmcd.uItemState & CDIS_SELECTED) != 0;
        if (!selected) {
            if (Colour fore = model_->TextColour(position); fore != kDefaultColour) draw.clrText = fore;
            if (Colour back = model_->BackColour(position); back != kDefaultColour) draw.clrTextBk = back;
        }
        bool tabbed = model_->Text(position).find('\t') != std::string::npos;
        return CDRF_NEWFONT | (tabbed ? CDRF_NOTIFYPOSTPAINT : 0);
    }
    case CDDS_ITEMPOSTPAINT:
        DrawSecondColumn(draw);
        return CDRF_DODEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

RECT TreeListView::SecondColumnPlace(int position, HDC dc) const {
    RECT place{};
    std::string text = model_->Text(position);
    size_t tab = text.find('\t');
    HTREEITEM item = position >= 0 && position < static_cast<int>(handles_.size()) ? handles_[position] : nullptr;
    RECT textRect{}, client{};
    if (tab == std::string::npos || item == nullptr || !TreeView_GetItemRect(tree_, item, &textRect, TRUE) ||
        !GetClientRect(tree_, &client))
        return place;
    SIZE extent{};
    std::string second = text.substr(tab + 1);
    GetTextExtentPoint32A(dc, second.c_str(), static_cast<int>(second.size()), &extent);
    // The column lines up for every item at its x; where the tree is too
    // narrow for the text there, it moves left, never over the first column.
    constexpr LONG kGap = 8;
    LONG left = std::min<LONG>(tabColumn_, client.right - extent.cx - kGap / 2);
    left = std::max<LONG>(left, textRect.right + kGap);
    return RECT{left, textRect.top, client.right, textRect.bottom};
}

void TreeListView::DrawSecondColumn(NMTVCUSTOMDRAW& draw) {
    int position = static_cast<int>(draw.nmcd.lItemlParam);
    std::string text = model_->Text(position);
    size_t tab = text.find('\t');
    if (tab == std::string::npos) return;
    std::string second = text.substr(tab + 1);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(tree_, WM_GETFONT, 0, 0));
    if (font == nullptr) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HGDIOBJ oldFont = SelectObject(draw.nmcd.hdc, font);
    RECT column = SecondColumnPlace(position, draw.nmcd.hdc);
    if (column.right > column.left) {
        SetBkMode(draw.nmcd.hdc, TRANSPARENT);
        Colour fore = model_->TextColour(position);
        SetTextColor(draw.nmcd.hdc, fore != kDefaultColour ? fore : GetSysColor(COLOR_WINDOWTEXT));
        DrawTextA(draw.nmcd.hdc, second.c_str(), static_cast<int>(second.size()), &column,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    SelectObject(draw.nmcd.hdc, oldFont);
}

LRESULT TreeListView::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == tree_ && tree_ != nullptr) return OnTreeMessage(message, wParam, lParam);
    if (message == WM_NOTIFY) return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
    if (message == WM_NCDESTROY) {
        host_ = nullptr;
        tree_ = nullptr;
    }
    return CallDefault(window, message, wParam, lParam);
}

}  // namespace corvane::catalog

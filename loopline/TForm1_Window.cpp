// TForm1's window: its controls, the layout with the splitter, the messages,
// the text pane and the hourglass.
#include "loopline/TForm1.h"

#include "corvane/environment/Dialog.h"
#include "corvane/environment/Dpi.h"
#include "corvane/environment/SysFcns.h"
#include "loopline/portable/StartRules.h"
#include "loopline/resource.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace corvane::loopline {
namespace {

const char* const kFormClass = "LooplineForm";
const char* const kSplitterClass = "LooplineSplitter";
// Posted by a click on a tree item, so the item's action (which may wait for
// the network) runs outside the tree's own mouse handling.
constexpr UINT kItemClickMessage = WM_APP + 0x201;
constexpr int kMinTreeHeight = 40;

bool RegisterWindowClass(HINSTANCE instance, const char* name, const char* cursor, bool withIcon) {
    WNDCLASSEXA windowClass = {};
    if (GetClassInfoExA(instance, name, &windowClass)) return true;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = CWindowBase::WindowProc;
    windowClass.hInstance = instance;
    if (withIcon) {
        windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
        windowClass.hIconSm =
            static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    }
    windowClass.hCursor = LoadCursorA(nullptr, cursor);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    return RegisterClassExA(&windowClass) != 0;
}

}  // namespace

TForm1::TForm1(HINSTANCE instance, std::string commandLine, std::string programFolder)
    : instance_(instance ? instance : GetModuleHandleA(nullptr)),
      commandLine_(std::move(commandLine)),
      programFolder_(std::move(programFolder)) {}

TForm1::~TForm1() {
    if (hwnd_) {
        CWindowBase::Release(hwnd_);
        CWindowBase::Release(Splitter1);
        DestroyWindow(hwnd_);
    }
    if (owner_) DestroyWindow(owner_);
    if (treeFont_) DeleteObject(treeFont_);
}

bool TForm1::Create() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    if (!RegisterWindowClass(instance_, kFormClass, MAKEINTRESOURCEA(32512), true) ||     // IDC_ARROW
        !RegisterWindowClass(instance_, kSplitterClass, MAKEINTRESOURCEA(32645), false))  // IDC_SIZENS
        return false;
    // An owned window has no taskbar button; its owner, like the application
    // window of the program's original toolkit, is a hidden tool window.
    if (HidesTaskbarButton(FirstParameter(commandLine_))) {
        owner_ = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "Loopline", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 instance_, nullptr);
    }
    int width = ScaledForWindow(nullptr, 560);
    int height = ScaledForWindow(nullptr, 440);
    RECT at = {0, 0, width, height};
    hwnd_ = CreateHandled(WS_EX_CONTROLPARENT, kFormClass, "", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, at, owner_,
                          nullptr, instance_);
    if (!hwnd_) return false;
    CreateControls();
    CentreForm(hwnd_);
    FormCreate();
    return hwnd_ != nullptr;
}

void TForm1::CreateControls() {
    RECT client;
    GetClientRect(hwnd_, &client);
    splitterHeight_ = ScaledForWindow(hwnd_, 5);
    treeHeight_ = (client.bottom - splitterHeight_) / 2;
    Tree1 = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                                TVS_SHOWSELALWAYS | TVS_INFOTIP,
                            0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(IDC_TREE1), instance_, nullptr);
    RECT none = {0, 0, 0, 0};
    Splitter1 = CreateHandled(0, kSplitterClass, "", WS_CHILD | WS_VISIBLE, none, hwnd_,
                              reinterpret_cast<HMENU>(IDC_SPLITTER1), instance_);
    Memo1 =
        CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                        0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(IDC_MEMO1), instance_, nullptr);
    SendMessageA(Memo1, EM_SETLIMITTEXT, 0, 0);
    // The items' prefixes are padded with blanks into a column: a fixed-pitch font keeps it straight.
    treeFont_ =
        CreateFontA(-MulDiv(9, WindowDpi(hwnd_), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New");
    if (treeFont_) SendMessageA(Tree1, WM_SETFONT, reinterpret_cast<WPARAM>(treeFont_), FALSE);
    SendMessageA(Memo1, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    Layout();
}

void TForm1::Layout() {
    if (!hwnd_ || !Tree1) return;
    RECT client;
    GetClientRect(hwnd_, &client);
    int width = client.right;
    int height = client.bottom;
    treeHeight_ = std::max(treeHeight_, ScaledForWindow(hwnd_, kMinTreeHeight));
    int below = treeHeight_ + splitterHeight_;
    MoveWindow(Tree1, 0, 0, width, treeHeight_, TRUE);
    MoveWindow(Splitter1, 0, treeHeight_, width, splitterHeight_, TRUE);
    MoveWindow(Memo1, 0, below, width, std::max(0, height - below), TRUE);
}

void TForm1::Splitter1Moved(int treeHeight) {
    RECT client;
    GetClientRect(hwnd_, &client);
    // The splitter stays inside the window; the tree keeps its minimum height.
    treeHeight_ = std::min(treeHeight, static_cast<int>(client.bottom) - splitterHeight_);
    Layout();
}

void TForm1::ShowForm() {
    // A program started with a hidden show command (as corvane starts it)
    // has its first ShowWindow replaced: the second one counts.
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    if (!IsWindowVisible(hwnd_)) ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
}

void TForm1::EndProgram() {
    if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT TForm1::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // While a window is being made, Create has not taken its handle yet.
    if (window == hwnd_ && hwnd_) return FormMessage(message, wParam, lParam);
    if (window == Splitter1 && Splitter1) return SplitterMessage(message, wParam, lParam);
    return CallDefault(window, message, wParam, lParam);
}

LRESULT TForm1::FormMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = hwnd_;
    switch (message) {
    case WM_SIZE:
        Layout();
        return 0;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case kItemClickMessage:
        Tree1Click(reinterpret_cast<HTREEITEM>(lParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        // The read-only pane reads as a page of text, not as a disabled box.
        if (reinterpret_cast<HWND>(lParam) == Memo1) {
            SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
            SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        break;
    case WM_SETCURSOR:
        if (waiting_ > 0) {
            SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
            return TRUE;
        }
        break;
    case WM_CLOSE:
        if (FormCloseQuery()) {
            FormClose();
            DestroyWindow(hwnd);
        }
        return 0;
    case WM_DESTROY:
        hwnd_ = nullptr;
        if (quitOnDestroy_) PostQuitMessage(0);
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT TForm1::OnNotify(const NMHDR& header) {
    if (header.hwndFrom != Tree1) return 0;
    switch (header.code) {
    case NM_CLICK: {
        DWORD position = GetMessagePos();
        TVHITTESTINFO hit = {};
        hit.pt = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
        ScreenToClient(Tree1, &hit.pt);
        TreeView_HitTest(Tree1, &hit);
        if (hit.hItem && (hit.flags & TVHT_ONITEM))
            PostMessageA(hwnd_, kItemClickMessage, 0, reinterpret_cast<LPARAM>(hit.hItem));
        return 0;
    }
    case NM_RETURN:
        if (HTREEITEM selected = TreeView_GetSelection(Tree1))
            PostMessageA(hwnd_, kItemClickMessage, 0, reinterpret_cast<LPARAM>(selected));
        return 0;
    case TVN_GETINFOTIPA: {
        auto& tip = const_cast<NMTVGETINFOTIPA&>(reinterpret_cast<const NMTVGETINFOTIPA&>(header));
        size_t index = static_cast<size_t>(tip.lParam);
        if (index < Lines.size() && tip.pszText && tip.cchTextMax > 0)
            lstrcpynA(tip.pszText, PageField(Lines[index], kHintField).c_str(), tip.cchTextMax);
        return 0;
    }
    case TVN_GETINFOTIPW: {
        auto& tip = const_cast<NMTVGETINFOTIPW&>(reinterpret_cast<const NMTVGETINFOTIPW&>(header));
        size_t index = static_cast<size_t>(tip.lParam);
        if (index < Lines.size() && tip.pszText && tip.cchTextMax > 0) {
            std::string hint = PageField(Lines[index], kHintField);
            int written = MultiByteToWideChar(CP_ACP, 0, hint.c_str(), -1, tip.pszText, tip.cchTextMax);
            if (written == 0) tip.pszText[0] = L'\0';
            tip.pszText[tip.cchTextMax - 1] = L'\0';
        }
        return 0;
    }
    default:
        return 0;
    }
}

LRESULT TForm1::SplitterMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        dragOffset_ = GET_Y_LPARAM(lParam);
        SetCapture(Splitter1);
        return 0;
    case WM_MOUSEMOVE:
        if (dragOffset_ >= 0) {
            POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            MapWindowPoints(Splitter1, hwnd_, &at, 1);
            Splitter1Moved(at.y - dragOffset_);
        }
        return 0;
    case WM_LBUTTONUP:
        if (dragOffset_ >= 0) ReleaseCapture();
        dragOffset_ = -1;
        return 0;
    case WM_CAPTURECHANGED:
        dragOffset_ = -1;
        return 0;
    default:
        return CallDefault(Splitter1, message, wParam, lParam);
    }
}

std::string TForm1::Caption() const { return hwnd_ ? WindowText(hwnd_) : ""; }

void TForm1::SetCaption(const std::string& caption) {
    if (hwnd_) SetWindowTextA(hwnd_, caption.c_str());
}

bool TForm1::HasTaskbarButton() const {
    if (!hwnd_) return false;
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    if (!owner) return (GetWindowLongA(hwnd_, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0;
    return false;
}

size_t TForm1::LineOf(HTREEITEM node) const {
    TVITEMA item = {};
    item.mask = TVIF_PARAM | TVIF_HANDLE;
    item.hItem = node;
    if (!SendMessageA(Tree1, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return static_cast<size_t>(-1);
    return static_cast<size_t>(item.lParam);
}

bool TForm1::HasNode(HTREEITEM node) const { return std::find(nodes_.begin(), nodes_.end(), node) != nodes_.end(); }

void TForm1::MemoClear() { MemoSet({}); }

// Setting the pane costs the length of all its text, so a page's lines are
// added in one call, never one by one.
void TForm1::MemoAddLines(const std::vector<std::string>& lines) {
    memoLines_.insert(memoLines_.end(), lines.begin(), lines.end());
    ShowMemoLines();
}

void TForm1::MemoSet(const std::vector<std::string>& lines) {
    memoLines_ = lines;
    ShowMemoLines();
}

void TForm1::ShowMemoLines() {
    std::string text;
    for (size_t i = 0; i < memoLines_.size(); ++i) {
        if (i) text += "\r\n";
        text += memoLines_[i];
    }
    if (Memo1) SetWindowTextA(Memo1, text.c_str());
}

void TForm1::BeginWait() {
    ++waiting_;
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
}

void TForm1::EndWait() {
    if (waiting_ > 0) --waiting_;
    if (waiting_ == 0) SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
}

}  // namespace corvane::loopline

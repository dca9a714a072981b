#include "corvane/main/frmMain.h"

#include "corvane/environment/CModalDialog.h"
#include "corvane/environment/HelpFcns.h"
#include "corvane/environment/Seams.h"
#include "corvane/main/resource.h"

#include <utility>

// Windows 8.1 and later send this when the window moves to a monitor of another
// scale; older systems never do.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace corvane {
namespace {

const char* const kWindowClass = "CorvaneMainWindow";
// Posted by the first paint, so its question box opens outside WM_PAINT.
constexpr UINT kFirstPaintMessage = WM_APP + 0x101;

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchControlId(HWND child, LPARAM context) {
    auto* search = reinterpret_cast<ControlSearch*>(context);
    if (GetDlgCtrlID(child) != search->id) return TRUE;
    search->found = child;
    return FALSE;
}

bool RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass = {};
    if (GetClassInfoExA(instance, kWindowClass, &windowClass)) return true;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = CWindowBase::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
    windowClass.hIconSm =
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                      GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExA(&windowClass) != 0;
}

}  // namespace

frmMain::frmMain(HINSTANCE instance, std::string arguments)
    : Arguments(std::move(arguments)), instance_(instance ? instance : GetModuleHandleA(nullptr)) {}

frmMain::~frmMain() {
    if (hwnd_) {
        // The object goes without an unload (a test ending early): no settings are written.
        CWindowBase::Release(hwnd_);
        DestroyWindow(hwnd_);
    }
    if (bannerFont_) DeleteObject(bannerFont_);
    if (buttonFont_) DeleteObject(buttonFont_);
}

bool frmMain::Create() {
    if (!RegisterWindowClass(instance_)) return false;
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT at = {CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT + 480, CW_USEDEFAULT + 360};
    hwnd_ = CreateHandled(WS_EX_CONTROLPARENT, kWindowClass, "", style, at, nullptr,
                          LoadMenuA(instance_, MAKEINTRESOURCEA(IDR_MAINMENU)), instance_);
    if (!hwnd_) return false;
    CreatePages();
    Form_Load();
    return hwnd_ != nullptr && !Backup.FastMode;
}

void frmMain::Show(int showCommand) {
    if (!hwnd_) return;
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
}

LRESULT frmMain::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // While the window is being made, Create has not taken it yet.
    if (window != hwnd_) return CallDefault(window, message, wParam, lParam);
    return HandleMessage(message, wParam, lParam);
}

LRESULT frmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = hwnd_;
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) Form_Activate();
        break;
    case WM_PAINT:
        OnPaint();
        return 0;
    case kFirstPaintMessage:
        Form_FirstPaint();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_CLOSE:
        if (Form_QueryUnload(true)) Unload();
        return 0;
    case WM_DPICHANGED: {
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        MeasureTwipsPerPixel();
        LayoutPages();
        return 0;
    }
    case WM_SIZE:
        LayoutPages();
        break;
    case WM_DESTROY:
        hwnd_ = nullptr;
        if (quitOnDestroy_) PostQuitMessage(0);
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void frmMain::OnPaint() {
    PAINTSTRUCT paint;
    BeginPaint(hwnd_, &paint);
    EndPaint(hwnd_, &paint);
    if (firstPaintDone_) return;
    firstPaintDone_ = true;
    PostMessageA(hwnd_, kFirstPaintMessage, 0, 0);
}

void frmMain::OnCommand(int id) {
    if (id == IDC_CMDBACKUP) return cmdBackup_Click();
    if (id == IDC_CMDRESTORE) return cmdRestore_Click();
    if (id == IDC_CMDEXPORT) return cmdExport_Click();
    if (id >= IDM_FUNCTION && id < IDM_FUNCTION + 100) return mFunction_Click(id - IDM_FUNCTION);
    if (id >= IDM_OPTS && id < IDM_OPTS + 100) return mOpts_Click(id - IDM_OPTS);
    if (id >= IDM_HELP && id < IDM_HELP + 100) return mHelp_Click(id - IDM_HELP);
}

HWND frmMain::Control(int id) const {
    for (HWND page : pages_) {
        if (!page) continue;
        ControlSearch search{id, nullptr};
        EnumChildWindows(page, MatchControlId, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
    }
    return nullptr;
}

std::string frmMain::ControlText(int id) const {
    HWND control = Control(id);
    return control ? WindowText(control) : "";
}

void frmMain::SetControlText(int id, const std::string& text) {
    if (HWND control = Control(id)) SetWindowTextA(control, text.c_str());
}

HMENU frmMain::MainMenu() const { return hwnd_ ? GetMenu(hwnd_) : nullptr; }

HMENU frmMain::SubMenu(int index) const {
    HMENU menu = MainMenu();
    return menu ? GetSubMenu(menu, index) : nullptr;
}

std::string frmMain::Caption() const { return hwnd_ ? WindowText(hwnd_) : ""; }

void frmMain::SetCaption(const std::string& caption) {
    if (hwnd_) SetWindowTextA(hwnd_, caption.c_str());
}

void frmMain::Form_Activate() {
    SetHelpFile(hwnd_, "corvane.hlp");
    HelpContextId = 999;
    SetWindowContextHelpId(hwnd_, static_cast<DWORD>(HelpContextId));
}

void frmMain::Form_FirstPaint() {
    if (!FirstRun) return;
    FirstRun = false;
    int answer = ShowMessage(hwnd_, LoadText(IDS_HELP_QUESTION), MessageTitle, MB_YESNO | MB_ICONQUESTION);
    if (answer == IDYES) ShowHelpContext(999);
}

}  // namespace corvane

#include "corvane/backup/frmQuick.h"

#include "corvane/backup/frmQuickIds.h"

#include <commctrl.h>

namespace corvane {
namespace {

constexpr int kShortHeightTwips = 1440;
constexpr int kTwipsPerInch = 1440;

int TwipsToPixelsY(HWND window, int twips) {
    HDC screen = GetDC(window);
    int pixelsPerInch = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(window, screen);
    return MulDiv(twips, pixelsPerInch, kTwipsPerInch);
}

}  // namespace

frmCheckFast::frmCheckFast() : CModalDialog(IDD_CHECKFAST) {}

int16_t frmCheckFast::Proceed(HWND owner, bool showBox) {
    showBox_ = showBox;
    INT_PTR answer = DoModal(owner);
    if (answer == IDYES) return 3;  // OK with the box ticked
    return answer == IDOK ? 1 : 0;
}

bool frmCheckFast::OnInit() {
    SetChecked(IDC_CHECKFAST_CHECK1, false);
    ShowItem(IDC_CHECKFAST_CHECK1, showBox_);
    if (!showBox_) {
        RECT frame;
        GetWindowRect(Handle(), &frame);
        SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, TwipsToPixelsY(Handle(), kShortHeightTwips),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return true;
}

bool frmCheckFast::OnButtonClicked(int id) {
    if (id == IDOK) {
        // The answer is read before the dialog goes.
        bool ticked = IsChecked(IDC_CHECKFAST_CHECK1);
        End(ticked && showBox_ ? IDYES : IDOK);
        return true;
    }
    if (id == IDCANCEL) {
        End(IDCANCEL);
        return true;
    }
    return false;
}

frmFast::frmFast() : CDialogBase(IDD_FAST) {}

frmFast::~frmFast() { Close(); }

bool frmFast::Open(HICON icon, std::function<void()> cancel) {
    cancel_ = std::move(cancel);
    icon_ = icon;
    if (!Handle() && !Create(nullptr)) return false;
    ShowWindow(Handle(), SW_SHOWNORMAL);
    UpdateWindow(Handle());
    return true;
}

bool frmFast::OnInit() {
    if (icon_) {
        SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
        SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    }
    SendDlgItemMessageA(Handle(), IDC_FAST_METER, PBM_SETRANGE32, 0, 100);
    SendDlgItemMessageA(Handle(), IDC_FAST_METER, PBM_SETBARCOLOR, 0, RGB(0, 0, 255));
    return true;
}

void frmFast::SetProgress(const std::string& caption, int percent) {
    if (!Handle()) return;
    SetItemText(IDC_FAST_LBLPROGRESS, caption);
    SendDlgItemMessageA(Handle(), IDC_FAST_METER, PBM_SETPOS, percent, 0);
    UpdateWindow(Item(IDC_FAST_LBLPROGRESS));
}

void frmFast::Hide() {
    if (Handle()) ShowWindow(Handle(), SW_HIDE);
}

void frmFast::Close() {
    if (Handle()) DestroyWindow(Handle());
}

bool frmFast::OnButtonClicked(int id) {
    if (id != IDC_FAST_CANCEL && id != IDCANCEL) return false;
    if (cancel_) cancel_();
    Hide();
    return true;
}

}  // namespace corvane

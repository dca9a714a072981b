#include "corvane/environment/CModalDialog.h"

#include "corvane/environment/Seams.h"

namespace corvane {
namespace {
// Posted to itself from WM_INITDIALOG: arrives once the modal loop runs.
constexpr UINT kShownMessage = WM_APP + 0x3A1;
}  // namespace

CModalDialog::CModalDialog(int templateId, HINSTANCE instance)
    : templateId_(templateId), instance_(instance ? instance : GetModuleHandleA(nullptr)) {}

INT_PTR CModalDialog::DoModal(HWND owner) {
    return DialogBoxParamA(instance_, MAKEINTRESOURCEA(templateId_), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CModalDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CModalDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CModalDialog*>(lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        self->hwnd_ = hwnd;
    } else {
        self = reinterpret_cast<CModalDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    return self->Dispatch(message, wParam, lParam);
}

INT_PTR CModalDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        bool defaultFocus = OnInit();
        PostMessageA(hwnd_, kShownMessage, 0, 0);
        return defaultFocus ? TRUE : FALSE;
    }
    case kShownMessage:
        DialogObserver().DialogShown(hwnd_, templateId_);
        return TRUE;
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        int code = HIWORD(wParam);
        auto control = reinterpret_cast<HWND>(lParam);
        if (code == BN_CLICKED && OnButtonClicked(id)) return TRUE;
        return OnCommand(id, code, control) ? TRUE : FALSE;
    }
    default: {
        INT_PTR result = 0;
        if (OnMessage(message, wParam, lParam, &result)) {
            SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
            return TRUE;
        }
        return FALSE;
    }
    }
}

bool CModalDialog::OnButtonClicked(int id) {
    if (id != IDOK && id != IDCANCEL) return false;
    End(id);
    return true;
}

bool CModalDialog::OnCommand(int, int, HWND) { return false; }

bool CModalDialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR*) { return false; }

void CModalDialog::End(INT_PTR result) { EndDialog(hwnd_, result); }

std::string WindowText(HWND hwnd) {
    int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int got = GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

std::string CModalDialog::ItemText(int id) const { return WindowText(Item(id)); }

void CModalDialog::SetItemText(int id, const std::string& text) {
    SetDlgItemTextA(hwnd_, id, text.c_str());
}

void CModalDialog::SetChecked(int id, bool checked) {
    CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void CModalDialog::ShowItem(int id, bool visible) {
    ShowWindow(Item(id), visible ? SW_SHOW : SW_HIDE);
}

void CModalDialog::EnableItem(int id, bool enabled) { EnableWindow(Item(id), enabled ? TRUE : FALSE); }

}  // namespace corvane

#include "corvane/environment/CModalDialog.h"

#include "corvane/environment/Seams.h"

namespace corvane {
namespace {
// Posted to itself from WM_INITDIALOG: arrives once the modal loop runs.
constexpr UINT kShownMessage = WM_APP + 0x3A1;
}  // namespace

INT_PTR CModalDialog::DoModal(HWND owner) {
    return DialogBoxParamA(Instance(), MAKEINTRESOURCEA(TemplateId()), owner, DialogProc,
                           reinterpret_cast<LPARAM>(static_cast<CDialogBase*>(this)));
}

INT_PTR CModalDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kShownMessage) {
        DialogObserver().DialogShown(Handle(), TemplateId());
        return TRUE;
    }
    INT_PTR result = CDialogBase::Dispatch(message, wParam, lParam);
    if (message == WM_INITDIALOG) PostMessageA(Handle(), kShownMessage, 0, 0);
    return result;
}

bool CModalDialog::OnButtonClicked(int id) {
    if (id != IDOK && id != IDCANCEL) return false;
    End(id);
    return true;
}

void CModalDialog::End(INT_PTR result) { EndDialog(Handle(), result); }

}  // namespace corvane

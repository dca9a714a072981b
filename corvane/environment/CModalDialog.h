// A modal dialog. Once it is shown and its modal loop runs, the dialog
// observer seam is told, so a test can answer it by working its controls.
#pragma once

#include "corvane/environment/Dialog.h"

namespace corvane {

class CModalDialog : public CDialogBase {
public:
    using CDialogBase::CDialogBase;

    // Runs the dialog; returns the value given to End(), or -1 when it could
    // not be made or a handler failed.
    INT_PTR DoModal(HWND owner);

protected:
    // The default ends the dialog with IDOK or IDCANCEL for those two buttons.
    bool OnButtonClicked(int id) override;
    void OnFailure() override { End(-1); }
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam) override;
    void End(INT_PTR result);
};

}  // namespace corvane

// A modal dialog made from a dialog template in the program's resources.
// A dialog class derives from it and overrides the few handlers it needs; the
// window procedure stays here. Once the dialog is shown and its modal loop
// runs, the dialog observer seam is told, so a test can answer it.
#pragma once

#include <windows.h>

#include <string>

namespace corvane {

class CModalDialog {
public:
    explicit CModalDialog(int templateId, HINSTANCE instance = nullptr);
    virtual ~CModalDialog() = default;
    CModalDialog(const CModalDialog&) = delete;
    CModalDialog& operator=(const CModalDialog&) = delete;

    // Runs the dialog; returns the value given to End(), or -1 when it could not be made.
    INT_PTR DoModal(HWND owner);

    HWND Handle() const { return hwnd_; }
    int TemplateId() const { return templateId_; }

protected:
    // WM_INITDIALOG; return false when focus was set by hand.
    virtual bool OnInit() { return true; }
    // A button click (BN_CLICKED); return true when handled. The default ends
    // the dialog with IDOK or IDCANCEL for those two buttons.
    virtual bool OnButtonClicked(int id);
    // Any other WM_COMMAND notification; return true when handled.
    virtual bool OnCommand(int id, int code, HWND control);
    // Any other message; return true when handled (result in *result).
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result);

    void End(INT_PTR result);
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text);
    bool IsChecked(int id) const { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }
    void SetChecked(int id, bool checked);
    void ShowItem(int id, bool visible);
    void EnableItem(int id, bool enabled);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
};

// Text of any window (a control of another dialog, a foreign window).
std::string WindowText(HWND hwnd);

}  // namespace corvane

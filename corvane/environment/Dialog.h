// A dialog made from a template in the program's resources: a modeless page
// (Create) or, through CModalDialog, a modal dialog. A dialog class derives
// from it and overrides the few handlers it needs; the dialog procedure stays
// here, behind an exception barrier, and hands results back the way the
// dialog manager expects them.
#pragma once

#include <windows.h>

#include <string>

namespace corvane {

class CDialogBase {
public:
    explicit CDialogBase(int templateId, HINSTANCE instance = nullptr);
    virtual ~CDialogBase() = default;
    CDialogBase(const CDialogBase&) = delete;
    CDialogBase& operator=(const CDialogBase&) = delete;

    // A modeless dialog, such as a page inside another window; nullptr on failure.
    HWND Create(HWND parent);
    HWND Handle() const { return hwnd_; }
    int TemplateId() const { return templateId_; }

protected:
    // WM_INITDIALOG; return false when focus was set by hand.
    virtual bool OnInit() { return true; }
    // A button click (BN_CLICKED); return true when handled.
    virtual bool OnButtonClicked(int) { return false; }
    // Any other WM_COMMAND notification; return true when handled.
    virtual bool OnCommand(int, int, HWND) { return false; }
    // Any other message; return true when handled, with its result in *result.
    virtual bool OnMessage(UINT, WPARAM, LPARAM, INT_PTR*) { return false; }
    // A handler threw: the dialog cannot go on as it was.
    virtual void OnFailure() {}

    HINSTANCE Instance() const { return instance_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text);
    bool IsChecked(int id) const { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }
    void SetChecked(int id, bool checked);
    void ShowItem(int id, bool visible);
    void EnableItem(int id, bool enabled);

    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    virtual INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

private:
    int templateId_;
    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
};

// True for the messages whose answer the dialog procedure returns itself;
// every other answer goes through DWLP_MSGRESULT.
bool AnswersDirectly(UINT message);

// Text of any window (a control of another dialog, a foreign window).
std::string WindowText(HWND hwnd);

}  // namespace corvane

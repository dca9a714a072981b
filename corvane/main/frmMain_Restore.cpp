// The restore's view of the main window: the restore page's controls by
// meaning, so the restore library needs no control ids.
#include "corvane/main/frmMain_Restore.h"

#include "corvane/main/WizardIds.h"
#include "corvane/main/frmMain.h"
#include "corvane/main/resource.h"
#include "corvane/restore/RestoreIds.h"
#include "corvane/restore/RestoreRun.h"
#include "corvane/environment/StringTable.h"

#include <memory>

namespace corvane {
namespace {

void SetText(HWND control, const std::string& text) {
    if (!control) return;
    SetWindowTextA(control, text.c_str());
    UpdateWindow(control);
}

class RestorePage final : public IRestorePage {
public:
    explicit RestorePage(frmMain& window) : window_(window) {}

    HWND Owner() const override { return window_.Handle(); }
    void SetCaption(const std::string& caption) override { SetWindowTextA(window_.Handle(), caption.c_str()); }
    void SetPageTexts(const std::string& hint, const std::string& first, const std::string& second,
                      bool selectButtons) override {
        SetText(window_.Control(IDC_CMD_RESTORE_SELECT_ALL), LoadText(IDS_RESTORE_SELECT_ALL));
        SetText(window_.Control(IDC_CMD_RESTORE_CLEAR_ALL), LoadText(IDS_RESTORE_CLEAR_ALL));
        for (int id : {IDC_CMD_RESTORE_SELECT_ALL, IDC_CMD_RESTORE_CLEAR_ALL})
            if (HWND button = window_.Control(id)) EnableWindow(button, selectButtons);
        if (HWND label = window_.Control(IDC_LBL_RESTORE_HINT)) {
            SetText(label, hint);
            ShowWindow(label, selectButtons ? SW_SHOW : SW_HIDE);
        }
        SetText(window_.Control(IDC_LBL_RESTORE_FIRST), first);
        SetText(window_.Control(IDC_LBL_RESTORE_SECOND), second);
        if (HWND status = window_.Control(IDC_TXTLOAD)) ShowWindow(status, SW_HIDE);
    }
    bool TakeTreePlace(HWND& parent, RECT& rect, int& id) override { return window_.TakeTreePlace(parent, rect, id); }
    void ShowProgress(const std::string& caption) override { SetText(window_.Control(IDC_LBLPROGRESS), caption); }
    void HideProgress() override {
        if (HWND label = window_.Control(IDC_LBLPROGRESS)) ShowWindow(label, SW_HIDE);
    }
    void Close() override { window_.Unload(); }
    OperationRunner& Runner() override { return window_.Runner; }
    void RunStarted() override { window_.RunStarted(); }
    void RunEnded() override { window_.RunEnded(); }

private:
    frmMain& window_;
};

struct AttachedRestore {
    explicit AttachedRestore(frmMain& window)
        : page(window), session(page, {window.Store, window.Restore, window.tlMail, window.MessageTitle}) {}
    RestorePage page;
    RestoreSession session;
};

}  // namespace

RestoreSession& AttachRestore(frmMain& window) {
    auto attached = std::make_shared<AttachedRestore>(window);
    auto start = window.StartRestoreWizard;
    window.StartRestoreWizard = [start, attached, &window] {
        if (!start) return;
        start();
        if (window.Wizard.Mode() == WizardMode::Restore && !window.Restore.RestorePath.empty())
            attached->session.LoadArchive();
    };
    auto select = window.SelectAllItems;
    window.SelectAllItems = [select, attached, &window](bool all) {
        if (window.Wizard.Mode() == WizardMode::Restore) return attached->session.SelectAll(all);
        if (select) select(all);
    };
    window.StartRestoreRun = [attached] { attached->session.Run(); };
    window.ForgetRestoreChoice = [attached] { attached->session.Forget(); };
    return attached->session;
}

}  // namespace corvane

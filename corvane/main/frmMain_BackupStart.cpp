// The backup start's view of the main window: the selection page's controls
// by meaning, so the backup library needs no control ids.
#include "corvane/main/frmMain_BackupStart.h"

#include "corvane/backup/BackupStart.h"
#include "corvane/environment/StringTable.h"
#include "corvane/main/WizardIds.h"
#include "corvane/main/frmGenMsg.h"
#include "corvane/main/frmMain.h"
#include "corvane/main/resource.h"

#include <memory>

namespace corvane {
namespace {

constexpr int kAddressBookHelp = 1050;

void SetText(HWND control, const std::string& text) {
    if (!control) return;
    SetWindowTextA(control, text.c_str());
    UpdateWindow(control);
}

void ShowControl(HWND control, bool visible) {
    if (control) ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

class SelectionPage final : public IBackupWizardPage {
public:
    explicit SelectionPage(frmMain& window) : window_(window) {}

    HWND Owner() const override { return window_.Handle(); }
    void OpenBackupWizard() override { window_.OpenBackupWizard(); }
    void SetSelectionTexts(const std::string& caption, const std::string& itemsCaption, const std::string& dataCaption,
                           const std::string& estimateCaption, const std::string& selectAll,
                           const std::string& clearAll) override {
        SetText(window_.Control(IDC_LBLCAPTION), caption);
        SetText(window_.Control(IDC_LBL_ITEMS_CAPTION), itemsCaption);
        SetText(window_.Control(IDC_LBL_DATA_CAPTION), dataCaption);
        SetText(window_.Control(IDC_LBL_ESTIMATE_CAPTION), estimateCaption);
        SetText(window_.Control(IDC_CMD_SELECT_ALL), selectAll);
        SetText(window_.Control(IDC_CMD_CLEAR_ALL), clearAll);
    }
    void ShowStatus(const std::string& text) override {
        HWND status = window_.Control(IDC_TXTLOAD);
        ShowControl(status, true);
        SetText(status, text);
    }
    void ShowCaution(const std::string& text, bool& notAgain) override {
        frmGenMsg::Message(window_.Handle(), IDI_CAUTION, window_.MessageTitle, text, notAgain, -1);
    }
    void ShowAddressBookCaution(bool show) override { ShowControl(window_.Control(IDC_LBL_WAB_CAUTION), show); }
    void ShowAddressBookCheck(const std::string& text, bool& notAgain) override {
        frmGenMsg::Message(window_.Handle(), IDI_CAUTION, LoadText(IDS_MESSAGE_TITLE), text, notAgain,
                           kAddressBookHelp);
    }
    bool TakeTreePlace(HWND& parent, RECT& rect, int& id) override { return window_.TakeTreePlace(parent, rect, id); }
    void ShowCounts() override { window_.ShowCounts(); }

private:
    frmMain& window_;
};

// The page adapter and the start live as long as the window's hooks hold them.
struct AttachedStart {
    explicit AttachedStart(frmMain& window)
        : page(window),
          start(page,
                {window.Store, window.Backup, window.Registry, window.tlMail, window.tlWork, window.MessageTitle}) {}
    SelectionPage page;
    BackupStart start;
};

}  // namespace

void AttachBackupStart(frmMain& window) {
    auto attached = std::make_shared<AttachedStart>(window);
    window.StartBackupWizard = [attached] { attached->start.Start(); };
    window.SelectAllItems = [attached](bool select) { attached->start.SelectAll(select); };
}

}  // namespace corvane

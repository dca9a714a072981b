// The restore start's view of the main window: its start controls and the
// restore page, so the restore library needs no control ids.
#include "corvane/main/frmMain_RestoreStart.h"

#include "corvane/environment/StringTable.h"
#include "corvane/main/frmGenMsg.h"
#include "corvane/main/frmMain.h"
#include "corvane/main/resource.h"
#include "corvane/restore/RestoreStart.h"

#include <memory>

namespace corvane {
namespace {

class RestorePage final : public IRestoreWizardPage {
public:
    explicit RestorePage(frmMain& window) : window_(window) {}

    HWND Owner() const override { return window_.Handle(); }
    void EnableStarts(bool enabled) override {
        if (HMENU functions = window_.SubMenu(0)) {
            UINT state = MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED);
            EnableMenuItem(functions, 0, state);
            EnableMenuItem(functions, 1, state);
        }
        for (int id : {IDC_CMDBACKUP, IDC_CMDRESTORE})
            if (HWND button = window_.Control(id)) EnableWindow(button, enabled ? TRUE : FALSE);
    }
    void OpenRestoreWizard() override { window_.OpenRestoreWizard(); }
    void CancelArchiveChoice() override { window_.CancelArchiveChoice(); }
    bool AskCaution(const std::string& text, bool& notAgain) override {
        return frmGenMsg::Message(window_.Handle(), IDI_CAUTION, LoadText(IDS_MESSAGE_TITLE), text, notAgain, 0);
    }

private:
    frmMain& window_;
};

struct AttachedStart {
    explicit AttachedStart(frmMain& window)
        : page(window),
          start(page, {window.Store, window.Backup, window.Restore, window.Registry, window.MessageTitle}) {}
    RestorePage page;
    RestoreStart start;
};

}  // namespace

void AttachRestoreStart(frmMain& window) {
    auto attached = std::make_shared<AttachedStart>(window);
    window.StartRestoreWizard = [attached] { attached->start.Start(); };
}

}  // namespace corvane

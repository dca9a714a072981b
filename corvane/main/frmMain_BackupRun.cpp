// The backup run's view of the main window: the last page's controls and
// the menus by meaning, so the backup library needs no control ids.
#include "corvane/main/frmMain_BackupRun.h"

#include "corvane/backup/BackupRun.h"
#include "corvane/main/ControlFileSave.h"
#include "corvane/main/WizardIds.h"
#include "corvane/main/frmMain.h"

#include <commctrl.h>

#include <memory>

namespace corvane {
namespace {

constexpr int kPageText = IDC_LBL + 1;
constexpr int kExitItem = IDM_FUNCTION + 3;
constexpr COLORREF kMeterFill = RGB(0, 0, 255);  // colour 9 of the 16-colour palette, light blue

void Show(HWND control, bool visible) {
    if (control) ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

void Enable(HWND control, bool enabled) {
    if (control) EnableWindow(control, enabled ? TRUE : FALSE);
}

class RunPage final : public IBackupRunPage {
public:
    explicit RunPage(frmMain& window) : window_(window) {}

    HWND Owner() const override { return window_.Handle(); }
    std::string ArchivePath() const override { return window_.ControlText(IDC_TXTBACKNAME); }
    void ShowRunning() override {
        Enable(window_.Control(IDC_TLMAIL), false);
        Enable(window_.Control(IDC_BTNBACK), false);
        EnableOptions(false);
        Show(window_.Control(kPageText), false);
        Show(window_.Control(IDC_LBLPROGRESS), true);
    }
    void ShowNotStarted() override {
        Enable(window_.Control(IDC_BTNBACK), true);
        Show(window_.Control(kPageText), true);
        Show(window_.Control(IDC_LBLPROGRESS), false);
    }
    void ShowWriting() override {
        if (HMENU file = window_.SubMenu(0)) EnableMenuItem(file, kExitItem, MF_BYCOMMAND | MF_GRAYED);
        SetWindowTextA(window_.Control(IDC_DOIT), "Cancel");
        if (HWND meter = window_.Control(IDC_BARPROGRESS)) {
            SendMessageA(meter, PBM_SETRANGE32, 0, 100);
            SendMessageA(meter, PBM_SETPOS, 0, 0);
            SendMessageA(meter, PBM_SETBARCOLOR, 0, kMeterFill);
            Show(meter, true);
        }
    }
    void ShowProgress(const std::string& caption, int percent) override {
        if (HWND label = window_.Control(IDC_LBLPROGRESS)) {
            SetWindowTextA(label, caption.c_str());
            UpdateWindow(label);
        }
        if (HWND meter = window_.Control(IDC_BARPROGRESS)) SendMessageA(meter, PBM_SETPOS, percent, 0);
    }
    void HideProgress() override { Show(window_.Control(IDC_LBLPROGRESS), false); }
    void Close() override { window_.Unload(); }

private:
    void EnableOptions(bool enabled) {
        HMENU options = window_.SubMenu(1);
        if (!options) return;
        for (int position = 0; position < GetMenuItemCount(options); ++position)
            EnableMenuItem(options, static_cast<UINT>(position), MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
        DrawMenuBar(window_.Handle());
    }
    frmMain& window_;
};

struct AttachedRun {
    explicit AttachedRun(frmMain& window)
        : page(window),
          run(page, {window.Store, window.Backup, window.Registry, window.tlMail, window.MessageTitle,
                     [&window](const std::string& kind) { return SaveCtrl(window.Store, window.tlMail, kind); }}) {}
    RunPage page;
    BackupRun run;
};

}  // namespace

void AttachBackupRun(frmMain& window) {
    auto attached = std::make_shared<AttachedRun>(window);
    window.StartBackupRun = [attached] { attached->run.Run(); };
    window.AbortBackupRun = [attached] { attached->run.Abort(); };
}

}  // namespace corvane

// The backup run's view of the main window: the last page's controls by
// meaning, the operation started under the window's runner, and the
// outcome worded once it has ended.
#include "corvane/main/frmMain_BackupRun.h"

#include "corvane/backup/BackupMessages.h"
#include "corvane/backup/planning/RunContents.h"
#include "corvane/environment/Seams.h"
#include "corvane/environment/portable/SettingNames.h"
#include "corvane/main/ControlFileSave.h"
#include "corvane/main/WizardIds.h"
#include "corvane/main/frmMain.h"

#include <commctrl.h>

#include <cstdio>
#include <memory>

namespace corvane {
namespace {

constexpr COLORREF kMeterFill = RGB(0, 0, 255);  // colour 9 of the 16-colour palette, light blue

void Show(HWND control, bool visible) {
    if (control) ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

void Enable(HWND control, bool enabled) {
    if (control) EnableWindow(control, enabled ? TRUE : FALSE);
}

std::string DateDigits(const CalendarTime& day) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", day.year, day.month, day.day);
    return text;
}

std::string TempFolder() {
    char path[600] = {};
    DWORD length = GetTempPathA(sizeof path, path);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

// The wizard's last page while its run goes.
class WizardRun {
public:
    explicit WizardRun(frmMain& window) : window_(window) {}

    void Start() {
        const std::string archivePath = window_.ControlText(IDC_TXTBACKNAME);
        planning::MarkParentsOfSaved(window_.tlMail);
        auto outcome = std::make_shared<ops::BackupOutcome>();
        auto input = std::make_shared<ops::BackupInput>(BackupInputOf(window_, archivePath));
        OperationRunner::Handlers handlers;
        handlers.progress = [this](const ProgressReport& report) { ShowProgress(report); };
        handlers.answer = [this](const QuestionCall& call) {
            BoxText asked = BackupQuestionText(call);
            return AnswerIs(ShowMessage(window_.Handle(), asked.text, window_.MessageTitle, asked.style));
        };
        handlers.finished = [this, outcome] { Finished(*outcome); };
        window_.RunStarted();
        if (!window_.Runner.Start([input, outcome](IOperationEvents& events) { *outcome = ops::RunBackup(*input, events); },
                                  std::move(handlers)))
            return window_.RunEnded();
        // The run starts first: the page is rearranged while it works.
        ShowRunning();
    }

private:
    static bool AnswerIs(int button) { return button == IDOK || button == IDRETRY || button == IDYES; }

    void Finished(const ops::BackupOutcome& outcome) {
        window_.RunEnded();
        if (outcome.kind == ops::Kind::NotStarted && (outcome.fault == ops::BackupFault::DisketteDeclined ||
                                                      outcome.fault == ops::BackupFault::ReplaceDeclined))
            return ShowNotStarted();
        // The write test given up, or a run the user stopped: nothing is recorded.
        if (outcome.kind == ops::Kind::NotStarted || (outcome.kind == ops::Kind::Cancelled &&
                                                      outcome.fault != ops::BackupFault::DisketteDeclined))
            return window_.Unload();
        RecordBackupRun(window_, outcome);
        Show(window_.Control(IDC_LBLPROGRESS), false);
        BoxText said = BackupOutcomeText(outcome, false);
        if (!said.text.empty()) ShowMessage(window_.Handle(), said.text, window_.MessageTitle, MB_OK | said.style);
        window_.Unload();
    }

    // The folder list and Previous disabled, the page's text hidden, the run
    // button saying "Cancel" and the meter shown.
    void ShowRunning() {
        Enable(window_.Control(IDC_TLMAIL), false);
        Enable(window_.Control(IDC_BTNBACK), false);
        Show(window_.Control(IDC_LBL_PAGETEXT), false);
        Show(window_.Control(IDC_LBLPROGRESS), true);
        SetWindowTextA(window_.Control(IDC_DOIT), "Cancel");
        if (HWND meter = window_.Control(IDC_BARPROGRESS)) {
            SendMessageA(meter, PBM_SETRANGE32, 0, 100);
            SendMessageA(meter, PBM_SETPOS, 0, 0);
            SendMessageA(meter, PBM_SETBARCOLOR, 0, kMeterFill);
            Show(meter, true);
        }
    }
    // The first diskette was not given: the page is as before the run.
    void ShowNotStarted() {
        Enable(window_.Control(IDC_TLMAIL), true);
        Enable(window_.Control(IDC_BTNBACK), true);
        Show(window_.Control(IDC_LBL_PAGETEXT), true);
        Show(window_.Control(IDC_LBLPROGRESS), false);
        Show(window_.Control(IDC_BARPROGRESS), false);
        SetWindowTextA(window_.Control(IDC_DOIT), LoadText(IDS_MAKE_ARCHIVE).c_str());
    }
    void ShowProgress(const ProgressReport& report) {
        const std::string caption = BackupProgressCaption(report);
        if (HWND label = window_.Control(IDC_LBLPROGRESS); label && !caption.empty()) {
            SetWindowTextA(label, caption.c_str());
            UpdateWindow(label);
        }
        if (HWND meter = window_.Control(IDC_BARPROGRESS); meter && report.percent >= 0)
            SendMessageA(meter, PBM_SETPOS, report.percent, 0);
    }

    frmMain& window_;
};

}  // namespace

ops::BackupInput BackupInputOf(frmMain& window, const std::string& archivePath) {
    const StoreContext& store = window.Store;
    const BackupPlan& plan = window.Backup;
    ops::BackupInput input;
    input.isV5 = store.bIsV5;
    input.identityId = store.Identities.IdentityId;
    input.indexPath = store.bIsV5 ? store.Oe5StoreFolder + "Folders.dbx" : store.Oe4.Oe4MailFolder + "Folders.nch";
    input.mailFilesFolder = store.MailFilesFolder;
    input.wabPath = plan.WabPath;
    input.favoritesFolder = plan.FavoritesFolder;
    input.oe4NewsFolder = store.Oe4.Oe4NewsFolder;
    input.rows = window.tlMail;
    input.saveFolder = plan.SaveFolder;
    input.archivePath = archivePath;
    input.keepExisting = plan.KeepExisting;
    input.logPath = plan.LogPath;
    input.tempFolder = TempFolder();
    input.totalBytes = plan.TotalBytes;
    CalendarTime now = Clock().Now();
    input.started = {now.year, now.month, now.day, now.hour, now.minute};
    return input;
}

void RecordBackupRun(frmMain& window, const ops::BackupOutcome& outcome) {
    // A run that failed before its archive was begun has nothing to record.
    if (outcome.fault == ops::BackupFault::LogNotWritten || outcome.fault == ops::BackupFault::KeepFailed) return;
    BackupPlan& plan = window.Backup;
    plan.IncludeAddressBook = outcome.includeAddressBook ? 1 : 0;
    if (!outcome.archiveFileName.empty()) plan.ArchiveFileName = outcome.archiveFileName;
    if (CRegSettings* registry = window.Registry.get()) {
        const std::string& section = window.Store.SettingsSection;
        if (outcome.Complete()) {
            const std::string today = DateDigits(Today());
            registry->SaveSetting(section, settings::kAllowQuick, "Y");
            registry->SaveSetting(section, settings::kLastBackup, today);
            registry->SaveSetting(settings::kGeneralSection, settings::kLastBackup, today);
            registry->SaveSetting(section, settings::kLastSaveName, plan.ArchiveFileName);
        }
        registry->SaveSetting(section, settings::kLastSavePath, plan.SaveFolder);
        registry->SaveSetting(section, settings::kInclWab, plan.IncludeAddressBook != 0 ? "1" : "0");
        registry->SaveSetting(section, settings::kDoRename, plan.KeepExisting ? "1" : "0");
    }
    SaveCtrl(window.Store, window.tlMail, window.Store.bIsV5 ? "5" : "4");
}

void AttachBackupRun(frmMain& window) {
    auto run = std::make_shared<WizardRun>(window);
    window.StartBackupRun = [run] { run->Start(); };
}

}  // namespace corvane

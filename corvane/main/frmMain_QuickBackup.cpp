#include "corvane/main/frmMain_QuickBackup.h"

#include "corvane/backup/BackupMessages.h"
#include "corvane/backup/frmQuick.h"
#include "corvane/backup/planning/BackupPlanning.h"
#include "corvane/backup/planning/QuickCheck.h"
#include "corvane/backup/planning/RunContents.h"
#include "corvane/zip/Win32FileSystem.h"
#include "corvane/catalog/CatalogExtras.h"
#include "corvane/catalog/Dbx5Reader.h"
#include "corvane/catalog/Win32Catalog.h"
#include "corvane/environment/Seams.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/main/frmMain.h"
#include "corvane/main/frmMain_BackupRun.h"

#include <memory>

namespace corvane {
namespace {

class QuickBackup {
public:
    explicit QuickBackup(frmMain& window) : window_(window) {}

    int Confirm(bool fromReminder) {
        frmCheckFast check;
        return check.Proceed(window_.Handle(), !fromReminder);
    }

    // The archive is named as on the name page, for today; every saved folder must be there.
    bool Prepare() {
        BackupPlan& plan = window_.Backup;
        CalendarTime today = Today();
        archivePath_ = planning::ArchivePath(plan.SaveFolder, plan.BackupName, plan.BackupAddto,
                                             {today.year, today.month, today.day});
        std::unique_ptr<zip::FileSystem> files = zip::MakeWin32FileSystem();
        planning::QuickCheck check = planning::CheckSavedRows(window_.tlMail, window_.Store.MailFilesFolder,
                                                              window_.Store.Oe4.Oe4NewsFolder, *files);
        // The folder index goes into every archive: without it there is no backup to repeat.
        const StoreContext& store = window_.Store;
        const std::string index = store.bIsV5 ? "Folders.dbx" : "Folders.nch";
        if (check.ok && !FileExists((store.bIsV5 ? store.Oe5StoreFolder : store.Oe4.Oe4MailFolder) + index)) {
            check.ok = false;
            check.missingCaption = index;
        }
        if (!check.ok) {
            Sounds().Beep();
            ShowMessage(window_.Handle(), planning::MissingFolderText(check.missingCaption), window_.MessageTitle,
                        MB_OK | MB_ICONINFORMATION);
            return false;
        }
        plan.TotalBytes = check.totalBytes;
        CountMessages();
        return true;
    }

    // The log tells the restore how many messages each folder holds: they are
    // counted afresh, as the wizard's catalog does, not left at nothing.
    void CountMessages() {
        if (!window_.Store.bIsV5) return;
        catalog::Win32FileSource files;
        catalog::TreeList& rows = window_.tlMail;
        for (int i = 1; i < rows.Count(); ++i) {
            const std::string file = rows.TextValue(i, catalog::names::kMbxName);
            if (rows.NumberValue(i, catalog::names::kFlgSave) != 1 || file.empty()) continue;
            rows.SetNumberValue(i, catalog::names::kMbxCounts,
                                catalog::ReadMessageCount(files, window_.Store.MailFilesFolder + file));
        }
    }

    // The address book and the Favorites are found afresh, then the run
    // goes with the progress window in place of the main window.
    void Run() {
        BackupPlan& plan = window_.Backup;
        catalog::ReadExtraPlaces(window_.Store.WindowsFolder, plan);
        std::unique_ptr<zip::FileSystem> files = zip::MakeWin32FileSystem();
        catalog::CatalogTotals totals;
        catalog::AddAddressBook(plan.WabPath, plan.IncludeAddressBook, *files, window_.tlMail, totals);
        catalog::AddFavorites(plan.FavoritesFolder, {plan.SavedNames, plan.SavedFlags}, *files, window_.tlMail, totals);
        plan.TotalBytes += totals.totalBytes;
        plan.FastMode = true;
        HICON icon = reinterpret_cast<HICON>(GetClassLongPtrA(window_.Handle(), GCLP_HICON));
        if (!fast_.Open(icon, [this] { window_.Runner.Cancel(); })) {
            window_.Unload();
            return;
        }
        planning::MarkParentsOfSaved(window_.tlMail);
        auto input = std::make_shared<ops::BackupInput>(BackupInputOf(window_, archivePath_));
        auto outcome = std::make_shared<ops::BackupOutcome>();
        OperationRunner::Handlers handlers;
        handlers.progress = [this](const ProgressReport& report) {
            const std::string caption = BackupProgressCaption(report);
            if (!caption.empty()) fast_.SetProgress(caption, report.percent < 0 ? 0 : report.percent);
        };
        handlers.answer = [this](const QuestionCall& call) {
            BoxText asked = BackupQuestionText(call);
            int button = ShowMessage(Owner(), asked.text, window_.MessageTitle, asked.style);
            return button == IDOK || button == IDRETRY;
        };
        handlers.finished = [this, outcome] { Finished(*outcome); };
        window_.RunStarted();
        if (!window_.Runner.Start([input, outcome](IOperationEvents& events) { *outcome = ops::RunBackup(*input, events); },
                                  std::move(handlers))) {
            fast_.Close();
            window_.Unload();
        }
    }

private:
    HWND Owner() const { return fast_.Handle() ? fast_.Handle() : window_.Handle(); }

    // The main window is never shown in a quick backup: however the run
    // ended, the program ends with it.
    void Finished(const ops::BackupOutcome& outcome) {
        window_.RunEnded();
        if (outcome.kind != ops::Kind::NotStarted) RecordBackupRun(window_, outcome);
        fast_.Close();
        BoxText said = BackupOutcomeText(outcome, true);
        if (!said.text.empty()) ShowMessage(window_.Handle(), said.text, window_.MessageTitle, MB_OK | said.style);
        window_.Unload();
    }

    frmMain& window_;
    frmFast fast_;
    std::string archivePath_;
};

}  // namespace

void AttachQuickBackup(frmMain& window) {
    auto quick = std::make_shared<QuickBackup>(window);
    window.ConfirmQuickBackup = [quick](bool fromReminder) { return quick->Confirm(fromReminder); };
    window.PrepareQuickBackup = [quick] { return quick->Prepare(); };
    window.RunQuickBackup = [quick] { quick->Run(); };
}

}  // namespace corvane

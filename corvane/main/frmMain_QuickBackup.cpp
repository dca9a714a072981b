#include "corvane/main/frmMain_QuickBackup.h"

#include "corvane/backup/BackupRun.h"
#include "corvane/backup/frmQuick.h"
#include "corvane/backup/planning/BackupPlanning.h"
#include "corvane/backup/planning/QuickCheck.h"
#include "corvane/zip/Win32FileSystem.h"
#include "corvane/catalog/CatalogExtras.h"
#include "corvane/catalog/Dbx5Reader.h"
#include "corvane/catalog/Win32Catalog.h"
#include "corvane/environment/Seams.h"
#include "corvane/main/ControlFileSave.h"
#include "corvane/main/frmMain.h"

#include <memory>

namespace corvane {
namespace {

// The run's view of the quick backup: its progress window instead of the wizard's page.
class FastPage final : public IBackupRunPage {
public:
    FastPage(frmMain& window, frmFast& fast, const std::string& archivePath)
        : window_(window), fast_(fast), archivePath_(archivePath) {}

    HWND Owner() const override { return fast_.Handle() ? fast_.Handle() : window_.Handle(); }
    std::string ArchivePath() const override { return archivePath_; }
    void ShowRunning() override {}
    // The main window is never shown in a quick backup: a run that does not
    // start ends the program rather than leave it running unseen.
    void ShowNotStarted() override { Close(); }
    void ShowWriting() override {}
    void ShowProgress(const std::string& caption, int percent) override { fast_.SetProgress(caption, percent); }
    void HideProgress() override { fast_.Close(); }
    void Close() override {
        fast_.Close();
        window_.Unload();
    }

private:
    frmMain& window_;
    frmFast& fast_;
    const std::string& archivePath_;
};

class QuickBackup {
public:
    explicit QuickBackup(frmMain& window)
        : window_(window),
          page_(window, fast_, archivePath_),
          run_(page_, {window.Store, window.Backup, window.Registry, window.tlMail, window.MessageTitle,
                       [&window](const std::string& kind) { return SaveCtrl(window.Store, window.tlMail, kind); }}) {}

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
        if (!fast_.Open(icon, [this] { run_.Abort(); })) {
            window_.Unload();
            return;
        }
        run_.Run();
    }

private:
    frmMain& window_;
    frmFast fast_;
    std::string archivePath_;
    FastPage page_;
    BackupRun run_;
};

}  // namespace

void AttachQuickBackup(frmMain& window) {
    auto quick = std::make_shared<QuickBackup>(window);
    window.ConfirmQuickBackup = [quick](bool fromReminder) { return quick->Confirm(fromReminder); };
    window.PrepareQuickBackup = [quick] { return quick->Prepare(); };
    window.RunQuickBackup = [quick] { quick->Run(); };
}

}  // namespace corvane

// The backup run behind "Make Archive": the write test, the backup log and
// the archive's file list, the destination (diskette, kept or replaced
// archive), the zip component with its progress, and afterwards the
// settings of the run, the control file and the result. It works on the
// main window's named state and reaches the page through IBackupRunPage.
#pragma once

#include "corvane/backup/BackupPlan.h"
#include "corvane/backup/planning/RunContents.h"
#include "corvane/zip/XZip.h"
#include "corvane/catalog/TreeList.h"
#include "corvane/environment/CRegSettings.h"
#include "corvane/environment/StoreContext.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace corvane {

// What the run asks of the wizard's last page, by meaning.
class IBackupRunPage {
public:
    virtual ~IBackupRunPage() = default;
    virtual HWND Owner() const = 0;
    // The archive's full path as the name page made it.
    virtual std::string ArchivePath() const = 0;
    // The run begins: folder list, Previous and the Options menu disabled, the
    // page's text hidden and the progress caption shown (a quick backup: its
    // progress window).
    virtual void ShowRunning() = 0;
    // The first diskette was not given: Previous and the page's text come back.
    virtual void ShowNotStarted() = 0;
    // The archive is being written: Exit disabled, the run button says "Cancel",
    // the percentage meter is shown.
    virtual void ShowWriting() = 0;
    virtual void ShowProgress(const std::string& caption, int percent) = 0;
    virtual void HideProgress() = 0;
    // Ends the program's window.
    virtual void Close() = 0;
};

struct BackupRunContext {
    const StoreContext& store;
    BackupPlan& plan;
    const std::unique_ptr<CRegSettings>& registry;
    catalog::TreeList& tlMail;
    const std::string& messageTitle;
    // Writes the control file of the store (kind "5" or "4").
    std::function<bool(const std::string& kind)> saveControlFile;
};

class BackupRun {
public:
    BackupRun(IBackupRunPage& page, BackupRunContext context) : page_(page), context_(context) {}

    void Run();
    // Cancel while the archive is written: the component stops as soon as it can.
    void Abort() { zip_.SetAbort(true); }

private:
    bool PassWriteTest();
    bool WriteLog();
    bool PrepareDestination(const std::string& archivePath);
    uint16_t WriteArchive(const std::string& archivePath);
    uint16_t PlaceVerifiedArchive(const std::string& written, const std::string& archivePath);
    void SaveRunSettings(bool complete);
    void Report(uint16_t result);
    void Fail(const std::string& text);
    void OnProgress(const char* prefix, const zip::EntryProgress& progress);
    void RemoveLog();

    IBackupRunPage& page_;
    BackupRunContext context_;
    zip::XZip zip_;
    std::string logWritten_;  // where the log went
    std::string failure_;     // a failure the component's result does not tell
};

}  // namespace corvane

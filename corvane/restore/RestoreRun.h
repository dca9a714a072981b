// The second half of a restore start and the restore run: the archive's log
// read out of the archive and shown as the tree of archive items, the
// marking of items, and the run that puts the current files aside and
// extracts the marked entries into the store. A current file is replaced
// only by an entry that has been extracted beside it and checked; where a
// full restore had moved it aside and its replacement could not be
// restored, it is put back. The main window is reached through IRestorePage.
#pragma once

#include "corvane/zip/XZip.h"
#include "corvane/catalog/TreeList.h"
#include "corvane/catalog/TreeListView.h"
#include "corvane/environment/StoreContext.h"
#include "corvane/restore/RestoreState.h"
#include "corvane/restore/frmSelFolder.h"
#include "corvane/restore/portable/RestoreMapping.h"

#include <windows.h>

#include <string>
#include <vector>

namespace corvane {

class IRestorePage {
public:
    virtual ~IRestorePage() = default;
    virtual HWND Owner() const = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    // The hint and the two lines of the page; Select/Clear All enabled or not.
    virtual void SetPageTexts(const std::string& hint, const std::string& first, const std::string& second,
                              bool selectButtons) = 0;
    // The place the page keeps for the folder tree (see IBackupWizardPage).
    virtual bool TakeTreePlace(HWND& parent, RECT& rect, int& id) = 0;
    virtual void ShowProgress(const std::string& caption) = 0;
    virtual void HideProgress() = 0;
    virtual void Close() = 0;
};

struct RestoreContext {
    const StoreContext& store;
    RestoreState& restore;
    catalog::TreeList& tlMail;
    const std::string& messageTitle;
};

class RestoreSession {
public:
    RestoreSession(IRestorePage& page, RestoreContext context)
        : page_(page), context_(context), selFolder_(context.messageTitle) {}

    // Reads the log of the chosen archive into tlMail and shows it. False
    // when the restore cannot go on (the page's window has been closed).
    bool LoadArchive();
    void tlMail_MarkClick();
    void tlMail_DblClick();
    void SelectAll(bool select);
    // "Restore Now": every step, "Restore is Complete", the window closed.
    void Run();

    // Sends the selected mail folder to a current folder.
    bool SendSelectedTo(const std::string& targetName, const std::string& targetText, int targetIndex);
    const std::string& WabTargetName() const { return wabTargetName_; }
    bool CurFoldersLoaded() const { return curFoldersLoaded_; }
    const catalog::TreeList& tlCurrent() const { return selFolder_.tlCurrent; }

private:
    int Message(const std::string& text, UINT buttons = MB_OK);
    bool ExtractLog(std::string& logPath);
    void AttachView();
    restore::StoreFolders Folders() const;
    uint16_t Extract(const std::string& folder, const std::string& files);
    void RestoreAddressBook();
    void RestoreMail();
    void LeaveOnlyRestoredFiles(const std::string& asideFolder, const std::vector<std::string>& names);
    void RestoreNews();
    void RestoreFavorites();
    void OnRename(const std::string& origName, std::string& newName);
    void OnNewdisk(int disk);

    IRestorePage& page_;
    RestoreContext context_;
    zip::XZip zip_;
    catalog::TreeListView view_;
    std::string wabPath_, favoritesFolder_, wabTargetName_;
    restore::RenameRules rules_;
    std::vector<std::string> refusedEntries_;
    restore::EntryLedger ledger_;
    // Marked items the archive held no entry for, as the user knows them.
    std::vector<std::string> withoutEntry_;
    bool diskCancelled_ = false;
    frmSelFolder selFolder_;
    bool curFoldersLoaded_ = false;
};

}  // namespace corvane

// The second half of a restore start and the restore page: the archive's
// log read out of the archive and shown as the tree of archive items, the
// marking of items, and "Restore Now", which runs the restore operation
// under the window's runner and words its outcome. The main window is
// reached through IRestorePage.
#pragma once

#include "corvane/environment/OperationRunner.h"
#include "corvane/catalog/TreeList.h"
#include "corvane/catalog/TreeListView.h"
#include "corvane/environment/StoreContext.h"
#include "corvane/restore/RestoreState.h"
#include "corvane/restore/frmSelFolder.h"
#include "corvane/operations/RestoreOperation.h"
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
    // The window's one runner, and the window told that a run begins and ends.
    virtual OperationRunner& Runner() = 0;
    virtual void RunStarted() = 0;
    virtual void RunEnded() = 0;
};

// The archive's items from its log, as the restore page shows them: `items`
// filled (and marked for a full restore), the page's caption, and the boxes
// to show in order. Not ok when the restore cannot go on.
struct ArchiveItemsRead {
    bool ok = false;
    std::string caption;
    std::vector<std::string> texts;
};
ArchiveItemsRead ReadArchiveItems(const ops::LogOutcome& log, bool hasAddressBook, bool full,
                                  catalog::TreeList& items);

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
    void tlMail_MouseDown(int button, int xTwips, int yTwips);
    void SelectAll(bool select);
    // "Restore Now": the run on the window's runner; once it has ended, its
    // outcome worded and the window closed.
    void Run();
    // The wizard left the archive: its list and choices go.
    void Forget();

    // Sends the selected mail folder to a current folder.
    bool SendSelectedTo(const std::string& targetName, const std::string& targetText, int targetIndex);
    bool CurFoldersLoaded() const { return curFoldersLoaded_; }
    const catalog::TreeList& tlCurrent() const { return selFolder_.tlCurrent; }

private:
    int Message(const std::string& text, UINT buttons = MB_OK);
    void AttachView();
    restore::StoreFolders Folders() const;
    void Finished(const ops::RestoreOutcome& outcome);

    IRestorePage& page_;
    RestoreContext context_;
    catalog::TreeListView view_;
    std::string wabPath_, favoritesFolder_;
    frmSelFolder selFolder_;
    bool curFoldersLoaded_ = false;
};

}  // namespace corvane

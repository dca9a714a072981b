// The start of the backup wizard: the anti-virus caution, the store's catalog
// in tlWork/tlMail with its tree view on the selection page, and the totals
// kept up to date while the user ticks items. It works on the main window's
// named state and reaches the page through IBackupWizardPage.
#pragma once

#include "corvane/backup/BackupPlan.h"
#include "corvane/catalog/CatalogModel.h"
#include "corvane/catalog/Selection.h"
#include "corvane/catalog/TreeList.h"
#include "corvane/catalog/TreeListView.h"
#include "corvane/catalog/Win32Catalog.h"
#include "corvane/environment/CRegSettings.h"
#include "corvane/environment/StoreContext.h"

#include <windows.h>

#include <memory>
#include <string>

namespace corvane {

// What the backup start asks of the wizard page, by meaning rather than by control.
class IBackupWizardPage {
public:
    virtual ~IBackupWizardPage() = default;
    virtual HWND Owner() const = 0;
    // The page flow of the backup wizard's start.
    virtual void OpenBackupWizard() = 0;
    virtual void SetSelectionTexts(const std::string& caption, const std::string& itemsCaption,
                                   const std::string& dataCaption, const std::string& estimateCaption,
                                   const std::string& selectAll, const std::string& clearAll) = 0;
    virtual void ShowStatus(const std::string& text) = 0;
    // A caution the user may ask not to see again (the message dialog with its check box).
    virtual void ShowCaution(const std::string& text, bool& notAgain) = 0;
    virtual void ShowAddressBookCaution(bool show) = 0;
    // The caution that Outlook Express uses another address book than the
    // one to be saved, with its help topic.
    virtual void ShowAddressBookCheck(const std::string& text, bool& notAgain) = 0;
    // The place the page keeps for the folder tree, handed over to the tree
    // view (parent, rectangle in the parent, control id); false when none.
    virtual bool TakeTreePlace(HWND& parent, RECT& rect, int& id) = 0;
    // The plan's totals changed: the counts on the page follow.
    virtual void ShowCounts() = 0;
};

// The state the start works on; the main window owns all of it.
struct BackupStartContext {
    const StoreContext& store;
    BackupPlan& plan;
    const std::unique_ptr<CRegSettings>& registry;
    catalog::TreeList& tlMail;
    catalog::TreeList& tlWork;
    const std::string& messageTitle;
};

class BackupStart {
public:
    BackupStart(IBackupWizardPage& page, BackupStartContext context) : page_(page), context_(context) {}

    void Start();
    // Select All (true) and Clear All (false) of the selection page.
    void SelectAll(bool select);

private:
    void CautionAboutViruses();
    bool ReadStore();
    void SetPageTexts();
    void AttachView();
    void OnPictureClick();
    void OnMouseDown(int button, int xTwips, int yTwips);
    void AddAddressBookAndFavorites();
    void CheckAddressBook();
    void FollowCaution(catalog::AddressBookCaution caution);
    void ShowTotals();

    IBackupWizardPage& page_;
    BackupStartContext context_;
    catalog::CatalogTotals totals_;
    catalog::TreeListView view_;
    char grouping_ = ',';
};

}  // namespace corvane

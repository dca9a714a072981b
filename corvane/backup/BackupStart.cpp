#include "corvane/backup/BackupStart.h"

#include "corvane/zip/Win32FileSystem.h"
#include "corvane/catalog/CatalogExtras.h"
#include "corvane/catalog/StoreCatalog.h"
#include "corvane/environment/Seams.h"
#include "corvane/environment/StringTable.h"
#include "corvane/environment/portable/SettingNames.h"
#include "corvane/environment/portable/TextRules.h"
#include "corvane/main/resource.h"

namespace corvane {
namespace {

constexpr int kRightButton = 2;

// The hourglass for the length of a scope.
class WaitCursor {
public:
    WaitCursor() : old_(SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)))) {}  // IDC_WAIT
    ~WaitCursor() { SetCursor(old_ ? old_ : LoadCursorA(nullptr, MAKEINTRESOURCEA(32512))); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR old_;
};

}  // namespace

void BackupStart::Start() {
    CautionAboutViruses();
    WaitCursor wait;
    grouping_ = catalog::LocaleThousandSeparator();
    if (!ReadStore()) {
        // Without an index there is nothing to choose from: the welcome page stays.
        const char* missing = context_.store.bIsV5 ? catalog::kIndexMissingText : catalog::kNchIndexMissingText;
        ShowMessage(page_.Owner(), missing, context_.messageTitle, MB_OK | MB_ICONINFORMATION);
        return;
    }
    page_.OpenBackupWizard();
    SetPageTexts();
    AttachView();
    AddAddressBookAndFavorites();
    page_.ShowStatus(LoadText(IDS_SELECTION_HINT));
    view_.Refresh();
    ShowTotals();
}

void BackupStart::SelectAll(bool select) {
    if (select)
        catalog::SelectAll(context_.tlMail, totals_);
    else
        catalog::ClearAll(context_.tlMail, totals_);
    view_.RefreshItems();
    ShowTotals();
}

void BackupStart::CautionAboutViruses() {
    CRegSettings* registry = context_.registry.get();
    if (!registry || registry->GetSetting("", settings::kWarnVirus, "Y") != "Y") return;
    bool notAgain = false;
    page_.ShowCaution(LoadText(IDS_VIRUS_CAUTION), notAgain);
    registry->SaveSetting("", settings::kWarnVirus, notAgain ? "N" : "Y");
}

// Every start rebuilds the lists; only the remembered selection carries over.
bool BackupStart::ReadStore() {
    totals_ = {};
    context_.tlWork.Clear();
    context_.tlMail.Clear();
    catalog::Win32FileSource files;
    catalog::RememberedSelection saved{context_.plan.SavedNames, context_.plan.SavedFlags};
    if (!context_.store.bIsV5) {
        std::unique_ptr<zip::FileSystem> folders = zip::MakeWin32FileSystem();
        return catalog::BuildV4BackupCatalog({context_.store.Oe4.Oe4MailFolder, context_.store.Oe4.Oe4NewsFolder},
                                             catalog::ReadNewsAccounts(), saved, files, *folders, context_.tlWork,
                                             context_.tlMail, totals_);
    }
    return catalog::BuildV5BackupCatalog(context_.store.Oe5StoreFolder, saved, files, context_.tlWork, context_.tlMail,
                                         totals_);
}

void BackupStart::AddAddressBookAndFavorites() {
    BackupPlan& plan = context_.plan;
    catalog::ReadExtraPlaces(context_.store.WindowsFolder, plan);
    std::unique_ptr<zip::FileSystem> files = zip::MakeWin32FileSystem();

    page_.ShowStatus(LoadText(IDS_CHECKING_ADDRESS_BOOK));
    FollowCaution(catalog::AddAddressBook(plan.WabPath, plan.IncludeAddressBook, *files, context_.tlMail, totals_));
    CheckAddressBook();

    page_.ShowStatus(LoadText(IDS_SCANNING_FAVORITES));
    catalog::AddFavorites(plan.FavoritesFolder, {plan.SavedNames, plan.SavedFlags}, *files, context_.tlMail, totals_);
}

// Outlook Express may keep its own address book: saving the system's then
// misses the user's contacts, and the user is told so until asked not to.
void BackupStart::CheckAddressBook() {
    if (!catalog::AddressBookCheckDue(context_.plan.UseOutlookValue, context_.tlMail, totals_)) return;
    CRegSettings* registry = context_.registry.get();
    if (!registry || !EqualsNoCase(registry->GetSetting(settings::kGeneralSection, settings::kWarnAboutWab, "Y"), "Y"))
        return;
    bool notAgain = false;
    page_.ShowAddressBookCheck(LoadText(IDS_WAB_NOT_IN_USE) + "\r\n\r\n" + LoadText(IDS_CHOOSE_HELP), notAgain);
    registry->SaveSetting(settings::kGeneralSection, settings::kWarnAboutWab, notAgain ? "N" : "Y");
}

void BackupStart::SetPageTexts() {
    page_.SetSelectionTexts(LoadText(IDS_TITLE_BACKUP), LoadText(IDS_ITEMS_TO_SAVE), LoadText(IDS_DATA_TO_SAVE),
                            LoadText(IDS_ARCHIVE_SIZE), LoadText(IDS_SELECT_ALL), LoadText(IDS_CLEAR_ALL));
}

// The view takes the place the page keeps for the tree, so the page's own
// enabling of that control reaches it.
void BackupStart::AttachView() {
    if (view_.Host()) return;
    HWND parent = nullptr;
    RECT rect = {0, 0, 0, 0};
    int id = 0;
    if (!page_.TakeTreePlace(parent, rect, id)) return;
    if (!view_.Create(parent, id, rect, context_.tlMail)) return;
    // One box per row: the tick picture. The mark is the item's state and is
    // not drawn as a second box beside it.
    view_.On().pictureClick = [this] { OnPictureClick(); };
    view_.On().mouseDown = [this](int button, int, int x, int y) { OnMouseDown(button, x, y); };
    view_.Show(true);
}

void BackupStart::OnPictureClick() {
    FollowCaution(catalog::PictureClick(context_.tlMail, totals_));
    view_.RefreshItems();
    ShowTotals();
}

void BackupStart::OnMouseDown(int button, int xTwips, int yTwips) {
    if (button != kRightButton) return;
    int position = view_.HitTestTwips(xTwips, yTwips);
    if (position <= 0) return;
    context_.tlMail.SetSelected(position);
    view_.RefreshItems();  // the view highlights it too
    ShowMessage(page_.Owner(), catalog::DetailsText(context_.tlMail, position, true, grouping_), context_.messageTitle,
                MB_OK | MB_ICONINFORMATION);
}

// The caution that the address book is left out, and the check when it is ticked.
void BackupStart::FollowCaution(catalog::AddressBookCaution caution) {
    if (caution == catalog::AddressBookCaution::Untouched) return;
    page_.ShowAddressBookCaution(caution == catalog::AddressBookCaution::Show);
    if (caution == catalog::AddressBookCaution::HideAndCheck) CheckAddressBook();
}

void BackupStart::ShowTotals() {
    context_.plan.ItemCount = totals_.itemCount;
    context_.plan.SelectedCount = totals_.selectedCount;
    context_.plan.TotalBytes = totals_.totalBytes;
    page_.ShowCounts();
}

}  // namespace corvane

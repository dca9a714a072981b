// The backup wizard's start and the selection page's tree: reads the store
// into tlWork/tlMail, shows tlMail in a tree view where the page keeps room
// for it, and keeps the counts up to date while the user ticks items.
#include "corvane/main/frmMain_BackupStart.h"

#include "corvane/catalog/StoreCatalog.h"
#include "corvane/catalog/TreeListView.h"
#include "corvane/catalog/Win32Catalog.h"
#include "corvane/environment/Seams.h"
#include "corvane/main/WizardIds.h"
#include "corvane/main/frmGenMsg.h"
#include "corvane/main/frmMain.h"
#include "corvane/main/resource.h"

#include <memory>

namespace corvane {
namespace {

constexpr int kBackupMode = 1;
constexpr int kRightButton = 2;
constexpr int IDS_SCANNING_FAVORITES = 267;
constexpr int IDS_CHECKING_ADDRESS_BOOK = 268;
constexpr int kAddressBookCautionLabel = IDC_LBL + 22;

const char* const kVirusCaution =
    "\r\nIt is a good idea to run your Anti Virus Software\r\nprior to making a backup of your email folders.";
const char* const kSelectionHint = "Click on the Check box to select items to copy to the archive.";

void SetText(HWND control, const std::string& text) {
    if (!control) return;
    SetWindowTextA(control, text.c_str());
    UpdateWindow(control);
}

void ShowControl(HWND control, bool visible) {
    if (control) ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

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

class BackupStart {
public:
    explicit BackupStart(frmMain& window) : window_(window) {}

    void Start() {
        CautionAboutViruses();
        WizardMode = kBackupMode;
        WaitCursor wait;
        grouping_ = catalog::LocaleThousandSeparator();
        if (!ReadStore()) {
            // Without an index there is nothing to choose from: the welcome page stays.
            ShowMessage(window_.Handle(), catalog::kIndexMissingText, window_.MessageTitle,
                        MB_OK | MB_ICONINFORMATION);
            return;
        }
        window_.OpenBackupWizard();
        SetPageTexts();
        AttachView();
        // The address book and the Favorites are added to the list here once
        // they are read; until then only their status texts are shown.
        ShowStatus(frmMain::LoadText(IDS_CHECKING_ADDRESS_BOOK));
        ShowStatus(frmMain::LoadText(IDS_SCANNING_FAVORITES));
        ShowStatus(kSelectionHint);
        view_.Refresh();
        ShowTotals();
    }

    void SelectAll(bool select) {
        if (WizardMode != kBackupMode) return;  // the restore's buttons follow the restore's rules
        if (select)
            catalog::SelectAll(window_.tlMail, totals_);
        else
            catalog::ClearAll(window_.tlMail, totals_);
        view_.RefreshItems();
        ShowTotals();
    }

private:
    void CautionAboutViruses() {
        if (!window_.Registry) return;
        if (window_.Registry->GetSetting("", "WarnVirus", "Y") != "Y") return;
        bool notAgain = false;
        frmGenMsg::Message(window_.Handle(), IDI_CAUTION, "Corvane", kVirusCaution, notAgain, -1);
        window_.Registry->SaveSetting("", "WarnVirus", notAgain ? "N" : "Y");
    }

    // Every start rebuilds the lists; only the remembered selection carries over.
    bool ReadStore() {
        totals_ = {};
        window_.tlWork.Clear();
        window_.tlMail.Clear();
        if (!window_.bIsV5) {
            // The version-4 reader is not here yet: the page shows the store root alone.
            window_.tlMail.AddItem("Outlook Express");
            return true;
        }
        catalog::Win32FileSource files;
        return catalog::BuildV5BackupCatalog(window_.Oe5StoreFolder, {window_.SavedNames, window_.SavedFlags},
                                             files, window_.tlWork, window_.tlMail, totals_);
    }

    void SetPageTexts() {
        SetText(window_.Control(IDC_LBLCAPTION), "Data Available to Archive");
        SetText(window_.Control(IDC_LBLCOUNTS + 0), "Items to Save:");
        SetText(window_.Control(IDC_LBLCOUNTS + 1), "Total Data to Save:");
        SetText(window_.Control(IDC_LBLCOUNTS + 2), "Estimated Archive Size:");
        SetText(window_.Control(IDC_CMDSELECT + 0), "&Select All");
        SetText(window_.Control(IDC_CMDSELECT + 1), "&Clear All");
    }

    void ShowStatus(const std::string& text) {
        HWND status = window_.Control(IDC_TXTLOAD);
        ShowControl(status, true);
        SetText(status, text);
    }

    // The view takes the place the page keeps for the tree (a placeholder
    // with the tree's id), so the page's own enabling of IDC_TLMAIL reaches it.
    void AttachView() {
        if (view_.Host()) return;
        RECT rect = {0, 0, 0, 0};
        HWND parent = window_.picPage(1);
        if (HWND placeholder = window_.Control(IDC_TLMAIL)) {
            parent = GetParent(placeholder);
            GetWindowRect(placeholder, &rect);
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
            DestroyWindow(placeholder);
        } else if (parent) {
            GetClientRect(parent, &rect);
            rect.right = rect.left + (rect.right - rect.left) / 2;
        }
        if (!parent || !view_.Create(parent, IDC_TLMAIL, rect, window_.tlMail)) return;
        // One box per row: the tick picture. The mark is the item's state and
        // is not drawn as a second box beside it.
        view_.On().pictureClick = [this] { OnPictureClick(); };
        view_.On().mouseDown = [this](int button, int, int x, int y) { OnMouseDown(button, x, y); };
        view_.Show(true);
    }

    void OnPictureClick() {
        FollowCaution(catalog::PictureClick(window_.tlMail, totals_));
        view_.RefreshItems();
        ShowTotals();
    }

    void OnMouseDown(int button, int xTwips, int yTwips) {
        if (button != kRightButton) return;
        int position = view_.HitTestTwips(xTwips, yTwips);
        if (position <= 0) return;
        window_.tlMail.SetSelected(position);
        view_.RefreshItems();  // the view highlights it too
        ShowMessage(window_.Handle(), catalog::DetailsText(window_.tlMail, position, true, grouping_),
                    window_.MessageTitle, MB_OK | MB_ICONINFORMATION);
    }

    // The caution that the address book is left out; its check comes with the book itself.
    void FollowCaution(catalog::AddressBookCaution caution) {
        if (caution == catalog::AddressBookCaution::Untouched) return;
        ShowControl(window_.Control(kAddressBookCautionLabel), caution == catalog::AddressBookCaution::Show);
    }

    void ShowTotals() {
        window_.ItemCount = totals_.itemCount;
        window_.SelectedCount = totals_.selectedCount;
        window_.TotalBytes = totals_.totalBytes;
        window_.ShowCounts();
    }

    frmMain& window_;
    catalog::CatalogTotals totals_;
    catalog::TreeListView view_;
    char grouping_ = ',';
};

}  // namespace

void AttachBackupStart(frmMain& window) {
    auto start = std::make_shared<BackupStart>(window);
    window.StartBackupWizard = [start] { start->Start(); };
    window.SelectAllItems = [start](bool select) { start->SelectAll(select); };
}

}  // namespace corvane

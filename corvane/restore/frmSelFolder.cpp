#include "corvane/restore/frmSelFolder.h"

#include "corvane/catalog/CatalogModel.h"
#include "corvane/catalog/Dbx5Reader.h"
#include "corvane/catalog/Nch4Reader.h"
#include "corvane/catalog/StoreCatalog.h"
#include "corvane/catalog/Win32Catalog.h"
#include "corvane/environment/Seams.h"
#include "corvane/environment/StringTable.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/restore/RestoreIds.h"
#include "corvane/restore/portable/RestoreMapping.h"

namespace corvane {
namespace {

namespace names = catalog::names;

bool EndsWithDbx(const std::string& name) {
    return name.size() >= 4 && _stricmp(name.c_str() + name.size() - 4, ".dbx") == 0;
}

}  // namespace

frmSelFolder::frmSelFolder(std::string messageTitle)
    : CModalDialog(IDD_SELFOLDER), messageTitle_(std::move(messageTitle)) {}

bool frmSelFolder::LoadCurrentFolders(const StoreContext& store) {
    catalog::Win32FileSource files;
    if (!store.bIsV5) return catalog::BuildV4TargetList(store.Oe4.Oe4MailFolder, files, work_, tlCurrent);
    if (!catalog::BuildV5TargetList(store.Oe5StoreFolder, files, work_, tlCurrent)) return false;
    // A folder whose file is missing (the index reader leaves it without a
    // name) cannot take a restore: grey, like the folders without a file.
    for (int i = 1; i < tlCurrent.Count(); ++i) {
        std::string name = tlCurrent.TextValue(i, names::kMbxName);
        std::string path = EndsWithDbx(name) ? restore::PathInFolder(store.Oe5StoreFolder, name) : std::string();
        if (!path.empty() && files.FileExists(path)) {
            tlCurrent.SetNumberValue(i, names::kMbxCounts, catalog::ReadMessageCount(files, path));
        } else {
            tlCurrent.SetTextColour(i, catalog::kGreyText);
        }
    }
    return true;
}

int frmSelFolder::Show(HWND owner) {
    SelFolderResult = 0;
    DoModal(owner);
    view_.reset();
    return SelFolderResult;
}

bool frmSelFolder::OnInit() {
    CentreForm(Handle());
    SetWindowTextA(Handle(), LoadText(IDS_SELFOLDER_CAPTION).c_str());
    SetItemText(IDC_SELFOLDER_LBL + 0, LoadText(IDS_SELFOLDER_LBL0));
    SetItemText(IDC_SELFOLDER_LBL + 1, LoadText(IDS_SELFOLDER_LBL1));
    SetItemText(IDC_SELFOLDER_CMD + 0, LoadText(IDS_SELFOLDER_OK));
    SetItemText(IDC_SELFOLDER_CMD + 1, LoadText(IDS_SELFOLDER_CANCEL));
    // The tree takes the place its placeholder keeps in the template.
    RECT rect{};
    HWND placeholder = Item(IDC_SELFOLDER_TLCURRENT);
    GetWindowRect(placeholder, &rect);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&rect), 2);
    DestroyWindow(placeholder);
    view_ = std::make_unique<catalog::TreeListView>();
    if (view_->Create(Handle(), IDC_SELFOLDER_TLCURRENT, rect, tlCurrent)) {
        view_->On().dblClick = [this] { cmd_Click(0); };
        view_->On().mouseDown = [this](int button, int, int x, int y) {
            if (button == 2) tlCurrent_MouseDown(x, y);
        };
        view_->Refresh();
        view_->Show(true);
        SetFocus(view_->Tree());  // the list is what the dialog is for
        return false;
    }
    return true;
}

bool frmSelFolder::OnButtonClicked(int id) {
    switch (id) {
    case IDOK:
    case IDC_SELFOLDER_CMD + 0:
        cmd_Click(0);
        return true;
    case IDCANCEL:
    case IDC_SELFOLDER_CMD + 1:
        cmd_Click(1);
        return true;
    default:
        return false;
    }
}

// OK takes the selected folder when it stands for a file of its own; any
// other choice, or Cancel, gives 0. The window goes; the list stays.
void frmSelFolder::cmd_Click(int index) {
    SelFolderResult = 0;
    if (index == 0) {
        int selected = tlCurrent.Selected();
        if (selected > 0 && _stricmp(tlCurrent.TextValue(selected, names::kHasData).c_str(), "Y") == 0) {
            SelFolderResult = selected;
        } else {
            Sounds().Beep();
        }
    }
    End(index == 0 ? IDOK : IDCANCEL);
}

void frmSelFolder::tlCurrent_MouseDown(int xTwips, int yTwips) {
    int position = view_->HitTestTwips(xTwips, yTwips);
    if (position <= 0) return;
    tlCurrent.SetSelected(position);
    view_->RefreshItems();
    std::string text = LoadText(IDS_SELFOLDER_FOLDER) + restore::FirstColumn(tlCurrent.Text(position)) +
                       std::string(14, ' ') + "\r\n" + LoadText(IDS_SELFOLDER_COUNT) +
                       tlCurrent.TextValue(position, names::kMbxCounts);
    ShowMessage(Handle(), text, messageTitle_, MB_ICONINFORMATION);
}

}  // namespace corvane

#include "corvane/restore/frmGetLocn.h"

#include "corvane/environment/HelpFcns.h"
#include "corvane/environment/Seams.h"
#include "corvane/environment/StringTable.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/restore/CDialog.h"
#include "corvane/restore/RestoreIds.h"
#include "corvane/restore/portable/PlacementNames.h"

namespace corvane {
namespace {

constexpr int kTypeLabel = IDC_GETLOCN_LBL + 0;
constexpr int kLastSavedLabel = IDC_GETLOCN_LBL + 3;
constexpr int kLastDiskLabel = IDC_GETLOCN_LBL + 4;
constexpr int kTypeNote = IDC_GETLOCN_LBL + 8;
constexpr int kSelectedFolders = 0;
constexpr int kFullRestore = 2;
constexpr int32_t kBrowseFlags = 6145;  // read-only ticked, path and file must exist
constexpr COLORREF kRed = RGB(255, 0, 0);

}  // namespace

frmGetLocn::frmGetLocn(RestoreState& restore, std::string backupName, std::string messageTitle)
    : CModalDialog(IDD_GETLOCN),
      restore_(restore),
      backupName_(std::move(backupName)),
      messageTitle_(std::move(messageTitle)) {}

void frmGetLocn::Show(HWND owner) {
    DoModal(owner);
    if (icon_) DestroyIcon(icon_);
    icon_ = nullptr;
}

bool frmGetLocn::OnInit() {
    SetWindowTextA(Handle(), LoadText(IDS_GETLOCN_CAPTION).c_str());
    SetWindowContextHelpId(Handle(), kHelpContext);
    icon_ = static_cast<HICON>(LoadImageA(Instance(), MAKEINTRESOURCEA(kIcon), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    if (icon_) SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SetItemText(kTypeLabel, LoadText(IDS_GETLOCN_TYPE));
    SetItemText(IDC_GETLOCN_OPTTYPE + kSelectedFolders, LoadText(IDS_GETLOCN_SELECTED));
    SetItemText(IDC_GETLOCN_OPTTYPE + kFullRestore, LoadText(IDS_GETLOCN_FULL));
    SetItemText(kLastSavedLabel, LoadText(IDS_GETLOCN_LASTSAVED));
    SetItemText(IDC_GETLOCN_CMDBRWSE, LoadText(IDS_GETLOCN_BROWSE));
    SetItemText(kLastDiskLabel, LoadText(IDS_GETLOCN_LASTDISK));
    SetItemText(IDC_GETLOCN_CMD + 0, LoadText(IDS_GETLOCN_OK));
    SetItemText(IDC_GETLOCN_CMD + 1, LoadText(IDS_GETLOCN_CANCEL));
    ShowItem(kTypeNote, false);
    ShowItem(kLastDiskLabel, false);
    EnableItem(IDC_GETLOCN_CMD + 0, false);
    SetItemText(IDC_GETLOCN_TXTBACKUPLOCN, restore_.RestorePath);
    restore_.RestorePath.clear();
    return true;
}

bool frmGetLocn::OnButtonClicked(int id) {
    switch (id) {
    case IDC_GETLOCN_OPTTYPE + kSelectedFolders:
        optType_Click(kSelectedFolders);
        return true;
    case IDC_GETLOCN_OPTTYPE + kFullRestore:
        optType_Click(kFullRestore);
        return true;
    case IDC_GETLOCN_CMDBRWSE:
        cmdBrwse_Click();
        return true;
    case IDOK:  // Enter: OK, once a type is chosen
        if (IsWindowEnabled(Item(IDC_GETLOCN_CMD + 0))) cmd_Click(0);
        return true;
    case IDC_GETLOCN_CMD + 0:
        cmd_Click(0);
        return true;
    case IDCANCEL:  // Escape, the close box
    case IDC_GETLOCN_CMD + 1:
        cmd_Click(1);
        return true;
    default:
        return false;
    }
}

bool frmGetLocn::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
    if (message == WM_HELP) {
        ShowHelpContext(kHelpContext);
        *result = TRUE;
        return true;
    }
    if (message == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lParam) == Item(kLastDiskLabel)) {
        auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, kRed);
        SetBkMode(dc, TRANSPARENT);
        *result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        return true;
    }
    return false;
}

void frmGetLocn::optType_Click(int index) {
    SetChecked(IDC_GETLOCN_OPTTYPE + kSelectedFolders, index == kSelectedFolders);
    SetChecked(IDC_GETLOCN_OPTTYPE + kFullRestore, index == kFullRestore);
    SetItemText(kTypeNote, LoadText(index == kSelectedFolders ? IDS_GETLOCN_SELECTED_NOTE : IDS_GETLOCN_FULL_NOTE));
    ShowItem(kTypeNote, true);
    EnableItem(IDC_GETLOCN_CMD + 0, true);
    restore_.RestoreMode = static_cast<int16_t>(index);
}

void frmGetLocn::cmd_Click(int index) {
    if (index != 0) {
        End(IDCANCEL);
        return;
    }
    std::string path = ItemText(IDC_GETLOCN_TXTBACKUPLOCN);
    if (FileExists(path)) {
        restore_.RestorePath = path;
        End(IDOK);
        return;
    }
    int answer =
        ShowMessage(Handle(), LoadText(IDS_GETLOCN_NOT_FOUND), messageTitle_, MB_RETRYCANCEL | MB_ICONINFORMATION);
    if (answer != IDRETRY) End(IDCANCEL);
}

void frmGetLocn::cmdBrwse_Click() {
    CDialog dialog;
    std::string path = ItemText(IDC_GETLOCN_TXTBACKUPLOCN);
    restore::BrowseStart start = restore::BrowseStartOf(path);
    dialog.InitDir = start.InitDir;
    dialog.Filename = start.Filename;
    dialog.Flags = kBrowseFlags;
    dialog.SetFilter("Outlook Express Backups|" + backupName_ + "*.zip");
    dialog.DialogTitle = LoadText(IDS_GETLOCN_BROWSE_TITLE);
    if (!dialog.ShowOpen(Handle())) return;
    SetItemText(IDC_GETLOCN_TXTBACKUPLOCN, dialog.Filename);
    ShowItem(kLastDiskLabel, restore::ShowsLastDiskNote(dialog.Filename));
}

}  // namespace corvane

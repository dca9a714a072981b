// The wizard's steps: both transition tables, the step-entry routine, the
// run button, and the destination and name pages of a backup.
#include "corvane/backup/planning/BackupPlanning.h"
#include "corvane/catalog/Win32Catalog.h"
#include "corvane/environment/Seams.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/backup/BackupIds.h"
#include "corvane/main/WizardIds.h"
#include "corvane/main/frmMain.h"
#include "corvane/main/resource.h"

namespace corvane {
namespace {

constexpr UINT kRamDiskDriveType = 6;  // DRIVE_RAMDISK

planning::CalendarDate TodayAsDate() {
    CalendarTime today = Today();
    return {today.year, today.month, today.day};
}

void ShowControl(HWND control, bool visible) {
    if (control) ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

void Enable(HWND control, bool enabled) {
    if (control) EnableWindow(control, enabled ? TRUE : FALSE);
}

}  // namespace

// The page flow of a wizard start; the starts themselves (catalog, archive
// choice) belong to the backup and restore parts and call these.
void frmMain::OpenBackupWizard() {
    Wizard.OpenBackup();
    ForgetStaleRestoreChoice();
    ShowWizardPage(false);
    EnterStep(Wizard.Step());
}

// The page's title belongs to the wizard's start, not to its steps.
void frmMain::OpenRestoreWizard() {
    Wizard.OpenRestore();
    ShowWizardPage(true);
    SetControlText(IDC_LBLCAPTION, LoadText(IDS_TITLE_RESTORE));
}

// Turns the welcome page into the wizard page, on the flow's step.
void frmMain::ShowWizardPage(bool backEnabled) {
    CreateWizardControls();
    if (HMENU file = SubMenu(0)) {
        EnableMenuItem(file, 0, MF_BYPOSITION | MF_GRAYED);
        EnableMenuItem(file, 1, MF_BYPOSITION | MF_GRAYED);
    }
    SetWindowHeightTwips(kWizardHeightTwips);
    ShowControl(pages_[0], false);
    ShowControl(pages_[1], true);
    ShowCurrentStep();
    Enable(Control(IDC_BTNBACK), backEnabled);
    Enable(Control(IDC_BTNNEXT), true);
}

void frmMain::CancelArchiveChoice() {
    Wizard.CancelArchiveChoice();
    ShowWelcomePage();
}

// The welcome page again, with both starts.
void frmMain::ShowWelcomePage() {
    ForgetStaleRestoreChoice();
    if (HMENU file = SubMenu(0)) {
        EnableMenuItem(file, 0, MF_BYPOSITION | MF_ENABLED);
        EnableMenuItem(file, 1, MF_BYPOSITION | MF_ENABLED);
    }
    for (int id : {IDC_CMDBACKUP, IDC_CMDRESTORE}) Enable(Control(id), true);
    if (!pages_[1] || !(GetWindowLongA(pages_[1], GWL_STYLE) & WS_VISIBLE)) return;
    ShowControl(pages_[1], false);
    ShowControl(pages_[0], true);
    SetWindowHeightTwips(kWelcomeHeightTwips);
    SetCaption(LoadText(IDS_CAPTION));
}

// A restore that left its archive forgets it whole: the archive, the type
// of restore and the list read from its log.
void frmMain::ForgetStaleRestoreChoice() {
    if (!Wizard.RestoreChoiceStale()) return;
    Restore = {};
    tlMail.Clear();
    if (ForgetRestoreChoice) ForgetRestoreChoice();
    Wizard.RestoreChoiceForgotten();
}

// Only the panel of the flow's step shows.
void frmMain::ShowCurrentStep() {
    for (int step = kSelectionStep; step <= kArchiveItemsStep; ++step)
        if (step != Wizard.Step()) ShowControl(picStep(step), false);
    ShowControl(picStep(Wizard.Step()), true);
}

void frmMain::btnNext_Click() {
    const bool toName = Wizard.Mode() == WizardMode::Backup && Wizard.Step() == kDestinationStep;
    if (toName && !Wizard.Running() && !FolderExists(Backup.SaveFolder)) {
        ShowMessage(hwnd_, LoadText(IDS_DRIVE_NOT_READY), MessageTitle, MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (Wizard.Next() != WizardMove::ShowStep) return;
    ShowCurrentStep();
    Enable(Control(IDC_BTNBACK), true);
    Enable(Control(IDC_BTNNEXT), Wizard.Step() != kRunStep);
    if (Wizard.Mode() == WizardMode::Restore) {
        SetControlText(IDC_LBL_PAGETEXT, LoadText(IDS_RESTORE_HINT));
        SetControlText(IDC_DOIT, LoadText(IDS_RESTORE_NOW));
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        return;
    }
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EnterStep(Wizard.Step());
}

void frmMain::btnBack_Click() {
    WizardMove move = Wizard.Back();
    if (move == WizardMove::ChooseArchive) {
        ForgetStaleRestoreChoice();
        return cmdRestore_Click();
    }
    if (move != WizardMove::ShowStep) return;
    ShowCurrentStep();
    Enable(Control(IDC_BTNNEXT), true);
    if (Wizard.Mode() == WizardMode::Restore) return;
    Enable(Control(IDC_BTNBACK), Wizard.Step() != kSelectionStep);
    EnterStep(Wizard.Step());
}

void frmMain::EnterStep(int step) {
    switch (step) {
    case 0:
        return ShowCounts();
    case 1:
        return ShowDestinationPage();
    case 2:
        return ShowNamePage();
    case kRunStep:
        return ShowFinalPage();
    default:
        return;
    }
}

// The run button: a restore, a backup, or Cancel while a backup runs.
void frmMain::doIT_Click() {
    if (Runner.Running()) return Runner.Cancel();
    if (Wizard.Mode() == WizardMode::Restore) {
        // The run starts first: the page is rearranged while it works.
        if (StartRestoreRun) StartRestoreRun();
        if (!hwnd_) return;  // the run could not start and the window is gone
        Enable(Control(IDC_TLMAIL), false);
        Enable(Control(IDC_BTNBACK), false);
        ShowControl(Control(IDC_DOIT), false);
        ShowControl(Control(IDC_LBL_PAGETEXT), false);
        ShowControl(Control(IDC_LBLPROGRESS), true);
        return;
    }
    if (Wizard.Mode() != WizardMode::Backup) return;
    Backup.KeepExisting = IsDlgButtonChecked(GetParent(Control(IDC_OPT_KEEP)), IDC_OPT_KEEP) == BST_CHECKED;
    if (StartBackupRun) StartBackupRun();
}

void frmMain::RunStarted() {
    Wizard.RunStarted();
    EnableRunMenus(false);
}

void frmMain::RunEnded() {
    Wizard.RunEnded();
    if (hwnd_) EnableRunMenus(true);
}

// File > Exit and the Options menu (the identity switch among them).
void frmMain::EnableRunMenus(bool enabled) {
    const UINT state = enabled ? MF_ENABLED : MF_GRAYED;
    if (HMENU file = SubMenu(0)) {
        EnableMenuItem(file, IDM_EXPORT, MF_BYCOMMAND | state);
        EnableMenuItem(file, IDM_EXIT, MF_BYCOMMAND | state);
    }
    if (HMENU options = SubMenu(1))
        for (int position = 0; position < GetMenuItemCount(options); ++position)
            EnableMenuItem(options, static_cast<UINT>(position), MF_BYPOSITION | state);
    DrawMenuBar(hwnd_);
}

void frmMain::cmdSelect_Click(int index) {
    if (SelectAllItems) SelectAllItems(index == 0 || index == 2);
}

void frmMain::ShowCounts() {
    char separator = catalog::LocaleThousandSeparator();
    SetControlText(IDC_TXTCOUNT, planning::CountText(Backup.SelectedCount, Backup.ItemCount));
    SetControlText(IDC_TXTTOTALSIZE, planning::KBytesText(static_cast<double>(Backup.TotalBytes), separator));
    SetControlText(IDC_TXTBACKSIZE,
                   planning::KBytesText(planning::EstimatedArchiveBytes(Backup.TotalBytes), separator));
}

void frmMain::RecomputeDestination() {
    Backup.SaveDriveRoot = planning::DriveRoot(Backup.SaveFolder);
    Backup.IsDiskette = planning::IsDisketteRoot(Backup.SaveDriveRoot);
}

void frmMain::ShowDestinationPage() {
    settingSaveLocn_ = true;
    SetControlText(IDC_TXTSAVELOCN, Backup.SaveFolder);
    settingSaveLocn_ = false;
    RecomputeDestination();
    UpdateDestinationWarnings();
}

// A destination typed by hand counts as soon as it is typed.
void frmMain::txtSaveLocn_Change() {
    if (settingSaveLocn_) return;
    Backup.SaveFolder = ControlText(IDC_TXTSAVELOCN);
    RecomputeDestination();
    UpdateDestinationWarnings();
}

void frmMain::UpdateDestinationWarnings() {
    ShowControl(Control(IDC_LBL_SPACE_WARNING), false);
    ShowControl(Control(IDC_LBL_SPACE_NEEDED), false);
    ShowControl(Control(IDC_LBL_DISKETTE_CAUTION), Backup.IsDiskette);
    ShowControl(Control(IDC_LBL_DISKETTE_ESTIMATE), Backup.IsDiskette);
    if (Backup.IsDiskette) {
        SetControlText(IDC_LBL_DISKETTE_ESTIMATE, planning::DisketteEstimateText(Backup.TotalBytes));
        return;
    }
    if (planning::IsNetworkPath(Backup.SaveFolder)) return;
    int64_t freeBytes = Drives().FreeBytes(Backup.SaveDriveRoot);
    if (!planning::NeedsSpaceWarning(Backup.TotalBytes, freeBytes)) return;
    // Today's archive of the same name, replaced, would leave room: the run
    // will offer to remove it first.
    const std::string sameName =
        planning::ArchivePath(Backup.SaveFolder, Backup.BackupName, Backup.BackupAddto, TodayAsDate());
    WIN32_FILE_ATTRIBUTE_DATA old{};
    const bool roomIfReplaced =
        GetFileAttributesExA(sameName.c_str(), GetFileExInfoStandard, &old) &&
        !planning::NeedsSpaceWarning(Backup.TotalBytes,
                                     freeBytes + ((static_cast<int64_t>(old.nFileSizeHigh) << 32) | old.nFileSizeLow));
    SetControlText(IDC_LBL_SPACE_WARNING, LoadText(roomIfReplaced ? IDS_BACKUP_ROOM_IF_REPLACED : IDS_SPACE_WARNING));
    SetControlText(IDC_LBL_SPACE_NEEDED, planning::RequiredSpaceText(Backup.TotalBytes, catalog::LocaleThousandSeparator()));
    ShowControl(Control(IDC_LBL_SPACE_WARNING), true);
    ShowControl(Control(IDC_LBL_SPACE_NEEDED), true);
}

void frmMain::cmdSaveLocn_Click() {
    std::string chosen = Drives().BrowseForFolder(hwnd_, LoadText(IDS_BROWSE_TITLE));
    if (chosen.empty()) {
        std::string typed = ControlText(IDC_TXTSAVELOCN);
        Backup.SaveFolder = typed.empty() ? "a:\\" : typed;
        RecomputeDestination();
    } else if (planning::IsDrivePath(chosen)) {
        std::string root = planning::DriveRoot(chosen);
        bool diskette = planning::IsDisketteRoot(root);
        unsigned driveType = Drives().DriveType(root);
        // Refused before anything changes, so the destination stays as it was.
        if (!diskette && driveType == kRamDiskDriveType) {
            ShowMessage(hwnd_, root + "- is not a valid drive for an archive", MessageTitle,
                        MB_OK | MB_ICONINFORMATION);
            return;
        }
        Backup.SaveFolder = chosen;
        Backup.SaveDriveRoot = root;
        Backup.IsDiskette = diskette;
    } else {
        Backup.SaveFolder = chosen;  // a network path
        Backup.SaveDriveRoot = planning::DriveRoot(chosen);
        Backup.IsDiskette = false;
    }
    settingSaveLocn_ = true;
    SetControlText(IDC_TXTSAVELOCN, Backup.SaveFolder);
    settingSaveLocn_ = false;
    UpdateDestinationWarnings();
}

void frmMain::SetRenameFrameVisible(bool visible) {
    ShowControl(Control(IDC_FRARENAME), visible);
    ShowControl(Control(IDC_OPT_REPLACE), visible);
    ShowControl(Control(IDC_OPT_KEEP), visible);
}

void frmMain::optRename_Click(int index) {
    HWND step = picStep(2);
    CheckDlgButton(step, IDC_OPT_REPLACE, index == 0 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(step, IDC_OPT_KEEP, index == 1 ? BST_CHECKED : BST_UNCHECKED);
}

void frmMain::ShowNamePage() {
    std::string name = planning::ArchivePath(Backup.SaveFolder, Backup.BackupName, Backup.BackupAddto, TodayAsDate());
    SetControlText(IDC_TXTBACKNAME, name);
    if (Backup.IsDiskette) {
        // A diskette archive always replaces what is on the diskette.
        SetRenameFrameVisible(false);
        optRename_Click(0);
        return;
    }
    bool exists = FileExists(name);
    SetRenameFrameVisible(exists);
    optRename_Click(exists ? 1 : 0);
}

void frmMain::ShowFinalPage() {
    SetControlText(IDC_LBL_PAGETEXT, LoadText(IDS_MAKE_ARCHIVE_HINT));
    SetControlText(IDC_DOIT, LoadText(IDS_MAKE_ARCHIVE));
}

void frmMain::OnWizardCommand(int id, int code) {
    if (id == IDC_TXTSAVELOCN) {
        if (code == EN_CHANGE) txtSaveLocn_Change();
        return;
    }
    if (code != BN_CLICKED) return;
    if (id == IDC_BTNNEXT) return btnNext_Click();
    if (id == IDC_BTNBACK) return btnBack_Click();
    if (id == IDC_DOIT) return doIT_Click();
    if (id == IDC_CMDSAVELOCN) return cmdSaveLocn_Click();
    if (id >= IDC_CMDSELECT && id <= IDC_CMD_RESTORE_CLEAR_ALL) return cmdSelect_Click(id - IDC_CMDSELECT);
    if (id == IDC_OPT_REPLACE || id == IDC_OPT_KEEP) return optRename_Click(id - IDC_OPTRENAME);
}

}  // namespace corvane

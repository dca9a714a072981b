// The menus, the welcome buttons' guard, the close request and the unload.
#include "corvane/main/frmMain.h"

#include "corvane/backup/frmSetRemind.h"
#include "corvane/backup/planning/NewsSchedule.h"
#include "corvane/environment/HelpFcns.h"
#include "corvane/environment/MessagePump.h"
#include "corvane/environment/RegistryEx.h"
#include "corvane/environment/Seams.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/environment/portable/SettingNames.h"
#include "corvane/backup/BackupIds.h"
#include "corvane/main/About.h"
#include "corvane/main/frmExport.h"
#include "corvane/restore/RestoreIds.h"
#include "corvane/main/frmSelIdent.h"
#include "corvane/environment/portable/ListFcns.h"
#include "corvane/environment/portable/TextRules.h"
#include "corvane/main/resource.h"

namespace corvane {
namespace {

// Tells the news program which product's news to show.
const char* const kNewsProductCode = "CV";
using settings::kNewsKey;
const char* const kNewsDateValue = settings::kNewsLastShowDate;
// The programs started from here (the news program, this program after an
// identity switch) must come up visible: a hidden start would hand them a
// hidden first window, which the user could never reach.
constexpr int kStartedProgramShow = SW_SHOWNORMAL;

}  // namespace

void frmMain::mFunction_Click(int index) {
    switch (index) {
    case 0:
        return cmdBackup_Click();
    case 1:
        return cmdRestore_Click();
    case 2:
        return cmdExport_Click();
    case 3:
        // While a run goes, Exit is disabled: only the close box may stop it.
        if (Runner.Running()) return Beep();
        if (ShowMessage(hwnd_, LoadText(IDS_EXIT_QUESTION), Caption(), MB_YESNO | MB_ICONINFORMATION) == IDYES)
            Unload();
        return;
    default:
        return;
    }
}

void frmMain::mOpts_Click(int index) {
    if (Runner.Running()) return Beep();  // the Options menu is disabled while a run goes
    HMENU options = SubMenu(1);
    if (index == 0) {
        if (!Registry) return;
        frmSetRemind reminder(*Registry);
        reminder.Edit(hwnd_);
        return;
    }
    if (index >= 2 && index <= 4) {
        // The identity rule takes effect at the next start.
        for (int position = 2; position <= 4; ++position)
            CheckMenuItem(options, static_cast<UINT>(position),
                          MF_BYPOSITION | (position == index ? MF_CHECKED : MF_UNCHECKED));
        Store.IdentOption = index;
        Registry->SaveSetting("", settings::kIdentOption, std::to_string(index));
        return;
    }
    if (index == 6 && Store.Identities.iIdentCnt > 1) {
        frmSelIdent::ChooseIdent(hwnd_, Store.Identities, Caption(), true);
        if (Store.Identities.iIdentDefNo < 0) {
            Store.Identities.iIdentDefNo = -Store.Identities.iIdentDefNo;
            return;
        }
        std::string id = NulListEntry(Store.Identities.IdentityIds, Store.Identities.iIdentDefNo);
        Registry->SaveSetting("", settings::kStartAs, id);
        RestartPending = true;
        Unload();
    }
}

void frmMain::mHelp_Click(int index) {
    switch (index) {
    case 0:
        ShowHelpContents();
        return;
    case 1:
        ShowHelpContext(1001);
        return;
    case 2:
        ShowHelpContext(1002);
        return;
    case 3:
        ShowHelpContext(1005);
        return;
    case 5:
        LaunchNews(false);
        return;
    case 7:
        ShowHelpContext(1006);
        return;
    case 8: {
        About about(VersionText("corvane.exe"));
        about.ShowModal(hwnd_);
        return;
    }
    default:
        return;
    }
}

// Both wizards refuse to start while Outlook Express holds its files open.
void frmMain::cmdBackup_Click() {
    if (IsOutlookExpressRunning()) {
        ShowMessage(hwnd_, LoadText(IDS_OE_RUNNING) + "\r\n" + LoadText(IDS_PRIOR_TO), MessageTitle,
                    MB_OK | MB_ICONSTOP);
        Backup.AbortRequested = true;
        return;
    }
    LaunchNews(true);
    // The backup start proper (catalog, counts) attaches through the hook;
    // without it the wizard opens on an empty selection.
    if (StartBackupWizard) return StartBackupWizard();
    OpenBackupWizard();
}

// Starts the news program. A backup start (automatic) does so only once the
// date it last showed its page is 30 days old; any failure is ignored.
void frmMain::LaunchNews(bool automatic) {
    if (automatic) {
        std::string shown = RegistryEx::ReadText("HKCU", kNewsKey, kNewsDateValue, "");
        planning::CalendarDate today{Today().year, Today().month, Today().day};
        planning::NewsDecision decision = planning::DecideAutomaticNews(shown, today);
        if (!decision.storeDate.empty())
            RegistryEx::WriteValue("HKCU", kNewsKey, kNewsDateValue, 'S', decision.storeDate);
        if (!decision.launch) return;
    }
    Launcher().Open(
        {Store.AppFolder + "\\loopline.exe ", std::string("ProductId=") + kNewsProductCode, "", kStartedProgramShow});
    PumpMessages();
}

void frmMain::cmdRestore_Click() {
    if (IsOutlookExpressRunning()) {
        ShowMessage(hwnd_, LoadText(IDS_OE_RUNNING) + "\r\n" + LoadText(IDS_PRIOR_TO), MessageTitle,
                    MB_OK | MB_ICONSTOP);
        Backup.AbortRequested = true;
        return;
    }
    if (StartRestoreWizard) StartRestoreWizard();
}

// The export reads the store and writes elsewhere, so it may open over the
// wizard; only a run of the wizard keeps it shut.
void frmMain::cmdExport_Click() {
    if (Runner.Running()) return Beep();
    frmExport exporter(Store.MailFilesFolder, MessageTitle);
    exporter.Show(hwnd_);
}

// A close request while a run goes asks whether to stop it; the window
// then waits for the operation to stop cleanly, and the run's end closes it.
bool frmMain::Form_QueryUnload(bool byUser) {
    if (!byUser) return true;
    if (Runner.Running()) {
        int question = Wizard.Mode() == WizardMode::Restore ? IDS_RESTORE_STOP_QUESTION : IDS_BACKUP_STOP_QUESTION;
        if (ShowMessage(hwnd_, LoadText(question), Caption(), MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
        Runner.CancelAndWait();
        return IsLoaded();
    }
    return ShowMessage(hwnd_, LoadText(IDS_EXIT_QUESTION), Caption(), MB_YESNO | MB_ICONINFORMATION) == IDYES;
}

void frmMain::Unload() {
    if (!hwnd_ || unloading_) return;
    unloading_ = true;
    Form_Unload();
    if (hwnd_) DestroyWindow(hwnd_);
}

void frmMain::Beep() { Sounds().Beep(); }

void frmMain::Form_Unload() {
    CloseHelp();
    if (UnloadSelFolder) {
        UnloadSelFolder();
        UnloadSelFolder = nullptr;
    }
    // A quick backup leaves the stored position alone, and so does a start
    // that stopped before the window was placed.
    if (!Backup.FastMode && positionPlaced_) SavePosition();
    Registry.reset();
    if (RestartPending) StartAgain();
}

void frmMain::SavePosition() {
    RECT window;
    if (!Registry || !GetWindowRect(hwnd_, &window)) return;
    int left = static_cast<int>(window.left * TwipsPerPixelX + (window.left >= 0 ? 0.5 : -0.5));
    int top = static_cast<int>(window.top * TwipsPerPixelY + (window.top >= 0 ? 0.5 : -0.5));
    Registry->SaveSetting(settings::kPositionsSection, settings::kMainPosition, FormatWindowOrigin(left, top));
}

// The program starts again and takes the identity stored in Store.StartAs.
void frmMain::StartAgain() {
    PumpMessages();
    ShowWindow(hwnd_, SW_HIDE);
    PumpMessages();
    Launcher().Open({Store.AppFolder + "\\corvane.exe", "", "", kStartedProgramShow});
}

}  // namespace corvane

// Start-up of the main window: finds the store, binds the settings, makes the
// control file on a first start, reads it, and places the window.
#include "corvane/main/frmMain.h"

#include "corvane/environment/Seams.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/environment/VXStrings.h"
#include "corvane/main/ControlFileSave.h"
#include "corvane/main/frmExport.h"
#include "corvane/main/frmExportIds.h"
#include "corvane/main/frmSelIdent.h"
#include "corvane/environment/portable/OePaths.h"
#include "corvane/environment/portable/SettingNames.h"
#include "corvane/main/portable/QuickList.h"
#include "corvane/environment/portable/ListFcns.h"
#include "corvane/environment/portable/TextRules.h"
#include "corvane/main/resource.h"

namespace corvane {
namespace {

constexpr int kWelcomeHeightTwips = 5400;
const char* const kCrLf = "\r\n";

bool ReadWholeFile(const std::string& path, std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    text.clear();
    char buffer[8192];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    CloseHandle(file);
    return true;
}

// A menu entry's text, keeping its command id.
void SetMenuEntryText(HMENU menu, int position, const std::string& text) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>(text.c_str());
    SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
}

std::string TodayDigits() {
    CalendarTime today = Today();
    return DateDigits(today.year, today.month, today.day);
}

}  // namespace

void frmMain::Form_Load() {
    if (Backup.AbortRequested) return Unload();
    ListDelimiter = '\0';
    ControlDelimiter = kControlDelimiter;
    MessageTitle = LoadText(IDS_MESSAGE_TITLE);
    if (!BindFieldLibrary()) return;
    Store.WindowsFolder = WindowsFolderPath();
    Registry = std::make_unique<CRegSettings>();
    Registry->SetCompany(settings::kCompany);
    Registry->SetAppName(settings::kApplication);
    InitialiseTexts();
    Switches = ParseCommandSwitches(Arguments);
    if (!FindStore()) return;
    PrepareStoreSettings();
    ReadStoreSettings();
    if (Switches.quickBackup) DecideQuickBackup();
    ReadControlFile();
    if (Backup.FastMode && !(PrepareQuickBackup && PrepareQuickBackup())) Backup.FastMode = false;
    PlaceWindow();
    if (Backup.FastMode && Switches.closeOutlookFirst && IsOutlookExpressRunning()) {
        CloseOutlookExpress();
        Backup.FastMode = !IsOutlookExpressRunning();
    }
    if (Backup.FastMode) {
        // The quick backup runs now and ends by unloading the window.
        Wizard.OpenBackup();
        RunQuickBackup();
        return;
    }
    PrepareWelcomePage();
}

// Step 4: captions, pictures and the texts kept for later.
void frmMain::InitialiseTexts() {
    SetCaption(LoadText(IDS_CAPTION));
    SetControlText(IDC_LBL_VERSION_CAPTION, LoadText(IDS_VERSION_LABEL));
    SetControlText(IDC_LBL_VERSION, VersionText("corvane.exe"));
    SetControlText(IDC_LBL_WAB_CAUTION, LoadText(IDS_WAB_WARNING));
    SetControlText(IDC_TXTLOAD, LoadText(IDS_LOADING));
    SetControlText(IDC_CMDBACKUP, LoadText(IDS_CMDBACKUP));
    SetControlText(IDC_CMDRESTORE, LoadText(IDS_CMDRESTORE));
    if (HMENU file = SubMenu(0)) {
        SetMenuEntryText(file, 0, ControlText(IDC_CMDBACKUP));
        SetMenuEntryText(file, 1, ControlText(IDC_CMDRESTORE));
        DrawMenuBar(hwnd_);
    }
    OfText = LoadText(IDS_OF);
    TabText = "\t";
    NulText = std::string(1, '\0');
    Store.AppFolder = ::corvane::AppFolder();
}

// The program's lists go through skein.dll beside it: without it (or with a
// copy that lacks a function) nothing would work, so start-up stops here.
bool frmMain::BindFieldLibrary() {
    SkeinStatus status = SkeinStatus::Ok;
    if (SkeinAvailable(&status)) return true;
    int text = status == SkeinStatus::FileNotFound ? IDS_SKEIN_MISSING
               : status == SkeinStatus::LoadFailed ? IDS_SKEIN_LOAD_FAILED
                                                   : IDS_SKEIN_MISSING_ENTRY;
    Stop(LoadText(text, VXStrings::LibraryPath()));
    return false;
}

void frmMain::Stop(const std::string& message) {
    ShowMessage(hwnd_, message, MessageTitle, MB_OK | MB_ICONINFORMATION);
    StoppedByMessage = true;
    Unload();
}

// Without Outlook Express there is nothing to back up or restore, but mail
// copied off an old disk or kept in an archive can still be exported.
void frmMain::OfferExportWithoutStore(const std::string& message) {
    const std::string text = message + kCrLf + kCrLf + LoadText(IDS_EXPORT_WITHOUT_OE);
    if (ShowMessage(hwnd_, text, MessageTitle, MB_YESNO | MB_ICONINFORMATION) == IDYES) {
        frmExport exporter("", MessageTitle);
        exporter.Show(hwnd_);
    }
    StoppedByMessage = true;
    Unload();
}

// Step 6: which Outlook Express, and where its store is. False after a stop.
bool frmMain::FindStore() {
    if (Switches.forceVersion4) return FindVersion4Store();
    VersionDecision version = DecideVersion();
    if (!version.found) {
        OfferExportWithoutStore(LoadText(IDS_NEED_OE) + kCrLf + LoadText(IDS_INSTALL_OE));
        return false;
    }
    if (!version.isV5) return FindVersion4Store();
    return FindVersion5Store();
}

bool frmMain::FindVersion4Store() {
    Store.bIsV5 = false;
    if (FindOe4Store(Store.WindowsFolder, Store.Oe4)) return true;
    Stop(LoadText(IDS_NO_OE4_MAIL));
    return false;
}

bool frmMain::FindVersion5Store() {
    Store.bIsV5 = true;
    ListIdentities(Store.Identities);
    if (Store.Identities.iIdentCnt == 0) {
        Stop(LoadText(IDS_NO_OE5_IDENTITY));
        return false;
    }
    ConfigureIdentityMenu();
    Store.StartAs = Registry->GetSetting("", settings::kStartAs, "");
    Registry->DeleteSetting("", settings::kStartAs);
    HWND owner = hwnd_;
    std::string caption = Caption();
    ChooseIdentity(Store.Identities, Store.StartAs, Store.IdentOption, [owner, caption](IdentityList& identities) {
        frmSelIdent::ChooseIdent(owner, identities, caption, false);
    });
    if (Store.Identities.iIdentCnt > 1) SetCaption(Caption() + " -- Identity: " + Store.Identities.IdentityName);
    Store.Oe5StoreFolder = FindVersion5StoreFolder(Store.Identities.IdentityId, Store.WindowsFolder);
    if (!Store.Oe5StoreFolder.empty()) return true;
    Stop(LoadText(IDS_NO_OE5_MAIL));
    return false;
}

// Options entries 2, 3, 4 and 6 choose and switch identities.
void frmMain::ConfigureIdentityMenu() {
    HMENU options = SubMenu(1);
    if (!options) return;
    if (Store.Identities.iIdentCnt == 1) {
        for (int position : {2, 3, 4, 6})
            EnableMenuItem(options, static_cast<UINT>(position), MF_BYPOSITION | MF_GRAYED);
        return;
    }
    Store.IdentOption = IdentityRuleFromSetting(Registry->GetSetting("", settings::kIdentOption, "2"));
    for (int position = 2; position <= 4; ++position)
        CheckMenuItem(options, static_cast<UINT>(position),
                      MF_BYPOSITION | (position == Store.IdentOption ? MF_CHECKED : MF_UNCHECKED));
}

// Step 7: the store's settings section and control file; a first start makes both.
void frmMain::PrepareStoreSettings() {
    if (Store.bIsV5) {
        Store.SettingsSection = Store.Identities.IdentityId;
        Store.MailFilesFolder = Store.Oe5StoreFolder;
        Backup.BackupName = "Corvane5Backup";
        Backup.BackupAddto = "." + Store.Identities.IdentityName + ".";
        Store.ControlFilePath = Store.AppFolder + "\\brind5." + Store.Identities.IdentityId + ".ctl";
        if (FileExists(Store.ControlFilePath)) return;
        return MakeControlFile(NewVersion5ControlFile(Store.Identities.IdentityName, Store.Identities.IdentityId));
    }
    // A version-4 store has no identities: the identity entries go.
    if (HMENU options = SubMenu(1))
        for (int position = 6; position >= 1; --position)
            DeleteMenu(options, static_cast<UINT>(position), MF_BYPOSITION);
    Store.SettingsSection = settings::kGeneralSection;
    Backup.BackupName = "CorvaneBackup";
    Backup.BackupAddto = ".";
    Store.MailFilesFolder = Store.Oe4.Oe4MailFolder;
    Store.ControlFilePath = Store.AppFolder + "\\brind4.ctl";
    if (FileExists(Store.ControlFilePath)) return;
    if (FileExists(Store.AppFolder + "\\brind3.ctl")) return ConvertLegacyControlFile();
    MakeControlFile(NewVersion4ControlFile());
}

// A store without a control file: its first start, or a program folder that
// cannot take the file. The defaults go only into a section that has no
// settings yet, so a folder that never takes the file does not reset the
// last backup date, the destination and the quick-backup permission at every
// start; the user is told once where the file could not be written.
void frmMain::MakeControlFile(const std::string& text) {
    FirstRun = WriteFirstRunDefaults();
    if (ReplaceFileWhole(Store.ControlFilePath, text)) return;
    if (Registry->GetSetting(Store.SettingsSection, settings::kControlFileWarned, "") == "Y") return;
    ShowMessage(hwnd_, LoadText(IDS_CONTROL_FILE_UNWRITABLE, Store.ControlFilePath), MessageTitle,
                MB_OK | MB_ICONINFORMATION);
    Registry->SaveSetting(Store.SettingsSection, settings::kControlFileWarned, "Y");
}

// True when the section had no settings and got the defaults.
bool frmMain::WriteFirstRunDefaults() {
    const char* const kAbsent = "\x01";
    auto defaults = FirstRunDefaults(TodayDigits());
    for (const auto& [key, value] : defaults)
        if (Registry->GetSetting(Store.SettingsSection, key, kAbsent) != kAbsent) return false;
    for (const auto& [key, value] : defaults) Registry->SaveSetting(Store.SettingsSection, key, value);
    return true;
}

// The control file of an older release becomes this release's version-4 file; the old one stays.
void frmMain::ConvertLegacyControlFile() {
    std::string legacy;
    if (!ReadWholeFile(Store.AppFolder + "\\brind3.ctl", legacy)) return;
    ReplaceFileWhole(Store.ControlFilePath, corvane::ConvertLegacyControlFile(legacy));
}

// Step 8.
void frmMain::ReadStoreSettings() {
    Backup.SaveFolder = Registry->GetSetting(Store.SettingsSection, settings::kLastSavePath, "");
    if (Backup.SaveFolder.empty()) Backup.SaveFolder = "a:\\";
    Backup.IncludeAddressBook =
        static_cast<int16_t>(LeadingInt(Registry->GetSetting(Store.SettingsSection, settings::kInclWab, "1")));
    Backup.KeepExisting = LeadingInt(Registry->GetSetting(Store.SettingsSection, settings::kDoRename, "1")) != 0;
    MeasureTwipsPerPixel();
    SetWindowHeightTwips(kWelcomeHeightTwips);
}

// Step 9: a quick backup asked for on the command line. It needs a full backup
// before it (AllowQuick) and, unless told not to, the user's confirmation.
void frmMain::DecideQuickBackup() {
    bool fromReminder = Switches.fromReminder;
    if (!EqualsNoCase(Registry->GetSetting(Store.SettingsSection, settings::kAllowQuick, "N"), "Y")) {
        if (!fromReminder)
            ShowMessage(hwnd_, LoadText(IDS_FAST_NOT_POSSIBLE), MessageTitle, MB_OK | MB_ICONINFORMATION);
        return;
    }
    // Without a quick-backup run in this build there is nothing to confirm.
    if (!RunQuickBackup) return;
    bool confirmationDue =
        EqualsNoCase(Registry->GetSetting(Store.SettingsSection, settings::kWarnOnQuick, "Y"), "Y") || fromReminder;
    if (!confirmationDue) {
        Backup.FastMode = true;
        return;
    }
    int answer = ConfirmQuickBackup ? ConfirmQuickBackup(fromReminder) : 0;
    if (answer & 2) Registry->SaveSetting(Store.SettingsSection, settings::kWarnOnQuick, "N");
    if (answer & 1) Backup.FastMode = true;
}

// Step 10: the remembered selection, and for a quick backup the whole folder list.
void frmMain::ReadControlFile() {
    std::string text;
    ReadWholeFile(Store.ControlFilePath, text);
    ControlFileContent content = ParseControlFile(text);
    Store.ControlFileHeader = content.header;
    SavedLines = content.lines;
    if (Backup.FastMode) RebuildQuickList(tlMail, content.lines);
    SavedSelection saved = SavedSelectionOf(content.lines);
    Backup.SavedNames = saved.names;
    Backup.SavedFlags = saved.flags;
    if (Backup.FastMode && tlMail.Count() < 2) Backup.FastMode = false;
}

// Step 12: setting Positions / Main, in twips; off-screen values are centred.
void frmMain::PlaceWindow() {
    RECT window;
    GetWindowRect(hwnd_, &window);
    auto toTwipsX = [this](int pixels) { return static_cast<int>(pixels * TwipsPerPixelX + 0.5); };
    auto toTwipsY = [this](int pixels) { return static_cast<int>(pixels * TwipsPerPixelY + 0.5); };
    WindowOrigin origin =
        ResolveWindowOrigin(Registry->GetSetting(settings::kPositionsSection, settings::kMainPosition, ""),
                            toTwipsX(GetSystemMetrics(SM_CXSCREEN)), toTwipsY(GetSystemMetrics(SM_CYSCREEN)),
                            toTwipsX(window.right - window.left), toTwipsY(window.bottom - window.top));
    int left = static_cast<int>(origin.left / TwipsPerPixelX + 0.5);
    int top = static_cast<int>(origin.top / TwipsPerPixelY + 0.5);
    SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    positionPlaced_ = true;
}

// Step 15: the welcome page.
void frmMain::PrepareWelcomePage() {
    if (pages_[1]) ShowWindow(pages_[1], SW_HIDE);
    LayoutPages();
    if (pages_[0]) ShowWindow(pages_[0], SW_SHOW);
}

}  // namespace corvane

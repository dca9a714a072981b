#include "nudgeon/frmCheck.h"

#include "corvane/environment/Handles.h"
#include "corvane/environment/Seams.h"
#include "corvane/environment/StringTable.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/environment/VXStrings.h"
#include "corvane/environment/portable/ListFcns.h"
#include "corvane/environment/portable/SettingNames.h"
#include "corvane/environment/portable/TextRules.h"
#include "nudgeon/portable/ReminderRules.h"
#include "nudgeon/resource.h"

namespace corvane::nudgeon {
namespace {

using settings::kGeneralSection;
using settings::kLastBackup;
using settings::kRemindDays;

// RemindDays is read with this default to tell a missing key from a stored one.
const char* const kNoSetting = "X";
// The interval of a missing RemindDays, as the reminder dialog shows it.
constexpr int kDefaultRemindDays = 2;
const char* const kNeverText = "-1";
// The label's text in the window template holds this where the number of days goes.
const char* const kDaysMarker = "xxx";
const char* const kProgramToStart = "\\corvane.exe";
const char* const kQuickBackupSwitch = "\\FX";
const char* const kLegacyFile = "\\brind.ctl";
// A record of two counted texts never needs more.
constexpr DWORD kLegacyMaxBytes = 2 * (2 + 0xFFFF);

// The first `limit` bytes of a file (all of a shorter one); false when it cannot be read.
bool ReadFileStart(const std::string& path, DWORD limit, std::string& bytes) {
    CHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
    if (!file.IsValid()) return false;
    bytes.assign(limit, '\0');
    DWORD total = 0;
    DWORD got = 0;
    while (total < limit && ReadFile(file.Get(), bytes.data() + total, limit - total, &got, nullptr) && got > 0) {
        total += got;
    }
    bytes.resize(total);
    return true;
}

CivilDate TodaysDate() {
    CalendarTime today = Today();
    return {today.year, today.month, today.day};
}

}  // namespace

frmCheck::frmCheck() : CDialogBase(IDD_CHECK) {
    // corvane's own settings, whatever this program's version information says.
    registry_.SetCompany(settings::kCompany);
    registry_.SetAppName(settings::kApplication);
}

frmCheck::~frmCheck() {
    if (Handle()) DestroyWindow(Handle());
}

bool frmCheck::Form_Load() {
    messageTitle_ = LoadText(IDS_MESSAGE_TITLE);
    std::optional<Reminder> reminder = ReadReminder();
    if (!reminder) return false;
    // -1 is "never"; no other negative interval means anything, and taken as
    // days it would remind on the very day of a backup.
    if (reminder->days < 0) return false;
    std::optional<CivilDate> lastBackup = ParseBackupDate(reminder->lastBackup);
    if (!lastBackup) return false;
    if (!ReminderDue(*lastBackup, reminder->days, TodaysDate())) return false;

    if (!Create(nullptr)) return false;
    std::optional<std::string> text = ReminderText(reminder->days);
    if (!text) {
        DestroyWindow(Handle());
        return false;
    }
    SetItemText(IDC_CHECK_LABEL1, *text);
    return true;
}

void frmCheck::Show() {
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The settings corvane keeps in "Parms"; the old reminder file only when the
// interval was never stored there. Without either, the interval is the one the
// reminder dialog offers for a missing value: corvane stores a version-5
// store's first interval in the identity's section, never in "Parms", so a
// user who never opened that dialog would otherwise never be reminded.
std::optional<frmCheck::Reminder> frmCheck::ReadReminder() {
    std::string stored = registry_.GetSetting(kGeneralSection, kRemindDays, kNoSetting);
    int days = kDefaultRemindDays;
    if (stored != kNoSetting) {
        days = LeadingInt(stored);
    } else if (FileExists(AppFolder() + kLegacyFile)) {
        return ReadLegacyReminder();
    }
    Reminder reminder{days, registry_.GetSetting(kGeneralSection, kLastBackup, "")};
    if (reminder.lastBackup.empty()) return std::nullopt;
    return reminder;
}

std::optional<frmCheck::Reminder> frmCheck::ReadLegacyReminder() {
    std::string bytes;
    if (!ReadFileStart(AppFolder() + kLegacyFile, kLegacyMaxBytes, bytes)) return std::nullopt;
    std::optional<LegacyReminderRecord> record = ParseLegacyReminder(bytes);
    if (!record || record->lastBackup.empty()) return std::nullopt;
    if (!FieldLibraryUsable()) return std::nullopt;
    int days = LeadingInt(ListGet(record->fieldList, PrimaryDelimiter(), 2));
    if (days == 0) days = kLegacyDefaultDays;
    return Reminder{days, record->lastBackup};
}

// The fields and the wording go through skein.dll beside the program; without
// it (or with a copy that lacks a function) the user is told which file is at
// fault instead of being shown a wrong reminder.
bool frmCheck::FieldLibraryUsable() {
    SkeinStatus status = SkeinStatus::Ok;
    if (SkeinAvailable(&status)) return true;
    int text = status == SkeinStatus::FileNotFound ? IDS_SKEIN_MISSING
               : status == SkeinStatus::LoadFailed ? IDS_SKEIN_LOAD_FAILED
                                                   : IDS_SKEIN_MISSING_ENTRY;
    ShowMessage(nullptr, LoadText(text, VXStrings::LibraryPath()), messageTitle_, MB_OK | MB_ICONINFORMATION);
    return false;
}

// Below 2 days the singular text; otherwise the label's template text with the
// number of days in place of its marker.
std::optional<std::string> frmCheck::ReminderText(int days) {
    if (days < 2) return LoadText(IDS_ONE_DAY);
    if (!FieldLibraryUsable()) return std::nullopt;
    VXStrings::StringResult text =
        VXStrings::DS_ReplaceDlms(ItemText(IDC_CHECK_LABEL1), kDaysMarker, std::to_string(days));
    if (!text.ok()) return std::nullopt;
    return text.value();
}

// No control gets the focus here: the dialog manager's default would
// activate the window and take the keys the user is typing elsewhere. A click
// on the window gives it the focus as usual.
bool frmCheck::OnInit() { return false; }

bool frmCheck::OnButtonClicked(int id) {
    if (id == IDC_CHECK_CMD + 0) {
        cmd_Click(0);
        return true;
    }
    // Cancel, Esc and the close box.
    if (id == IDC_CHECK_CMD + 1 || id == IDCANCEL) {
        cmd_Click(1);
        return true;
    }
    return false;
}

void frmCheck::cmd_Click(int index) {
    // A quick backup, as asked by the reminder; a failure to start it is not reported.
    if (index == 0) OpenWithShell(AppFolder() + kProgramToStart, kQuickBackupSwitch, AppFolder());
    Form_Unload();
}

void frmCheck::Form_Unload() {
    if (IsChecked(IDC_CHECK_CHECK1)) registry_.SaveSetting(kGeneralSection, kRemindDays, kNeverText);
    DestroyWindow(Handle());
}

// A handler failed: the window goes, and with it the program.
void frmCheck::OnFailure() {
    if (Handle()) DestroyWindow(Handle());
}

}  // namespace corvane::nudgeon

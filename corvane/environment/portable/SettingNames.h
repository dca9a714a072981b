// The names under which the programs keep their settings in the registry:
// HKEY_CURRENT_USER\Software\<company>\<application>\<section>, value <name>.
// corvane writes them; nudgeon reads the general section; loopline keeps its
// own key. One list, so the programs cannot drift apart.
#pragma once

namespace corvane::settings {

inline constexpr const char* kCompany = "BrindleWorks";
inline constexpr const char* kApplication = "Corvane";

// The application key itself ("" section).
inline constexpr const char* kIdentOption = "IdentOption";
inline constexpr const char* kStartAs = "StartAs";
inline constexpr const char* kWarnVirus = "WarnVirus";

// The general section, and the section of each version-4 store; a version-5
// identity's section is its id.
inline constexpr const char* kGeneralSection = "Parms";
inline constexpr const char* kWarnOverWrite = "WarnOverWrite";
inline constexpr const char* kRemindDays = "RemindDays";
inline constexpr const char* kWarnOnQuick = "WarnOnQuick";
inline constexpr const char* kAllowQuick = "AllowQuick";
inline constexpr const char* kLastBackup = "LastBackup";
inline constexpr const char* kLastSavePath = "LastSavePath";
inline constexpr const char* kInclWab = "InclWab";
inline constexpr const char* kDoRename = "DoRename";
inline constexpr const char* kLastSaveName = "LastSaveName";
// "N" once the user asked not to be told again that Outlook Express uses another address book.
inline constexpr const char* kWarnAboutWab = "WarnAboutWAB";
// "Y" once the user was told that the store's control file cannot be written.
inline constexpr const char* kControlFileWarned = "CtlFileWarned";

// Where the main window was.
inline constexpr const char* kPositionsSection = "Positions";
inline constexpr const char* kMainPosition = "Main";

// The news program's key and the date it last showed news.
inline constexpr const char* kNewsKey = "Software\\BrindleWorks\\Loopline\\Corvane";
inline constexpr const char* kNewsLastShowDate = "LastShowDate";

}  // namespace corvane::settings

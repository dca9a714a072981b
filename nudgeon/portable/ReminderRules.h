// The reminder's rules, free of the platform: the date test on the stored
// last-backup text, when the reminder is due, and the record of the old
// reminder file "brind.ctl".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::nudgeon {

struct CivilDate {
    int year = 0, month = 0, day = 0;
};

// A last-backup text "YYYYMMDD" read as "####/##/##": exactly eight digits
// that make a real calendar date (month 1-12, the day within its month, leap
// years counted, year 1 or later). Anything else gives nullopt.
std::optional<CivilDate> ParseBackupDate(std::string_view text);

// True when today is later than the last backup + interval days. An interval
// of 2 after a backup on 1 March is first due on 4 March.
bool ReminderDue(const CivilDate& lastBackup, int64_t intervalDays, const CivilDate& today);

// The old reminder file "brind.ctl", read as one record from its first byte.
// The record is two counted texts, each a 16-bit little-endian byte count
// followed by that many bytes:
//   1. the field list: fields separated by the lists' primary delimiter
//      (character 2); field 1 names the program that wrote the file, field 2
//      is the interval in days as decimal text (0 standing for 2 days);
//   2. the last-backup date as "YYYYMMDD".
// Bytes after the record are ignored.
struct LegacyReminderRecord {
    std::string fieldList;
    std::string lastBackup;
};

// The record at the start of the file's bytes; nullopt when the file ends
// before either text does (a truncated or foreign file).
std::optional<LegacyReminderRecord> ParseLegacyReminder(std::string_view bytes);

// The interval an old record's field 2 stands for: 0 is taken as 2.
inline constexpr int kLegacyDefaultDays = 2;

}  // namespace corvane::nudgeon

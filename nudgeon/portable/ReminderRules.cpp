#include "nudgeon/portable/ReminderRules.h"

namespace corvane::nudgeon {
namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && IsLeapYear(year)) return 29;
    return kDays[month - 1];
}

// The number of the digits text[at, at + count).
int Digits(std::string_view text, size_t at, size_t count) {
    int value = 0;
    for (size_t i = at; i < at + count; ++i) value = value * 10 + (text[i] - '0');
    return value;
}

// A 16-bit little-endian count at `at`, then that many bytes; false when the
// bytes end first. `at` moves behind the text.
bool TakeCountedText(std::string_view bytes, size_t& at, std::string& text) {
    if (bytes.size() - at < 2) return false;
    size_t length =
        static_cast<unsigned char>(bytes[at]) | (static_cast<size_t>(static_cast<unsigned char>(bytes[at + 1])) << 8);
    at += 2;
    if (bytes.size() - at < length) return false;
    text.assign(bytes.substr(at, length));
    at += length;
    return true;
}

// Days since 1 January 1970 (negative before it), in the Gregorian calendar.
// Counts whole 400-year eras from 1 March of year 0, so that the leap day is
// the last day of each counted year.
int64_t DayNumber(const CivilDate& date) {
    int64_t year = date.month <= 2 ? date.year - 1 : date.year;
    int64_t era = (year >= 0 ? year : year - 399) / 400;
    int64_t yearOfEra = year - era * 400;
    int64_t monthFromMarch = date.month > 2 ? date.month - 3 : date.month + 9;
    int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + date.day - 1;
    int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

}  // namespace

std::optional<CivilDate> ParseBackupDate(std::string_view text) {
    if (text.size() != 8) return std::nullopt;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
    }
    CivilDate date{Digits(text, 0, 4), Digits(text, 4, 2), Digits(text, 6, 2)};
    if (date.year < 1 || date.month < 1 || date.month > 12) return std::nullopt;
    if (date.day < 1 || date.day > DaysInMonth(date.year, date.month)) return std::nullopt;
    return date;
}

bool ReminderDue(const CivilDate& lastBackup, int64_t intervalDays, const CivilDate& today) {
    // The difference, not the sum: a huge interval cannot overflow.
    return DayNumber(today) - DayNumber(lastBackup) > intervalDays;
}

std::optional<LegacyReminderRecord> ParseLegacyReminder(std::string_view bytes) {
    LegacyReminderRecord record;
    size_t at = 0;
    if (!TakeCountedText(bytes, at, record.fieldList)) return std::nullopt;
    if (!TakeCountedText(bytes, at, record.lastBackup)) return std::nullopt;
    return record;
}

}  // namespace corvane::nudgeon

#include "corvane/backup/planning/NewsSchedule.h"

#include "corvane/environment/portable/ListFcns.h"
#include "corvane/environment/portable/TextRules.h"

#include <cstdio>
#include <vector>

namespace corvane::planning {
namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

CalendarDate CivilFromDays(long long z) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && IsLeapYear(year)) return 29;
    return kDays[month - 1];
}

bool IsValid(CalendarDate date) {
    if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12) return false;
    return date.day >= 1 && date.day <= DaysInMonth(date.year, date.month);
}

long long DayNumber(CalendarDate date) {
    return DaysFromCivil(date.year, static_cast<unsigned>(date.month), static_cast<unsigned>(date.day));
}

}  // namespace

CalendarDate AddDays(CalendarDate date, int days) { return CivilFromDays(DayNumber(date) + days); }

std::string SlashDate(CalendarDate date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", date.year, date.month, date.day);
    return text;
}

std::optional<CalendarDate> ParseSlashDate(std::string_view text) {
    std::vector<std::string> parts = ListFields(text, '/');
    if (parts.size() != 3) return std::nullopt;
    auto year = WholeNumber(parts[0]);
    auto month = WholeNumber(parts[1]);
    auto day = WholeNumber(parts[2]);
    if (!year || !month || !day) return std::nullopt;
    if (*year < 1 || *year > 9999 || *month < 1 || *month > 12 || *day < 1 || *day > 31) return std::nullopt;
    CalendarDate date{static_cast<int>(*year), static_cast<int>(*month), static_cast<int>(*day)};
    if (!IsValid(date)) return std::nullopt;
    return date;
}

NewsDecision DecideAutomaticNews(std::string_view lastShowDate, CalendarDate today) {
    NewsDecision decision;
    if (lastShowDate.empty()) {
        decision.storeDate = SlashDate(AddDays(today, -kFirstNewsBackdateDays));
        return decision;
    }
    auto shown = ParseSlashDate(lastShowDate);
    if (!shown || !IsValid(today)) return decision;
    decision.launch = DayNumber(*shown) + kNewsIntervalDays <= DayNumber(today);
    return decision;
}

}  // namespace corvane::planning

// When a backup start also opens the vendor's news program. The news program
// and this one share one date, LastShowDate, written "yyyy/mm/dd"; the news
// program stores the day it last showed its page. Platform-free date rules.
#pragma once

#include "corvane/backup/planning/BackupPlanning.h"

#include <optional>
#include <string>
#include <string_view>

namespace corvane::planning {

// The news program is due this many days after the stored date.
constexpr int kNewsIntervalDays = 30;
// A first automatic call stores a date this far back, so the first automatic
// launch comes ten days later rather than at once.
constexpr int kFirstNewsBackdateDays = 20;

// The date so many days on (or back, for a negative count); months and years roll over.
CalendarDate AddDays(CalendarDate date, int days);
// "2001/01/31".
std::string SlashDate(CalendarDate date);
// Three whole numbers separated by "/"; nullopt for anything else, or a day
// that is not in its month.
std::optional<CalendarDate> ParseSlashDate(std::string_view text);

struct NewsDecision {
    bool launch = false;
    // Not empty: store this as LastShowDate (first automatic call).
    std::string storeDate;
};

// The automatic rule. Empty stored value: store today − 20 days, no launch.
// Unreadable stored value: nothing at all. Otherwise launch exactly when the
// stored date + 30 days is not later than today.
NewsDecision DecideAutomaticNews(std::string_view lastShowDate, CalendarDate today);

}  // namespace corvane::planning

// Message dates: Windows FILETIME values of the information records, the
// Date header of RFC 822 text, and the forms the writers print.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::exporting {

struct CivilTime {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    int weekday = 4;  // 0 Sunday
};

// Every date read is between 1970 and 2100; others count as unknown.
//
// A FILETIME (100 ns steps since 1601-01-01 UTC) as seconds since 1970;
// nothing for 0 (never set).
std::optional<int64_t> FileTimeToUnixSeconds(uint64_t fileTime);
uint64_t UnixSecondsToFileTime(int64_t seconds);

CivilTime UtcCivil(int64_t unixSeconds);
// The same instant on this machine's clock, as Outlook Express shows it.
CivilTime LocalCivil(int64_t unixSeconds);

// "Mon Jan 20 18:13:04 2025" in UTC, the date form of an mbox "From " line.
std::string AsctimeUtc(int64_t unixSeconds);

// An RFC 822 / 2822 date ("Mon, 20 Jan 2025 16:13:04 -0200") as seconds since
// 1970; nothing when it cannot be read. A missing zone counts as UTC.
std::optional<int64_t> ParseMailDate(std::string_view text);

}  // namespace corvane::exporting

#include "corvane/export/MailDate.h"

#include <cctype>
#include <cstdio>
#include <ctime>
#include <vector>

namespace corvane::exporting {

namespace {

constexpr int64_t kFileTimeStepsPerSecond = 10'000'000;
constexpr int64_t kSecondsFrom1601To1970 = 11'644'473'600;
// Dates outside 1970 to 2100 are taken as unknown: no mail store holds such a
// date honestly, and file times far out of range cannot be set everywhere.
constexpr int64_t kLatestDate = 4'102'444'800;  // 2100-01-01

std::optional<int64_t> Plausible(int64_t seconds) {
    if (seconds < 0 || seconds >= kLatestDate) return std::nullopt;
    return seconds;
}
constexpr const char* kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Days since 1970-01-01 of a proleptic Gregorian date, and back
// (the well-known era-based conversion).
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilTime CivilFromDays(int64_t days, int64_t secondOfDay) {
    CivilTime t;
    const int64_t z = days + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2));
    t.hour = static_cast<int>(secondOfDay / 3600);
    t.minute = static_cast<int>(secondOfDay / 60 % 60);
    t.second = static_cast<int>(secondOfDay % 60);
    t.weekday = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
    return t;
}

int MonthNumber(std::string_view name) {
    if (name.size() < 3) return 0;
    for (int i = 0; i < 12; ++i) {
        bool same = true;
        for (int c = 0; c < 3; ++c) same = same && std::tolower(static_cast<unsigned char>(name[c])) ==
                                                       std::tolower(static_cast<unsigned char>(kMonths[i][c]));
        if (same) return i + 1;
    }
    return 0;
}

bool AllDigits(std::string_view text) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

int Number(std::string_view digits) {
    int value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    return value;
}

// Minutes east of UTC of a zone token; nothing when it is not one.
std::optional<int> ZoneMinutes(std::string_view zone) {
    if (zone.size() == 5 && (zone[0] == '+' || zone[0] == '-') && AllDigits(zone.substr(1))) {
        int value = Number(zone.substr(1, 2)) * 60 + Number(zone.substr(3, 2));
        return zone[0] == '-' ? -value : value;
    }
    struct Named {
        const char* name;
        int hours;
    };
    static constexpr Named kNamed[] = {{"UT", 0},   {"UTC", 0},  {"GMT", 0},  {"Z", 0},    {"EST", -5},
                                       {"EDT", -4}, {"CST", -6}, {"CDT", -5}, {"MST", -7}, {"MDT", -6},
                                       {"PST", -8}, {"PDT", -7}};
    for (const Named& named : kNamed) {
        std::string_view name = named.name;
        if (zone.size() != name.size()) continue;
        bool same = true;
        for (size_t i = 0; i < name.size(); ++i) {
            same = same && std::toupper(static_cast<unsigned char>(zone[i])) == name[i];
        }
        if (same) return named.hours * 60;
    }
    return std::nullopt;
}

std::vector<std::string_view> Tokens(std::string_view text) {
    std::vector<std::string_view> tokens;
    size_t at = 0;
    while (at < text.size() && tokens.size() < 12) {
        while (at < text.size() && (std::isspace(static_cast<unsigned char>(text[at])) || text[at] == ',')) ++at;
        if (at < text.size() && text[at] == '(') break;  // a trailing comment such as "(PST)"
        size_t end = at;
        while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end])) && text[end] != ',') ++end;
        if (end > at) tokens.push_back(text.substr(at, end - at));
        at = end;
    }
    return tokens;
}

}  // namespace

std::optional<int64_t> FileTimeToUnixSeconds(uint64_t fileTime) {
    if (fileTime == 0) return std::nullopt;
    return Plausible(static_cast<int64_t>(fileTime / kFileTimeStepsPerSecond) - kSecondsFrom1601To1970);
}

uint64_t UnixSecondsToFileTime(int64_t seconds) {
    return static_cast<uint64_t>(seconds + kSecondsFrom1601To1970) * kFileTimeStepsPerSecond;
}

CivilTime UtcCivil(int64_t unixSeconds) {
    int64_t days = unixSeconds / 86400;
    int64_t rest = unixSeconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    return CivilFromDays(days, rest);
}

CivilTime LocalCivil(int64_t unixSeconds) {
    std::time_t time = static_cast<std::time_t>(unixSeconds);
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &time) != 0) return UtcCivil(unixSeconds);
#else
    if (localtime_r(&time, &local) == nullptr) return UtcCivil(unixSeconds);
#endif
    CivilTime t;
    t.year = local.tm_year + 1900;
    t.month = local.tm_mon + 1;
    t.day = local.tm_mday;
    t.hour = local.tm_hour;
    t.minute = local.tm_min;
    t.second = local.tm_sec;
    t.weekday = local.tm_wday;
    return t;
}

std::string AsctimeUtc(int64_t unixSeconds) {
    CivilTime t = UtcCivil(unixSeconds);
    char text[64];
    std::snprintf(text, sizeof text, "%s %s %2d %02d:%02d:%02d %d", kWeekdays[t.weekday], kMonths[t.month - 1], t.day,
                  t.hour, t.minute, t.second, t.year);
    return text;
}

std::optional<int64_t> ParseMailDate(std::string_view text) {
    std::vector<std::string_view> tokens = Tokens(text);
    size_t at = 0;
    // An optional day name ("Mon").
    if (at < tokens.size() && !tokens[at].empty() && std::isalpha(static_cast<unsigned char>(tokens[at][0]))) ++at;
    if (tokens.size() < at + 4) return std::nullopt;
    std::string_view dayText = tokens[at], monthText = tokens[at + 1], yearText = tokens[at + 2],
                     timeText = tokens[at + 3];
    int month = MonthNumber(monthText);
    if (!AllDigits(dayText) || month == 0 || !AllDigits(yearText)) return std::nullopt;
    int day = Number(dayText);
    int year = Number(yearText);
    if (yearText.size() <= 2) year += year < 50 ? 2000 : 1900;  // two-digit years of old mailers
    else if (yearText.size() == 3) year += 1900;
    int hour = 0, minute = 0, second = 0;
    int parts[3] = {0, 0, 0};
    int count = 0;
    for (size_t start = 0; start <= timeText.size() && count < 3;) {
        size_t colon = timeText.find(':', start);
        std::string_view part = timeText.substr(start, colon == std::string_view::npos ? colon : colon - start);
        if (!AllDigits(part) || part.size() > 2) return std::nullopt;
        parts[count++] = Number(part);
        if (colon == std::string_view::npos) break;
        start = colon + 1;
    }
    if (count < 2) return std::nullopt;
    hour = parts[0];
    minute = parts[1];
    second = parts[2];
    if (day < 1 || day > 31 || year < 1601 || year > 9999 || hour > 23 || minute > 59 || second > 60) {
        return std::nullopt;
    }
    int zone = 0;
    if (tokens.size() > at + 4) zone = ZoneMinutes(tokens[at + 4]).value_or(0);
    int64_t seconds = DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    return Plausible(seconds - static_cast<int64_t>(zone) * 60);
}

}  // namespace corvane::exporting

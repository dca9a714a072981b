#include "loopline/portable/StartRules.h"

#include "corvane/backup/planning/NewsSchedule.h"
#include "corvane/environment/portable/TextRules.h"

#include <tuple>

namespace corvane::loopline {
namespace {

bool ContainsNoCase(std::string_view text, std::string_view part) {
    return UpperCased(text).find(UpperCased(part)) != std::string::npos;
}

// A hundred years: longer intervals mean "never again" just as well.
constexpr int64_t kLongestAutoDays = 36500;

}  // namespace

std::string FirstParameter(std::string_view commandLine) {
    size_t i = 0;
    while (i < commandLine.size() && (commandLine[i] == ' ' || commandLine[i] == '\t')) ++i;
    std::string parameter;
    bool quoted = false;
    for (; i < commandLine.size(); ++i) {
        char c = commandLine[i];
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && (c == ' ' || c == '\t')) break;
        parameter += c;
    }
    return parameter;
}

bool IsAutomatic(std::string_view firstParameter) {
    return UpperCased(firstParameter).find("\\AUTO") != std::string::npos;
}

bool HidesTaskbarButton(std::string_view firstParameter) {
    return !firstParameter.empty() && !ContainsNoCase(firstParameter, "\\Quiet");
}

std::optional<std::string> CommandLineValue(std::string_view firstParameter, std::string_view key) {
    std::string marker = std::string(key) + "=";
    if (firstParameter.find(marker) == std::string_view::npos) return std::nullopt;
    while (true) {
        size_t bar = firstParameter.find('|');
        std::string_view piece = firstParameter.substr(0, bar);
        size_t at = piece.find(marker);
        if (at != std::string_view::npos) return std::string(piece.substr(at + marker.size()));
        if (bar == std::string_view::npos) return std::nullopt;
        firstParameter.remove_prefix(bar + 1);
    }
}

int AutoDaysFrom(std::string_view text) {
    std::optional<int64_t> days = WholeNumber(text);
    if (!days || *days < 1) return kDefaultAutoDays;
    return static_cast<int>(*days < kLongestAutoDays ? *days : kLongestAutoDays);
}

std::string WithHttpPrefix(std::string_view address) {
    if (EqualsNoCase(address.substr(0, 7), "http://")) return std::string(address);
    return "http://" + std::string(address);
}

std::string EnclosedProductId(std::string_view productId) {
    if (productId.empty()) return "";
    return "," + std::string(productId) + ",";
}

std::string ExePath(std::string_view exeName, std::string_view programFolder) {
    if (exeName.empty() || exeName.find('\\') != std::string_view::npos) return std::string(exeName);
    return std::string(programFolder) + "\\" + std::string(exeName);
}

bool AutomaticShowDue(std::string_view lastShowDate, int autoDays, planning::CalendarDate today) {
    std::optional<planning::CalendarDate> shown = planning::ParseSlashDate(lastShowDate);
    if (!shown) shown = planning::ParseSlashDate(kNeverShown);
    planning::CalendarDate due = planning::AddDays(*shown, autoDays);
    return std::tie(today.year, today.month, today.day) >= std::tie(due.year, due.month, due.day);
}

}  // namespace corvane::loopline

#include "corvane/main/portable/StartupRules.h"
#include "corvane/environment/portable/SettingNames.h"

#include "corvane/environment/portable/Wildcard.h"
#include "corvane/environment/portable/ListFcns.h"
#include "corvane/environment/portable/TextRules.h"

#include <cstdio>

namespace corvane {

CommandSwitches ParseCommandSwitches(std::string_view arguments) {
    CommandSwitches switches;
    switches.forceVersion4 = WildcardMatch(arguments, "\\*4*");
    switches.quickBackup = WildcardMatch(arguments, "\\*F*");
    switches.fromReminder = WildcardMatch(arguments, "\\*FX*");
    switches.closeOutlookFirst = WildcardMatch(arguments, "\\*A*");
    return switches;
}

int IdentityRuleFromSetting(std::string_view setting) {
    int rule = LeadingInt(setting);
    if (rule < kIdentityRuleDefault || rule > kIdentityRulePrompt) return kIdentityRuleDefault;
    return rule;
}

std::vector<std::pair<std::string, std::string>> FirstRunDefaults(const std::string& todayYyyymmdd) {
    using namespace settings;
    return {{kWarnOverWrite, "Y"},        {kRemindDays, "2"},  {kWarnOnQuick, "Y"}, {kAllowQuick, "N"},
            {kLastBackup, todayYyyymmdd}, {kLastSavePath, ""}, {kInclWab, "1"},     {kDoRename, "1"}};
}

std::string DateDigits(int year, int month, int day) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", year % 10000, month % 100, day % 100);
    return text;
}

std::string DateWithDashes(int year, int month, int day) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year % 10000, month % 100, day % 100);
    return text;
}

namespace {

int Centred(int screenSize, int windowSize) { return (screenSize - windowSize) / 2; }

// "Left,Top" with two numbers; anything else cannot be read.
bool ReadOrigin(std::string_view setting, int& left, int& top) {
    std::vector<std::string> fields = ListFields(setting, ',');
    if (fields.size() < 2) return false;
    if (!StartsWithNumber(fields[0]) || !StartsWithNumber(fields[1])) return false;
    left = LeadingInt(fields[0]);
    top = LeadingInt(fields[1]);
    return true;
}

}  // namespace

WindowOrigin ResolveWindowOrigin(std::string_view setting, int screenWidth, int screenHeight, int windowWidth,
                                 int windowHeight) {
    WindowOrigin origin{Centred(screenWidth, windowWidth), Centred(screenHeight, windowHeight)};
    int left = 0, top = 0;
    if (setting.empty() || !ReadOrigin(setting, left, top)) return origin;
    if (left >= 0 && left <= screenWidth) origin.left = left;
    if (top >= 0 && top <= screenHeight) origin.top = top;
    return origin;
}

std::string FormatWindowOrigin(int left, int top) { return std::to_string(left) + "," + std::to_string(top); }

}  // namespace corvane

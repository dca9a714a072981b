// The decisions of start-up that need no window: the command-line switches,
// the identity rule, the first-run defaults and the window position. Platform-free.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane {

// Switches are letters anywhere after a leading backslash, case ignored
// ("\FX", "\xf" and "\4 F" hold F; "/F" and "F" hold nothing).
struct CommandSwitches {
    bool forceVersion4 = false;      // "\*4*"
    bool quickBackup = false;        // "\*F*"
    bool fromReminder = false;       // "\*FX*"
    bool closeOutlookFirst = false;  // "\*A*"
};
CommandSwitches ParseCommandSwitches(std::string_view arguments);

// Identity rules: 2 default identity, 3 last used, 4 ask.
constexpr int kIdentityRuleDefault = 2;
constexpr int kIdentityRuleLast = 3;
constexpr int kIdentityRulePrompt = 4;
// The stored IdentOption as a rule: anything but 3 or 4 (also "abc", "7") is 2.
int IdentityRuleFromSetting(std::string_view setting);

// The defaults a store's settings section gets when its control file is made,
// in the order they are written.
std::vector<std::pair<std::string, std::string>> FirstRunDefaults(const std::string& todayYyyymmdd);

// "YYYYMMDD" and "YYYY-MM-DD".
std::string DateDigits(int year, int month, int day);
std::string DateWithDashes(int year, int month, int day);

// Where the window goes, from setting Positions / Main ("Left,Top", in the
// same unit as the sizes). A Left or Top off the screen is centred on its own
// axis; an empty or unreadable setting centres both.
struct WindowOrigin {
    int left = 0;
    int top = 0;
};
WindowOrigin ResolveWindowOrigin(std::string_view setting, int screenWidth, int screenHeight, int windowWidth,
                                 int windowHeight);
std::string FormatWindowOrigin(int left, int top);

}  // namespace corvane

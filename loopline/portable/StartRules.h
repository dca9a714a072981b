// The decisions of the news program's start that need no window: its command
// line, the settings' defaults and overrides, and when an automatic start
// shows the news again. Platform-free.
#pragma once

#include "corvane/backup/planning/BackupPlanning.h"

#include <optional>
#include <string>
#include <string_view>

namespace corvane::loopline {

inline constexpr const char* kIniFileName = "loopline.ini";
inline constexpr const char* kIniSection = "Parms";
inline constexpr const char* kRegistryKeyBase = "SOFTWARE\\BrindleWorks\\Loopline\\";
inline constexpr const char* kLastShowDateValue = "LastShowDate";
inline constexpr const char* kLastReadValue = "LastRead";
inline constexpr const char* kNeverShown = "1999/01/01";
inline constexpr int kDefaultAutoDays = 15;

// The first parameter of a command line (without the program's name): blanks
// separate parameters, double quotes group blanks into one and are removed.
std::string FirstParameter(std::string_view commandLine);

// "\AUTO" anywhere in the first parameter, case ignored.
bool IsAutomatic(std::string_view firstParameter);
// A first parameter without "\Quiet" (case ignored) hides the taskbar button.
bool HidesTaskbarButton(std::string_view firstParameter);

// The value the first parameter gives `key`: when it holds key + "=", the
// parameter is split at "|" and the value follows key + "=" in that piece.
std::optional<std::string> CommandLineValue(std::string_view firstParameter, std::string_view key);

// AutoDays as set: a whole number from 1 up; anything else is 15.
int AutoDaysFrom(std::string_view text);
// "http://" in front unless the text starts with it (case ignored).
std::string WithHttpPrefix(std::string_view address);
// ",7," for "7"; "" for "".
std::string EnclosedProductId(std::string_view productId);
// A name without "\" is a file in the program's folder.
std::string ExePath(std::string_view exeName, std::string_view programFolder);

// Whether an automatic start shows the news: from the day `autoDays` after
// the last show on. A missing or unreadable date counts as 1999/01/01.
bool AutomaticShowDue(std::string_view lastShowDate, int autoDays, planning::CalendarDate today);

}  // namespace corvane::loopline

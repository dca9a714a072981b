// The reminder interval of the "Parms" settings: whole days 1 to 31, or -1
// for never. Platform-free.
#pragma once

#include <string>
#include <string_view>

namespace corvane::planning {

constexpr int kNeverRemind = -1;
constexpr int kMinRemindDays = 1;
constexpr int kMaxRemindDays = 31;

// What the reminder dialog stores for a typed day count: clamped to 1..31,
// a non-number counting as 0 and so becoming 1.
int ClampRemindDays(std::string_view typed);

}  // namespace corvane::planning

#include "corvane/backup/planning/ReminderDays.h"

#include <climits>

namespace corvane::planning {

int LeadingNumber(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

int ClampRemindDays(std::string_view typed) {
    int days = LeadingNumber(typed);
    if (days < kMinRemindDays) return kMinRemindDays;
    if (days > kMaxRemindDays) return kMaxRemindDays;
    return days;
}

}  // namespace corvane::planning

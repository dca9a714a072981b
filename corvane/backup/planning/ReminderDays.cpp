#include "corvane/backup/planning/ReminderDays.h"

#include "corvane/environment/portable/TextRules.h"

namespace corvane::planning {

int ClampRemindDays(std::string_view typed) {
    int days = LeadingInt(typed);
    if (days < kMinRemindDays) return kMinRemindDays;
    if (days > kMaxRemindDays) return kMaxRemindDays;
    return days;
}

}  // namespace corvane::planning

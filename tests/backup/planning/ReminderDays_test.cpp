#include "corvane/backup/planning/ReminderDays.h"

#include <gtest/gtest.h>

namespace corvane::planning {
namespace {

TEST(WizardReminderDaysTest, TypedDaysAreClampedToOneThroughThirtyOne) {
    EXPECT_EQ(ClampRemindDays("0"), 1);
    EXPECT_EQ(ClampRemindDays("45"), 31);
    EXPECT_EQ(ClampRemindDays("abc"), 1);
    EXPECT_EQ(ClampRemindDays(""), 1);
    EXPECT_EQ(ClampRemindDays("-1"), 1);  // typing -1 is not "never"
    EXPECT_EQ(ClampRemindDays("7"), 7);
    EXPECT_EQ(ClampRemindDays(" 12 days"), 12);
    EXPECT_EQ(ClampRemindDays("99999999999999999999"), 31);
}

}  // namespace
}  // namespace corvane::planning

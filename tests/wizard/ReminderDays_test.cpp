#include "corvane/backup/planning/ReminderDays.h"

#include <gtest/gtest.h>

#include <climits>

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

TEST(WizardReminderDaysTest, LeadingNumberReadsSignAndDigitsOnly) {
    EXPECT_EQ(LeadingNumber("-1"), -1);
    EXPECT_EQ(LeadingNumber("+3x"), 3);
    EXPECT_EQ(LeadingNumber("x3"), 0);
    EXPECT_EQ(LeadingNumber("-"), 0);
    EXPECT_EQ(LeadingNumber("-99999999999999"), INT_MIN);
    EXPECT_EQ(LeadingNumber("2147483647"), INT_MAX);
}

}  // namespace
}  // namespace corvane::planning

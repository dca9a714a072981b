#include "corvane/backup/planning/NewsSchedule.h"

#include <gtest/gtest.h>

namespace corvane::planning {
namespace {

bool Same(CalendarDate a, CalendarDate b) { return a.year == b.year && a.month == b.month && a.day == b.day; }

TEST(WizardNewsScheduleTest, AddDaysRollsOverMonthsYearsAndLeapDays) {
    EXPECT_TRUE(Same(AddDays({2001, 1, 10}, -20), {2000, 12, 21}));
    EXPECT_TRUE(Same(AddDays({2000, 2, 28}, 1), {2000, 2, 29}));
    EXPECT_TRUE(Same(AddDays({1900, 2, 28}, 1), {1900, 3, 1}));
    EXPECT_TRUE(Same(AddDays({2026, 12, 7}, 30), {2027, 1, 6}));
    EXPECT_TRUE(Same(AddDays({2026, 3, 1}, -1), {2026, 2, 28}));
}

TEST(WizardNewsScheduleTest, SlashDatesRoundTripAndBadTextIsRefused) {
    EXPECT_EQ(SlashDate({2001, 1, 5}), "2001/01/05");
    auto parsed = ParseSlashDate("2001/1/5");
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(Same(*parsed, {2001, 1, 5}));
    EXPECT_FALSE(ParseSlashDate("2001-01-05"));
    EXPECT_FALSE(ParseSlashDate("2001/01"));
    EXPECT_FALSE(ParseSlashDate("2001/01/05/1"));
    EXPECT_FALSE(ParseSlashDate("2001/02/30"));
    EXPECT_FALSE(ParseSlashDate("2001/13/01"));
    EXPECT_FALSE(ParseSlashDate("yyyy/mm/dd"));
    EXPECT_FALSE(ParseSlashDate("//"));
    EXPECT_FALSE(ParseSlashDate("99999999999/1/1"));
}

TEST(WizardNewsScheduleTest, FirstAutomaticCallStoresADateTwentyDaysBack) {
    NewsDecision first = DecideAutomaticNews("", {2026, 12, 7});
    EXPECT_FALSE(first.launch);
    EXPECT_EQ(first.storeDate, "2026/11/17");
}

TEST(WizardNewsScheduleTest, LaunchesOnlyOnceTheStoredDateIsThirtyDaysOld) {
    const CalendarDate today{2026, 12, 7};
    // Stored 20 days back: nine more days of nothing, the tenth day launches.
    std::string stored = DecideAutomaticNews("", today).storeDate;
    for (int day = 0; day < 10; ++day) {
        NewsDecision decision = DecideAutomaticNews(stored, AddDays(today, day));
        EXPECT_FALSE(decision.launch) << "day " << day;
        EXPECT_TRUE(decision.storeDate.empty());
    }
    EXPECT_TRUE(DecideAutomaticNews(stored, AddDays(today, 10)).launch);
    EXPECT_TRUE(DecideAutomaticNews(stored, AddDays(today, 400)).launch);
    EXPECT_FALSE(DecideAutomaticNews("2026/11/08", today).launch);  // 29 days
    EXPECT_TRUE(DecideAutomaticNews("2026/11/07", today).launch);   // 30 days
    EXPECT_FALSE(DecideAutomaticNews("2027/01/01", today).launch);  // in the future
}

TEST(WizardNewsScheduleTest, AnUnreadableDateNeitherLaunchesNorStores) {
    NewsDecision decision = DecideAutomaticNews("last week", {2026, 12, 7});
    EXPECT_FALSE(decision.launch);
    EXPECT_TRUE(decision.storeDate.empty());
}

}  // namespace
}  // namespace corvane::planning

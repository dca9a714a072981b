// The reminder's date test, when it is due, and the old reminder file's record.
#include "nudgeon/portable/ReminderRules.h"
#include "testsupport/portable/LegacyReminderFile.h"

#include <gtest/gtest.h>

#include <climits>

namespace corvane::nudgeon {
namespace {

TEST(NudgeonRules, OnlyEightDigitsOfARealDateParse) {
    auto date = ParseBackupDate("20260301");
    ASSERT_TRUE(date);
    EXPECT_EQ(date->year, 2026);
    EXPECT_EQ(date->month, 3);
    EXPECT_EQ(date->day, 1);
    EXPECT_TRUE(ParseBackupDate("20240229")) << "a leap year";
    EXPECT_TRUE(ParseBackupDate("20000229")) << "divisible by 400";
    EXPECT_TRUE(ParseBackupDate("20261231"));

    const char* unusable[] = {"",         "2026031",  "202603011", "2026-03-01", "2026/03/01", " 20260301",
                              "2026030a", "20261301", "20260001",  "20260100",   "20260431",   "20250229",
                              "19000229", "00000101", "+2026030",  "2026 301"};
    for (const char* text : unusable) EXPECT_FALSE(ParseBackupDate(text)) << text;
}

TEST(NudgeonRules, DueOnlyAfterTheIntervalHasPassed) {
    CivilDate firstOfMarch{2026, 3, 1};
    EXPECT_FALSE(ReminderDue(firstOfMarch, 2, {2026, 3, 1}));
    EXPECT_FALSE(ReminderDue(firstOfMarch, 2, {2026, 3, 3}));
    EXPECT_TRUE(ReminderDue(firstOfMarch, 2, {2026, 3, 4}));
    EXPECT_FALSE(ReminderDue(firstOfMarch, 2, {2026, 2, 20})) << "a backup dated after today";

    // Across the end of a month, a leap day and the end of a year.
    EXPECT_FALSE(ReminderDue({2028, 2, 27}, 2, {2028, 2, 29}));
    EXPECT_TRUE(ReminderDue({2028, 2, 27}, 2, {2028, 3, 1}));
    EXPECT_FALSE(ReminderDue({2027, 2, 27}, 2, {2027, 3, 1}));
    EXPECT_TRUE(ReminderDue({2027, 2, 27}, 2, {2027, 3, 2}));
    EXPECT_FALSE(ReminderDue({2100, 2, 27}, 2, {2100, 3, 1})) << "2100 has no leap day";
    EXPECT_TRUE(ReminderDue({2100, 2, 27}, 2, {2100, 3, 2}));
    EXPECT_FALSE(ReminderDue({2026, 12, 30}, 7, {2027, 1, 6}));
    EXPECT_TRUE(ReminderDue({2026, 12, 30}, 7, {2027, 1, 7}));
    EXPECT_TRUE(ReminderDue({1999, 12, 31}, 31, {2026, 3, 1}));

    // Interval 0: any later day.
    EXPECT_FALSE(ReminderDue(firstOfMarch, 0, {2026, 3, 1}));
    EXPECT_TRUE(ReminderDue(firstOfMarch, 0, {2026, 3, 2}));

    // An absurd interval is never reached and never overflows.
    EXPECT_FALSE(ReminderDue({1, 1, 1}, INT_MAX, {9999, 12, 31}));
    EXPECT_FALSE(ReminderDue({1, 1, 1}, INT64_MAX, {9999, 12, 31}));
}

TEST(NudgeonRules, LegacyRecordIsTwoCountedTexts) {
    using testing::LegacyReminderFields;
    using testing::LegacyReminderRecordBytes;
    std::string fields = LegacyReminderFields("7");
    std::string bytes = LegacyReminderRecordBytes(fields, "20260301");
    auto record = ParseLegacyReminder(bytes);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->fieldList, fields);
    EXPECT_EQ(record->lastBackup, "20260301");

    // Whatever follows the record is not part of it.
    record = ParseLegacyReminder(bytes + "trailing bytes");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->lastBackup, "20260301");

    // A long field list: the count's high byte counts.
    std::string longFields = LegacyReminderFields(std::string(300, '9'));
    record = ParseLegacyReminder(LegacyReminderRecordBytes(longFields, "20260301"));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->fieldList, longFields);
    EXPECT_EQ(record->lastBackup, "20260301");

    // An empty date is a record too; the caller decides.
    record = ParseLegacyReminder(LegacyReminderRecordBytes(fields, ""));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->lastBackup, "");
}

TEST(NudgeonRules, LegacyRecordCutShortIsRefused) {
    std::string bytes = testing::LegacyReminderRecordBytes(testing::LegacyReminderFields("7"), "20260301");
    for (size_t length = 0; length < bytes.size(); ++length) {
        EXPECT_FALSE(ParseLegacyReminder(std::string_view(bytes).substr(0, length))) << length;
    }
    // A count that claims more than the file holds.
    EXPECT_FALSE(ParseLegacyReminder(std::string("\xFF\xFF", 2) + "short"));
}

}  // namespace
}  // namespace corvane::nudgeon

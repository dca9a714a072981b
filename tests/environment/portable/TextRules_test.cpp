#include "corvane/environment/portable/TextRules.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(TextRules, NumbersReadLikeVal) {
    EXPECT_EQ(LeadingInt("7"), 7);
    EXPECT_EQ(LeadingInt(" \t-500"), -500);
    EXPECT_EQ(LeadingInt("abc"), 0);
    EXPECT_EQ(LeadingInt("12abc"), 12);
    EXPECT_EQ(LeadingInt(""), 0);
    EXPECT_EQ(LeadingInt("x1"), 0);
    EXPECT_EQ(LeadingInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(LeadingInt("-99999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(LeadingNumber("3000000000"), 3000000000LL);
    EXPECT_EQ(LeadingNumber("99999999999999999999999"), INT64_MAX);  // saturates, no overflow
    EXPECT_TRUE(StartsWithNumber(" -5,"));
    EXPECT_FALSE(StartsWithNumber("-"));
    EXPECT_FALSE(StartsWithNumber("a5"));
}

TEST(TextRules, WholeNumbersAreAllDigits) {
    EXPECT_EQ(WholeNumber(" 12 "), 12);
    EXPECT_EQ(WholeNumber("-3"), -3);
    EXPECT_EQ(WholeNumber("+3"), 3);
    EXPECT_FALSE(WholeNumber("12abc"));
    EXPECT_FALSE(WholeNumber(""));
    EXPECT_FALSE(WholeNumber("  "));
    EXPECT_FALSE(WholeNumber("1 2"));
    EXPECT_FALSE(WholeNumber("99999999999999999999"));
}

// Only A-Z fold, and to lower case: "_" sorts before letters, as the tree shows it.
TEST(TextRules, CaseFoldsAsciiLettersOnly) {
    EXPECT_TRUE(EqualsNoCase("Sent Items.DBX", "sent items.dbx"));
    EXPECT_FALSE(EqualsNoCase("Inbox", "Inbox "));
    EXPECT_FALSE(EqualsNoCase("\xC4", "\xE4"));
    EXPECT_LT(CompareNoCase("_drafts", "Archive"), 0);
    EXPECT_LT(CompareNoCase("abc", "ABCD"), 0);
    EXPECT_EQ(CompareNoCase("ABC", "abc"), 0);
    EXPECT_TRUE(EndsWithNoCase("Inbox.DBX", ".dbx"));
    EXPECT_FALSE(EndsWithNoCase("dbx", ".dbx"));
    EXPECT_EQ(UpperCased("msoe.dll"), "MSOE.DLL");
    EXPECT_EQ(LowerCased("Inbox"), "inbox");
}

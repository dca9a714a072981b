#include "corvane/catalog/TextFcns.h"

#include <gtest/gtest.h>

namespace corvane::catalog {
namespace {

TEST(ShowHex, CoversTheFourRanges) {
    EXPECT_EQ(ShowHex(0), "  ");
    EXPECT_EQ(ShowHex(5), "05");
    EXPECT_EQ(ShowHex(0x0A), "0A");
    EXPECT_EQ(ShowHex(255), "FF");
    EXPECT_EQ(ShowHex(256), "00 01");
    EXPECT_EQ(ShowHex(0x1234), "34 12");
    EXPECT_EQ(ShowHex(-2), "FE FF");
    EXPECT_EQ(ShowHex(-32768), "00 80");
    EXPECT_EQ(ShowHex(0x10000), "00 00 01 00");
}

TEST(FourDigitKey, PadsDigitTextsOnly) {
    EXPECT_EQ(FourDigitKey("05"), "0005");
    EXPECT_EQ(FourDigitKey("10"), "0010");
    EXPECT_EQ(FourDigitKey("00"), "0000");
    EXPECT_EQ(FourDigitKey("0A"), "0A");
    EXPECT_EQ(FourDigitKey("  "), "  ");
    EXPECT_EQ(FourDigitKey("34 12"), "34 12");
    EXPECT_EQ(FourDigitKey(""), "");
}

TEST(FormatGrouped, GroupsThreesWithTheGivenCharacter) {
    EXPECT_EQ(FormatGrouped(0, ','), "0");
    EXPECT_EQ(FormatGrouped(999, ','), "999");
    EXPECT_EQ(FormatGrouped(1000, ','), "1,000");
    EXPECT_EQ(FormatGrouped(3'000'000'000LL, '.'), "3.000.000.000");
    EXPECT_EQ(FormatGrouped(-1234567, ','), "-1,234,567");
    EXPECT_EQ(FormatGrouped(1234567, '\0'), "1234567");
}

}  // namespace
}  // namespace corvane::catalog

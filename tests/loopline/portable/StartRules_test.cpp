// The start's rules: command line, settings and the automatic show.
#include "loopline/portable/StartRules.h"

#include <gtest/gtest.h>

namespace corvane::loopline {
namespace {

TEST(LooplineStart, TheFirstParameterOfTheCommandLine) {
    EXPECT_EQ(FirstParameter(""), "");
    EXPECT_EQ(FirstParameter("  ProductId=CV  second"), "ProductId=CV");
    EXPECT_EQ(FirstParameter("\"\\AUTO|LoadUrl=a b\" second"), "\\AUTO|LoadUrl=a b");
}

TEST(LooplineStart, SwitchesOfTheFirstParameter) {
    EXPECT_TRUE(IsAutomatic("\\AUTO"));
    EXPECT_TRUE(IsAutomatic("x|\\auto|ProductId=7"));
    EXPECT_FALSE(IsAutomatic("AUTO"));
    EXPECT_FALSE(HidesTaskbarButton(""));
    EXPECT_FALSE(HidesTaskbarButton("\\quiet"));
    EXPECT_FALSE(HidesTaskbarButton("\\AUTO|\\QUIET"));
    EXPECT_TRUE(HidesTaskbarButton("ProductId=CV"));
    EXPECT_TRUE(HidesTaskbarButton("\\AUTO"));
}

TEST(LooplineStart, CommandLineValuesOverrideTheSettings) {
    EXPECT_EQ(CommandLineValue("\\AUTO|ProductId=7", "ProductId"), "7");
    EXPECT_EQ(CommandLineValue("ProductId=CV", "ProductId"), "CV");
    EXPECT_EQ(CommandLineValue("LoadUrl=http://h/p?a=b|ProductId=7", "LoadUrl"), "http://h/p?a=b");
    EXPECT_EQ(CommandLineValue("ProductId=|AutoDays=3", "ProductId"), "");
    EXPECT_EQ(CommandLineValue("\\AUTO|ProductId=7", "AutoDays"), std::nullopt);
    EXPECT_EQ(CommandLineValue("productid=7", "ProductId"), std::nullopt);
}

TEST(LooplineStart, SettingsDefaultsAndForms) {
    for (const char* text : {"", "0", "abc", "-3", "12abc"}) EXPECT_EQ(AutoDaysFrom(text), 15) << text;
    EXPECT_EQ(AutoDaysFrom(" 7 "), 7);
    EXPECT_EQ(AutoDaysFrom("99999999999"), 36500);
    EXPECT_EQ(WithHttpPrefix("www.example.com/news.txt"), "http://www.example.com/news.txt");
    EXPECT_EQ(WithHttpPrefix("HTTP://www.example.com/"), "HTTP://www.example.com/");
    EXPECT_EQ(EnclosedProductId("7"), ",7,");
    EXPECT_EQ(EnclosedProductId(""), "");
    EXPECT_EQ(ExePath("corvane.exe", "C:\\Program Files\\Corvane"), "C:\\Program Files\\Corvane\\corvane.exe");
    EXPECT_EQ(ExePath("D:\\Other\\corvane.exe", "C:\\P"), "D:\\Other\\corvane.exe");
    EXPECT_EQ(ExePath("", "C:\\P"), "");
}

TEST(LooplineStart, AnAutomaticStartShowsTheNewsAutoDaysAfterTheLastShow) {
    EXPECT_FALSE(AutomaticShowDue("2026/03/01", 15, {2026, 3, 15}));
    EXPECT_TRUE(AutomaticShowDue("2026/03/01", 15, {2026, 3, 16}));
    EXPECT_TRUE(AutomaticShowDue("2026/03/01", 15, {2027, 1, 1}));
    EXPECT_FALSE(AutomaticShowDue("2026/12/25", 15, {2027, 1, 8}));
    EXPECT_TRUE(AutomaticShowDue("2026/12/25", 15, {2027, 1, 9}));
    // Missing or unreadable: as if last shown on 1999/01/01.
    EXPECT_TRUE(AutomaticShowDue("", 15, {1999, 1, 16}));
    EXPECT_FALSE(AutomaticShowDue("", 15, {1999, 1, 15}));
    EXPECT_FALSE(AutomaticShowDue("yesterday", 15, {1999, 1, 15}));
}

}  // namespace
}  // namespace corvane::loopline

#include "corvane/environment/portable/Wildcard.h"

#include <gtest/gtest.h>

using corvane::WildcardMatch;

TEST(Wildcard, StarMatchesAnyRunIncludingNone) {
    EXPECT_TRUE(WildcardMatch("OUTLOOK EXPRESS", "*OUTLOOK EXPRESS*"));
    EXPECT_TRUE(WildcardMatch("Inbox - Outlook Express", "*outlook express*"));
    EXPECT_FALSE(WildcardMatch("Outlook", "*outlook express*"));
    EXPECT_TRUE(WildcardMatch("", "*"));
    EXPECT_FALSE(WildcardMatch("", "?"));
}

TEST(Wildcard, SwitchPatternsOfTheCommandLine) {
    EXPECT_TRUE(WildcardMatch("\\FX", "\\*F*"));
    EXPECT_TRUE(WildcardMatch("\\xf", "\\*F*"));
    EXPECT_TRUE(WildcardMatch("\\4 F", "\\*F*"));
    EXPECT_FALSE(WildcardMatch("/F", "\\*F*"));
    EXPECT_FALSE(WildcardMatch("F", "\\*F*"));
    EXPECT_FALSE(WildcardMatch("\\XF", "\\*FX*"));
}

TEST(Wildcard, BacktracksAfterAPartialMatch) {
    EXPECT_TRUE(WildcardMatch("aXbXbc", "a*bc"));
    EXPECT_TRUE(WildcardMatch("ATH_Note", "ath_?ote"));
    EXPECT_FALSE(WildcardMatch("ATH_Notes", "ath_?ote"));
}

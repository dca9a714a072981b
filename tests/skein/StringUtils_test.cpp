#include "skein/StringUtils.h"

#include <gtest/gtest.h>

using namespace skein;
using namespace std::string_literals;

namespace {
template <class F>
std::string Make(F f) {
    StringSink s;
    f(s);
    return s.result;
}
}  // namespace

TEST(StringUtils, TrimsOuterBlanksAndSqueezesInnerRuns) {
    EXPECT_EQ(Make([](auto& s) { Trim("   ", s); }), "");
    EXPECT_EQ(Make([](auto& s) { Trim("a  b", s); }), "a b");
    EXPECT_EQ(Make([](auto& s) { Trim("  a \t  b  ", s); }), "a \t b");
    EXPECT_EQ(Make([](auto& s) { Trim("", s); }), "");
    EXPECT_EQ(Make([](auto& s) { Trim(" x\0 y "s, s); }), "x\0 y"s);
}

TEST(StringUtils, ProperCasesWordStarts) {
    EXPECT_EQ(Make([](auto& s) { Proper("o'neil", s); }), "O'neil");
    EXPECT_EQ(Make([](auto& s) { Proper("mc-donald", s); }), "Mc-donald");
    EXPECT_EQ(Make([](auto& s) { Proper("ANNA-MARIA smith", s); }), "Anna-maria Smith");
    EXPECT_EQ(Make([](auto& s) { Proper("a.b/c;d,e\tf", s); }), "A.B/C;D,E\tF");
    EXPECT_EQ(Make([](auto& s) { Proper("2nd \xE9T\xC9", s); }), "2nd \xE9t\xC9");
}

TEST(StringUtils, Reverses) {
    EXPECT_EQ(Make([](auto& s) { Reverse("ab\0c"s, s); }), "c\0ba"s);
    EXPECT_EQ(Make([](auto& s) { Reverse("", s); }), "");
}

TEST(StringUtils, JustifiesToExactWidth) {
    EXPECT_EQ(Make([](auto& s) { RJustify("12345", 3, "", s); }), "345");
    EXPECT_EQ(Make([](auto& s) { LJustify("12345", 3, "", s); }), "123");
    EXPECT_EQ(Make([](auto& s) { CJustify("12345", 3, "", s); }), "123");
    EXPECT_EQ(Make([](auto& s) { CJustify("ab", 5, "-", s); }), "-ab--");
    EXPECT_EQ(Make([](auto& s) { LJustify("ab", -4, "*x", s); }), "ab**");
    EXPECT_EQ(Make([](auto& s) { RJustify("ab", 4, "", s); }), "  ab");
    EXPECT_EQ(Make([](auto& s) { LJustify("ab", 0, "", s); }), "");
    StringSink huge;
    LJustify("ab", INT32_MIN, "", huge);  // |INT32_MIN| does not overflow; too long is refused
    EXPECT_EQ(huge.result, "");
    EXPECT_EQ(Make([](auto& s) { RJustify("x", 70000, ".", s); }).size(), 70000u);
}

TEST(StringUtils, FiltersBytesBySet) {
    EXPECT_EQ(Make([](auto& s) { StripOut("a-b c-d", "- ", s); }), "abcd");
    EXPECT_EQ(Make([](auto& s) { LeaveOnly("a1b2c3", "321", s); }), "123");
    EXPECT_EQ(Make([](auto& s) { StripOut("a\0b"s, "\0"s, s); }), "ab");
    EXPECT_EQ(Make([](auto& s) { LeaveOnly("abc", "", s); }), "");
    EXPECT_EQ(Make([](auto& s) { StripOut("abc", "", s); }), "abc");
}

TEST(StringUtils, TranslatesByFirstPosition) {
    EXPECT_EQ(Make([](auto& s) { Translate("abcabc", "abc", "xyz", s); }), "xyzxyz");
    EXPECT_EQ(Make([](auto& s) { Translate("aXa", "aa", "12", s); }), "1X1");
    EXPECT_EQ(Make([](auto& s) { Translate("abc", "abc", "xy", s); }), "");
    EXPECT_EQ(Make([](auto& s) { Translate("\xFF\x01", "\xFF", "\0"s, s); }), "\0\x01"s);
}

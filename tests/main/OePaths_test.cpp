#include "corvane/main/portable/OePaths.h"
#include "corvane/main/portable/SidText.h"
#include "corvane/main/portable/TextFields.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(OePaths, VersionByProgramFileName) {
    EXPECT_TRUE(IsVersion5ProgramPath("C:\\Program Files\\Outlook Express\\msoe.dll"));
    EXPECT_TRUE(IsVersion5ProgramPath("%ProgramFiles%\\Outlook Express\\MSOE.DLL"));
    EXPECT_TRUE(IsVersion5ProgramPath("msoe.dll"));
    EXPECT_FALSE(IsVersion5ProgramPath("C:\\Program Files\\Outlook Express\\msimn.exe"));
    EXPECT_FALSE(IsVersion5ProgramPath("C:\\msoe.dll\\other.dll"));
    EXPECT_FALSE(IsVersion5ProgramPath("C:\\Program Files\\msoe.dll.bak"));
}

TEST(OePaths, SafeNameDropsTheTenCharacters) {
    EXPECT_EQ(SafeName("Main Identity"), "Main Identity");
    EXPECT_EQ(SafeName("Home: mail"), "Home mail");
    EXPECT_EQ(SafeName("Work.2"), "Work2");
    EXPECT_EQ(SafeName("a\\b/c:d*e?f\"g<h>i|j.k"), "abcdefghijk");
    EXPECT_EQ(SafeName(""), "");
    EXPECT_EQ(SafeName("..."), "");
}

TEST(OePaths, SystemPlaceholdersOnlyAsFirstComponent) {
    EXPECT_EQ(WithOneTrailingBackslash(ExpandSystemPlaceholders("%SystemDrive%\\Data\\OE", "D:\\WINDOWS")),
              "D:\\Data\\OE\\");
    EXPECT_EQ(WithOneTrailingBackslash(ExpandSystemPlaceholders("%SystemRoot%\\Store", "C:\\WINNT")),
              "C:\\WINNT\\Store\\");
    EXPECT_EQ(WithOneTrailingBackslash(ExpandSystemPlaceholders("C:\\Data\\%SystemRoot%", "C:\\WINNT")),
              "C:\\Data\\%SystemRoot%\\");
    EXPECT_EQ(ExpandSystemPlaceholders("%systemroot%", "C:\\WINNT"), "C:\\WINNT");
    EXPECT_EQ(ExpandSystemPlaceholders("%windir%\\x", "C:\\WINNT"), "%windir%\\x");
    EXPECT_EQ(ExpandSystemPlaceholders("", "C:\\WINNT"), "");
}

TEST(OePaths, UserProfileComponent) {
    std::string store = "%UserProfile%\\Application Data\\Identities\\{X}\\Microsoft\\Outlook Express\\";
    EXPECT_TRUE(StartsWithUserProfile(store));
    EXPECT_FALSE(StartsWithUserProfile("C:\\%UserProfile%\\x"));
    std::string profile = ExpandSystemPlaceholders("%SystemRoot%\\Profiles\\user1", "C:\\WINNT");
    EXPECT_EQ(ReplaceFirstPathComponent(store, profile),
              "C:\\WINNT\\Profiles\\user1\\Application Data\\Identities\\{X}\\Microsoft\\Outlook Express\\");
    // A missing profile path leaves an empty first component.
    EXPECT_EQ(ReplaceFirstPathComponent("%USERPROFILE%\\a\\", ""), "\\a\\");
}

TEST(OePaths, TrailingBackslashNormalised) {
    EXPECT_EQ(WithOneTrailingBackslash(""), "\\");
    EXPECT_EQ(WithOneTrailingBackslash("C:\\x"), "C:\\x\\");
    EXPECT_EQ(WithOneTrailingBackslash("C:\\x\\"), "C:\\x\\");
    EXPECT_EQ(WithOneTrailingBackslash("C:\\x\\\\"), "C:\\x\\\\");
}

TEST(SidText, SubAuthoritiesAreUnsigned) {
    EXPECT_EQ(FormatSidText(5, {21, 2147483648u, 4294967295u, 1000}), "S-1-5-21-2147483648-4294967295-1000");
    EXPECT_EQ(FormatSidText(1, {0}), "S-1-1-0");
    const uint8_t authority[6] = {0, 0, 0, 0, 0, 5};
    EXPECT_EQ(IdentifierAuthorityValue(authority), 5u);
    const uint8_t wide[6] = {0, 0, 1, 0, 0, 0};
    EXPECT_EQ(FormatSidText(IdentifierAuthorityValue(wide), {}), "S-1-16777216");
}

TEST(NulLists, IdentityIdsCountAndLookup) {
    std::string ids = std::string("A") + '\0' + "B" + '\0' + '\0';
    EXPECT_EQ(NulListCount(ids), 2);
    EXPECT_EQ(NulListEntry(ids, 1), "A");
    EXPECT_EQ(NulListEntry(ids, 2), "B");
    EXPECT_EQ(NulListEntry(ids, 3), "");
    EXPECT_EQ(NulListEntry(ids, 0), "");
    EXPECT_EQ(NulListFind(ids, "B"), 2);
    EXPECT_EQ(NulListFind(ids, "b"), 0);
    EXPECT_EQ(NulListFind(ids, ""), 0);  // the closing NUL is no entry
    EXPECT_EQ(NulListCount(std::string(1, '\0')), 0);
    EXPECT_EQ(NulListCount(""), 0);
}

TEST(NulLists, PutGrowsWithEmptyEntries) {
    std::string names;
    NulListPut(names, 2, "Second");
    EXPECT_EQ(names, std::string("") + '\0' + "Second");
    NulListPut(names, 1, "First");
    EXPECT_EQ(NulListEntry(names, 1), "First");
    EXPECT_EQ(NulListEntry(names, 2), "Second");
}

TEST(TextFields, NumericValueIsLenient) {
    EXPECT_EQ(NumericValue("7"), 7);
    EXPECT_EQ(NumericValue(" -500"), -500);
    EXPECT_EQ(NumericValue("abc"), 0);
    EXPECT_EQ(NumericValue("12abc"), 12);
    EXPECT_EQ(NumericValue(""), 0);
    EXPECT_EQ(NumericValue("99999999999999999999"), 2147483647);
    EXPECT_EQ(NumericValue("-99999999999999999999"), -2147483647 - 1);
}

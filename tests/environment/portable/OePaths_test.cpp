#include "corvane/environment/portable/OePaths.h"
#include "corvane/environment/portable/SidText.h"

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

#include "corvane/restore/portable/StorePaths.h"

#include <gtest/gtest.h>

namespace corvane::restore {
namespace {

TEST(StorePathsTest, PlainNamesOfTheStoreAreAccepted) {
    for (const char* name : {"Inbox.dbx", "Sent Items.dbx", "msnews.microsoft.com", "a", "CONSOLE.dbx", "COM10.dbx",
                             "LPT0", "nul-ish.dbx", ".hidden", "x..y"})
        EXPECT_EQ(CheckPlainName(name), NameFault::None) << name;
    EXPECT_EQ(CheckPlainName(std::string(255, 'n')), NameFault::None);
}

TEST(StorePathsTest, NamesThatReachElsewhereAreRefusedWithTheirReason) {
    const std::pair<std::string, NameFault> cases[] = {
        {"", NameFault::Empty},
        {std::string(256, 'n'), NameFault::TooLong},
        {"..\\..\\Windows\\win.ini", NameFault::Separator},
        {"../victim.dbx", NameFault::Separator},
        {"sub\\Inbox.dbx", NameFault::Separator},
        {"C:victim.dbx", NameFault::DriveOrStream},
        {"Inbox.dbx:payload", NameFault::DriveOrStream},
        {".", NameFault::DotName},
        {"..", NameFault::DotName},
        {"CON", NameFault::DeviceName},
        {"nul.dbx", NameFault::DeviceName},
        {"Com1.txt.dbx", NameFault::DeviceName},
        {"lpt9", NameFault::DeviceName},
        {"AUX .dbx", NameFault::DeviceName},
        {"CONOUT$", NameFault::DeviceName},
        {"Inbox.dbx.", NameFault::TrailingDotOrBlank},
        {"Inbox.dbx ", NameFault::TrailingDotOrBlank},
        {"*.dbx", NameFault::ReservedCharacter},
        {"In?ox.dbx", NameFault::ReservedCharacter},
        {std::string("In\0box", 6), NameFault::ReservedCharacter},
        {"a\tb", NameFault::ReservedCharacter},
        {"a|b", NameFault::ReservedCharacter},
    };
    for (const auto& [name, fault] : cases) EXPECT_EQ(CheckPlainName(name), fault) << name;
}

TEST(StorePathsTest, NormalisingResolvesDotsSeparatorsAndTrailingDots) {
    EXPECT_EQ(NormalisePath("C:\\Store\\"), "C:\\Store");
    EXPECT_EQ(NormalisePath("C:/Store//a/./b"), "C:\\Store\\a\\b");
    EXPECT_EQ(NormalisePath("C:\\Store\\a\\..\\b"), "C:\\Store\\b");
    EXPECT_EQ(NormalisePath("C:\\Store\\..\\..\\x"), "");  // above the root
    EXPECT_EQ(NormalisePath("C:\\Store\\a. . "), "C:\\Store\\a");
    EXPECT_EQ(NormalisePath("C:\\Store\\...\\x"), "");
    EXPECT_EQ(NormalisePath("C:\\"), "C:");
    EXPECT_EQ(NormalisePath("\\\\server\\share\\a\\..\\b"), "\\\\server\\share\\b");
    EXPECT_EQ(NormalisePath("\\\\server\\share\\.."), "");
    EXPECT_EQ(NormalisePath("\\\\?\\C:\\x"), "");
    EXPECT_EQ(NormalisePath("C:x"), "");
    EXPECT_EQ(NormalisePath("a\\b\\..\\c"), "a\\c");
    EXPECT_EQ(NormalisePath("\\top\\x"), "\\top\\x");
    EXPECT_EQ(NormalisePath(""), "");
}

TEST(StorePathsTest, OnlyPathsStrictlyBelowTheFolderAreInside) {
    const std::string store = "C:\\Data\\Outlook Express\\";
    EXPECT_TRUE(IsInsideFolder(store, store + "Inbox.dbx"));
    EXPECT_TRUE(IsInsideFolder(store, "c:\\DATA\\outlook express\\Inbox.dbx"));
    EXPECT_TRUE(IsInsideFolder(store, store + "news\\a\\..\\b.dbx"));
    EXPECT_TRUE(IsInsideFolder("C:\\", "C:\\x"));
    EXPECT_FALSE(IsInsideFolder(store, store));
    EXPECT_FALSE(IsInsideFolder(store, store + "."));
    EXPECT_FALSE(IsInsideFolder(store, store + "..\\victim.dbx"));
    EXPECT_FALSE(IsInsideFolder(store, store + "a\\..\\..\\victim.dbx"));
    EXPECT_FALSE(IsInsideFolder(store, "C:\\Data\\Outlook Express2\\Inbox.dbx"));  // a sibling sharing the prefix
    EXPECT_FALSE(IsInsideFolder(store, "D:\\Data\\Outlook Express\\Inbox.dbx"));
    EXPECT_FALSE(IsInsideFolder("", "Inbox.dbx"));
}

TEST(StorePathsTest, APathInTheFolderNeedsAPlainName) {
    EXPECT_EQ(PathInFolder("C:\\Store\\", "Inbox.dbx"), "C:\\Store\\Inbox.dbx");
    EXPECT_EQ(PathInFolder("C:\\Store", "Inbox.dbx"), "C:\\Store\\Inbox.dbx");
    for (const char* name : {"..\\..\\Windows\\win.ini", "..", "C:\\boot.ini", "NUL", "Inbox.dbx:x", "", "*.dbx"})
        EXPECT_EQ(PathInFolder("C:\\Store\\", name), "") << name;
    EXPECT_EQ(PathInFolder("", "Inbox.dbx"), "");
}

}  // namespace
}  // namespace corvane::restore

#include "corvane/main/portable/ControlFileText.h"
#include "corvane/main/portable/QuickList.h"
#include "corvane/main/portable/StartupRules.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {
const std::string E(1, kControlDelimiter);
}

TEST(CommandSwitches, LettersAfterABackslash) {
    CommandSwitches fx = ParseCommandSwitches("\\FX");
    EXPECT_TRUE(fx.quickBackup);
    EXPECT_TRUE(fx.fromReminder);
    EXPECT_FALSE(fx.forceVersion4);
    EXPECT_FALSE(fx.closeOutlookFirst);
    EXPECT_TRUE(ParseCommandSwitches("\\xf").quickBackup);
    EXPECT_FALSE(ParseCommandSwitches("\\xf").fromReminder);
    CommandSwitches spaced = ParseCommandSwitches("\\4 F");
    EXPECT_TRUE(spaced.forceVersion4);
    EXPECT_TRUE(spaced.quickBackup);
    EXPECT_FALSE(ParseCommandSwitches("/F").quickBackup);
    EXPECT_FALSE(ParseCommandSwitches("F").quickBackup);
    EXPECT_TRUE(ParseCommandSwitches("\\FA").closeOutlookFirst);
    EXPECT_FALSE(ParseCommandSwitches("").quickBackup);
}

TEST(IdentityRule, OnlyTwoToFourCount) {
    EXPECT_EQ(IdentityRuleFromSetting("3"), 3);
    EXPECT_EQ(IdentityRuleFromSetting("4"), 4);
    EXPECT_EQ(IdentityRuleFromSetting("7"), 2);
    EXPECT_EQ(IdentityRuleFromSetting("abc"), 2);
    EXPECT_EQ(IdentityRuleFromSetting("1"), 2);
    EXPECT_EQ(IdentityRuleFromSetting(""), 2);
}

TEST(FirstRun, DefaultsInTheirOrder) {
    auto defaults = FirstRunDefaults("20261207");
    ASSERT_EQ(defaults.size(), 8u);
    const char* keys[] = {"WarnOverWrite", "RemindDays",   "WarnOnQuick", "AllowQuick",
                          "LastBackup",    "LastSavePath", "InclWab",     "DoRename"};
    const char* values[] = {"Y", "2", "Y", "N", "20261207", "", "1", "1"};
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(defaults[i].first, keys[i]);
        EXPECT_EQ(defaults[i].second, values[i]);
    }
    EXPECT_EQ(DateDigits(2026, 1, 5), "20260105");
    EXPECT_EQ(DateWithDashes(2026, 1, 5), "2026-01-05");
}

TEST(WindowOrigin, OffScreenValuesAreCentredPerAxis) {
    WindowOrigin origin = ResolveWindowOrigin("-500,100", 15360, 11520, 7200, 5400);
    EXPECT_EQ(origin.left, (15360 - 7200) / 2);
    EXPECT_EQ(origin.top, 100);
    origin = ResolveWindowOrigin("300,99999", 15360, 11520, 7200, 5400);
    EXPECT_EQ(origin.left, 300);
    EXPECT_EQ(origin.top, (11520 - 5400) / 2);
    origin = ResolveWindowOrigin("", 15360, 11520, 7200, 5400);
    EXPECT_EQ(origin.left, 4080);
    EXPECT_EQ(origin.top, 3060);
    origin = ResolveWindowOrigin("garbage", 15360, 11520, 7200, 5400);
    EXPECT_EQ(origin.left, 4080);
    EXPECT_EQ(origin.top, 3060);
    EXPECT_EQ(FormatWindowOrigin(-15, 300), "-15,300");
}

TEST(ControlFile, HeadersOfNewFiles) {
    EXPECT_EQ(NewVersion5ControlFile("Main Identity", "{ABC}"), "Corvane - OE5 - {Main Identity} {ABC}\r\n");
    EXPECT_EQ(NewVersion4ControlFile(), "Corvane OE4\r\n");
}

TEST(ControlFile, ReadSkipsAddressBookAndFavorites) {
    std::string text = "Corvane - OE5 - {Main} {ID}\r\n" +
                       ("2" + E + "Inbox" + E + "Inbox.dbx" + E + "1" + E + "0" + E + "-1\r\n") +
                       ("10" + E + "Windows Address Book (WAB)" + E + "C:\\a.wab" + E + "0" + E + "0" + E + "1\r\n") +
                       ("1" + E + "Local Folders" + E + "" + E + "2" + E + "0" + E + "2\r\n") +
                       ("30" + E + "IE Favorites" + E + "C:\\Fav" + E + "0" + E + "0" + E + "1\r\n") +
                       ("4" + E + "Sent Items" + E + "Sent Items.dbx" + E + "3" + E + "2" + E + "0");
    ControlFileContent content = ParseControlFile(text);
    EXPECT_EQ(content.header, "Corvane - OE5 - {Main} {ID}");
    ASSERT_EQ(content.lines.size(), 3u);
    EXPECT_EQ(content.lines[0].flag, 1);  // -1 reads as 1
    EXPECT_EQ(content.lines[2].parentNo, 2);
    SavedSelection saved = SavedSelectionOf(content.lines);
    EXPECT_EQ(saved.names, "Inbox.dbx\x02Sent Items.dbx");
    EXPECT_EQ(saved.flags,
              "1\x02"
              "0");
}

TEST(ControlFile, HeaderOnlyAndEmpty) {
    EXPECT_TRUE(ParseControlFile("Corvane OE4\r\n").lines.empty());
    EXPECT_EQ(ParseControlFile("").header, "");
    EXPECT_EQ(SavedSelectionOf({}).names, "");
    // Short or broken lines read as zeros and empty fields, never past the text.
    ControlFileContent broken = ParseControlFile("h\r\nx\r\n2" + E + "only\r\n");
    ASSERT_EQ(broken.lines.size(), 2u);
    EXPECT_EQ(broken.lines[0].type, 0);
    EXPECT_EQ(broken.lines[1].display, "only");
    EXPECT_EQ(broken.lines[1].mbxName, "");
}

TEST(ControlFile, LegacyConversion) {
    std::string legacy = "Corvane 3\r\n[Folders]\r\n" + ("Inbox" + E + "Inbox" + E + "1\r\n") +
                         ("Sent" + E + "Sent Items\r\n") + "news folders=\r\n" + "alt.test\r\n\r\n";
    std::string converted = ConvertLegacyControlFile(legacy);
    EXPECT_EQ(converted, "Corvane - OE4\r\n" + ("2" + E + "Inbox" + E + "Inbox.mbx" + E + "1\r\n") +
                             ("2" + E + "Sent" + E + "Sent Items.mbx\r\n") +
                             ("20" + E + "alt.test" + E + "0" + E + "0" + E + "1\r\n"));
    EXPECT_EQ(ConvertLegacyControlFile(""), "Corvane - OE4\r\n");
    // A mail line of one field gets its file field made.
    EXPECT_EQ(ConvertLegacyControlFile("a\nb\nDrafts\n"), "Corvane - OE4\r\n2" + E + "Drafts" + E + ".mbx\r\n");
}

TEST(QuickList, LinesHangUnderTheirParentOrTheRoot) {
    std::vector<ControlLine> lines = {
        {1, "Local Folders", "", 1, 0, 2},
        {2, "Inbox", "Inbox.dbx", 2, 1, 1},
        {2, "Orphan", "Orphan.dbx", 3, 77, 1},
    };
    catalog::TreeList list;
    list.AddItem("left over");
    RebuildQuickList(list, lines);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Text(0), "xxxxxxxx");
    EXPECT_EQ(list.TextValue(0, "iFldrNo"), "00");
    EXPECT_EQ(list.ParentPosition(2), 1);  // Inbox under Local Folders
    EXPECT_EQ(list.ParentPosition(3), 0);  // no folder 77: under the root
    EXPECT_EQ(list.TextValue(2, "MbxName"), "Inbox.dbx");
    EXPECT_EQ(list.NumberValue(1, "FlgSave"), 2);
}

// Control files come from disk and may hold anything: every byte pattern
// must parse without reading past the text (run under the sanitizers natively).
TEST(ControlFile, ArbitraryBytesParseSafely) {
    uint32_t state = 12345;
    auto next = [&state] {
        state = state * 1103515245u + 12345u;
        return static_cast<char>((state >> 16) & 0xFF);
    };
    const char alphabet[] = {'\x03', '\r', '\n', '-', '1', '9', 'a', '\0', ' ', '='};
    for (int round = 0; round < 300; ++round) {
        std::string text;
        int length = round % 97;
        for (int i = 0; i < length; ++i) {
            char c = next();
            text += (c & 1) ? alphabet[static_cast<unsigned char>(c) % sizeof alphabet] : c;
        }
        ControlFileContent content = ParseControlFile(text);
        SavedSelection saved = SavedSelectionOf(content.lines);
        EXPECT_LE(saved.names.size(), text.size() + content.lines.size());
        std::string converted = ConvertLegacyControlFile(text);
        EXPECT_EQ(converted.rfind("Corvane - OE4\r\n", 0), 0u);
        catalog::TreeList list;
        RebuildQuickList(list, content.lines);
        EXPECT_EQ(list.Count(), static_cast<int>(content.lines.size()) + 1);
    }
}

#include "corvane/export/SafeNames.h"

#include "corvane/export/MailDate.h"
#include "corvane/export/TextEncoding.h"
#include "tests/export/ExportFixture.h"

#include <gtest/gtest.h>

namespace corvane::exporting {
namespace {

TEST(ExportSafeNames, ReservedCharactersControlsAndEndsAreMadeSafe) {
    EXPECT_EQ(SafeComponent("Re: <a|b> \"c\" d/e\\f? *g*"), "Re_ _a_b_ _c_ d_e_f_ _g_");
    EXPECT_EQ(SafeComponent("tab\tand\r\nnewline  runs"), "tab and newline runs");
    EXPECT_EQ(SafeComponent("bell\x07 and del\x7f"), "bell_ and del_");
    EXPECT_EQ(SafeComponent("  ...hidden trailing. . "), "hidden trailing");
    EXPECT_EQ(SafeComponent(" ... "), "_");
    EXPECT_EQ(SafeComponent("", 10, "no subject"), "no subject");
    EXPECT_EQ(SafeComponent("Caf\xe9"), "Caf\u00e9");  // ANSI becomes UTF-8
}

TEST(ExportSafeNames, DeviceNamesAreNeverProduced) {
    for (const char* device : {"CON", "con", "Nul", "PRN", "aux", "COM1", "com9", "LPT1", "CON.txt", "nul .eml"}) {
        EXPECT_TRUE(IsDeviceName(device)) << device;
        EXPECT_FALSE(IsDeviceName(SafeComponent(device))) << device;
    }
    for (const char* plain : {"CONSOLE", "COM10", "COM0", "LPT", "Nullify", "icon"}) {
        EXPECT_FALSE(IsDeviceName(plain)) << plain;
    }
    EXPECT_EQ(SafeComponent("nul"), "_nul");
}

TEST(ExportSafeNames, LongNamesAreCutWithoutSplittingACharacter) {
    std::string subject;
    for (int i = 0; i < 100; ++i) subject += "\u00e9";  // two bytes each
    std::string safe = SafeComponent(subject, 15);
    EXPECT_EQ(safe.size(), 14u);
    EXPECT_TRUE(IsValidUtf8(safe));
    EXPECT_EQ(SafeComponent("abcdefghi. xyz", 10), "abcdefghi");  // no dot or blank left at the cut
}

TEST(ExportSafeNames, EmlStemHasDateSenderAndSubject) {
    MessageFacts facts;
    facts.date = 1737396784;
    facts.senderName = "Ann: \"the\" Boss";
    facts.senderAddress = "ann@example.com";
    facts.subject = "Re: CON";
    CivilTime t = LocalCivil(1737396784);
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d %02d%02d", t.year, t.month, t.day, t.hour, t.minute);
    EXPECT_EQ(EmlStem(facts), std::string(date) + " - Ann_ _the_ Boss - Re_ CON");
    facts.date.reset();
    facts.senderName.clear();
    facts.subject = "con";
    EXPECT_EQ(EmlStem(facts), "undated - ann@example.com - _con");
    facts.senderAddress.clear();
    facts.subject.clear();
    EXPECT_EQ(EmlStem(facts), "undated - unknown sender - no subject");
}

TEST(ExportSafeNames, UniqueNamesCountUpPastCaseTwinsAndFilesOnDisk) {
    TempFolder folder;
    std::ofstream(folder.Path() / "Note (2).eml") << "kept";
    UniqueNames names(folder.Path());
    EXPECT_EQ(names.Claim("Note", ".eml").filename(), "Note.eml");
    EXPECT_EQ(names.Claim("NOTE", ".eml").filename(), "NOTE (3).eml");  // case twin of Note.eml; (2) is on disk
    EXPECT_EQ(names.Claim("note", ".eml").filename(), "note (4).eml");
    EXPECT_EQ(names.Claim("Other", ".mbox").filename(), "Other.mbox");
}

}  // namespace
}  // namespace corvane::exporting

#include "corvane/export/HeaderFields.h"

#include "corvane/export/MailDate.h"
#include "corvane/export/TextEncoding.h"

#include <gtest/gtest.h>

namespace corvane::exporting {
namespace {

TEST(ExportHeaderFields, EncodedWordsDecodeAndJoinAcrossFoldedLines) {
    EXPECT_EQ(DecodeHeaderValue("=?utf-8?Q?Fw:_Cat=C3=B3lica_EAD?=\r\n\t=?utf-8?Q?_=E2=80=93_fim?="),
              "Fw: Cat\u00f3lica EAD \u2013 fim");
    EXPECT_EQ(DecodeHeaderValue("=?ISO-8859-1?B?R3L832U=?= und mehr"), "Gr\u00fc\u00dfe und mehr");
    EXPECT_EQ(DecodeHeaderValue("=?windows-1252?Q?=93quoted=94?="), "\u201cquoted\u201d");
    EXPECT_EQ(DecodeHeaderValue("plain =?bogus text ?= stays"), "plain =?bogus text ?= stays");
    EXPECT_EQ(DecodeHeaderValue("Caf\xe9"), "Caf\u00e9");  // raw 8-bit bytes: ANSI
}

TEST(ExportHeaderFields, SenderFormsSplitIntoNameAndAddress) {
    std::string name, address;
    SplitMailbox("\"Doe, John\" <john@example.com>", name, address);
    EXPECT_EQ(name, "Doe, John");
    EXPECT_EQ(address, "john@example.com");
    SplitMailbox("jane@example.com (Jane Roe)", name, address);
    EXPECT_EQ(name, "Jane Roe");
    EXPECT_EQ(address, "jane@example.com");
    SplitMailbox(" bare@example.com ", name, address);
    EXPECT_EQ(name, "");
    EXPECT_EQ(address, "bare@example.com");
    SplitMailbox("=?utf-8?Q?Jo=C3=A3o?= <j@example.com>", name, address);
    EXPECT_EQ(name, "Jo\u00e3o");
}

TEST(ExportHeaderFields, OnlyTheHeaderSectionIsRead) {
    HeaderFacts facts = ReadHeaderFacts(
        "Received: from x\r\n\tby y\r\nSubject: First\r\n  continued\r\nFrom: A <a@x>\r\n"
        "Date: Mon, 20 Jan 2025 16:13:04 -0200\r\n\r\nSubject: in the body\r\n");
    EXPECT_EQ(facts.subject, "First  continued");
    EXPECT_EQ(facts.senderAddress, "a@x");
    EXPECT_EQ(facts.date, 1737396784);
    EXPECT_EQ(ReadHeaderFacts("\r\nSubject: body only\r\n").subject, "");
}

TEST(ExportMailDate, DatesOfManyMailersParseToTheSameInstant) {
    EXPECT_EQ(ParseMailDate("Mon, 20 Jan 2025 16:13:04 -0200"), 1737396784);
    EXPECT_EQ(ParseMailDate("20 Jan 2025 18:13:04 GMT"), 1737396784);
    EXPECT_EQ(ParseMailDate("Mon, 20 Jan 25 13:13:04 EST"), 1737396784);
    EXPECT_EQ(ParseMailDate("Mon,20 jan 2025 18:13 +0000 (UTC)"), 1737396780);
    EXPECT_EQ(ParseMailDate("Sat, 1 Jan 00 00:00:00 +0000"), 946684800);
    EXPECT_FALSE(ParseMailDate("yesterday").has_value());
    EXPECT_FALSE(ParseMailDate("Mon, 32 Jan 2025 10:00:00 +0000").has_value());
    EXPECT_FALSE(ParseMailDate("1 Jan 1960 10:00:00 +0000").has_value());  // before 1970: unknown
}

TEST(ExportMailDate, FileTimesAndTheMboxDateForm) {
    EXPECT_EQ(FileTimeToUnixSeconds(133818703848920000ull), 1737396784);
    EXPECT_FALSE(FileTimeToUnixSeconds(0).has_value());
    EXPECT_FALSE(FileTimeToUnixSeconds(~0ull).has_value());
    EXPECT_EQ(UnixSecondsToFileTime(1737396784), 133818703840000000ull);
    EXPECT_EQ(AsctimeUtc(1737396784), "Mon Jan 20 18:13:04 2025");
    EXPECT_EQ(AsctimeUtc(951782400), "Tue Feb 29 00:00:00 2000");
}

TEST(ExportTextEncoding, AnsiBecomesUtf8AndCutsKeepCharactersWhole) {
    EXPECT_EQ(AnsiToUtf8("\x80 \x9f \xff"), "\u20ac \u0178 \u00ff");
    EXPECT_EQ(AnsiToUtf8("d\u00e9j\u00e0"), "d\u00e9j\u00e0");  // already UTF-8
    EXPECT_FALSE(IsValidUtf8("\xc0\x80"));                      // overlong NUL
    EXPECT_FALSE(IsValidUtf8("\xed\xa0\x80"));                  // a surrogate
    EXPECT_EQ(Utf8Prefix("ab\u00e9", 3), "ab");
    EXPECT_EQ(Utf8Prefix("ab\U0001F4BC", 5), "ab");
}

}  // namespace
}  // namespace corvane::exporting

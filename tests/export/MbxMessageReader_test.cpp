#include "corvane/export/MbxMessageReader.h"

#include "tests/export/ExportFixture.h"

#include <gtest/gtest.h>

#include <random>

namespace corvane::exporting {
namespace {

using testing::BuildMbxFile;
using testing::PutLe32;

std::vector<std::string> Texts(int count) {
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i) texts.push_back(Sample(i, 1 + i % 3).text);
    return texts;
}

TEST(ExportMbxReader, RecordsReadBackWithTheirHeaderFacts) {
    std::vector<std::string> texts = Texts(5);
    texts[4] = "Subject: =?iso-8859-1?Q?Gr=FC=DFe?=\r\nFrom: Ann <ann@example.com>\r\n\r\nno date";
    std::vector<int32_t> offsets;
    CollectingVisitor read = ReadBytes(BuildMbxFile(texts, &offsets));
    EXPECT_TRUE(read.outcome.isMessageFile);
    EXPECT_EQ(read.outcome.headerCount, 5);
    EXPECT_TRUE(read.damages.empty());
    ASSERT_EQ(read.messages.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(read.messages[i].text, texts[i]);
        EXPECT_EQ(read.messages[i].facts.offset, offsets[i]);
    }
    EXPECT_EQ(read.messages[0].facts.subject, "Subject 0");
    EXPECT_EQ(read.messages[0].facts.senderName, "Sender 0");
    EXPECT_EQ(read.messages[0].facts.date, 1'000'000'000);
    EXPECT_EQ(read.messages[4].facts.subject, "Gr\u00fc\u00dfe");
    EXPECT_EQ(read.messages[4].facts.senderAddress, "ann@example.com");
    EXPECT_FALSE(read.messages[4].facts.date.has_value());
}

TEST(ExportMbxReader, DamagedRecordIsReportedAndTheNextRecordIsFound) {
    std::vector<std::string> texts = Texts(6);
    std::vector<int32_t> offsets;
    std::vector<uint8_t> bytes = BuildMbxFile(texts, &offsets);
    bytes[static_cast<size_t>(offsets[1])] = 'X';                          // marker
    PutLe32(bytes, static_cast<size_t>(offsets[3]) + 8, 3);               // length shorter than its text
    PutLe32(bytes, static_cast<size_t>(offsets[4]) + 12, 0x7FFFFFF0);     // text past the end
    CollectingVisitor read = ReadBytes(bytes);
    ASSERT_EQ(read.damages.size(), 3u);
    EXPECT_EQ(read.damages[0].offset, offsets[1]);
    EXPECT_EQ(read.damages[1].offset, offsets[3]);
    EXPECT_EQ(read.damages[2].offset, offsets[4]);
    ASSERT_EQ(read.messages.size(), 3u);
    EXPECT_EQ(read.messages[0].text, texts[0]);
    EXPECT_EQ(read.messages[1].text, texts[2]);
    EXPECT_EQ(read.messages[2].text, texts[5]);
}

TEST(ExportMbxReader, CutTextIsReportedAndFreeSpaceAtTheEndIsNot) {
    std::vector<std::string> texts = Texts(3);
    std::vector<int32_t> offsets;
    std::vector<uint8_t> bytes = BuildMbxFile(texts, &offsets);
    std::vector<uint8_t> padded = bytes;
    padded.resize(bytes.size() + 5000, 0);
    CollectingVisitor free = ReadBytes(padded);
    EXPECT_EQ(free.messages.size(), 3u);
    EXPECT_TRUE(free.damages.empty());

    bytes.resize(static_cast<size_t>(offsets[2]) + 40);
    CollectingVisitor cut = ReadBytes(bytes);
    EXPECT_EQ(cut.messages.size(), 2u);
    ASSERT_EQ(cut.damages.size(), 1u);
    EXPECT_EQ(cut.damages[0].offset, offsets[2]);
}

TEST(ExportMbxReader, EveryCutAndRandomDamageReadsSafely) {
    const std::vector<uint8_t> valid = BuildMbxFile(Texts(40));
    for (size_t length = 0; length < valid.size(); length += 97) {
        std::vector<uint8_t> cut(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_LE(ReadBytes(cut).messages.size(), 40u);
    }
    std::mt19937 random(1998);
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> bad = valid;
        for (int i = 0, changes = 1 + static_cast<int>(random() % 20); i < changes; ++i) {
            bad[4 + random() % (bad.size() - 4)] = static_cast<uint8_t>(random());
        }
        EXPECT_LE(ReadBytes(bad).messages.size(), bad.size() / 16);
    }
}

}  // namespace
}  // namespace corvane::exporting

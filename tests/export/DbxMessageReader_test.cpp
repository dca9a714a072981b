#include "corvane/export/DbxMessageReader.h"

#include "corvane/export/MailDate.h"
#include "tests/export/ExportFixture.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace corvane::exporting {
namespace {

using testing::BuildDbxMessageFile;
using testing::DbxMessageLayout;
using testing::PutLe32;
using testing::StoredMessage;

void ExpectSameAsStored(const ReadMessage& read, const StoredMessage& stored) {
    EXPECT_EQ(read.text, stored.text);
    EXPECT_EQ(read.facts.subject, stored.subject);
    EXPECT_EQ(read.facts.senderName, stored.senderName);
    EXPECT_EQ(read.facts.senderAddress, stored.senderAddress);
    ASSERT_TRUE(read.facts.date.has_value());
    EXPECT_EQ(UnixSecondsToFileTime(*read.facts.date), stored.fileTime);
}

// Trees of one node, of a node and its children, and of three levels: the
// walk gives every message once, in the order written.
TEST(ExportDbxReader, WriterFilesOfEveryTreeShapeReadBackInOrder) {
    for (int count : {0, 1, 51, 52, 200, 3000}) {
        SCOPED_TRACE(count);
        std::vector<StoredMessage> stored = Samples(count);
        DbxMessageLayout layout;
        CollectingVisitor read = ReadBytes(BuildDbxMessageFile(stored, &layout));
        EXPECT_TRUE(read.outcome.isMessageFile);
        EXPECT_TRUE(read.damages.empty());
        ASSERT_EQ(read.messages.size(), stored.size());
        for (size_t i = 0; i < stored.size(); ++i) {
            ExpectSameAsStored(read.messages[i], stored[i]);
            EXPECT_EQ(read.messages[i].facts.offset, layout.records[i]);
            EXPECT_FALSE(read.messages[i].facts.recovered);
        }
        if (count == 3000) {
            EXPECT_GT(layout.nodes.size(), 53u);  // three levels were written
        }
    }
}

TEST(ExportDbxReader, LongEmptyAndOddTextsComeBackByteForByte) {
    std::vector<StoredMessage> stored = Samples(3);
    stored[0].text = std::string(5 * 0x200 + 17, '\0');  // NULs and block ends are only bytes
    stored[1].text.clear();
    stored[2].text = std::string(300, '\x80') + "\r\n.\r\nFrom x\r\n";
    CollectingVisitor read = ReadBytes(BuildDbxMessageFile(stored));
    ASSERT_EQ(read.messages.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(read.messages[i].text, stored[i].text);
}

TEST(ExportDbxReader, FactsMissingFromTheRecordComeFromTheHeaderAndAnsiBecomesUtf8) {
    std::vector<StoredMessage> stored = Samples(2);
    stored[0].fileTime = 0;  // no date field: the Date header gives it
    stored[1].subject = "Caf\xe9 \x96 \x93quoted\x94";
    CollectingVisitor read = ReadBytes(BuildDbxMessageFile(stored));
    ASSERT_EQ(read.messages.size(), 2u);
    EXPECT_EQ(read.messages[0].facts.date, 1'000'000'000);  // Sun, 9 Sep 2001 01:46:40 +0000
    EXPECT_EQ(read.messages[1].facts.subject, "Caf\u00e9 \u2013 \u201cquoted\u201d");
}

TEST(ExportDbxReader, OtherFilesAreNotMessageFiles) {
    std::vector<uint8_t> bytes = BuildDbxMessageFile(Samples(2));
    bytes[4] = 0xC6;  // the folder index's signature
    CollectingVisitor read = ReadBytes(bytes);
    EXPECT_FALSE(read.outcome.isMessageFile);
    EXPECT_TRUE(read.messages.empty());
    EXPECT_FALSE(ReadBytes({}).outcome.isMessageFile);
}

TEST(ExportDbxReader, ChainThatLoopsOrLeavesTheFileIsReportedAtItsRecordAndTheRestIsRead) {
    std::vector<StoredMessage> stored = Samples(6, 3);
    DbxMessageLayout layout;
    std::vector<uint8_t> bytes = BuildDbxMessageFile(stored, &layout);
    PutLe32(bytes, layout.blocks[1][2] + 12, layout.blocks[1][0]);           // last block back to the first
    PutLe32(bytes, layout.blocks[2][0] + 12, layout.blocks[2][0]);           // a block naming itself
    PutLe32(bytes, layout.blocks[3][1] + 12, static_cast<uint32_t>(bytes.size() + 0x1000));  // past the end
    PutLe32(bytes, layout.blocks[4][0] + 8, 0x201);                          // more text than its body
    CollectingVisitor read = ReadBytes(bytes);
    ASSERT_EQ(read.messages.size(), 2u);
    ExpectSameAsStored(read.messages[0], stored[0]);
    ExpectSameAsStored(read.messages[1], stored[5]);
    ASSERT_EQ(read.damages.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(read.damages[i].kind, DamageKind::Message);
        EXPECT_EQ(read.damages[i].offset, layout.records[i + 1]);
    }
    EXPECT_NE(read.damages[0].what.find("loops"), std::string::npos) << read.damages[0].what;
    EXPECT_NE(read.damages[1].what.find("loops"), std::string::npos) << read.damages[1].what;
    EXPECT_NE(read.damages[2].what.find("past the end"), std::string::npos) << read.damages[2].what;
    EXPECT_EQ(read.outcome.damagedMessages, 4);
}

TEST(ExportDbxReader, DamagedRecordsAndNodesAreReportedWithTheirOffsets) {
    std::vector<StoredMessage> stored = Samples(200);
    DbxMessageLayout layout;
    std::vector<uint8_t> bytes = BuildDbxMessageFile(stored, &layout);
    PutLe32(bytes, layout.records[7], 0x1234);    // the record's marker
    PutLe32(bytes, layout.records[9] + 4, 0x7FFFFFFF);  // its body length
    const int32_t child = layout.nodes[1];         // a child node: its records are lost to the walk
    PutLe32(bytes, child, 0);
    CollectingVisitor read = ReadBytes(bytes);
    std::set<int64_t> offsets;
    for (const Damage& damage : read.damages) offsets.insert(damage.offset);
    EXPECT_TRUE(offsets.count(layout.records[7]));
    EXPECT_TRUE(offsets.count(layout.records[9]));
    EXPECT_TRUE(offsets.count(child));
    EXPECT_EQ(read.outcome.damagedIndexParts, 2);  // the node, and the count the index falls short of
    EXPECT_LT(read.messages.size(), stored.size() - 2);
    EXPECT_GT(read.messages.size(), stored.size() / 2);
}

// The tree gone: recovery finds every message through its text blocks alone,
// with the facts of the text's header.
TEST(ExportDbxReader, RecoveryFindsEveryMessageWhenTheTreeRootIsZeroed) {
    std::vector<StoredMessage> stored = Samples(120, 2);
    std::vector<uint8_t> bytes = BuildDbxMessageFile(stored);
    PutLe32(bytes, 0xE4, 0);
    CollectingVisitor plain = ReadBytes(bytes);
    EXPECT_TRUE(plain.messages.empty());
    ASSERT_EQ(plain.damages.size(), 1u);
    EXPECT_EQ(plain.damages[0].kind, DamageKind::Index);

    CollectingVisitor recovered = ReadBytes(bytes, true);
    ASSERT_EQ(recovered.messages.size(), stored.size());
    EXPECT_EQ(recovered.outcome.recovered, 120);
    for (size_t i = 0; i < stored.size(); ++i) {
        const ReadMessage& message = recovered.messages[i];
        EXPECT_TRUE(message.facts.recovered);
        EXPECT_EQ(message.text, stored[i].text);
        EXPECT_EQ(message.facts.subject, stored[i].subject);
        EXPECT_EQ(message.facts.senderAddress, stored[i].senderAddress);
        EXPECT_EQ(message.facts.date, 1'000'000'000);
    }
}

TEST(ExportDbxReader, RecoveryAddsDeletedMessagesAndNeverRepeatsListedOnes) {
    std::vector<StoredMessage> stored = Samples(60, 2);
    stored[10].listed = false;
    stored[59].listed = false;
    CollectingVisitor read = ReadBytes(BuildDbxMessageFile(stored), true);
    EXPECT_TRUE(read.damages.empty());
    ASSERT_EQ(read.messages.size(), 60u);
    EXPECT_EQ(read.outcome.listed, 58);
    EXPECT_EQ(read.outcome.recovered, 2);
    EXPECT_EQ(read.messages[58].text, stored[10].text);
    EXPECT_EQ(read.messages[59].text, stored[59].text);
    std::set<std::string> texts;
    for (const ReadMessage& message : read.messages) texts.insert(message.text);
    EXPECT_EQ(texts.size(), 60u);
}

// A file cut short loses its tree (written last); recovery gives the
// messages wholly before the cut and names the one the cut went through.
TEST(ExportDbxReader, TruncatedFileGivesWhatLiesBeforeTheCut) {
    std::vector<StoredMessage> stored = Samples(10, 3);
    DbxMessageLayout layout;
    std::vector<uint8_t> bytes = BuildDbxMessageFile(stored, &layout);
    bytes.resize(static_cast<size_t>(layout.blocks[6][1] + 100));
    CollectingVisitor read = ReadBytes(bytes, true);
    ASSERT_EQ(read.messages.size(), 6u);
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(read.messages[i].text, stored[i].text);
    std::set<int64_t> offsets;
    for (const Damage& damage : read.damages) offsets.insert(damage.offset);
    EXPECT_TRUE(offsets.count(layout.blocks[6][0]));  // the message the cut went through, by its first block
    EXPECT_TRUE(offsets.count(layout.root));          // the tree node beyond the end
}

// Cuts and random bytes anywhere: never a crash (ASan, UBSan), never more
// messages than the file can hold.
TEST(ExportDbxReader, EveryCutAndRandomDamageReadsSafely) {
    DbxMessageLayout layout;
    const std::vector<uint8_t> valid = BuildDbxMessageFile(Samples(70, 2), &layout);
    for (size_t length = 0; length < valid.size(); length += 331) {
        std::vector<uint8_t> cut(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(length));
        CollectingVisitor read = ReadBytes(cut, length % 2 == 0);
        EXPECT_LE(read.messages.size(), 70u);
    }
    std::mt19937 random(20250210);
    for (int round = 0; round < 200; ++round) {
        std::vector<uint8_t> bad = valid;
        for (int i = 0, changes = 1 + static_cast<int>(random() % 30); i < changes; ++i) {
            // Mostly the structures (past the header), sometimes pointers set to other objects.
            size_t at = 0x24BC + random() % (bad.size() - 0x24BC - 4);
            if (random() % 2) PutLe32(bad, at & ~size_t{3}, static_cast<uint32_t>(layout.blocks[random() % 70][0]));
            else bad[at] = static_cast<uint8_t>(random());
        }
        CollectingVisitor read = ReadBytes(bad, true);
        EXPECT_LE(read.messages.size(), bad.size() / 16);
    }
}

}  // namespace
}  // namespace corvane::exporting

// Hostile "folders.nch" files: truncated, corrupted, random and chained in
// circles. The reader must neither crash (the native build runs these under
// the sanitizers) nor loop, nor list more records than the file can hold.
#include "corvane/catalog/Nch4Reader.h"
#include "corvane/catalog/TreeBuilder.h"
#include "testsupport/portable/MemoryFileSource.h"
#include "testsupport/portable/NchWriter.h"

#include <gtest/gtest.h>

#include <random>

namespace corvane::catalog {
namespace {

using testing::NchFolder;

const std::string kMail = "C:\\Mail\\";

class Nch4Fuzz : public ::testing::Test {
protected:
    void SetUp() override {
        // Sixty folders two levels deep; every base name has its file.
        for (int i = 1; i <= 60; ++i) {
            int16_t parent = static_cast<int16_t>(i <= 10 ? 0 : 1 + (i % 10));
            std::string base = "F" + std::to_string(i);
            folders.push_back({static_cast<int16_t>(i), parent, "Folder " + std::to_string(i), base,
                               static_cast<int16_t>(i % 7 - 1)});
            files.Put(kMail + base + ".mbx", testing::MbxFileBytes(i));
        }
        valid = testing::BuildFolderNch(folders);
    }

    void ReadAndBuild(const std::vector<uint8_t>& bytes) {
        files.Put(kMail + kNchIndexFileName, bytes);
        TreeList work, tree;
        ASSERT_TRUE(ReadV4Index(kMail, files, work, tree));
        const int most = static_cast<int>(bytes.size() / kNchRecordSize) + 1;
        ASSERT_LE(work.Count(), 1 + most);
        ASSERT_LE(tree.Count(), work.Count() + 1);  // the group item besides
        CatalogTotals totals;
        MeasureV4(tree, work, kMail, {}, files, totals);
        ASSERT_LE(totals.selectedCount, totals.itemCount);
    }

    std::vector<NchFolder> folders;
    std::vector<uint8_t> valid;
    testing::MemoryFileSource files;
};

TEST_F(Nch4Fuzz, TheWriterSeedListsEveryFolder) {
    files.Put(kMail + kNchIndexFileName, valid);
    TreeList work, tree;
    ASSERT_TRUE(ReadV4Index(kMail, files, work, tree));
    EXPECT_EQ(work.Count(), 1 + 60);
    EXPECT_EQ(tree.Count(), 2 + 60);
}

TEST_F(Nch4Fuzz, EveryTruncationReadsSafely) {
    for (size_t length = 0; length < valid.size(); length += 61) {
        ReadAndBuild(std::vector<uint8_t>(valid.begin(), valid.begin() + length));
    }
}

TEST_F(Nch4Fuzz, CorruptedBytesReadSafely) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 400; ++round) {
        std::vector<uint8_t> bad = valid;
        int changes = 1 + static_cast<int>(random() % 40);
        for (int i = 0; i < changes; ++i) bad[random() % bad.size()] = static_cast<uint8_t>(random());
        ReadAndBuild(bad);
    }
}

TEST_F(Nch4Fuzz, NextOffsetsAimedAtEdgesAndInsideRecords) {
    std::mt19937 random(7);
    const int32_t size = static_cast<int32_t>(valid.size());
    const int32_t aims[] = {0, 1, -1, 16, 20, 23, 24, size - 1, size, 0x7FFFFFFF, static_cast<int32_t>(0x80000000)};
    for (int round = 0; round < 300; ++round) {
        testing::NchIndexWriter writer;
        std::vector<int32_t> records;
        for (const NchFolder& folder : folders) records.push_back(writer.AddRecord(folder));
        for (size_t i = 0; i + 1 < records.size(); ++i) writer.SetNext(records[i], records[i + 1]);
        writer.SetFirst(records.front());
        writer.SetLast(records.back());
        for (int i = 0; i < 8; ++i) {
            int32_t record = records[random() % records.size()];
            int32_t aim = random() % 2 ? aims[random() % std::size(aims)]
                                       : records[random() % records.size()] + static_cast<int32_t>(random() % 557);
            writer.SetNext(record, aim);
        }
        if (random() % 4 == 0) writer.SetFirst(aims[random() % std::size(aims)]);
        ReadAndBuild(writer.Bytes());
    }
}

// A record every four bytes, each naming the next: far more records than
// the file can hold side by side, and none of them the last.
TEST_F(Nch4Fuzz, AnOverlappingChainStopsAtWhatTheFileCanHold) {
    testing::NchIndexWriter writer;
    writer.AddRecord({1, 0, "A", "F1", -1});
    const int32_t end = static_cast<int32_t>(writer.Bytes().size()) + 4000;
    for (int32_t offset = 24; offset + 16 <= end; offset += 4) writer.Put32(offset + 12, offset + 4);
    writer.SetFirst(24);
    writer.SetLast(0);
    ByteView view(writer.Bytes());
    EXPECT_EQ(WalkNchChain(view).size(), writer.Bytes().size() / kNchRecordSize + 1);
    ReadAndBuild(writer.Bytes());
}

TEST_F(Nch4Fuzz, RandomBytesReadSafely) {
    std::mt19937 random(42);
    for (int round = 0; round < 200; ++round) {
        std::vector<uint8_t> bytes(random() % 8000);
        for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
        if (bytes.size() > 24) {  // aim the first record inside the file
            uint32_t first = static_cast<uint32_t>(24 + random() % (bytes.size() - 24));
            for (int i = 0; i < 4; ++i) bytes[20 + i] = static_cast<uint8_t>(first >> (8 * i));
        }
        ReadAndBuild(bytes);
    }
}

}  // namespace
}  // namespace corvane::catalog

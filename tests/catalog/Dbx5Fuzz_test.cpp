// Hostile indexes: truncated, corrupted and random bytes must neither crash
// the reader (the native build runs these under the sanitizers) nor let it
// loop or list more than the two-level walk can reach.
#include "corvane/catalog/Dbx5Reader.h"
#include "corvane/catalog/TreeBuilder.h"

#include "tests/catalog/CatalogFixture.h"

#include <gtest/gtest.h>

#include <random>

namespace corvane::catalog {
namespace {

using testing::DbxFolder;

constexpr int kMostRecords = 61 * 63;

std::vector<uint8_t> ValidIndex() {
    std::vector<DbxFolder> folders{DbxFolder::Root("Store"), DbxFolder::NoFile(1, 0, "Local Folders")};
    for (int i = 0; i < 200; ++i) {
        folders.push_back(DbxFolder::Mail(0x20 + i, i % 3 == 0 ? 1 : 0x20 + i / 2, "Folder " + std::to_string(i),
                                          "Folder" + std::to_string(i) + ".dbx"));
    }
    return testing::BuildFolderIndex(folders);
}

void ReadAndBuild(MemoryStore& store, const std::vector<uint8_t>& bytes) {
    store.Index(bytes);
    TreeList work, tree;
    ASSERT_TRUE(ReadV5Index(kStore, store.files, work, tree, true));
    ASSERT_LE(work.Count(), 1 + kMostRecords);
    ASSERT_LE(tree.Count(), work.Count());
    CatalogTotals totals;
    MeasureV5(tree, work, kStore, {}, store.files, totals);
}

TEST(Dbx5Fuzz, EveryTruncationOfAValidIndexReadsSafely) {
    std::vector<uint8_t> index = ValidIndex();
    MemoryStore store;
    for (size_t length = 0; length < index.size(); length += 97) {
        std::vector<uint8_t> cut(index.begin(), index.begin() + length);
        ReadAndBuild(store, cut);
    }
    ReadAndBuild(store, index);
}

TEST(Dbx5Fuzz, CorruptedBytesOfAValidIndexReadSafely) {
    std::vector<uint8_t> index = ValidIndex();
    std::mt19937 random(20261207);
    MemoryStore store;
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> bad = index;
        int changes = 1 + static_cast<int>(random() % 40);
        for (int i = 0; i < changes; ++i) bad[random() % bad.size()] = static_cast<uint8_t>(random());
        ReadAndBuild(store, bad);
    }
}

TEST(Dbx5Fuzz, PointersAimedAtTheEdgesAndAtThemselves) {
    std::mt19937 random(7);
    const int32_t header = testing::DbxIndexWriter::kHeaderSize;
    const int32_t interesting[] = {0, 1, -1, 0x7FFFFFFF, static_cast<int32_t>(0x80000000), 0xEC, header, header - 1};
    MemoryStore store;
    for (int round = 0; round < 300; ++round) {
        testing::DbxIndexWriter writer;
        int32_t record = writer.AddRecord(DbxFolder::NoFile(1, 0, "A"));
        int32_t node = writer.AddNode(0, {{record, 0}});
        writer.SetRootNode(node);
        writer.SetExpectedCount(static_cast<int16_t>(random()));
        for (int i = 0; i < 12; ++i) {  // the root pointer, then the nodes and records
            int32_t body = static_cast<int32_t>(writer.Bytes().size()) - header;
            int32_t where = i == 0 ? 0xEC : header + (static_cast<int32_t>(random() % body) & ~3);
            writer.Put32(where, interesting[random() % std::size(interesting)]);
        }
        writer.Put32(node + 8, node);       // the root is its own child
        writer.Put32(node + 24 + 4, node);  // and the child of its first slot
        writer.Put8(node + 17, 255);
        ReadAndBuild(store, writer.Bytes());
    }
}

TEST(Dbx5Fuzz, RandomBytesReadSafely) {
    std::mt19937 random(42);
    MemoryStore store;
    for (int round = 0; round < 200; ++round) {
        const size_t header = testing::DbxIndexWriter::kHeaderSize;
        std::vector<uint8_t> bytes(random() % (header + 6000));
        for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
        if (bytes.size() > header) {  // aim the root past the header, where nodes can lie
            uint32_t root = static_cast<uint32_t>(header + random() % (bytes.size() - header));
            for (int i = 0; i < 4; ++i) bytes[0xEC + i] = static_cast<uint8_t>(root >> (8 * i));
        }
        ReadAndBuild(store, bytes);
    }
}

TEST(Dbx5Fuzz, ARepeatedRecordIsListedOnce) {
    testing::DbxIndexWriter writer;
    int32_t record = writer.AddRecord(DbxFolder::NoFile(0x20, 1, "Twice"));
    int32_t child = writer.AddNode(0, {{record, 0}, {record, 0}});
    writer.SetRootNode(writer.AddNode(child, {{record, child}}));
    writer.SetExpectedCount(50);
    MemoryStore store;
    store.Index(writer.Bytes());
    TreeList work;
    store.ReadWork(work);
    EXPECT_EQ(work.Count(), 2);
}

}  // namespace
}  // namespace corvane::catalog

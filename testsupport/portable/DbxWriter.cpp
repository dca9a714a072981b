#include "testsupport/portable/DbxWriter.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace corvane::testing {

DbxFolder DbxFolder::Mail(int32_t number, int32_t parent, std::string name, std::string file) {
    DbxFolder folder;
    folder.number = number;
    folder.parent = parent;
    folder.name = std::move(name);
    folder.file = std::move(file);
    return folder;
}

DbxFolder DbxFolder::NoFile(int32_t number, int32_t parent, std::string name) {
    DbxFolder folder = Mail(number, parent, std::move(name), "");
    folder.id3 = 0x86;
    return folder;
}

DbxFolder DbxFolder::Container(int32_t number, int32_t parent, std::string name) {
    DbxFolder folder = NoFile(number, parent, std::move(name));
    folder.id2 = 0x05;
    return folder;
}

DbxFolder DbxFolder::Root(std::string name) {
    DbxFolder folder = Mail(0, 0, std::move(name), "");
    folder.id1 = 0x02;
    folder.id2 = 0x86;
    folder.id3 = 0x07;
    return folder;
}

// The signature of a folder index, then bytes that every .dbx file holds.
DbxIndexWriter::DbxIndexWriter() : bytes_(kHeaderSize, 0) {
    const uint8_t start[] = {0xCF, 0xAD, 0x12, 0xFE, 0xC6, 0xFD, 0x74, 0x6F, 0x66, 0xE3, 0xD1, 0x11, 0x9A, 0x4E,
                             0x00, 0xC0, 0x4F, 0xA3, 0x09, 0xD4, 0x05, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00};
    std::copy(std::begin(start), std::end(start), bytes_.begin());
}

void DbxIndexWriter::Reserve(size_t end) {
    if (bytes_.size() < end) bytes_.resize(end, 0);
}

void DbxIndexWriter::Put8(int32_t offset, uint8_t value) {
    Reserve(static_cast<size_t>(offset) + 1);
    bytes_[offset] = value;
}

void DbxIndexWriter::Put16(int32_t offset, uint16_t value) {
    Put8(offset, static_cast<uint8_t>(value));
    Put8(offset + 1, static_cast<uint8_t>(value >> 8));
}

void DbxIndexWriter::Put32(int32_t offset, int32_t value) {
    uint32_t bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) Put8(offset + i, static_cast<uint8_t>(bits >> (8 * i)));
}

// Layout: own offset, length, entry count n = 4 at byte 10, four entries
// (folder number, parent, name, file) of id + 3-byte value, then the data
// area with the name and file name, each NUL-terminated.
int32_t DbxIndexWriter::AddRecordAt(int32_t offset, const DbxFolder& folder) {
    constexpr int kEntries = 4;
    int32_t data = offset + 12 + 4 * kEntries;
    int32_t length = 12 + 4 * kEntries + static_cast<int32_t>(folder.name.size() + folder.file.size() + 2);
    Put32(offset, offset);
    Put32(offset + 4, length);
    Put8(offset + 10, kEntries);
    Put32(offset + 12, 0x80 | ((folder.number & 0xFFFFFF) << 8));
    Put32(offset + 16, folder.id1 | ((folder.parent & 0xFFFFFF) << 8));
    Put8(offset + 20, folder.id2);
    Put8(offset + 24, folder.id3);
    int32_t at = data;
    for (const std::string* text : {&folder.name, &folder.file}) {
        for (char c : *text) Put8(at++, static_cast<uint8_t>(c));
        Put8(at++, 0);
    }
    return offset;
}

int32_t DbxIndexWriter::AddRecord(const DbxFolder& folder) {
    return AddRecordAt(static_cast<int32_t>(bytes_.size()), folder);
}

int32_t DbxIndexWriter::AddNodeAt(int32_t offset, int32_t child, const std::vector<DbxSlot>& slots, int entryCount) {
    Reserve(static_cast<size_t>(offset) + kNodeSize);
    if (entryCount < 0) {
        entryCount =
            static_cast<int>(std::count_if(slots.begin(), slots.end(), [](const DbxSlot& s) { return s.record > 0; }));
    }
    Put32(offset, offset);
    Put32(offset + 8, child);
    Put8(offset + 17, static_cast<uint8_t>(entryCount));
    for (size_t i = 0; i < slots.size() && i < static_cast<size_t>(kSlotsPerNode); ++i) {
        int32_t slot = offset + 24 + 12 * static_cast<int32_t>(i);
        Put32(slot, slots[i].record);
        Put32(slot + 4, slots[i].child);
    }
    return offset;
}

int32_t DbxIndexWriter::AddNode(int32_t child, const std::vector<DbxSlot>& slots, int entryCount) {
    return AddNodeAt(static_cast<int32_t>(bytes_.size()), child, slots, entryCount);
}

std::vector<uint8_t> BuildFolderIndex(const std::vector<DbxFolder>& folders) {
    constexpr size_t kPerNode = DbxIndexWriter::kSlotsPerNode;
    DbxIndexWriter writer;
    std::vector<int32_t> records;
    for (const DbxFolder& folder : folders) records.push_back(writer.AddRecord(folder));
    auto nodeOf = [&](size_t first, int32_t child) {
        std::vector<DbxSlot> slots;
        for (size_t i = first; i < records.size() && i < first + kPerNode; ++i) slots.push_back({records[i], 0});
        return std::make_pair(slots, child);
    };
    // root slots: records 0..60; root child: 61..121; then a child per root slot
    auto [rootSlots, unused] = nodeOf(0, 0);
    int32_t rootChild = 0;
    if (records.size() > kPerNode) {
        auto [slots, child] = nodeOf(kPerNode, 0);
        rootChild = writer.AddNode(child, slots);
    }
    for (size_t slot = 0; slot < rootSlots.size(); ++slot) {
        size_t first = kPerNode * (2 + slot);
        if (first >= records.size()) break;
        auto [slots, child] = nodeOf(first, 0);
        rootSlots[slot].child = writer.AddNode(child, slots);
    }
    writer.SetRootNode(writer.AddNode(rootChild, rootSlots));
    writer.SetExpectedCount(static_cast<int16_t>(folders.size()));
    return writer.Bytes();
}

std::vector<uint8_t> StoreFileBytes(int32_t messages, size_t length) {
    std::vector<uint8_t> bytes(std::max<size_t>(length, 0x200), 0);
    const uint8_t signature[] = {0xCF, 0xAD, 0x12, 0xFE, 0xC5, 0xFD, 0x74, 0x6F};
    std::copy(std::begin(signature), std::end(signature), bytes.begin());
    uint32_t bits = static_cast<uint32_t>(messages);
    for (int i = 0; i < 4; ++i) bytes[0xC4 + i] = static_cast<uint8_t>(bits >> (8 * i));
    return bytes;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace corvane::testing

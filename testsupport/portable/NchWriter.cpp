#include "testsupport/portable/NchWriter.h"

#include <algorithm>

namespace corvane::testing {

namespace {

void PutLittleEndian(std::vector<uint8_t>& bytes, size_t offset, uint32_t value, int size) {
    if (bytes.size() < offset + size) bytes.resize(offset + size, 0);
    for (int i = 0; i < size; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

// The header's first 16 bytes are a text nothing reads.
NchIndexWriter::NchIndexWriter() : bytes_(kHeaderSize, 0) {
    const std::string signature = "Corvane test nch";
    std::copy(signature.begin(), signature.end(), bytes_.begin());
}

void NchIndexWriter::Put8(int32_t offset, uint8_t value) { PutLittleEndian(bytes_, offset, value, 1); }
void NchIndexWriter::Put16(int32_t offset, uint16_t value) { PutLittleEndian(bytes_, offset, value, 2); }
void NchIndexWriter::Put32(int32_t offset, int32_t value) {
    PutLittleEndian(bytes_, offset, static_cast<uint32_t>(value), 4);
}

// A text field: the text cut to leave room for its NUL, then NULs.
void NchIndexWriter::PutText(int32_t offset, const std::string& text, size_t fieldSize) {
    for (size_t i = 0; i < fieldSize; ++i) Put8(offset + static_cast<int32_t>(i), 0);
    size_t length = std::min(text.size(), fieldSize - 1);
    for (size_t i = 0; i < length; ++i) Put8(offset + static_cast<int32_t>(i), static_cast<uint8_t>(text[i]));
}

int32_t NchIndexWriter::AddRecord(const NchFolder& folder) {
    return AddRecordAt(static_cast<int32_t>(bytes_.size()), folder);
}

int32_t NchIndexWriter::AddRecordAt(int32_t offset, const NchFolder& folder) {
    for (int32_t i = 0; i < kRecordSize; ++i) Put8(offset + i, 0);
    Put16(offset + 16, static_cast<uint16_t>(folder.number));
    PutText(offset + 20, folder.name, 259);
    PutText(offset + 279, folder.baseName, 260);
    Put16(offset + 539, static_cast<uint16_t>(folder.parent));
    Put16(offset + 551, static_cast<uint16_t>(folder.order));
    return offset;
}

std::vector<uint8_t> BuildFolderNch(const std::vector<NchFolder>& folders) {
    NchIndexWriter writer;
    std::vector<int32_t> records;
    for (const NchFolder& folder : folders) records.push_back(writer.AddRecord(folder));
    for (size_t i = 0; i + 1 < records.size(); ++i) writer.SetNext(records[i], records[i + 1]);
    if (!records.empty()) {
        writer.SetFirst(records.front());
        writer.SetLast(records.back());
    }
    return writer.Bytes();
}

std::vector<uint8_t> MbxFileBytes(int32_t messages, size_t length) {
    std::vector<uint8_t> bytes(std::max<size_t>(length, 12), 0);
    const char magic[] = {'J', 'M', 'F', '6'};
    std::copy(std::begin(magic), std::end(magic), bytes.begin());
    PutLittleEndian(bytes, 4, 0x00010003, 4);
    PutLittleEndian(bytes, 8, static_cast<uint32_t>(messages), 4);
    return bytes;
}

}  // namespace corvane::testing

// Writers of Outlook Express 4 store files for tests, the demo and the
// benchmark: the folder index "folders.nch" (a header and a chain of
// 557-byte folder records at appended or chosen offsets) and ".mbx" files
// with a given message count. The inverse of the catalog's reader;
// platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::testing {

struct NchFolder {
    int16_t number = 0;
    int16_t parent = 0;  // 0: top level
    std::string name;
    std::string baseName;  // the file's name without ".mbx"
    int16_t order = -1;    // -1: sorts as 4
};

class NchIndexWriter {
public:
    static constexpr int32_t kHeaderSize = 24;
    static constexpr int32_t kRecordSize = 557;

    NchIndexWriter();
    // A record appended at the end (its offset returned) or placed at a chosen
    // offset; its next offset is 0 until set.
    int32_t AddRecord(const NchFolder& folder);
    int32_t AddRecordAt(int32_t offset, const NchFolder& folder);
    void SetNext(int32_t record, int32_t next) { Put32(record + 12, next); }
    void SetFirst(int32_t offset) { Put32(20, offset); }
    void SetLast(int32_t offset) { Put32(16, offset); }
    void Put8(int32_t offset, uint8_t value);
    void Put16(int32_t offset, uint16_t value);
    void Put32(int32_t offset, int32_t value);
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    void PutText(int32_t offset, const std::string& text, size_t fieldSize);
    std::vector<uint8_t> bytes_;
};

// The usual shape: the folders' records one after the other, chained in
// the order given, the header naming the first and the last.
std::vector<uint8_t> BuildFolderNch(const std::vector<NchFolder>& folders);

// A ".mbx" file of `length` bytes (at least its 12-byte header) whose
// message count at offset 8 is `messages`.
std::vector<uint8_t> MbxFileBytes(int32_t messages, size_t length = 0x400);

}  // namespace corvane::testing

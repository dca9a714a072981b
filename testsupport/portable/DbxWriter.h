// Writers of Outlook Express 5 store files for tests, the demo and the
// benchmark: the folder index "folders.dbx" (nodes and folder records at
// chosen or appended offsets) and store files with a given message count.
// The inverse of the catalog's reader; platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::testing {

// One folder record. The ids of index entries 1 to 3 decide how the reader
// sees the record; the factories give the usual combinations.
struct DbxFolder {
    int32_t number = 0;
    int32_t parent = 0;
    std::string name;
    std::string file;
    uint8_t id1 = 0x81;  // parent number held in the entry
    uint8_t id2 = 0x02;  // the name entry
    uint8_t id3 = 0x03;  // the file entry

    static DbxFolder Mail(int32_t number, int32_t parent, std::string name, std::string file);
    // No file entry (entry 3 is entry 6): no data; folder 1 becomes the local root.
    static DbxFolder NoFile(int32_t number, int32_t parent, std::string name);
    // A container such as a news server: entry 2 is not the name entry.
    static DbxFolder Container(int32_t number, int32_t parent, std::string name);
    // The store's root record (entry 1 is the name, entry 2 entry 6).
    static DbxFolder Root(std::string name);
};

struct DbxSlot {
    int32_t record = 0;
    int32_t child = 0;
};

class DbxIndexWriter {
public:
    // The header every .dbx file starts with; nodes and records follow it.
    static constexpr int32_t kHeaderSize = 0x24BC;
    static constexpr int kSlotsPerNode = 61;
    static constexpr int32_t kNodeSize = 24 + 12 * kSlotsPerNode;

    DbxIndexWriter();
    // Record or node appended at the end (returned offset) or placed at a chosen offset.
    int32_t AddRecord(const DbxFolder& folder);
    int32_t AddRecordAt(int32_t offset, const DbxFolder& folder);
    // entryCount < 0: the number of slots with a record.
    int32_t AddNode(int32_t child, const std::vector<DbxSlot>& slots, int entryCount = -1);
    int32_t AddNodeAt(int32_t offset, int32_t child, const std::vector<DbxSlot>& slots, int entryCount = -1);
    void SetRootNode(int32_t offset) { Put32(0xEC, offset); }
    void SetExpectedCount(int16_t count) { Put16(0xCC, static_cast<uint16_t>(count)); }
    void Put8(int32_t offset, uint8_t value);
    void Put16(int32_t offset, uint16_t value);
    void Put32(int32_t offset, int32_t value);
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    void Reserve(size_t end);
    std::vector<uint8_t> bytes_;
};

// The usual shape: up to 61 folders in the root node, 61 in the root's
// child node and 61 in the child node of each root slot (3,843 at most);
// the expected count is the number of folders. A root record, when wanted,
// is simply one of `folders`.
std::vector<uint8_t> BuildFolderIndex(const std::vector<DbxFolder>& folders);

// A store file header (and body up to `length` bytes, at least 0x200) whose
// message count at 0xC4 is `messages`.
std::vector<uint8_t> StoreFileBytes(int32_t messages, size_t length = 0x200);

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace corvane::testing

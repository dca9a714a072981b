// Reader of the Outlook Express 5 folder index "folders.dbx": walks two
// levels of the index tree and puts one item per folder record into the
// flat work list, then builds the folder tree from it. Also reads a store
// file's message count.
//
// Untrusted bytes: reads that run past the end of the file give zero bytes,
// an offset outside the file or inside its header gives nothing, and the walk
// is bounded (61 slots per node, two levels, each node and record read at most
// once), so no index can make it crash or loop.
#pragma once

#include "corvane/catalog/ByteView.h"
#include "corvane/catalog/FileSource.h"
#include "corvane/catalog/TreeList.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvane::catalog {

inline constexpr const char* kIndexFileName = "folders.dbx";
inline constexpr const char* kIndexMissingText = "Unable to find Index File (\"folders.dbx\")";  // string 235
inline constexpr size_t kMaxIndexBytes = 64u << 20;

// Every .dbx file starts with a header of this length; no node or record
// lies inside it, so a pointer into it names nothing.
inline constexpr int64_t kDbxHeaderSize = 0x24BC;

// The fields of one folder record the catalog uses.
struct FolderRecord {
    int16_t folderNumber = 0;
    int16_t parentNumber = 0;
    uint8_t id1 = 0, id2 = 0, id3 = 0;  // ids of index entries 1 to 3
    std::string name;
    std::string file;  // second string, empty unless it ends in "dbx"
};

// The record at `offset`, nothing when the offset is outside the file.
std::optional<FolderRecord> ParseFolderRecord(const ByteView& index, int64_t offset);

// What a walk of an index tree reached: the nodes read and the record
// offsets found, in walk order, each once and each past the header and
// inside the file.
struct IndexTreeWalk {
    std::vector<int64_t> nodes;
    std::vector<int64_t> records;
};

// Walks the tree whose root node is at `root` the way the folder index is
// read: the root's child node, the root's entries, then the child node of
// each root entry until `expectedCount` records have been found. Nodes below
// those are not followed. A root of 0 or below, or inside the header, names
// no node: the walk finds nothing.
IndexTreeWalk WalkIndexTree(const ByteView& index, int64_t root, int expectedCount);

// Fills `work` from the index bytes: item 0 "Outlook Express" (renamed by a
// root record) keeping its children in text order, then one child per
// folder record. `storeFolder` locates the store files whose presence decides
// the item type.
void ReadFolderIndex(const std::vector<uint8_t>& index, const std::string& storeFolder, IFileSource& files,
                     TreeList& work);

// Reads storeFolder + "folders.dbx" into `work` and builds `target` from it
// (type-3 containers removed when `removeContainers`). False, with both lists
// emptied, when there is no index file; the caller shows kIndexMissingText.
bool ReadV5Index(const std::string& storeFolder, IFileSource& files, TreeList& work, TreeList& target,
                 bool removeContainers);

// Message count of a store file: the signed 32-bit value at 0xC4 of its
// 200-byte header (0 for a short or missing file).
int32_t ReadMessageCount(IFileSource& files, const std::string& path);

}  // namespace corvane::catalog

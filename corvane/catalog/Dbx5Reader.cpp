#include "corvane/catalog/Dbx5Reader.h"

#include "corvane/catalog/CatalogModel.h"
#include "corvane/catalog/TextFcns.h"
#include "corvane/environment/portable/ListFcns.h"
#include "corvane/environment/portable/TextRules.h"
#include "corvane/catalog/TreeBuilder.h"

#include <algorithm>
#include <unordered_set>

namespace corvane::catalog {

namespace {

constexpr int64_t kExpectedCountOffset = 0xCC;
constexpr int64_t kRootNodeOffset = 0xEC;
constexpr int kSlotsPerNode = 61;
constexpr int64_t kNodeChildOffset = 8;
constexpr int64_t kNodeEntryCountOffset = 17;
constexpr int64_t kFirstSlotOffset = 24;
constexpr int64_t kSlotSize = 12;
constexpr size_t kDataAreaBytes = 500;
constexpr int64_t kMessageCountOffset = 0xC4;
constexpr size_t kStoreHeaderBytes = 200;

bool IsNameEntryId(uint8_t id) { return id == 6 || id == 0x86; }

struct Slot {
    int32_t record = 0;
    int32_t child = 0;
};

struct Node {
    int32_t child = 0;
    int entryCount = 0;
    Slot slots[kSlotsPerNode];
};

// Nodes and records lie past the header; 0, negative and header offsets name nothing.
bool NamesAnObject(const ByteView& index, int64_t offset) { return offset >= kDbxHeaderSize && index.Contains(offset); }

std::optional<Node> ParseNode(const ByteView& index, int64_t offset) {
    if (!NamesAnObject(index, offset)) return std::nullopt;
    Node node;
    node.child = index.I32(offset + kNodeChildOffset);
    node.entryCount = index.U8(offset + kNodeEntryCountOffset);
    for (int i = 0; i < kSlotsPerNode; ++i) {
        int64_t slot = offset + kFirstSlotOffset + kSlotSize * i;
        node.slots[i] = {index.I32(slot), index.I32(slot + 4)};
    }
    return node;
}

// One walk of an index tree, collecting what it reaches.
class TreeWalker {
public:
    TreeWalker(const ByteView& index, int expectedCount) : index_(index), expected_(expectedCount) {}

    IndexTreeWalk Run(int64_t root) {
        std::optional<Node> node = VisitNode(root);
        if (!node) return std::move(found_);
        if (node->child > 0) ReadNodeRecords(node->child);
        ReadSlotRecords(*node);
        for (const Slot& slot : node->slots) {
            if (static_cast<int64_t>(found_.records.size()) >= expected_) break;
            if (slot.child > 0) ReadNodeRecords(slot.child);
        }
        return std::move(found_);
    }

private:
    // A node already read (a tree pointing back into itself) gives nothing new.
    std::optional<Node> VisitNode(int64_t offset) {
        std::optional<Node> node = ParseNode(index_, offset);
        if (!node || !seenNodes_.insert(offset).second) return std::nullopt;
        found_.nodes.push_back(offset);
        return node;
    }

    // The child pointers of a node reached this way are not followed: the walk
    // covers the root and the nodes it points to, two levels in all.
    void ReadNodeRecords(int64_t offset) {
        if (std::optional<Node> node = VisitNode(offset)) ReadSlotRecords(*node);
    }

    void ReadSlotRecords(const Node& node) {
        int used = 0;
        for (const Slot& slot : node.slots) {
            if (used >= node.entryCount) break;
            if (slot.record <= 0) continue;
            ++used;
            // A well-formed index lists each record once; a repeated offset would
            // only duplicate a folder number, which the tree relies on being unique.
            if (NamesAnObject(index_, slot.record) && seenRecords_.insert(slot.record).second) {
                found_.records.push_back(slot.record);
            }
        }
    }

    const ByteView& index_;
    int64_t expected_;
    IndexTreeWalk found_;
    std::unordered_set<int64_t> seenNodes_;
    std::unordered_set<int64_t> seenRecords_;
};

// One read of the index: the work list being filled from the records the walk finds.
class IndexWalk {
public:
    IndexWalk(const ByteView& index, const std::string& storeFolder, IFileSource& files, TreeList& work)
        : index_(index), storeFolder_(storeFolder), files_(files), work_(work) {}

    void Run() {
        int expected = index_.I16(kExpectedCountOffset);
        for (int64_t offset : WalkIndexTree(index_, index_.I32(kRootNodeOffset), expected).records) {
            ReadRecord(offset);
        }
    }

private:
    void ReadRecord(int64_t offset) {
        std::optional<FolderRecord> record = ParseFolderRecord(index_, offset);
        if (!record) return;
        if (IsNameEntryId(record->id2) && record->id1 == 2) {
            work_.SetText(0, record->name);  // the store's root record
            return;
        }
        AddWorkItem(*record);
    }

    int ItemTypeOf(FolderRecord& record) {
        if (!IsNameEntryId(record.id3)) {
            if (!record.file.empty() && files_.FileExists(JoinStorePath(storeFolder_, record.file))) {
                return kTypeMailFolder;
            }
            record.file.clear();
            return kTypeNoData;
        }
        record.file.clear();
        if (record.folderNumber == 1) {
            record.name += ' ';
            return kTypeLocalRoot;
        }
        return record.id2 == 2 ? kTypeNoData : kTypeContainer;
    }

    void AddWorkItem(FolderRecord& record) {
        int type = ItemTypeOf(record);
        std::string folderText = ShowHex(record.folderNumber);
        std::string parentText = ShowHex(record.parentNumber);
        // Folders 1 to 8 of the local root sort first, in number order.
        std::string key = (record.parentNumber == 1 && record.folderNumber < 9) ? FourDigitKey(folderText) : "9999";
        std::string sortMe = key + LowerCased(record.name);
        int at = work_.AddItem(FourDigitKey(parentText) + sortMe, 0);
        work_.SetTextValue(at, names::kMbxName, record.file);
        work_.SetTextValue(at, names::kDisplay, record.name);
        work_.SetTextValue(at, names::kFolderNo, folderText);
        work_.SetTextValue(at, names::kParentNo, parentText);
        work_.SetNumberValue(at, names::kType, type);
        work_.SetTextValue(at, names::kSortMe, sortMe);
        work_.SetTextValue(at, names::kHasData, type == kTypeMailFolder ? "Y" : "N");
    }

    const ByteView& index_;
    const std::string& storeFolder_;
    IFileSource& files_;
    TreeList& work_;
};

}  // namespace

std::optional<FolderRecord> ParseFolderRecord(const ByteView& index, int64_t offset) {
    if (!index.Contains(offset)) return std::nullopt;
    FolderRecord record;
    int64_t self = index.I32(offset);
    int entries = index.U8(offset + 10);
    record.folderNumber = index.I16(offset + 13);
    record.id1 = index.U8(offset + 16);
    record.parentNumber = index.I16(offset + 17);
    record.id2 = index.U8(offset + 20);
    record.id3 = index.U8(offset + 24);
    int64_t dataArea = self + 12 + 4 * entries;
    if (!index.Contains(dataArea)) return record;  // no strings: empty name and file
    std::string data = index.Text(dataArea, kDataAreaBytes);
    record.name = ListGet(data, '\0', 1);
    record.file = ListGet(data, '\0', 2);
    if (!EndsWithNoCase(record.file, "DBX")) record.file.clear();
    return record;
}

IndexTreeWalk WalkIndexTree(const ByteView& index, int64_t root, int expectedCount) {
    return TreeWalker(index, expectedCount).Run(root);
}

void ReadFolderIndex(const std::vector<uint8_t>& index, const std::string& storeFolder, IFileSource& files,
                     TreeList& work) {
    work.Clear();
    work.AddItem(kRootText);
    work.SetChildOrder(0, ChildOrder::ByText);
    work.SetNumberValue(0, names::kType, kTypeRoot);
    ByteView view(index);
    IndexWalk(view, storeFolder, files, work).Run();
}

bool ReadV5Index(const std::string& storeFolder, IFileSource& files, TreeList& work, TreeList& target,
                 bool removeContainers) {
    std::string path = JoinStorePath(storeFolder, kIndexFileName);
    work.Clear();
    target.Clear();
    if (!files.FileExists(path)) return false;
    int64_t length = files.FileLength(path);
    size_t toRead = static_cast<size_t>(std::clamp<int64_t>(length, 0, static_cast<int64_t>(kMaxIndexBytes)));
    std::vector<uint8_t> bytes = files.ReadStart(path, toRead);
    ReadFolderIndex(bytes, storeFolder, files, work);
    BuildV5Tree(work, target, removeContainers);
    return true;
}

int32_t ReadMessageCount(IFileSource& files, const std::string& path) {
    std::vector<uint8_t> header = files.ReadStart(path, kStoreHeaderBytes);
    return ByteView(header).I32(kMessageCountOffset);
}

}  // namespace corvane::catalog

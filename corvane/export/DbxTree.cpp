#include "corvane/export/DbxTree.h"

#include "corvane/export/DbxFormat.h"

#include <optional>
#include <unordered_set>
#include <vector>

namespace corvane::exporting::dbx {

namespace {

struct Entry {
    uint32_t record = 0;
    uint32_t child = 0;
};

struct Node {
    uint32_t child = 0;
    int count = 0;
    Entry entries[kMostNodeEntries];
};

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

std::optional<Node> ReadNode(SourceFile& file, int64_t offset, std::string& why) {
    uint8_t raw[kNodeSize];
    if (offset < kHeaderSize) {
        why = "an index node pointer " + Hex(offset) + " points into the file header";
        return std::nullopt;
    }
    if (!file.ReadAt(offset, raw, kNodeHeaderSize)) {
        why = "an index node pointer " + Hex(offset) + " points past the end of the file";
        return std::nullopt;
    }
    if (Le32(raw) != static_cast<uint64_t>(offset)) {
        why = "no index node at " + Hex(offset) + " (its marker is wrong)";
        return std::nullopt;
    }
    Node node;
    node.child = Le32(raw + 8);
    node.count = raw[17];
    if (node.count > kMostNodeEntries) {
        why = "the index node at " + Hex(offset) + " claims more entries than a node holds";
        return std::nullopt;
    }
    if (!file.ReadAt(offset + kNodeHeaderSize, raw + kNodeHeaderSize, kNodeEntrySize * node.count)) {
        why = "the index node at " + Hex(offset) + " is cut off by the end of the file";
        return std::nullopt;
    }
    for (int i = 0; i < node.count; ++i) {
        const uint8_t* entry = raw + kNodeHeaderSize + kNodeEntrySize * i;
        node.entries[i] = {Le32(entry), Le32(entry + 4)};
    }
    return node;
}

// An in-order walk with its own stack, so no tree depth can exhaust the
// program's stack.
class TreeWalk {
public:
    TreeWalk(SourceFile& file, const RecordVisit& onRecord, const NodeDamage& onDamage)
        : file_(file), onRecord_(onRecord), onDamage_(onDamage), mostNodes_(file.Size() / kNodeSize + 1) {}

    bool Run(int64_t root) {
        if (!Enter(root)) return false;
        while (!stack_.empty()) {
            Frame& frame = stack_.back();
            if (frame.next < 0) {  // the node's own child comes first
                frame.next = 0;
                if (frame.node.child != 0 && !Enter(frame.node.child)) return false;
                continue;
            }
            if (frame.next >= frame.node.count) {
                stack_.pop_back();
                continue;
            }
            Entry entry = frame.node.entries[frame.next++];
            if (entry.record != 0 && !onRecord_(entry.record)) return false;
            if (entry.child != 0 && !Enter(entry.child)) return false;
        }
        return true;
    }

private:
    struct Frame {
        Node node;
        int next = -1;
    };

    // Pushes the node at `offset`; a node that cannot be read is reported and
    // skipped. False only when the caller stopped the walk.
    bool Enter(int64_t offset) {
        std::string why;
        if (seen_.count(offset) != 0) {
            why = "the index loops back to the node at " + Hex(offset);
        } else if (static_cast<int64_t>(seen_.size()) >= mostNodes_) {
            why = "the index has more nodes than the file can hold";
        } else if (std::optional<Node> node = ReadNode(file_, offset, why)) {
            seen_.insert(offset);
            stack_.push_back({*node, -1});
            return true;
        }
        return onDamage_(offset, why);
    }

    SourceFile& file_;
    const RecordVisit& onRecord_;
    const NodeDamage& onDamage_;
    const int64_t mostNodes_;
    std::unordered_set<int64_t> seen_;
    std::vector<Frame> stack_;
};

}  // namespace

bool WalkMessageTree(SourceFile& file, int64_t root, const RecordVisit& onRecord, const NodeDamage& onDamage) {
    return TreeWalk(file, onRecord, onDamage).Run(root);
}

}  // namespace corvane::exporting::dbx

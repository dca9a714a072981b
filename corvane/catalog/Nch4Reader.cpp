#include "corvane/catalog/Nch4Reader.h"

#include "corvane/catalog/CatalogModel.h"
#include "corvane/catalog/Dbx5Reader.h"
#include "corvane/catalog/TreeBuilder.h"
#include "corvane/environment/portable/ListFcns.h"
#include "corvane/environment/portable/TextRules.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unordered_set>

namespace corvane::catalog {

namespace {

constexpr int64_t kLastRecordOffset = 16;
constexpr int64_t kFirstRecordOffset = 20;
constexpr int64_t kNextOffset = 12;
constexpr int64_t kFolderNumberOffset = 16;
constexpr int64_t kNameOffset = 20;
constexpr size_t kNameBytes = 259;
constexpr int64_t kBaseNameOffset = 279;
constexpr size_t kBaseNameBytes = 260;
constexpr int64_t kParentOffset = 539;
constexpr int64_t kOrderOffset = 551;
constexpr int16_t kUnsetOrder = -1;
constexpr int16_t kUnsetOrderSortsAs = 4;
constexpr int64_t kMbxCountOffset = 8;
constexpr size_t kMbxHeaderBytes = 12;
constexpr const char* kMbxExtension = ".mbx";

// A fixed text field: up to its first NUL; without one the field is empty.
std::string FieldText(const ByteView& index, int64_t offset, size_t size) {
    std::string field = index.Text(offset, size);
    size_t end = field.find('\0');
    return end == std::string::npos ? std::string() : field.substr(0, end);
}

// Records follow the header; 0, negative and header offsets name nothing.
bool NamesARecord(const ByteView& index, int64_t offset) { return offset >= kNchHeaderSize && index.Contains(offset); }

// One read of the index: the work list being filled from the chain's records.
class NchWalk {
public:
    NchWalk(const std::string& mailFolder, IFileSource& files, TreeList& work)
        : mailFolder_(mailFolder), files_(files), work_(work) {}

    void Add(const NchRecord& record) {
        if (record.folderNumber == 0 || !IsPlainBaseName(record.baseName)) return;
        std::string file = record.baseName + kMbxExtension;
        // Folders without a file are not listed.
        if (!files_.FileExists(JoinStorePath(mailFolder_, file))) return;
        std::string sortMe = LowerCased(record.name);
        int at = work_.AddItem(NchWorkText(record.order, record.name), 0);
        work_.SetTextValue(at, names::kDisplay, record.name);
        work_.SetNumberValue(at, names::kType, kTypeMailFolder);
        work_.SetNumberValue(at, names::kFolderNo, record.folderNumber);
        work_.SetTextValue(at, names::kMbxName, file);
        work_.SetTextValue(at, names::kParentNo, std::to_string(record.parentNumber));
        work_.SetTextValue(at, names::kSortMe, sortMe);
    }

private:
    const std::string& mailFolder_;
    IFileSource& files_;
    TreeList& work_;
};

}  // namespace

NchRecord ParseNchRecord(const ByteView& index, int64_t offset) {
    NchRecord record;
    record.next = index.I32(offset + kNextOffset);
    record.folderNumber = index.I16(offset + kFolderNumberOffset);
    record.name = FieldText(index, offset + kNameOffset, kNameBytes);
    record.baseName = FieldText(index, offset + kBaseNameOffset, kBaseNameBytes);
    record.parentNumber = index.I16(offset + kParentOffset);
    record.order = index.I16(offset + kOrderOffset);
    return record;
}

std::vector<int64_t> WalkNchChain(const ByteView& index) {
    const int64_t last = index.I32(kLastRecordOffset);
    // Records that do not overlap: no honest chain is longer than this.
    const int64_t most = index.Size() / kNchRecordSize + 1;
    std::vector<int64_t> chain;
    std::unordered_set<int64_t> seen;
    auto visit = [&](int64_t offset) {
        if (!NamesARecord(index, offset) || static_cast<int64_t>(chain.size()) >= most) return false;
        if (!seen.insert(offset).second) return false;
        chain.push_back(offset);
        return true;
    };
    int64_t offset = index.I32(kFirstRecordOffset);
    if (offset != last && visit(offset)) {
        // The chain has no end mark of its own besides reaching the last record.
        for (;;) {
            int64_t next = ParseNchRecord(index, offset).next;
            if (next == last || !visit(next)) break;
            offset = next;
        }
    }
    visit(last);
    return chain;
}

bool IsPlainBaseName(const std::string& baseName) {
    if (baseName.empty() || baseName == "." || baseName == "..") return false;
    return baseName.find_first_of("\\/:") == std::string::npos;
}

std::string NchWorkText(int16_t order, const std::string& name) {
    int value = order == kUnsetOrder ? kUnsetOrderSortsAs : order;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%02d", std::abs(value));
    return (value < 0 ? "-" : "") + std::string(digits) + PrimaryDelimiter() + LowerCased(name);
}

void ReadNchIndex(const std::vector<uint8_t>& index, const std::string& mailFolder, IFileSource& files,
                  TreeList& work) {
    work.Clear();
    work.AddItem(kRootText);
    work.SetChildOrder(0, ChildOrder::ByText);
    ByteView view(index);
    NchWalk walk(mailFolder, files, work);
    for (int64_t offset : WalkNchChain(view)) walk.Add(ParseNchRecord(view, offset));
}

void StartV4Tree(TreeList& tree) {
    tree.Clear();
    tree.AddItem(kRootText);
    int group = tree.AddItem(kMailFoldersText, 0);
    tree.SetChildOrder(group, ChildOrder::ByText);
    tree.SetNumberValue(group, names::kFlgSave, 0);
    tree.SetTextValue(group, names::kHasData, "N");
    tree.SetNumberValue(group, names::kType, kTypeRoot);
    tree.SetTextValue(group, names::kDisplay, kMailFoldersDisplay);
    tree.SetNumberValue(group, names::kFolderNo, 0);
    tree.SetNumberValue(group, names::kParentNo, 0);
    tree.SetTextColour(group, kGreyText);
}

bool ReadV4Index(const std::string& mailFolder, IFileSource& files, TreeList& work, TreeList& target) {
    std::string path = JoinStorePath(mailFolder, kNchIndexFileName);
    work.Clear();
    target.Clear();
    if (!files.FileExists(path)) return false;
    int64_t length = files.FileLength(path);
    size_t toRead = static_cast<size_t>(std::clamp<int64_t>(length, 0, static_cast<int64_t>(kMaxIndexBytes)));
    ReadNchIndex(files.ReadStart(path, toRead), mailFolder, files, work);
    StartV4Tree(target);
    BuildV4Tree(work, target);
    return true;
}

int32_t ReadMbxMessageCount(IFileSource& files, const std::string& path) {
    std::vector<uint8_t> header = files.ReadStart(path, kMbxHeaderBytes);
    return ByteView(header).I32(kMbxCountOffset);
}

}  // namespace corvane::catalog

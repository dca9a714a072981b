#include "corvane/restore/portable/ArchiveLog.h"

#include "corvane/catalog/CatalogModel.h"
#include "corvane/environment/portable/TextRules.h"

#include <unordered_map>

namespace corvane::restore {
namespace {

namespace names = catalog::names;

constexpr char kTab = '\t';
constexpr size_t kFields = 8;
// Rows nested deeper than any store nests its folders go under the root, so
// a hostile chain of parents cannot make the tree quadratic to build.
constexpr int kMaxDepth = 64;

struct KnownKind {
    const char* name;
    int olderType;
};
constexpr KnownKind kKinds[] = {{"mbx", catalog::kTypeMailFolder},
                                {"dbx", catalog::kTypeMailFolder},
                                {"wab", catalog::kTypeAddressBook},
                                {"news", catalog::kTypeNewsAccount},
                                {"favs", catalog::kTypeFavorites}};

const KnownKind* FindKind(std::string_view kind) {
    for (const KnownKind& known : kKinds)
        if (EqualsNoCase(kind, known.name)) return &known;
    return nullptr;
}

// Mail folders, newsgroups and news accounts become paths in the store; the
// address book and Favorites are only matched against entry names. Either
// field may say so: the restore takes an item by its type, whatever its kind.
bool IsFavoritesRow(std::string_view kind, int64_t type) {
    return EqualsNoCase(kind, "favs") || type == catalog::kTypeFavorites;
}

// The fault of the first part of a path below a folder that is not a plain name.
NameFault CheckRelativeName(std::string_view name) {
    if (name.empty()) return NameFault::Empty;
    size_t start = 0;
    for (;;) {
        size_t end = name.find_first_of("\\/", start);
        std::string_view part = name.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (NameFault fault = CheckPlainName(part); fault != NameFault::None) return fault;
        if (end == std::string_view::npos || end + 1 == name.size()) return NameFault::None;
        start = end + 1;
    }
}

bool NameBecomesPath(std::string_view kind, int64_t type) {
    return EqualsNoCase(kind, "mbx") || EqualsNoCase(kind, "dbx") || EqualsNoCase(kind, "news") ||
           type == catalog::kTypeMailFolder || type == catalog::kTypeNewsgroup || type == catalog::kTypeNewsAccount;
}

void SplitFields(std::string_view line, std::string_view (&fields)[kFields]) {
    size_t start = 0;
    for (size_t i = 0; i < kFields; ++i) {
        if (start > line.size()) break;
        size_t tab = line.find(kTab, start);
        size_t end = tab == std::string_view::npos ? line.size() : tab;
        fields[i] = line.substr(start, end - start);
        start = end + 1;
    }
}

std::string_view TrimLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    return line;
}

}  // namespace

LogBanner ReadBanner(std::string_view firstLine) {
    LogBanner banner;
    firstLine = TrimLineEnd(firstLine);
    banner.currentLayout = firstLine.size() >= 2 && EqualsNoCase(firstLine.substr(0, 2), "V5");
    size_t colon = firstLine.find(':');
    if (colon == std::string_view::npos) return banner;
    std::string_view rest = firstLine.substr(colon + 1);
    banner.description = std::string(rest.substr(0, rest.find('{')));
    return banner;
}

std::string RestoringCaption(const LogBanner& banner) { return "Restoring from: " + banner.description; }

bool ReadLogRow(std::string_view line, bool currentLayout, bool haveAddressBook, LogRow* row) {
    line = TrimLineEnd(line);
    if (line.empty()) return false;
    std::string_view fields[kFields];
    SplitFields(line, fields);
    const KnownKind* kind = FindKind(fields[0]);
    if (!kind) return false;  // "NCH" and anything unknown: no item
    LogRow read;
    read.kind = std::string(fields[0]);
    read.mbxName = std::string(fields[1]);
    read.display = std::string(fields[2]);
    read.folderNo = LeadingNumber(fields[3]);
    read.parentNo = LeadingNumber(fields[4]);
    read.flgSave = currentLayout ? LeadingNumber(fields[5]) : 1;
    read.counts = LeadingNumber(fields[6]);
    read.type = currentLayout ? LeadingNumber(fields[7]) : kind->olderType;
    if (!currentLayout && kind->olderType == catalog::kTypeAddressBook) read.display = "Windows Address Book (WAB)";
    if (kind->olderType == catalog::kTypeAddressBook && !haveAddressBook) read.flgSave = 0;
    if (read.display.empty()) return false;
    // An empty name is a folder without a file of its own, kept for the layout.
    if (NameBecomesPath(read.kind, read.type) && !read.mbxName.empty()) read.fault = CheckPlainName(read.mbxName);
    // The Favorites row names the folder the backup found: a path of plain
    // names below the drive. Empty, or a pattern, it would match every entry.
    if (IsFavoritesRow(read.kind, read.type) && read.fault == NameFault::None)
        read.fault = CheckRelativeName(read.mbxName);
    *row = std::move(read);
    return true;
}

void PaintArchiveItem(catalog::TreeList& tree, int position) {
    int mark = tree.Mark(position);
    tree.SetPicture(position, mark);
    tree.SetTextColour(position, mark == 2 ? catalog::kGreyText : catalog::kDefaultColour);
    switch (tree.NumberValue(position, names::kType)) {
    case catalog::kTypeNewsgroup:
    case catalog::kTypeNewsAccount:
        return tree.SetBackColour(position, catalog::kNewsBack);
    case catalog::kTypeAddressBook:
        return tree.SetBackColour(position, catalog::kAddressBookBack);
    case catalog::kTypeFavorites:
        return tree.SetBackColour(position, catalog::kFavoritesBack);
    default:
        return tree.SetBackColour(position, catalog::kDefaultColour);
    }
}

ArchiveTree FillArchiveTree(std::string_view logText, bool haveAddressBook, catalog::TreeList& tree) {
    ArchiveTree result;
    tree.Clear();
    if (logText.size() > kMaxLogBytes) {
        result.refusal = LogRefusal::TooLarge;
        return result;
    }
    size_t lineEnd = logText.find('\n');
    LogBanner banner = ReadBanner(logText.substr(0, lineEnd));
    result.caption = RestoringCaption(banner);
    result.currentLayout = banner.currentLayout;

    // The rows first, each with the row it hangs under (-1: the root) as the
    // log stood when it was read; then the tree, depth first, so every item
    // is added at the end and no position moves.
    std::vector<LogRow> rows;
    std::vector<int> parentOf;
    std::vector<int> depth;
    std::unordered_map<int64_t, int> rowOfNumber;
    size_t lines = 0;
    for (size_t start = lineEnd == std::string_view::npos ? logText.size() : lineEnd + 1; start < logText.size();) {
        size_t end = logText.find('\n', start);
        if (end == std::string_view::npos) end = logText.size();
        if (++lines > kMaxLogLines) {
            result.refusal = LogRefusal::TooManyLines;
            return result;
        }
        LogRow row;
        if (ReadLogRow(logText.substr(start, end - start), banner.currentLayout, haveAddressBook, &row)) {
            int parent = -1;
            // The older layout's address book stands under the root, where the run finds it.
            bool olderAddressBook = !banner.currentLayout && row.type == catalog::kTypeAddressBook;
            auto found = rowOfNumber.find(row.parentNo);
            if (!olderAddressBook && found != rowOfNumber.end() && depth[found->second] < kMaxDepth)
                parent = found->second;
            int index = static_cast<int>(rows.size());
            rowOfNumber.emplace(row.folderNo, index);
            parentOf.push_back(parent);
            depth.push_back(parent < 0 ? 1 : depth[parent] + 1);
            rows.push_back(std::move(row));
        }
        start = end + 1;
    }

    std::vector<std::vector<int>> children(rows.size() + 1);  // [0] the root's
    for (size_t i = 0; i < rows.size(); ++i) children[parentOf[i] + 1].push_back(static_cast<int>(i));

    int root = tree.AddItem(catalog::kRootText);
    tree.SetTextValue(root, names::kFolderNo, "00");
    tree.SetPicture(root, catalog::kRootPicture);
    tree.SetOpen(root, true);
    // (row, its parent's position), next child first
    std::vector<std::pair<int, int>> pending;
    for (auto it = children[0].rbegin(); it != children[0].rend(); ++it) pending.push_back({*it, root});
    while (!pending.empty()) {
        auto [index, parentPosition] = pending.back();
        pending.pop_back();
        const LogRow& row = rows[index];
        int position = tree.AddItem(row.display, parentPosition);
        // A folder without a file of its own may carry a saved flag in the
        // log, but the archive holds nothing for it.
        bool noFile = NameBecomesPath(row.kind, row.type) && row.mbxName.empty();
        bool inArchive = row.flgSave == 1 && row.fault == NameFault::None && !noFile;
        tree.SetTextValue(position, names::kMbxName, row.mbxName);
        tree.SetNumberValue(position, names::kFolderNo, row.folderNo);
        tree.SetNumberValue(position, names::kFlgSave, row.flgSave);
        tree.SetTextValue(position, names::kMbxCounts, std::to_string(row.counts));
        tree.SetNumberValue(position, names::kType, row.type);
        tree.SetTextValue(position, names::kHasData, inArchive ? "Y" : "N");
        tree.SetMark(position, inArchive ? 0 : 2);
        tree.SetOpen(position, true);
        PaintArchiveItem(tree, position);
        if (row.fault != NameFault::None && row.flgSave == 1)
            result.leftOut.push_back({row.display, row.mbxName, row.fault});
        const std::vector<int>& beneath = children[index + 1];
        for (auto it = beneath.rbegin(); it != beneath.rend(); ++it) pending.push_back({*it, position});
    }
    return result;
}

}  // namespace corvane::restore

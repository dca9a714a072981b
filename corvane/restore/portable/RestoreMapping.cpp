#include "corvane/restore/portable/RestoreMapping.h"

#include "corvane/catalog/CatalogModel.h"
#include "corvane/environment/portable/TextRules.h"
#include "corvane/restore/portable/ArchiveLog.h"

namespace corvane::restore {
namespace {

namespace names = catalog::names;

bool IsMailType(int64_t type) { return type == catalog::kTypeMailFolder || type == catalog::kTypeNewsgroup; }

// A relative name as the file system compares it: letters without case, "/" as "\".
std::string NameKey(std::string_view name) {
    std::string key = UpperCased(name);
    for (char& c : key)
        if (c == '/') c = '\\';
    return key;
}
}  // namespace

std::string FirstColumn(std::string_view text) { return std::string(text.substr(0, text.find('\t'))); }

MarkAction DecideMark(const catalog::TreeList& tree, int position, int restoreMode, const StoreFolders& folders,
                      const ExistsTest& fileExists, const ExistsTest& folderExists) {
    if (position <= 0 || !tree.IsValid(position)) return MarkAction::Nothing;
    int mark = tree.Mark(position);
    if (mark == 2) return MarkAction::Nothing;
    int64_t type = tree.NumberValue(position, names::kType);
    if (restoreMode == kFullRestore && type < catalog::kTypeAddressBook) return MarkAction::Beep;
    if (mark == 1) return MarkAction::Unmark;
    std::string name = tree.TextValue(position, names::kMbxName);
    // A name that is not plain names nothing in the store (such items are
    // mark 2 already; this keeps the rule where the test is made).
    switch (type) {
    case catalog::kTypeMailFolder: {
        std::string path = PathInFolder(folders.mailFiles, name);
        return !path.empty() && fileExists(path) ? MarkAction::MarkOwnTarget : MarkAction::FolderMissing;
    }
    case catalog::kTypeNewsgroup: {
        std::string path = PathInFolder(folders.oe5Store, name);
        return !path.empty() && fileExists(path) ? MarkAction::Mark : MarkAction::NotSubscribed;
    }
    case catalog::kTypeNewsAccount: {
        std::string path = PathInFolder(folders.oe4News, name);
        return !path.empty() && folderExists(path) ? MarkAction::Mark : MarkAction::NotSubscribed;
    }
    default:
        return MarkAction::Mark;
    }
}

void ApplyMark(catalog::TreeList& tree, int position, MarkAction action) {
    std::string name = FirstColumn(tree.Text(position));
    switch (action) {
    case MarkAction::Unmark:
        tree.SetMark(position, 0);
        tree.SetText(position, name);
        tree.RemoveValue(position, names::kRestoreToName);
        tree.RemoveValue(position, names::kRestoreToIndex);
        break;
    case MarkAction::MarkOwnTarget:
        tree.SetText(position, name + '\t' + kTargetArrow + name);
        [[fallthrough]];
    case MarkAction::Mark:
        tree.SetMark(position, 1);
        break;
    default:
        return;
    }
    PaintArchiveItem(tree, position);
}

void SetAlternateTarget(catalog::TreeList& tree, int position, const std::string& targetName,
                        const std::string& targetText, int targetIndex) {
    tree.SetText(position, FirstColumn(tree.Text(position)) + '\t' + kTargetArrow + FirstColumn(targetText));
    tree.SetMark(position, 1);
    tree.SetTextValue(position, names::kRestoreToName, targetName);
    tree.SetNumberValue(position, names::kRestoreToIndex, targetIndex);
    PaintArchiveItem(tree, position);
}

void MarkForFullRestore(catalog::TreeList& tree) {
    for (int i = 1; i < tree.Count(); ++i) {
        if (tree.NumberValue(i, names::kType) >= catalog::kTypeAddressBook || tree.Mark(i) == 2) continue;
        tree.SetMark(i, 1);
        PaintArchiveItem(tree, i);
    }
}

bool IsSafeRelativeName(std::string_view name) {
    if (name.empty()) return false;
    size_t start = 0;
    for (;;) {
        size_t end = name.find_first_of("\\/", start);
        std::string_view part =
            name.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!IsPlainName(part)) return false;
        if (end == std::string_view::npos) return true;
        start = end + 1;
        if (start == name.size()) return true;  // a folder entry's trailing separator
    }
}

EntryTarget MapEntry(const catalog::TreeList& tree, const RenameRules& rules, std::string_view entry) {
    EntryTarget target;
    std::string name(entry);
    if (EndsWithNoCase(name, "wab")) {
        target.shown = "Windows Address Book";
        // The backup stores the address book under its own path: an entry
        // whose name climbs, or names a drive or a device, is not it.
        if (IsPlainName(rules.wabTargetName) && IsSafeRelativeName(name)) {
            target.newName = rules.wabTargetName;
        } else {
            target.refused = true;
        }
        return target;
    }
    for (int i = 1; i < tree.Count(); ++i) {
        if (tree.Mark(i) != 1 || !IsMailType(tree.NumberValue(i, names::kType))) continue;
        if (!EqualsNoCase(tree.TextValue(i, names::kMbxName), name)) continue;
        target.shown = FirstColumn(tree.Text(i));
        std::string to = tree.TextValue(i, names::kRestoreToName);
        target.newName = to.empty() ? name : to;
        if (!IsPlainName(target.newName)) {
            target.newName.clear();
            target.refused = true;
            return target;
        }
        target.replacedName = target.newName;
        return target;
    }
    if (!rules.favPrefix.empty() && name.size() >= rules.favPrefix.size() &&
        EqualsNoCase(std::string_view(name).substr(0, rules.favPrefix.size()), rules.favPrefix)) {
        target.newName = name.substr(rules.favPrefix.size());
        target.shown = target.newName;
        if (!IsSafeRelativeName(target.newName)) {
            target.newName.clear();
            target.refused = true;
        }
        return target;
    }
    target.newName = name;
    target.shown = name.substr(0, name.find('\\'));
    if (!IsSafeRelativeName(name)) {
        target.newName.clear();
        target.refused = true;
    }
    return target;
}

void EntryLedger::NewExtraction() {
    entries_.clear();
    targets_.clear();
}

bool EntryLedger::Take(std::string_view origName, std::string_view newName) {
    entries_.insert(NameKey(origName));
    auto [taken, fresh] = targets_.emplace(NameKey(newName), std::string(newName));
    if (fresh) return true;
    if (doubledKeys_.insert(taken->first).second) doubled_.push_back(taken->second);
    return false;
}

bool EntryLedger::Met(std::string_view origName) const { return entries_.count(NameKey(origName)) > 0; }

bool EntryLedger::Delivered(std::string_view newName) const { return targets_.count(NameKey(newName)) > 0; }

std::vector<int> MarkedMailItems(const catalog::TreeList& tree) {
    std::vector<int> marked;
    for (int i = 1; i < tree.Count(); ++i)
        if (tree.Mark(i) == 1 && IsMailType(tree.NumberValue(i, names::kType))) marked.push_back(i);
    return marked;
}

int FindItemOfType(const catalog::TreeList& tree, int type) {
    for (int i = 1; i < tree.Count(); ++i)
        if (tree.NumberValue(i, names::kType) == type) return i;
    return 0;
}

std::string IndexCompanion(std::string_view mbxPath) {
    if (mbxPath.size() < 3) return {};
    return std::string(mbxPath.substr(0, mbxPath.size() - 3)) + "idx";
}

}  // namespace corvane::restore

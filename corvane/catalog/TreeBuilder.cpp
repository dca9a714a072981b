#include "corvane/catalog/TreeBuilder.h"

#include "corvane/catalog/Dbx5Reader.h"
#include "corvane/catalog/Nch4Reader.h"
#include "corvane/catalog/TextFcns.h"
#include "corvane/environment/portable/ListFcns.h"
#include "corvane/environment/portable/TextRules.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace corvane::catalog {

namespace {

void CopyValue(const TreeList& from, int fromPos, TreeList& to, int toPos, const char* name) {
    if (const NamedValue* value = from.Value(fromPos, name)) to.SetValue(toPos, name, *value);
}

// Step one: the folders whose parent number is 0, under the root; the root
// orders them by type digit, then name, while they are added.
bool PlaceTopLevel(const TreeList& work, TreeList& tree, std::vector<bool>& placed) {
    bool pending = false;
    for (int i = 1; i < work.Count(); ++i) {
        if (!EqualsNoCase(work.TextValue(i, names::kParentNo), kNoParentText)) {
            pending = true;
            continue;
        }
        std::string display = work.TextValue(i, names::kDisplay);
        int at = tree.AddItem(std::to_string(work.NumberValue(i, names::kType)) + display, 0);
        for (const char* name : {names::kDisplay, names::kMbxName, names::kFolderNo, names::kParentNo, names::kType}) {
            CopyValue(work, i, tree, at, name);
        }
        tree.SetTextValue(at, names::kHasData, "N");
        placed[i] = true;
    }
    return pending;
}

int PlacedType(int workType, int parentType) {
    if (workType == kTypeNoData) return parentType == kTypeContainer ? kTypeContainerEmpty : kTypeFolderEmpty;
    if (workType == kTypeMailFolder && parentType == kTypeContainer) return kTypeNewsgroup;
    return workType;
}

// One placement pass; true when some folder's parent is not in the tree yet.
bool PlaceUnderParents(const TreeList& work, TreeList& tree, std::vector<bool>& placed) {
    bool pending = false;
    for (int i = 1; i < work.Count(); ++i) {
        if (placed[i]) continue;
        std::string parentText = work.TextValue(i, names::kParentNo);
        if (parentText.empty()) continue;
        int parent = tree.Find(NamedValue::Text(parentText), 0, tree.Count() - 1, names::kFolderNo);
        if (parent < 0) {
            pending = true;
            continue;
        }
        int type = PlacedType(static_cast<int>(work.NumberValue(i, names::kType)),
                              static_cast<int>(tree.NumberValue(parent, names::kType)));
        tree.AddItem(work.TextValue(i, names::kDisplay), parent);
        // Writing SortMe may move the item among its ordered siblings, so it is
        // addressed as the item added last.
        for (const char* name :
             {names::kSortMe, names::kDisplay, names::kMbxName, names::kFolderNo, names::kParentNo, names::kHasData}) {
            CopyValue(work, i, tree, kLastAdded, name);
        }
        tree.SetNumberValue(kLastAdded, names::kType, type);
        tree.SetChildOrder(parent, ChildOrder::ByValue, names::kSortMe);
        placed[i] = true;
    }
    return pending;
}

// The group item "Mail Folders" of a version-4 tree.
constexpr int kV4GroupPosition = 1;

int64_t ParentNumberOf(const TreeList& work, int i) { return LeadingNumber(work.TextValue(i, names::kParentNo)); }

// Version 4, step one: folders with parent number 0 under the group, which
// orders them by their work-list text while they are added.
bool PlaceV4TopLevel(const TreeList& work, TreeList& tree, std::vector<bool>& placed) {
    bool pending = false;
    for (int i = 1; i < work.Count(); ++i) {
        if (ParentNumberOf(work, i) != 0) {
            pending = true;
            continue;
        }
        tree.AddItem(work.Text(i), kV4GroupPosition);
        for (const char* name : {names::kDisplay, names::kMbxName, names::kFolderNo, names::kParentNo, names::kType}) {
            CopyValue(work, i, tree, kLastAdded, name);
        }
        tree.SetTextValue(kLastAdded, names::kHasData, "Y");
        placed[i] = true;
    }
    return pending;
}

// One version-4 placement pass; folders with a negative parent number are never placed.
bool PlaceV4UnderParents(const TreeList& work, TreeList& tree, std::vector<bool>& placed) {
    bool pending = false;
    for (int i = 1; i < work.Count(); ++i) {
        if (placed[i]) continue;
        int64_t parentNumber = ParentNumberOf(work, i);
        if (parentNumber <= 0) continue;
        int parent = tree.Find(NamedValue::Number(parentNumber), 0, tree.Count() - 1, names::kFolderNo);
        if (parent < 0) {
            pending = true;
            continue;
        }
        tree.AddItem(work.TextValue(i, names::kDisplay), parent);
        for (const char* name :
             {names::kSortMe, names::kDisplay, names::kMbxName, names::kFolderNo, names::kParentNo, names::kType}) {
            CopyValue(work, i, tree, kLastAdded, name);
        }
        tree.SetTextValue(kLastAdded, names::kHasData, "Y");
        tree.SetChildOrder(parent, ChildOrder::ByValue, names::kSortMe);
        placed[i] = true;
    }
    return pending;
}

void RemoveContainers(TreeList& tree) {
    for (;;) {
        int container = tree.Find(NamedValue::Number(kTypeContainer), 1, tree.Count() - 1, names::kType);
        if (container < 0) return;
        tree.Remove(container);
    }
}

std::optional<Colour> BackColourOf(int type) {
    switch (type) {
    case kTypeContainer:
    case kTypeNewsgroup:
    case kTypeContainerEmpty:
    case kTypeNewsAccount:
        return kNewsBack;
    case kTypeAddressBook:
        return kAddressBookBack;
    default:
        return std::nullopt;
    }
}

}  // namespace

void BuildV5Tree(const TreeList& work, TreeList& tree, bool removeContainers) {
    if (work.Count() - 1 <= 0) return;
    std::vector<bool> placed(work.Count(), false);
    tree.Clear();
    tree.AddItem(work.Text(0));
    tree.SetChildOrder(0, ChildOrder::ByText);
    bool pending = PlaceTopLevel(work, tree, placed);
    tree.SetChildOrder(0, ChildOrder::None);
    for (int i = 1; i < tree.Count(); ++i) {
        tree.SetText(i, tree.TextValue(i, names::kDisplay));
        tree.SetTextColour(i, kGreyText);
    }
    for (int pass = 0; pending && pass < kPlacementPasses; ++pass) {
        pending = PlaceUnderParents(work, tree, placed);
    }
    if (removeContainers) RemoveContainers(tree);
}

void BuildV4Tree(const TreeList& work, TreeList& tree) {
    if (tree.Count() <= kV4GroupPosition) return;
    // Without folders the group still reads "Mail Folders".
    std::vector<bool> placed(std::max(work.Count(), 1), false);
    bool pending = PlaceV4TopLevel(work, tree, placed);
    tree.SetChildOrder(kV4GroupPosition, ChildOrder::None);
    for (int i = 1; i < tree.Count(); ++i) tree.SetText(i, tree.TextValue(i, names::kDisplay));
    for (int pass = 0; pending && pass < kPlacementPasses; ++pass) {
        pending = PlaceV4UnderParents(work, tree, placed);
    }
}

namespace {

// The root opened, showing its picture, its children in list order; the
// work list emptied; every item after the root counted.
void StartMeasuring(TreeList& tree, TreeList& work, CatalogTotals& totals) {
    work.Clear();
    tree.SetOpen(0, true);
    tree.SetChildOrder(0, ChildOrder::None);
    tree.SetPicture(0, kRootPicture);
    // An index without folders leaves the tree empty, which holds no items either.
    totals.itemCount = std::max(tree.Count() - 1, 0);
}

// Mark and picture agree; a ticked item counts in the selection.
void SetMeasuredMark(TreeList& tree, int position, int mark, CatalogTotals& totals) {
    tree.SetMark(position, mark);
    tree.SetPicture(position, mark);
    if (mark != 1) return;
    totals.totalBytes += tree.NumberValue(position, names::kFileSize);
    totals.selectedCount += 1;
}

}  // namespace

int RememberedSelection::FlagFor(const std::string& file) const {
    int field = ListFindNoCase(names, PrimaryDelimiter(), file);
    if (field == 0) return 1;
    int64_t flag = LeadingNumber(ListGet(flags, PrimaryDelimiter(), field));
    return flag == -1 ? 1 : static_cast<int>(flag);
}

void MeasureV5(TreeList& tree, TreeList& work, const std::string& storeFolder, const RememberedSelection& saved,
               IFileSource& files, CatalogTotals& totals) {
    StartMeasuring(tree, work, totals);
    int flag = 0;  // an item without a file keeps the flag of the item before it
    for (int i = 1; i <= totals.itemCount; ++i) {
        int type = static_cast<int>(tree.NumberValue(i, names::kType));
        std::string file = tree.TextValue(i, names::kMbxName);
        if (!EndsWithNoCase(file, ".dbx")) file.clear();
        if (!file.empty()) {
            flag = saved.FlagFor(file);
            std::string path = JoinStorePath(storeFolder, file);
            tree.SetNumberValue(i, names::kMbxCounts, ReadMessageCount(files, path));
            int64_t size = std::max<int64_t>(files.FileLength(path), 0);
            tree.SetNumberValue(i, names::kFileSize, size);
            totals.catalogBytes += size;
        } else {
            tree.SetTextColour(i, kGreyText);
        }
        tree.SetNumberValue(i, names::kFlgSave, flag);
        tree.SetChildOrder(i, ChildOrder::None);
        int mark;
        if (tree.TextValue(i, names::kHasData) == "N") {
            mark = (i == 1 || (type == kTypeContainer && tree.HasChildren(i))) ? 0 : 2;
        } else {
            mark = flag == 1 ? 1 : 0;
        }
        SetMeasuredMark(tree, i, mark, totals);
        if (std::optional<Colour> back = BackColourOf(type)) tree.SetBackColour(i, *back);
    }
}

void MeasureV4(TreeList& tree, TreeList& work, const std::string& mailFolder, const RememberedSelection& saved,
               IFileSource& files, CatalogTotals& totals) {
    StartMeasuring(tree, work, totals);
    int flag = 0;  // an item without a name keeps the flag of the item before it
    for (int i = 1; i <= totals.itemCount; ++i) {
        std::string file = tree.TextValue(i, names::kMbxName);
        if (!file.empty()) {
            flag = saved.FlagFor(file);
            if (tree.NumberValue(i, names::kType) != kTypeNewsAccount) {
                std::string path = JoinStorePath(mailFolder, file);
                tree.SetNumberValue(i, names::kMbxCounts, ReadMbxMessageCount(files, path));
                tree.SetNumberValue(i, names::kFileSize, std::max<int64_t>(files.FileLength(path), 0));
            }
            // A news folder's size was measured with its account; it belongs in
            // the catalog's bytes all the same, or "Select All" would show less
            // than it selects.
            totals.catalogBytes += tree.NumberValue(i, names::kFileSize);
        }
        tree.SetNumberValue(i, names::kFlgSave, flag);
        tree.SetChildOrder(i, ChildOrder::None);
        SetMeasuredMark(tree, i, flag == 1 ? 1 : 0, totals);
    }
}

}  // namespace corvane::catalog

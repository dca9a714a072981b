#include "corvane/catalog/Selection.h"

#include "corvane/catalog/TextFcns.h"

#include <cmath>

namespace corvane::catalog {

AddressBookCaution MarkClick(TreeList& tree, int position, CatalogTotals& totals) {
    int64_t size = tree.NumberValue(position, names::kFileSize);
    int mark = tree.Mark(position);
    if (mark == 1) {
        tree.SetMark(position, 0);
        tree.SetNumberValue(position, names::kFlgSave, 0);
        totals.totalBytes -= size;
        totals.selectedCount -= 1;
    } else if (mark == 0) {
        tree.SetMark(position, 1);
        tree.SetNumberValue(position, names::kFlgSave, 1);
        totals.totalBytes += size;
        totals.selectedCount += 1;
    }
    if (totals.addressBookIndex <= 0 || position != totals.addressBookIndex) return AddressBookCaution::Untouched;
    if (tree.Mark(position) != 0) return AddressBookCaution::HideAndCheck;
    return tree.TextValue(position, names::kHasData) == "Y" ? AddressBookCaution::Show : AddressBookCaution::Hide;
}

AddressBookCaution PictureClick(TreeList& tree, CatalogTotals& totals, bool backupMode) {
    int selected = tree.Selected();
    if (selected <= 0) return AddressBookCaution::Untouched;
    AddressBookCaution caution = MarkClick(tree, selected, totals);
    int mark = tree.Mark(selected);
    tree.SetPicture(selected, mark);
    if (!backupMode) return caution;
    int beneath = tree.CountBeneath(selected);
    for (int j = selected + 1; j <= selected + beneath; ++j) {
        if (tree.Mark(j) == mark) continue;
        AddressBookCaution inner = MarkClick(tree, j, totals);
        if (inner != AddressBookCaution::Untouched) caution = inner;
        tree.SetPicture(j, tree.Mark(j));
    }
    return caution;
}

void SelectAll(TreeList& tree, CatalogTotals& totals) {
    for (int i = 1; i < tree.Count(); ++i) {
        if (tree.Mark(i) != 0) continue;
        tree.SetMark(i, 1);
        tree.SetNumberValue(i, names::kFlgSave, 1);
        tree.SetPicture(i, 1);
    }
    totals.totalBytes = totals.catalogBytes;
    totals.selectedCount = totals.itemCount;
}

void ClearAll(TreeList& tree, CatalogTotals& totals) {
    for (int i = 1; i < tree.Count(); ++i) {
        if (tree.Mark(i) != 1) continue;
        tree.SetMark(i, 0);
        tree.SetNumberValue(i, names::kFlgSave, 0);
        tree.SetPicture(i, 0);
    }
    totals.totalBytes = 0;
    totals.selectedCount = 0;
}

std::string DetailsText(const TreeList& tree, int position, bool backupMode, char grouping) {
    std::string text = "Folder : " + tree.Text(position) + std::string(14, ' ');
    if (tree.TextValue(position, names::kHasData) != "Y") return text;
    int64_t type = tree.NumberValue(position, names::kType);
    bool mailFolder = type < 10;
    bool favorites = type == kTypeFavorites;
    if (!mailFolder && !favorites) return text;
    text += "\r\n";
    text += mailFolder ? kMessageCountLabel : kItemCountLabel;
    text += std::to_string(tree.NumberValue(position, names::kMbxCounts));
    if (!backupMode) return text;
    text += "\r\n";
    text += mailFolder ? kFileSizeLabel : kTotalSizeLabel;
    text += FormatGrouped(tree.NumberValue(position, names::kFileSize), grouping) + " Bytes";
    return text;
}

}  // namespace corvane::catalog

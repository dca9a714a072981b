// Turns the flat work list into the folder tree the user sees, and gives
// every tree item its size, message count, remembered selection, mark,
// picture and colours.
#pragma once

#include "corvane/catalog/CatalogModel.h"
#include "corvane/catalog/FileSource.h"
#include "corvane/catalog/TreeList.h"

#include <string>

namespace corvane::catalog {

inline constexpr int kPlacementPasses = 3;

// Version 5: top-level folders (parent "  ") first, ordered by type digit and
// name; then at most three passes place every other folder under the item
// whose iFldrNo equals its iParentNo, siblings ordered by SortMe. Folders
// whose parent never turns up are left out. With `removeContainers` every
// type-3 item (and what is beneath it) is removed afterwards.
void BuildV5Tree(const TreeList& work, TreeList& tree, bool removeContainers);

// Version 4: `tree` already holds the root and the group item "Mail
// Folders" (StartV4Tree). Folders whose parent number is 0 go under the
// group in work-list order (order number, then name); at most three passes
// place the others under the item whose iFldrNo is their parent number,
// siblings ordered by SortMe. Every item then shows its Display.
void BuildV4Tree(const TreeList& work, TreeList& tree);

// The remembered selection: parallel lists of store file names and flags
// separated by character 2.
struct RememberedSelection {
    std::string names;
    std::string flags;
    // 1 when `file` is not listed; a stored -1 counts as 1.
    int FlagFor(const std::string& file) const;
};

// Version-5 measuring pass over `tree` (tlMail): empties the work list, opens
// the root, measures every store file below `storeFolder` and sets marks,
// pictures and colours; fills `totals` (ItemCount, TotalBytes, SelectedCount
// and CatalogBytes are added to, as for one backup start).
void MeasureV5(TreeList& tree, TreeList& work, const std::string& storeFolder, const RememberedSelection& saved,
               IFileSource& files, CatalogTotals& totals);

// Version-4 measuring pass: as for version 5, but every item with a name is
// a store file in `mailFolder` whose message count sits at offset 8, except
// the news accounts (type 20), which come measured; the mark follows the
// remembered flag alone and no colours change.
void MeasureV4(TreeList& tree, TreeList& work, const std::string& mailFolder, const RememberedSelection& saved,
               IFileSource& files, CatalogTotals& totals);

}  // namespace corvane::catalog

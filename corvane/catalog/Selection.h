// The user's selection in tlMail during a backup: the tick handler, the
// picture handler with its cascade over the items beneath, Select All and
// Clear All, the right-click details text and the count display texts.
// Every function keeps mark, picture and FlgSave of an item in agreement
// and the totals up to date; the window shows the texts and refreshes.
#pragma once

#include "corvane/catalog/CatalogModel.h"
#include "corvane/catalog/TreeList.h"

#include <string>

namespace corvane::catalog {

// What the window must do about the address-book caution (label 22,
// string 236) after a tick: untouched for other items; for the address-book
// item unticked, show it when the book has data, else hide it; ticked (or
// not selectable), hide it and run the address-book check.
enum class AddressBookCaution { Untouched, Show, Hide, HideAndCheck };

// tlMail_MarkClick, backup mode: toggles a mark of 0 or 1 (2 stays) with
// FlgSave and the totals. The picture is left to the caller.
AddressBookCaution MarkClick(TreeList& tree, int position, CatalogTotals& totals);

// tlMail_PictureClick: ticks the selected item and gives every item beneath
// it (mark 2 excepted) the same mark, pictures following marks. Nothing for
// item 0 or no selection. `backupMode` false skips the cascade.
AddressBookCaution PictureClick(TreeList& tree, CatalogTotals& totals, bool backupMode = true);

// cmdSelect(0) "Select All" and cmdSelect(1) "Clear All".
void SelectAll(TreeList& tree, CatalogTotals& totals);
void ClearAll(TreeList& tree, CatalogTotals& totals);

// Message-box text for the right button on an item: the folder line, then
// for items with data the message or item count and, in backup mode, the
// size grouped with `grouping` ("###,###,##0").
std::string DetailsText(const TreeList& tree, int position, bool backupMode, char grouping);

inline constexpr const char* kMessageCountLabel = "Message Count: ";  // string 249
inline constexpr const char* kItemCountLabel = "Item Count: ";        // string 250
inline constexpr const char* kFileSizeLabel = "File Size: ";          // string 251
inline constexpr const char* kTotalSizeLabel = "Total Size: ";        // string 252

}  // namespace corvane::catalog

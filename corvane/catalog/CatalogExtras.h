// The catalog items beside the mail folders: the Windows Address Book, the
// Internet Explorer Favorites and the news folders of version-4 accounts.
// Platform-free: the registry is read by the caller (Win32Catalog.h), files
// through the zip engine's file system.
#pragma once

#include "corvane/zip/ZipFileSystem.h"
#include "corvane/catalog/CatalogModel.h"
#include "corvane/catalog/Selection.h"
#include "corvane/catalog/TreeBuilder.h"
#include "corvane/catalog/TreeList.h"

#include <string>
#include <vector>

namespace corvane::catalog {

inline constexpr const char* kAddressBookText = "Windows Address Book (WAB)";
inline constexpr const char* kFavoritesText = "IE Favorites";

// Adds the address book `wabPath` under the root of `mail`: ticked when the
// file exists and `includeAddressBook` is not 0, unticked when it is 0, not
// selectable (grey) when the file is missing. Nothing for an empty path.
// Sets totals.addressBookIndex; the answer says whether the caution that
// the book is left out shows (Untouched when no item was added).
AddressBookCaution AddAddressBook(const std::string& wabPath, int includeAddressBook, zip::FileSystem& files,
                                  TreeList& mail, CatalogTotals& totals);

// True when the book that would be saved is ticked while Outlook Express
// uses its own address book (`useOutlook` not 0): the user is to be told.
bool AddressBookCheckDue(int useOutlook, const TreeList& mail, const CatalogTotals& totals);

// Adds the Favorites folder with the size and number of all files in its
// tree, ticked by its remembered flag (key: the folder). Nothing for an
// empty folder name.
void AddFavorites(const std::string& folder, const RememberedSelection& saved, zip::FileSystem& files, TreeList& mail,
                  CatalogTotals& totals);

// A version-4 news account as the registry lists it.
struct NewsAccount {
    std::string name;
    std::string directory;  // "NNTP Data Directory", relative to the news folder
};

// The registry key name of account number `index`: eight lower-case hexadecimal digits.
std::string AccountKeyName(uint32_t index);

// Adds, under the root of `target` and in the order of their names, every
// account whose folder `newsFolder` + directory exists; with `measure`, its
// FileSize is the size of the files directly in that folder. `work` is
// used for the ordering and left holding the listed accounts.
void AddNewsAccounts(const std::vector<NewsAccount>& accounts, const std::string& newsFolder, bool measure,
                     zip::FileSystem& files, TreeList& work, TreeList& target);

}  // namespace corvane::catalog

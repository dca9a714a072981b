// The catalog's vocabulary: the names of the named values every catalog
// item carries, the item types, the colours and the selection totals the
// main window keeps. Item 0 of each list is the store root; catalog
// positions run from 1.
#pragma once

#include "corvane/catalog/TreeList.h"

#include <cstdint>

namespace corvane::catalog {

namespace names {
inline constexpr const char* kDisplay = "Display";
inline constexpr const char* kType = "iType";
inline constexpr const char* kMbxName = "MbxName";
inline constexpr const char* kFolderNo = "iFldrNo";
inline constexpr const char* kParentNo = "iParentNo";
inline constexpr const char* kHasData = "HasData";
inline constexpr const char* kFileSize = "FileSize";
inline constexpr const char* kMbxCounts = "MbxCounts";
inline constexpr const char* kFlgSave = "FlgSave";
inline constexpr const char* kSortMe = "SortMe";
inline constexpr const char* kRestoreToName = "RestoreToName";
inline constexpr const char* kRestoreToIndex = "RestoreToIndex";
}  // namespace names

// iType values.
enum ItemType : int {
    kTypeRoot = 0,
    kTypeLocalRoot = 1,       // folder 1 without a store file
    kTypeMailFolder = 2,      // store file exists
    kTypeContainer = 3,       // e.g. a news server
    kTypeNewsgroup = 4,       // type 2 under a container
    kTypeContainerEmpty = 5,  // no data, under a container
    kTypeFolderEmpty = 6,     // no data, under any other folder
    kTypeNoData = 8,          // no data yet; becomes 5 or 6 when placed
    kTypeAddressBook = 10,
    kTypeNewsAccount = 20,
    kTypeFavorites = 30,
};

// Pictures: the image of the window's image array whose index is the mark;
// the root shows image 6.
inline constexpr int kRootPicture = 6;

inline constexpr Colour kGreyText = Rgb(128, 128, 128);
inline constexpr Colour kNewsBack = Rgb(128, 255, 128);
inline constexpr Colour kAddressBookBack = Rgb(128, 255, 255);
inline constexpr Colour kFavoritesBack = Rgb(255, 255, 128);

inline constexpr const char* kRootText = "Outlook Express";
inline constexpr const char* kNoParentText = "  ";

// Selection totals shown on the selection page. Byte figures are 64-bit so a
// selection above 2 GiB is shown right.
struct CatalogTotals {
    int32_t itemCount = 0;
    int32_t selectedCount = 0;
    int64_t totalBytes = 0;
    int64_t catalogBytes = 0;
    int addressBookIndex = 0;  // 0 when there is no address-book item
};

}  // namespace corvane::catalog

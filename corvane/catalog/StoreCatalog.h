// The catalog as the main window uses it. Platform-free; the window owns
// the lists and the totals and passes them in.
//
//   TreeList tlWork, tlMail;  CatalogTotals totals;  StdFileSource files;
//   // (on Windows: Win32FileSource files; char grouping = LocaleThousandSeparator();)
//   if (!BuildV5BackupCatalog(Oe5StoreFolder, {SavedNames, SavedFlags}, files,
//                             tlWork, tlMail, totals)) {
//     ShowMessage(..., kIndexMissingText, MessageTitle, MB_ICONINFORMATION);  // string 235
//     return;                                                                  // stay on the page
//   }
//   ... add the address book and Favorites (totals.itemCount += 1 each) ...
//
// Handlers (Selection.h), each followed by view.Refresh...() and the counts:
//   tlMail_PictureClick  -> PictureClick(tlMail, totals)   (acts on tlMail.Selected())
//   tlMail_MarkClick(i)  -> MarkClick(tlMail, i, totals); tlMail.SetPicture(i, tlMail.Mark(i))
//   cmdSelect(0) / (1)   -> SelectAll(tlMail, totals) / ClearAll(tlMail, totals)
//   tlMail_MouseDown(2, shift, x, y twips) -> pos = view.HitTestTwips(x, y);
//       if (pos > 0) { tlMail.SetSelected(pos); ShowMessage(DetailsText(tlMail, pos, true, grouping)); }
// The returned AddressBookCaution tells whether to show or hide label 22.
#pragma once

#include "corvane/zip/ZipFileSystem.h"
#include "corvane/catalog/CatalogExtras.h"
#include "corvane/catalog/CatalogModel.h"
#include "corvane/catalog/Dbx5Reader.h"
#include "corvane/catalog/FileSource.h"
#include "corvane/catalog/Nch4Reader.h"
#include "corvane/catalog/Selection.h"
#include "corvane/catalog/TreeBuilder.h"
#include "corvane/catalog/TreeList.h"

#include <string>
#include <vector>

namespace corvane::catalog {

// The version-5 part of a backup start: reads the index of `storeFolder`
// into `work`, builds `mail` with the news containers kept, and measures it
// (sizes, message counts, remembered flags, marks, pictures, colours).
// False when the store has no index; the lists are then empty.
bool BuildV5BackupCatalog(const std::string& storeFolder, const RememberedSelection& saved, IFileSource& files,
                          TreeList& work, TreeList& mail, CatalogTotals& totals);

// The restore-target list: the same reader and builder, containers removed.
bool BuildV5TargetList(const std::string& storeFolder, IFileSource& files, TreeList& work, TreeList& current);

// Where a version-4 store keeps its mail and its news (both end in "\\").
struct V4Folders {
    std::string mail;
    std::string news;
};

// The version-4 part of a backup start: reads "folders.nch" of the mail
// folder into `work`, builds `mail` under its group item, adds the news
// accounts whose folders exist (measured through `folders`), then measures
// the tree: message counts and sizes of the ".mbx" files, remembered flags,
// marks and pictures for every row, the news rows included. False when the
// store has no index; the lists are then empty.
bool BuildV4BackupCatalog(const V4Folders& store, const std::vector<NewsAccount>& accounts,
                          const RememberedSelection& saved, IFileSource& files, zip::FileSystem& folders,
                          TreeList& work, TreeList& mail, CatalogTotals& totals);

// The version-4 restore-target list: the same reader and builder, then the
// message count of every folder whose file is there; a folder whose file
// has gone in the meantime turns grey.
bool BuildV4TargetList(const std::string& mailFolder, IFileSource& files, TreeList& work, TreeList& current);

}  // namespace corvane::catalog

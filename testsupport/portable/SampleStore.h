// A realistic Outlook Express 5 store for the demo and for tests: a
// folders.dbx index and one .dbx file per folder with data, written into a
// folder on disk. Platform-free (std::filesystem).
#pragma once

#include <string>
#include <vector>

namespace corvane::testing {

// Writes folders.dbx and the store files into `folder` (created when missing;
// a trailing separator is optional). The tree: a store root record, "Local
// Folders" with Inbox, Outbox, Sent Items, Deleted Items and Drafts, user
// folders with sub-folders (one of them without a store file), and a news
// server holding two newsgroups. True when every file was written.
bool WriteSampleStore(const std::string& folder);

// Number of catalog items (tree positions from 1) the sample store yields in
// the backup tree, so a demo or test can check what it shows.
int SampleStoreItemCount();

// A version-4 news account of the sample: its name and its directory below
// the store's News folder.
struct SampleNewsAccount {
    const char* name;
    const char* directory;
};

// Writes a realistic Outlook Express 4 store below `storeRoot`: Mail\folders.nch
// with one .mbx file per listed folder (special folders, user folders with
// sub-folders two levels deep, a folder whose file is missing and an unused
// record), and News\<directory> with a few files for each account of
// SampleNewsAccounts(). True when every file was written.
bool WriteSampleVersion4Store(const std::string& storeRoot);
std::vector<SampleNewsAccount> SampleNewsAccounts();

// Rows of the version-4 backup tree from position 1: the group item, the
// listed mail folders and the news accounts.
int SampleVersion4ItemCount();

}  // namespace corvane::testing

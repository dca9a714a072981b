// A realistic Outlook Express 5 store for the demo and for tests: a
// folders.dbx index and one .dbx file per folder with data, written into a
// folder on disk. Platform-free (std::filesystem).
#pragma once

#include <string>

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

}  // namespace corvane::testing

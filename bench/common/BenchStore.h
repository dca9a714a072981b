// The benches' store: the folder index over the corpus's store files, the
// Outlook Express identity that names it, the working copy a restore writes
// into, the changes made to it before each restore, and the byte comparison
// after.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::testing {
class SyntheticOE;
}

namespace corvane::bench {

// The names of the .dbx files in `folder` (the folder index among them, when there).
std::vector<std::string> StoreFileNames(const std::string& folder);

// Writes `folder`\folders.dbx listing every other .dbx file as a mail
// folder under Local Folders; EnsureFolderIndex only when it is not there.
bool WriteFolderIndex(const std::string& folder);
bool EnsureFolderIndex(const std::string& folder);

// Makes Outlook Express's keys afresh with the one identity "Bench" on
// `store`, no Favorites and the virus caution silenced.
void RegisterBenchIdentity(testing::SyntheticOE& oe, const std::string& id, const std::string& store);

// Copies every .dbx file of `originals` into `store`, made when missing.
bool CopyStore(const std::string& originals, const std::string& store);

// Changes every file in place as mail arriving would: its first bytes
// overwritten and some appended, so the old file is as large as before and
// more. Each file is on the disk afterwards, so a timed run that follows does
// not pay for writing out the copy and the change.
bool ChangeFiles(const std::string& store, const std::vector<std::string>& names);

// Whether the two files hold the same bytes; reads both a piece at a time.
bool SameBytes(const std::string& a, const std::string& b, uint64_t* size);

}  // namespace corvane::bench

// Which archive items a restore takes and where each archive entry goes:
// the mark click's rules, the alternate target of a mail folder, and the
// name the zip component's rename event gives each entry. Every name that
// comes from the archive is checked before it names a file. Platform-free.
#pragma once

#include "corvane/catalog/TreeList.h"
#include "corvane/restore/portable/PlacementNames.h"
#include "corvane/restore/portable/StorePaths.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::restore {

inline constexpr int kSelectedRestore = 0;
inline constexpr int kFullRestore = 2;
inline constexpr const char* kTargetArrow = ">>> ";

// The item's name: its text up to the first TAB.
std::string FirstColumn(std::string_view text);

// What a click on an archive item's mark does.
enum class MarkAction {
    Nothing,        // the root, or an item not in the archive
    Beep,           // a mail folder of a full restore stays marked
    Unmark,         // the mark, the ">>> " column and the alternate target go
    Mark,           // marked as it is
    MarkOwnTarget,  // a mail folder marked onto its own file: ">>> " + its name
    FolderMissing,  // the mail folder's file is not in the store
    NotSubscribed,  // the newsgroup's file (news account's folder) is not there
};
struct StoreFolders {
    std::string mailFiles;  // where the mail folders' files are
    std::string oe5Store;   // the version-5 store ("" for version 4)
    std::string oe4News;    // the version-4 news folder
};
MarkAction DecideMark(const catalog::TreeList& tree, int position, int restoreMode, const StoreFolders& folders,
                      const ExistsTest& fileExists, const ExistsTest& folderExists);
// Carries out Unmark, Mark and MarkOwnTarget on the item.
void ApplyMark(catalog::TreeList& tree, int position, MarkAction action);
// Sends a mail folder to the current folder `targetName` shown as `targetText`.
void SetAlternateTarget(catalog::TreeList& tree, int position, const std::string& targetName,
                        const std::string& targetText, int targetIndex);
// A full restore marks every mail folder and newsgroup in the archive.
void MarkForFullRestore(catalog::TreeList& tree);

// A path below a folder given as components separated by "\" or "/", each
// one a plain name.
bool IsSafeRelativeName(std::string_view name);

// The rename event's answer for one entry.
struct EntryTarget {
    std::string newName;   // "" leaves the entry out
    std::string shown;     // after "Restoring: "
    bool refused = false;  // left out because of its name
    // The file this entry replaces in the mail files folder ("" when none).
    std::string replacedName;
};
struct RenameRules {
    std::string wabTargetName;
    std::string favPrefix;  // "" outside the Favorites step
};
EntryTarget MapEntry(const catalog::TreeList& tree, const RenameRules& rules, std::string_view entry);

// What the extractions of one restore took from the archive. An archive can
// hold several entries that end at one file (the same name twice, names that
// differ only in case, two folders sent to one target): the first of them in
// archive order is the one restored, each later one is left out unread, so a
// file is written from one entry only and the user is told which files had
// more than one.
class EntryLedger {
public:
    // A new extraction: its entries and files start afresh; the files with
    // more than one entry are kept for the report.
    void NewExtraction();
    // Whether the entry `origName` may be written to `newName` (relative to
    // the extraction folder, compared without case); false when an earlier
    // entry of this extraction has that file, which is then recorded.
    bool Take(std::string_view origName, std::string_view newName);
    // Whether this extraction met an entry of that name with a file to go to
    // (restored, or left out for an earlier entry with the same file).
    bool Met(std::string_view origName) const;
    bool MetAny() const { return !entries_.empty(); }
    // Whether an entry of this extraction was given the file `newName`
    // (compared as Take compares): a done extraction wrote it.
    bool Delivered(std::string_view newName) const;
    // The files more than one entry was headed for, each once, named as the
    // first entry named them.
    const std::vector<std::string>& Doubled() const { return doubled_; }

private:
    std::set<std::string> entries_, doubledKeys_;
    std::map<std::string, std::string> targets_;  // by key, the file as the first entry named it
    std::vector<std::string> doubled_;
};

// Positions of the marked mail folders and newsgroups, in tree order.
std::vector<int> MarkedMailItems(const catalog::TreeList& tree);
// The position of the first item of `type` (0 when none).
int FindItemOfType(const catalog::TreeList& tree, int type);

// The version-4 index companion of a ".mbx" path: its last three characters "idx".
std::string IndexCompanion(std::string_view mbxPath);

}  // namespace corvane::restore

// Putting the current files out of the way before a restore writes into the
// store: the dated backup folder of a version-5 store and the old files set
// aside into it, a folder set aside under a numbered name and made again
// empty, and the address book's safety name. Each step says whether the
// files it was to protect are safe; a restore goes on with the extraction
// that needs a step only when it succeeded, so nothing is written over a
// file that was not put aside.
#pragma once

#include "corvane/restore/portable/StorePaths.h"

#include <string>
#include <vector>

namespace corvane {

// A name of the archive that was not used as a path, and why.
struct RefusedName {
    std::string name;
    restore::NameFault fault = restore::NameFault::None;
};

// What a step that failed could not do; `subject` names the file or folder.
enum class PlacementFault {
    None,
    FolderNotMade,  // the dated folder
    NotSetAside,    // the folder that could not be set aside
    NotMadeAgain,   // the folder set aside that could not be made again
    FilesStayed,    // files that could not be set aside into `subject`: `stayed`, and `leftAside` that could not come back
    WabNotKept,     // the address book's safety name
    NamesRefused,   // only names that are not plain names: `refused`
    NotPutBack,     // the folder set aside that could not go back
};

struct PlacementResult {
    bool ok = false;
    // The dated folder (with its trailing "\") or the set-aside name.
    std::string path;
    PlacementFault fault = PlacementFault::None;
    std::string subject;
    std::vector<std::string> stayed;
    std::vector<std::string> leftAside;
    // Names from the archive that were left alone.
    std::vector<RefusedName> refused;
};

// Makes StripTrailingBackslash(storeFolder) + "\backup" + today, or the first
// free "_001", "_002", ... of it.
PlacementResult MakeDatedBackupFolder(const std::string& storeFolder);

// Moves storeFolder + "folders.dbx" and storeFolder + each name into the
// dated folder through the shell, which shows no dialog of its own.
// Names that are not plain names of the store are refused and not moved;
// files that do not exist need no moving. Fails, naming them, when any file
// is still in place afterwards; the files that did move are then moved back
// (those that cannot be are named too) and the dated folder, left empty, is
// removed: a set-aside that fails leaves the store as it was.
PlacementResult MoveOldFiles(const std::string& storeFolder, const std::string& backupFolder,
                             const std::vector<std::string>& names);

// Sets the same files aside in the dated folder without taking them out of
// the store: each gets a second name there (a hard link) and keeps its own
// until the restore writes its replacement over it, so a restore that stops
// anywhere - the program killed included - leaves each store file whole, the
// old one or the new one. A file another program holds open fails it before
// anything is set aside, as it would fail the move. Where the volume has no
// hard links the files are moved (MoveOldFiles).
PlacementResult SetOldFilesAside(const std::string& storeFolder, const std::string& backupFolder,
                                 const std::vector<std::string>& names);

// Renames the folder to its first free numbered name ("_001", ...) and makes
// it again, empty. A folder that does not exist is only made.
PlacementResult SetFolderAside(const std::string& folder);
// Sets a folder of files aside as SetFolderAside does, without emptying it:
// the numbered folder gets a second name (a hard link) of each file, and the
// files stay where they are until a restore writes their replacements over
// them, so a restore that stops anywhere leaves each file whole. A file
// another program holds open fails it before anything is done. A folder with
// folders inside, or on a volume without hard links, is set aside whole.
PlacementResult LinkFolderAside(const std::string& folder);
// Puts the folder set aside as `asideName` back under its own name when
// what was to replace it could not be restored. Whatever had been written
// into its place meanwhile is set aside in turn, not deleted. Nothing to do
// when nothing had been set aside.
PlacementResult PutFolderBack(const std::string& folder, const std::string& asideName);
// The same for a version-4 news account's folder inside the news folder; a
// name that is not one plain name is refused.
PlacementResult SetNewsAccountAside(const std::string& newsFolder, const std::string& accountName);

// Renames the address book to its safety name (its path with the last
// character "x"), deleting an older safety file first.
PlacementResult KeepWabSafetyCopy(const std::string& wabPath);

}  // namespace corvane

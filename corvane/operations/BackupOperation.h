// The backup run behind "Make Archive" and the quick backup, with no window:
// the write test, the backup log and the archive's file list, the
// destination (diskette, kept or replaced archive), the archive written and
// read back as it is written, and one outcome. Questions (retry, diskettes) and progress go
// through IOperationEvents; the caller words the outcome, stores the run's
// settings and closes its window.
#pragma once

#include "corvane/catalog/TreeList.h"
#include "corvane/environment/portable/OperationEvents.h"
#include "corvane/operations/Outcome.h"
#include "corvane/zip/ZipFileSystem.h"

#include <cstdint>
#include <string>

namespace corvane::ops {

struct BackupInput {
    bool isV5 = true;
    std::string identityId;       // version 5: written into the log's first line
    std::string indexPath;        // Folders.dbx or Folders.nch with its folder
    std::string mailFilesFolder;  // the store files of the rows, ending in "\"
    std::string wabPath;
    std::string favoritesFolder;
    std::string oe4NewsFolder;
    catalog::TreeList rows;       // the folder list as ticked, parents of saved rows marked
    std::string saveFolder;       // the destination folder
    std::string archivePath;      // the archive's full path
    bool keepExisting = true;     // an existing archive is renamed, not replaced
    std::string logPath = "c:\\CorvaneBackup.log";  // where the log is written first
    std::string tempFolder;       // where the log goes when logPath cannot be written
    int64_t totalBytes = 0;       // of the ticked items, for the percentage
    LocalTime started;            // the log's first line
    zip::FileSystem* files = nullptr;  // the file layer the archive is written through (tests); null: Win32's
};

// Runs the backup. The outcome's kind:
// - Complete: the archive is in place and read back sound (zipResult 0, 10 or 30);
// - NotStarted: the write test or the first diskette was declined; nothing changed;
// - Cancelled: stopped on request; the old archive, if any, is as it was;
// - Failed: `fault` says what failed and `path` names the file or folder at fault.
BackupOutcome RunBackup(const BackupInput& input, IOperationEvents& events);

}  // namespace corvane::ops

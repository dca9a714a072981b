// What an operation returns: one kind (complete, not started, cancelled,
// failed) with the facts its window needs to word it: the zip engine's
// result, the file or folder at fault, what was left out. The operations
// never phrase a message; the windows do, from these facts alone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::ops {

enum class Kind { Complete, NotStarted, Cancelled, Failed };

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};

enum class BackupFault {
    None,
    WriteTestDeclined,  // not started: the destination took no file and the user gave up
    DisketteDeclined,   // not started: the first diskette was not given
    ReplaceDeclined,    // not started: the old archive was to be removed first, and the user said no
    LogNotWritten,    // path: where the log was to go
    KeepFailed,       // path: the name the existing archive was to get
    FilesInUse,       // a selected file could not be opened or read; nothing was stored
    FileMissing,      // path: a file the archive was to hold is gone; nothing was stored
    NotSound,         // the new archive did not read back correctly
    NotPlaced,        // path: the archive the new one could not replace
    DestinationGone,  // path: the destination folder, gone during the run
    Zip,              // zipResult says what
};

struct BackupOutcome {
    Kind kind = Kind::Failed;
    BackupFault fault = BackupFault::None;
    uint16_t zipResult = 0;
    std::string path;
    // What a complete run records.
    std::string archiveFileName;   // the archive's name in the destination folder
    bool includeAddressBook = false;
    bool Complete() const { return kind == Kind::Complete; }
};

}  // namespace corvane::ops

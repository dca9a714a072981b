// The restore with no window: the archive's log read out of the archive,
// and the run that sets the current files aside and extracts the marked
// entries into the store. A current file is replaced only by an entry that
// has been extracted beside it and checked; where a full restore had set it
// aside and its replacement could not be restored, it is put back. Each run
// keeps its own ledger of the entries it took, so nothing of an earlier
// reading or run carries over.
#pragma once

#include "corvane/catalog/TreeList.h"
#include "corvane/environment/portable/OperationEvents.h"
#include "corvane/operations/FilePlacement.h"
#include "corvane/operations/Outcome.h"

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::ops {

// The log of an archive, as the restore page reads it.
struct LogInput {
    std::string archivePath;
    std::string workFolder;  // where the log is extracted for reading (removed afterwards)
};

enum class LogFault {
    None,
    Missing,   // the archive could not be opened and the user gave up retrying
    NoLog,     // the archive holds no log at its root: it is no backup of ours
    TooLarge,  // above the log's size limit: refused before a byte was written
    Zip,       // zipResult says what
};

struct LogOutcome {
    Kind kind = Kind::Failed;  // Cancelled: a disk prompt was declined
    LogFault fault = LogFault::None;
    uint16_t zipResult = 0;
    std::string text;  // the log, when complete
};

LogOutcome ReadArchiveLog(const LogInput& input, IOperationEvents& events);

struct RestoreInput {
    std::string archivePath;
    bool full = false;  // a full restore: every old file is set aside first
    bool isV5 = true;
    std::string mailFilesFolder;  // ending in "\"
    std::string oe5StoreFolder;   // version 5, ending in "\"
    std::string oe4MailFolder;    // version 4
    std::string oe4NewsFolder;
    std::string windowsFolder;
    std::string wabPath;          // "" where no address book is registered
    std::string favoritesFolder;  // "" where no Favorites folder is registered
    catalog::TreeList items;      // the archive's items as marked, alternate targets included
};

enum class RestoreStep { AddressBook, Mail, News, Favorites };

// Something that failed in a step: its extraction (zipResult) or the
// setting aside before it (placement.fault).
struct RestoreFailure {
    RestoreStep step = RestoreStep::Mail;
    uint16_t zipResult = 0;
    PlacementResult placement;
};

struct RestoreOutcome {
    // Complete: every step ran, none failed; Failed: `failures` says which
    // did; Cancelled: a disk prompt was declined or the run was stopped.
    Kind kind = Kind::Complete;
    std::vector<RestoreFailure> failures;
    std::vector<std::string> refusedEntries;  // entries whose names would leave their folder
    std::vector<std::string> doubled;         // later entries for a file an earlier entry restored
    std::vector<std::string> withoutEntry;    // marked items the archive holds nothing for
};

RestoreOutcome RunRestore(const RestoreInput& input, IOperationEvents& events);

}  // namespace corvane::ops

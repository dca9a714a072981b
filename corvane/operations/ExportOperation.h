// The export with no window: every message of a store folder, a single
// message file or a Corvane archive written under a destination as .eml
// files and mbox folders (the export engine does the work). A spanned
// archive asks for its disks as the restore does; Cancel stops it between
// messages, leaving only whole files.
#pragma once

#include "corvane/environment/portable/OperationEvents.h"
#include "corvane/export/ExportEngine.h"
#include "corvane/operations/Outcome.h"

#include <filesystem>

namespace corvane::ops {

struct ExportInput {
    std::filesystem::path source;  // a store folder, a .dbx or .mbx file, or an archive (.zip, a set's last disk)
    bool archive = false;          // the user named the source an archive; otherwise a zip file is found by its bytes
    std::filesystem::path dest;
    bool eml = true;
    bool mbox = true;
    bool recover = false;
};

struct ExportOutcome {
    // Complete: the run went through (the result may still count unreadable
    // messages); NotStarted: the source or the destination was refused;
    // Cancelled: stopped, or a disk was not given; Failed: writing failed.
    Kind kind = Kind::Failed;
    bool fromArchive = false;
    exporting::ExportResult result;

    int64_t Exported() const;
    int64_t Recovered() const;
    int64_t Unreadable() const;
};

ExportOutcome RunExport(const ExportInput& input, IOperationEvents& events);

}  // namespace corvane::ops

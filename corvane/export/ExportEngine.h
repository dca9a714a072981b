// The export: reads every store file of SOURCE (ExportPlan.h) on one thread
// and writes its messages under DEST on the calling thread, as .eml files
// (one per message, named "YYYY-MM-DD HHMM - sender - subject.eml", dated
// with the message's date) and as one mbox file per folder, then writes
// export-report.txt. Platform-free: the command line corvane-export and a
// Windows front end drive the same engine.
//
//   ExportOptions options{source, dest};        // both formats by default
//   std::atomic<bool> cancel{false};            // set from another thread to stop
//   ExportEvents events;
//   events.onProgress = [](int percent) { ... };  // on the calling thread
//   ExportResult result = RunExport(options, events, cancel);
//   return ExitCode(result);                    // 0, 1 or 2
//
// Layout under DEST, for a folder "Local Folders/Inbox":
//   Local Folders/Inbox/<name>.eml   Local Folders/Inbox.mbox
//   Recovered/Local Folders/Inbox/... and Recovered/Local Folders/Inbox.mbox
//     for messages found only by the recovery scan
#pragma once

#include "corvane/export/MessageSource.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace corvane::exporting {

inline constexpr const char* kReportFileName = "export-report.txt";

struct ExportOptions {
    std::filesystem::path source;  // a .dbx or .mbx file, or a folder holding them
    std::filesystem::path dest;    // created when missing; never inside the source folder
    bool eml = true;
    bool mbox = true;
    bool recover = false;  // also look for messages the index no longer reaches
};

// What one store file gave.
struct FolderReport {
    std::string folder;  // under DEST, parts joined with '/'
    std::string source;  // the store file
    std::string note;    // why it was not read, when it was not
    bool unreadableFile = false;  // the file could not be opened (not merely: it holds no messages)
    int64_t headerCount = 0;
    int64_t exported = 0;
    int64_t recovered = 0;
    int64_t unreadable = 0;
    std::vector<Damage> damages;  // in the order found; message damage and index damage
};

enum class ExportStatus {
    Complete,        // every message counted by the files was written
    SomeUnreadable,  // some could not be read, or the index lost some (listed in the report)
    BadSource,       // SOURCE cannot be read, or is a file that is no message store
    BadDestination,  // DEST cannot be made, or lies inside the source folder
    WriteFailed,     // writing under DEST failed (disk full, rights); what was whole stays
    Cancelled,
};

struct ExportResult {
    ExportStatus status = ExportStatus::Complete;
    std::string error;  // the failure, in words, for the last four statuses
    std::vector<FolderReport> folders;
    std::filesystem::path reportPath;  // empty when no report was written
};

struct ExportEvents {
    std::function<void(int percent)> onProgress;  // 0 to 100, each value once, on the calling thread
    std::function<void(const std::string& folder)> onFolder;  // a store file's folder begins ('/' between parts)
};

ExportResult RunExport(const ExportOptions& options, const ExportEvents& events, const std::atomic<bool>& cancel);

// 0 Complete; 1 SomeUnreadable or Cancelled; 2 BadSource, BadDestination or WriteFailed.
int ExitCode(const ExportResult& result);

// The report's text (what export-report.txt holds).
std::string ReportText(const ExportOptions& options, const ExportResult& result);

}  // namespace corvane::exporting

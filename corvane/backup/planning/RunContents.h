// What a backup run writes, worked out from the folder list before anything
// is written: the backup log's text, the files for the archive in their
// order, the name a kept archive moves to and the progress shown per file.
// Platform-free.
#pragma once

#include "corvane/catalog/TreeList.h"

#include <cstdint>
#include <functional>
#include <string>

namespace corvane::planning {

inline constexpr const char* kLogFileName = "CorvaneBackup.log";
inline constexpr const char* kWriteTestFileName = "Corvane.tst";

// Local time of the run's start.
struct LogTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};
// 0 Sunday ... 6 Saturday, for a date of the Gregorian calendar.
int DayOfWeek(int year, int month, int day);
// "V5 - Corvane Backup started: Wed Jan 31, 2001 @ 02:15 PM" + two blanks + the identity.
std::string LogStartLine(const LogTime& time, const std::string& identityId);

// Every row that is not saved (FlgSave 0) but has a saved row beneath it
// gets FlgSave 2, so the log can rebuild the path to the saved rows.
void MarkParentsOfSaved(catalog::TreeList& rows);

// Where the store's parts are (folders end in "\" where they are set).
struct RunSources {
    bool isV5 = true;
    std::string indexPath;        // Folders.dbx or Folders.nch with its folder
    std::string mailFilesFolder;  // the store files of the rows
    std::string wabPath;
    std::string favoritesFolder;
    std::string oe4NewsFolder;
};

struct RunContents {
    std::string log;          // the log's text without its first line, CR LF ends
    std::string zipFileList;  // CR-separated, the index first; the log is added last by the run
    bool includeAddressBook = false;
};

// The log lines ("NCH", then one per row saved or on the path to a saved
// row) and the archive's file list from the rows of the folder list.
RunContents BuildRunContents(const catalog::TreeList& rows, const RunSources& sources);

// Appends a specification to a CR-separated list.
void AppendSpecification(std::string& list, const std::string& specification);

// The archive's file name: the text after the destination folder (and its "\").
std::string ArchiveFileNameOf(const std::string& archivePath, const std::string& saveFolder);
// The first name of the form folder\<file name>NNN.zip (NNN from 000) for
// which `exists` answers false; empty when all thousand are taken.
std::string KeptArchiveName(const std::string& saveFolder, const std::string& archiveFileName,
                            const std::function<bool(const std::string&)>& exists);

// Progress for one file the component reports: the name shown and the bytes it counts.
struct ProgressStep {
    std::string name;
    int64_t bytes = 0;
    bool prefixed = true;  // "Saving: " goes in front (not for the log)
};
ProgressStep DescribeProgress(const std::string& path, uint64_t eventSize, const catalog::TreeList& rows,
                              const std::string& favoritesFolder, const std::string& oe4NewsFolder);
// The prefix and the name, every "&" doubled so the label shows it.
std::string ProgressCaption(const std::string& prefix, const ProgressStep& step);
// Whole percent of done in total, 0 to 100; 0 while total is below 1.
int ProgressPercent(int64_t done, int64_t total);

}  // namespace corvane::planning

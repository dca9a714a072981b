// The command line of corvane-export, apart from main() so a Windows build
// of the program and the tests use the same parsing and wording:
//
//   corvane-export [--eml] [--mbox] [--recover] SOURCE DEST
//
// Neither --eml nor --mbox: both. Progress goes to `err` as a percentage;
// the messages that could not be read are listed there at the end.
#pragma once

#include "corvane/zip/ZipFileSystem.h"

#include "corvane/export/ExportEngine.h"

#include <atomic>
#include <ostream>
#include <string>
#include <vector>

namespace corvane::exporting {

inline constexpr int kExitBadUsage = 2;

struct CommandLine {
    bool help = false;
    ExportOptions options;
};

// False, with `error` set, for a bad command line.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& line, std::string& error);

std::string UsageText();

// Runs the whole command: returns the exit code (0 all exported, 1 some
// unreadable, 2 bad usage or an unreadable source). With `archiveFiles`, a
// SOURCE that is a Corvane archive is read through the zip engine on them.
int RunExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     const std::atomic<bool>& cancel, zip::FileSystem* archiveFiles = nullptr);

}  // namespace corvane::exporting

#include "corvane/export/ExportCommand.h"

#include "corvane/export/ExportFromArchive.h"

#include <iostream>

#include "corvane/export/DbxFormat.h"
#include "corvane/export/SafeNames.h"

namespace corvane::exporting {

std::string UsageText() {
    return "usage: corvane-export [--eml] [--mbox] [--recover] SOURCE DEST\n"
           "\n"
           "Exports the messages of Outlook Express store files as .eml files and mbox files.\n"
           "  SOURCE     a .dbx (Outlook Express 5) or .mbx (Outlook Express 4) file, or a folder\n"
           "             holding them; its folders.dbx or folders.nch names the output folders\n"
           "  DEST       the folder to write into (made when missing; not inside SOURCE's folder)\n"
           "  --eml      one .eml file per message\n"
           "  --mbox     one mbox file per folder\n"
           "             (neither given: both)\n"
           "  --recover  also look for messages the file's index no longer reaches; they go\n"
           "             under DEST/Recovered\n"
           "  --help     this text\n"
           "\n"
           "DEST/export-report.txt lists what each folder gave. Exit status: 0 every message was\n"
           "exported, 1 some could not be read (they are listed), 2 bad usage or an unreadable source.\n"
           "SOURCE may also be a Corvane archive (.zip, or the last disk of a spanned set).\n";
}

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& line, std::string& error) {
    std::vector<std::string> paths;
    bool eml = false, mbox = false, optionsEnded = false;
    for (const std::string& arg : args) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            line.help = true;
        } else if (!optionsEnded && arg == "--eml") {
            eml = true;
        } else if (!optionsEnded && arg == "--mbox") {
            mbox = true;
        } else if (!optionsEnded && arg == "--recover") {
            line.options.recover = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else {
            paths.push_back(arg);
        }
    }
    if (line.help) return true;
    if (paths.size() != 2) {
        error = paths.size() < 2 ? "SOURCE and DEST are needed" : "too many arguments";
        return false;
    }
    line.options.source = Utf8Path(paths[0]);
    line.options.dest = Utf8Path(paths[1]);
    line.options.eml = eml || !mbox;
    line.options.mbox = mbox || !eml;
    return true;
}

int RunExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     const std::atomic<bool>& cancel, zip::FileSystem* archiveFiles) {
    CommandLine line;
    std::string error;
    if (!ParseCommandLine(args, line, error)) {
        err << "corvane-export: " << error << "\n" << UsageText();
        return kExitBadUsage;
    }
    if (line.help) {
        out << UsageText();
        return 0;
    }
    ExportEvents events;
    events.onProgress = [&err](int percent) { err << "\rExporting: " << percent << "%" << std::flush; };
    // A Corvane archive is read through the zip engine; the next diskette of
    // a spanned set is asked for on the terminal.
    auto newDisk = [&err](int disk) {
        err << "\nInsert " << (disk ? "disk " + std::to_string(disk) : std::string("the last disk"))
            << " of the archive set and press Enter (Ctrl+C stops): " << std::flush;
        std::string answer;
        return static_cast<bool>(std::getline(std::cin, answer));
    };
    ExportResult result = archiveFiles && IsZipArchive(line.options.source)
                              ? RunArchiveExport(line.options, events, cancel, *archiveFiles, newDisk)
                              : RunExport(line.options, events, cancel);
    err << "\n";
    int64_t exported = 0, recovered = 0, unreadable = 0;
    for (const FolderReport& folder : result.folders) {
        exported += folder.exported;
        recovered += folder.recovered;
        unreadable += folder.unreadable;
        if (!folder.note.empty()) err << "not read: " << folder.source << ": " << folder.note << "\n";
        for (const Damage& damage : folder.damages) {
            err << (damage.kind == DamageKind::Message ? "unreadable message" : "damaged index") << " in "
                << folder.source << " at " << dbx::Hex(damage.offset) << ": " << damage.what << "\n";
        }
    }
    if (!result.error.empty()) err << "corvane-export: " << result.error << "\n";
    err << "exported " << exported << ", recovered " << recovered << ", unreadable " << unreadable << "\n";
    if (!result.reportPath.empty()) err << "report: " << PathUtf8(result.reportPath) << "\n";
    return ExitCode(result);
}

}  // namespace corvane::exporting

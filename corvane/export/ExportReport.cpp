// The text of export-report.txt: what each folder gave and, for every
// message that could not be read, the file offset where it lies.
#include "corvane/export/DbxFormat.h"
#include "corvane/export/ExportEngine.h"
#include "corvane/export/SafeNames.h"

namespace corvane::exporting {

namespace {

const char* StatusText(ExportStatus status) {
    switch (status) {
        case ExportStatus::Complete: return "every message was exported";
        case ExportStatus::SomeUnreadable: return "some messages could not be read; they are listed below";
        case ExportStatus::BadSource: return "the source could not be read";
        case ExportStatus::BadDestination: return "the destination could not be used";
        case ExportStatus::WriteFailed: return "writing failed";
        case ExportStatus::Cancelled: return "cancelled";
    }
    return "";
}

}  // namespace

std::string ReportText(const ExportOptions& options, const ExportResult& result) {
    std::string text = "Corvane export\n";
    text += "Source: " + PathUtf8(options.source) + "\n";
    text += "Destination: " + PathUtf8(options.dest) + "\n";
    text += std::string("Formats: ") + (options.eml ? ".eml" : "") + (options.eml && options.mbox ? " and " : "") +
            (options.mbox ? "mbox" : "") + (options.recover ? "; recovery on" : "") + "\n";
    text += std::string("Result: ") + StatusText(result.status) + (result.error.empty() ? "" : ": " + result.error) +
            "\n";
    for (const FolderReport& folder : result.folders) {
        text += "\nFolder " + folder.folder + " (from " + folder.source + ")\n";
        if (!folder.note.empty()) {
            text += "  not read: " + folder.note + "\n";
            continue;
        }
        text += "  exported: " + std::to_string(folder.exported) + "\n";
        text += "  recovered: " + std::to_string(folder.recovered) + "\n";
        text += "  unreadable: " + std::to_string(folder.unreadable) + "\n";
        text += "  messages the file header counts: " + std::to_string(folder.headerCount) + "\n";
        for (const Damage& damage : folder.damages) {
            text += damage.kind == DamageKind::Message ? "  unreadable message at " : "  damaged index at ";
            text += dbx::Hex(damage.offset) + " (byte " + std::to_string(damage.offset) + ")" +
                    (damage.recovered ? ", found by recovery" : "") + ": " + damage.what + "\n";
        }
    }
    return text;
}

}  // namespace corvane::exporting

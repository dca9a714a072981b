#include "corvane/operations/ExportOperation.h"

#include "corvane/export/ExportFromArchive.h"
#include "corvane/zip/Win32FileSystem.h"

#include <system_error>

namespace corvane::ops {
namespace {

Kind KindOf(exporting::ExportStatus status) {
    switch (status) {
    case exporting::ExportStatus::Complete:
    case exporting::ExportStatus::SomeUnreadable:
        return Kind::Complete;
    case exporting::ExportStatus::BadSource:
    case exporting::ExportStatus::BadDestination:
        return Kind::NotStarted;
    case exporting::ExportStatus::Cancelled:
        return Kind::Cancelled;
    case exporting::ExportStatus::WriteFailed:
        return Kind::Failed;
    }
    return Kind::Failed;
}

template <typename Count>
int64_t Sum(const exporting::ExportResult& result, Count count) {
    int64_t total = 0;
    for (const exporting::FolderReport& folder : result.folders) total += count(folder);
    return total;
}

}  // namespace

int64_t ExportOutcome::Exported() const {
    return Sum(result, [](const exporting::FolderReport& f) { return f.exported; });
}
int64_t ExportOutcome::Recovered() const {
    return Sum(result, [](const exporting::FolderReport& f) { return f.recovered; });
}
int64_t ExportOutcome::Unreadable() const {
    return Sum(result, [](const exporting::FolderReport& f) { return f.unreadable; });
}

ExportOutcome RunExport(const ExportInput& input, IOperationEvents& events) {
    exporting::ExportOptions options;
    options.source = input.source;
    options.dest = input.dest;
    options.eml = input.eml;
    options.mbox = input.mbox;
    options.recover = input.recover;

    // The folder named last is the one being written; the percentage is the
    // engine's, over every store file.
    ProgressReport report{Activity::Exporting, {}, 0};
    exporting::ExportEvents engineEvents;
    engineEvents.onFolder = [&](const std::string& folder) {
        report.item = folder;
        events.Progress(report);
    };
    engineEvents.onProgress = [&](int percent) {
        report.percent = percent;
        events.Progress(report);
    };

    ExportOutcome outcome;
    std::error_code error;
    outcome.fromArchive = input.archive || (std::filesystem::is_regular_file(input.source, error) &&
                                            exporting::IsZipArchive(input.source));
    try {
        if (outcome.fromArchive) {
            events.Progress({Activity::Unpacking, input.source.filename().string(), -1});
            bool declined = false;
            auto files = zip::MakeWin32FileSystem();
            auto newDisk = [&](int disk) {
                if (events.Stopping()) return false;
                if (events.Ask({Question::RestoreDisk, disk, input.source.string()})) return true;
                declined = true;
                return false;
            };
            outcome.result = exporting::RunArchiveExport(options, engineEvents, events.StopFlag(), *files, newDisk);
            if (declined) outcome.result.status = exporting::ExportStatus::Cancelled;
        } else {
            outcome.result = exporting::RunExport(options, engineEvents, events.StopFlag());
        }
    } catch (const std::exception& failure) {
        outcome.result.status = exporting::ExportStatus::WriteFailed;
        outcome.result.error = failure.what();
    }
    outcome.kind = KindOf(outcome.result.status);
    return outcome;
}

}  // namespace corvane::ops

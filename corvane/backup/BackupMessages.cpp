#include "corvane/backup/BackupMessages.h"

#include "corvane/backup/planning/RunContents.h"
#include "corvane/environment/StringTable.h"

#include <windows.h>

namespace corvane {
namespace {

// The words for what the zip component's result says of the archive.
BoxText ZipResultText(uint16_t result) {
    switch (result) {
    case 40:
    case 140:
        return {LoadText(IDS_BACKUP_SKIPPED), MB_ICONSTOP};
    case 150:
    case 300:
        return {LoadText(IDS_BACKUP_DISK_FULL), MB_ICONINFORMATION};
    case 190:
        return {};
    case 310:
        return {LoadText(IDS_BACKUP_CANNOT_CREATE), MB_ICONSTOP};
    default:
        return {FormatText(IDS_BACKUP_INTERNAL, {std::to_string(result)}), MB_ICONINFORMATION};
    }
}

}  // namespace

BoxText BackupQuestionText(const QuestionCall& call) {
    switch (call.question) {
    case Question::RetryWriteTest:
        return {LoadText(IDS_BACKUP_WRITE_TEST), MB_RETRYCANCEL | MB_ICONSTOP};
    case Question::FirstDiskette:
        return {LoadText(IDS_BACKUP_FIRST_DISKETTE), MB_OKCANCEL | MB_ICONINFORMATION};
    case Question::ReplaceInPlace:
        return {FormatText(IDS_BACKUP_REPLACE_IN_PLACE, {call.path}), MB_YESNO | MB_ICONQUESTION};
    default:
        return {FormatText(IDS_BACKUP_NEXT_DISKETTE, {std::to_string(call.number)}), MB_OKCANCEL | MB_ICONINFORMATION};
    }
}

BoxText BackupOutcomeText(const ops::BackupOutcome& outcome, bool quickBackup) {
    using ops::BackupFault;
    if (outcome.kind == ops::Kind::Complete) {
        if (quickBackup) return {};
        return {LoadText(IDS_BACKUP_COMPLETE), MB_ICONINFORMATION};
    }
    if (outcome.kind != ops::Kind::Failed) return {};
    switch (outcome.fault) {
    case BackupFault::LogNotWritten:
        return {FormatText(IDS_BACKUP_LOG_FAILED, {outcome.path}), MB_ICONSTOP};
    case BackupFault::KeepFailed:
        return {FormatText(IDS_BACKUP_KEEP_FAILED, {outcome.path}), MB_ICONSTOP};
    case BackupFault::FilesInUse:
        return {LoadText(IDS_BACKUP_FILES_IN_USE), MB_ICONSTOP};
    case BackupFault::FileMissing:
        return {FormatText(IDS_BACKUP_FILE_MISSING, {outcome.path}), MB_ICONSTOP};
    case BackupFault::NotSound:
        return {LoadText(IDS_BACKUP_NOT_SOUND), MB_ICONSTOP};
    case BackupFault::NotPlaced:
        return {FormatText(IDS_BACKUP_NOT_PLACED, {outcome.path}), MB_ICONSTOP};
    case BackupFault::DestinationGone:
        return {FormatText(IDS_BACKUP_DESTINATION_GONE, {outcome.path}), MB_ICONSTOP};
    default:
        return ZipResultText(outcome.zipResult);
    }
}

std::string BackupProgressCaption(const ProgressReport& report) {
    switch (report.activity) {
    case Activity::Saving:
        return planning::ProgressCaption(LoadText(IDS_BACKUP_SAVING), {report.item, 0, true});
    case Activity::Updating:
        return planning::ProgressCaption(LoadText(IDS_BACKUP_UPDATING), {report.item, 0, true});
    case Activity::Finishing:
        return planning::ProgressCaption({}, {report.item, 0, false});
    default:
        return {};
    }
}

}  // namespace corvane

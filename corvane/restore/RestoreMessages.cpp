#include "corvane/restore/RestoreMessages.h"

#include "corvane/environment/StringTable.h"
#include "corvane/restore/RestoreIds.h"
#include "corvane/zip/ZipResult.h"

#include <windows.h>

namespace corvane {
namespace {

int ReasonText(restore::NameFault fault) {
    switch (fault) {
    case restore::NameFault::Separator:
    case restore::NameFault::DriveOrStream:
    case restore::NameFault::DotName:
        return IDS_PLACE_NAME_ELSEWHERE;
    case restore::NameFault::DeviceName:
        return IDS_PLACE_NAME_DEVICE;
    default:
        return IDS_PLACE_NAME_INVALID;
    }
}

std::string Listed(int heading, const std::vector<std::string>& names) {
    std::string text = LoadText(heading);
    for (const auto& name : names) text += "\r\n" + name;
    return text;
}

int StepText(ops::RestoreStep step) {
    switch (step) {
    case ops::RestoreStep::AddressBook:
        return IDS_RESTORE_WAB_FAILED;
    case ops::RestoreStep::News:
        return IDS_RESTORE_NEWS_FAILED;
    case ops::RestoreStep::Favorites:
        return IDS_RESTORE_FAVS_FAILED;
    default:
        return IDS_RESTORE_MAIL_FAILED;
    }
}

// The failure of a restore step, with what the result means where the user can act on it.
std::string FailureText(const ops::RestoreFailure& failure) {
    if (failure.placement.fault != PlacementFault::None) return PlacementText(failure.placement);
    const uint16_t result = failure.zipResult;
    std::string text = FormatText(StepText(failure.step), {std::to_string(result)});
    if (result == zip::result::kTargetDiskFull) text += "\r\n" + LoadText(IDS_RESTORE_NO_ROOM);
    if (result == zip::result::kCorruptEntry || result == zip::result::kTruncated)
        text += "\r\n" + LoadText(IDS_RESTORE_DAMAGED);
    if (result == zip::result::kCannotReplace) text += "\r\n" + LoadText(IDS_RESTORE_IN_USE);
    return text;
}

}  // namespace

BoxText RestoreQuestionText(const QuestionCall& call) {
    if (call.question == Question::RetryArchive)
        return {LoadText(IDS_RESTORE_LOG_RETRY), MB_RETRYCANCEL | MB_ICONINFORMATION};
    std::string text = call.number != 0 ? FormatText(IDS_RESTORE_DISK, {std::to_string(call.number)})
                                        : LoadText(IDS_RESTORE_LAST_DISK);
    return {text, MB_OKCANCEL | MB_ICONINFORMATION};
}

std::string PlacementText(const PlacementResult& result) {
    switch (result.fault) {
    case PlacementFault::None:
        return {};
    case PlacementFault::FolderNotMade:
        return LoadText(IDS_PLACE_FOLDER_NOT_MADE, result.subject);
    case PlacementFault::NotSetAside:
        return LoadText(IDS_PLACE_NOT_SET_ASIDE, result.subject);
    case PlacementFault::NotMadeAgain:
        return LoadText(IDS_PLACE_NOT_MADE_AGAIN, result.subject);
    case PlacementFault::WabNotKept:
        return LoadText(IDS_PLACE_WAB_NOT_KEPT, result.subject);
    case PlacementFault::NotPutBack:
        return LoadText(IDS_PLACE_NOT_PUT_BACK, result.subject);
    case PlacementFault::NamesRefused:
        return RefusedNamesText(result.refused);
    case PlacementFault::FilesStayed: {
        std::string text = LoadText(IDS_PLACE_FILES_STAYED, result.subject);
        for (const auto& file : result.stayed) text += "\r\n" + file;
        if (result.leftAside.empty()) return text;
        text += "\r\n" + LoadText(IDS_PLACE_FILES_LEFT_ASIDE, result.subject);
        for (const auto& file : result.leftAside) text += "\r\n" + file;
        return text;
    }
    }
    return {};
}

std::string RefusedNamesText(const std::vector<RefusedName>& refused) {
    if (refused.empty()) return "";
    std::string text = LoadText(IDS_PLACE_NAMES_REFUSED);
    for (const auto& name : refused) text += "\r\n\"" + name.name + "\" - " + LoadText(ReasonText(name.fault));
    return text;
}

std::string LogOutcomeText(const ops::LogOutcome& outcome) {
    if (outcome.kind != ops::Kind::Failed) return {};
    switch (outcome.fault) {
    case ops::LogFault::TooLarge:
        return LoadText(IDS_RESTORE_LOG_TOO_LARGE);
    case ops::LogFault::NoLog:
        return LoadText(IDS_RESTORE_NO_BACKUP_LOG);
    case ops::LogFault::Zip:
        return FormatText(IDS_RESTORE_UNEXPECTED, {std::to_string(outcome.zipResult)});
    default:
        return {};
    }
}

std::vector<std::string> RestoreOutcomeTexts(const ops::RestoreOutcome& outcome) {
    std::vector<std::string> texts;
    for (const auto& failure : outcome.failures) texts.push_back(FailureText(failure));
    if (!outcome.refusedEntries.empty()) texts.push_back(Listed(IDS_RESTORE_ENTRIES_REFUSED, outcome.refusedEntries));
    if (!outcome.doubled.empty()) texts.push_back(Listed(IDS_RESTORE_DOUBLED, outcome.doubled));
    if (!outcome.withoutEntry.empty()) texts.push_back(Listed(IDS_RESTORE_WITHOUT_ENTRY, outcome.withoutEntry));
    if (outcome.kind == ops::Kind::Complete) texts.push_back(LoadText(IDS_RESTORE_COMPLETE));
    return texts;
}

}  // namespace corvane

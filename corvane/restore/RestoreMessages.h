// The restore's words: its questions, what a placement step could not do,
// the reading of an archive's log and how a run ended, each sentence one
// entry of the string table, worded here and nowhere else.
#pragma once

#include "corvane/environment/OperationRunner.h"
#include "corvane/operations/RestoreOperation.h"

#include <string>
#include <vector>

namespace corvane {

BoxText RestoreQuestionText(const QuestionCall& call);
// What a placement step could not do, naming the files and folders.
std::string PlacementText(const PlacementResult& result);
// The refused names and why, one a line; "" for none.
std::string RefusedNamesText(const std::vector<RefusedName>& refused);
// Why an archive's log could not be read; "" where the user needs no word
// (a disk prompt declined, a retry given up).
std::string LogOutcomeText(const ops::LogOutcome& outcome);
// The boxes at the end of a run, in order: each failure, then the entries
// refused, the entries doubled, the items without data, and "Restore is
// Complete" only where nothing failed and nothing was cancelled.
std::vector<std::string> RestoreOutcomeTexts(const ops::RestoreOutcome& outcome);

}  // namespace corvane

// The backup's words: its questions and its outcome, each sentence one
// entry of the string table, worded here and nowhere else.
#pragma once

#include "corvane/backup/BackupIds.h"
#include "corvane/environment/OperationRunner.h"
#include "corvane/operations/Outcome.h"

#include <string>

namespace corvane {

// A question of the run as a message box asks it.
BoxText BackupQuestionText(const QuestionCall& call);

// The box that tells how a run ended; none for a run the user stopped or a
// complete quick backup.
BoxText BackupOutcomeText(const ops::BackupOutcome& outcome, bool quickBackup);

// The progress label's caption: "Saving: Inbox", every "&" doubled so the label shows it.
std::string BackupProgressCaption(const ProgressReport& report);

}  // namespace corvane

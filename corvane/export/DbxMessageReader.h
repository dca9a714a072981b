// Reader of an Outlook Express 5 message file (.dbx): walks the message
// tree from the header's root, reads each information record and checks
// the chain of text blocks it points to, then hands each message to the
// visitor. A message that cannot be read is reported with its offset and the
// walk goes on; with ReadOptions::recover the file is then scanned for
// chains the tree no longer reaches (DbxRecovery.h).
#pragma once

#include "corvane/export/MessageSource.h"
#include "corvane/export/SourceFile.h"

namespace corvane::exporting {

ReadOutcome ReadDbxMessages(SourceFile& file, const ReadOptions& options, MessageVisitor& visitor);

}  // namespace corvane::exporting

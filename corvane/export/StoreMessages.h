// One entry to both message readers: the file's signature picks the reader.
#pragma once

#include "corvane/export/MessageSource.h"
#include "corvane/export/SourceFile.h"

namespace corvane::exporting {

enum class StoreKind {
    Dbx5,     // Outlook Express 5 message file
    Mbx4,     // Outlook Express 4 mail file
    Unknown,  // anything else: folders.dbx, Pop3uidl.dbx, an empty or foreign file
};

StoreKind IdentifyStore(SourceFile& file);

// Reads with the reader the signature picks; an Unknown file gives an
// outcome with isMessageFile false and no calls to the visitor.
ReadOutcome ReadStoreMessages(SourceFile& file, const ReadOptions& options, MessageVisitor& visitor);

}  // namespace corvane::exporting

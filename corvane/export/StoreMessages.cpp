#include "corvane/export/StoreMessages.h"

#include "corvane/export/DbxFormat.h"
#include "corvane/export/DbxMessageReader.h"
#include "corvane/export/MbxMessageReader.h"

namespace corvane::exporting {

StoreKind IdentifyStore(SourceFile& file) {
    if (dbx::HasSignature(file)) return StoreKind::Dbx5;
    if (mbx::HasSignature(file)) return StoreKind::Mbx4;
    return StoreKind::Unknown;
}

ReadOutcome ReadStoreMessages(SourceFile& file, const ReadOptions& options, MessageVisitor& visitor) {
    switch (IdentifyStore(file)) {
        case StoreKind::Dbx5: return ReadDbxMessages(file, options, visitor);
        case StoreKind::Mbx4: return ReadMbxMessages(file, options, visitor);
        case StoreKind::Unknown: break;
    }
    return {};
}

}  // namespace corvane::exporting

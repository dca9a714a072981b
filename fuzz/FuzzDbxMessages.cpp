// A version-5 message file (.dbx) as the export reads it: the tree, the
// information records, the chains of text blocks and the recovery scan.
#include "corvane/export/DbxMessageReader.h"
#include "fuzz/FuzzMessageFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return corvane::fuzzing::ReadMessageFile(data, size, corvane::exporting::ReadDbxMessages);
}

// A version-4 mail file (.mbx) as the export reads it: the record walk, the
// search for the next record after a damaged one, and the header fields.
#include "corvane/export/MbxMessageReader.h"
#include "fuzz/FuzzMessageFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return corvane::fuzzing::ReadMessageFile(data, size, corvane::exporting::ReadMbxMessages);
}

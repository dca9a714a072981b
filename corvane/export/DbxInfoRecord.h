// A message's information record in a .dbx file: the indexed fields the
// exporter names files after (date, subject, sender) and the pointer to the
// first block of the message's text.
#pragma once

#include "corvane/export/MessageSource.h"
#include "corvane/export/SourceFile.h"

#include <cstdint>
#include <optional>
#include <string>

namespace corvane::exporting::dbx {

struct InfoRecord {
    MessageFacts facts;         // offset and textOffset set; texts UTF-8
    bool hasTextPointer = false;
    bool hasDate = false, hasSubject = false, hasSender = false;
};

// The record at `offset`, or nothing with `why` set: its marker must match,
// its fields and their data lie inside its body, and its body inside the file.
std::optional<InfoRecord> ReadInfoRecord(SourceFile& file, int64_t offset, std::string& why);

}  // namespace corvane::exporting::dbx

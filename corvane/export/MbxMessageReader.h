// Reader of an Outlook Express 4 mail file (.mbx): an 84-byte header
// ("JMF6", the message count at 8), then message records one after the
// other, each a marker 00 7F 00 7F, the message number, the record's whole
// length (header, text and padding) and the text's length, then the text.
// The file holds no subject or date: they come from the text's header.
//
// A damaged record is reported with its offset and the reader looks for the
// next record marker after it, so the rest of the file is still read. The
// walk only moves forward, so it ends.
#pragma once

#include "corvane/export/MessageSource.h"
#include "corvane/export/SourceFile.h"

namespace corvane::exporting {

namespace mbx {
inline constexpr int64_t kHeaderSize = 0x54;
inline constexpr int64_t kRecordHeaderSize = 16;
inline constexpr uint8_t kSignature[4] = {'J', 'M', 'F', '6'};
inline constexpr uint8_t kRecordMarker[4] = {0x00, 0x7F, 0x00, 0x7F};
bool HasSignature(SourceFile& file);
}  // namespace mbx

ReadOutcome ReadMbxMessages(SourceFile& file, const ReadOptions& options, MessageVisitor& visitor);

}  // namespace corvane::exporting

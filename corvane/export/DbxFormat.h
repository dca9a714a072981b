// The layout of an Outlook Express 5 message file (.dbx) as the exporter
// reads it. Every object past the file header starts with its own file
// offset (its marker), which is how the readers tell a real object from a
// stray pointer.
//
//   header (0x24BC bytes): signature, message count at 0xC4, the root node of
//     the message tree at 0xE4
//   tree node (0x27C bytes): marker, -, child node, parent node, node id (1),
//     entry count (1), -, values below the child; then up to 51 entries of
//     (information record, child node, values below it)
//   information record: marker, body length, -, field count (1), -; then the
//     fields (index in the low 7 bits, bit 8 "value held here", 24-bit value
//     or offset into the data area that follows the fields)
//   text block (0x210 bytes): marker, body length, text length in this block,
//     next block (0 ends the chain); then the text bytes
#pragma once

#include "corvane/export/SourceFile.h"

#include <cstdint>
#include <optional>
#include <string>

namespace corvane::exporting::dbx {

inline constexpr int64_t kHeaderSize = 0x24BC;
inline constexpr uint8_t kSignature[8] = {0xCF, 0xAD, 0x12, 0xFE, 0xC5, 0xFD, 0x74, 0x6F};
inline constexpr int64_t kMessageCountOffset = 0xC4;
inline constexpr int64_t kTreeRootOffset = 0xE4;

inline constexpr int64_t kNodeSize = 0x27C;
inline constexpr int64_t kNodeHeaderSize = 0x18;
inline constexpr int64_t kNodeEntrySize = 12;
inline constexpr int kMostNodeEntries = 51;  // (0x27C - 0x18) / 12

inline constexpr int64_t kRecordHeaderSize = 12;
inline constexpr uint32_t kMostRecordBody = 64 * 1024;  // records hold a few hundred bytes of facts
inline constexpr int kFieldDate = 0x02;                 // FILETIME the message was sent
inline constexpr int kFieldText = 0x04;                 // first text block
inline constexpr int kFieldSubject = 0x08;
inline constexpr int kFieldSenderName = 0x0D;
inline constexpr int kFieldSenderAddress = 0x0E;

inline constexpr int64_t kBlockHeaderSize = 16;
inline constexpr int64_t kBlockBodySize = 0x200;  // what Outlook Express writes; readers accept others

bool HasSignature(SourceFile& file);

struct TextBlock {
    int64_t offset = 0;
    uint32_t bodyLength = 0;
    uint32_t textLength = 0;
    uint32_t next = 0;
};

// The block at `offset` when it is one: past the header, carrying its own
// offset as marker, its text no longer than its body and inside the file.
// Otherwise nothing, and `why` says what is wrong.
std::optional<TextBlock> ReadTextBlock(SourceFile& file, int64_t offset, std::string* why = nullptr);

std::string Hex(int64_t offset);  // "0x0001E254"

}  // namespace corvane::exporting::dbx

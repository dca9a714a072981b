// Layout texts of structured strings, read left to right as groups:
//   "R"n  repeat count of the group (pieces), "A"n  items per piece,
//   "X"   the group is an index (digits after it are skipped),
//   "M"n  a modifier that is skipped,
// then a type character that ends the group: "%" (2-byte integer), "&" and
// "!" (4-byte values), "#" and "@" (8-byte values), "$" (string) or "$*"n
// (string of fixed length n). A missing or zero count or length counts as 1;
// counts stop growing at 65,535. A blank or "," between groups is skipped;
// one after a pending count, or any other character, ends the layout.
// Nothing is allocated: the reader walks the text.
#pragma once

#include "skein/ResultSink.h"

#include <cstdint>

namespace skein {

struct Group {
    uint32_t repeat = 1;       // pieces in the group
    uint32_t count = 1;        // items per piece
    char type = 0;             // '%', '&', '!', '#', '@' or '$'
    uint32_t fixedLength = 0;  // "$*"n strings: n; 0 for other types
    bool isIndex = false;
    uint64_t firstPiece = 1;  // numbers of the group's first piece and item
    uint64_t firstItem = 1;

    uint64_t items() const { return static_cast<uint64_t>(repeat) * count; }
    bool isString() const { return type == '$'; }
    // Bytes per item in memory: 2, 4, 8, the fixed length, or 4 for "$".
    uint32_t memoryWidth() const;
    // Bytes of a non-string item in a record.
    uint32_t numberWidth() const;
};

class LayoutReader {
public:
    explicit LayoutReader(Bytes layout) : text_(layout) {}
    // The next group, or false at the end of the layout.
    bool Next(Group& group);

private:
    uint32_t ReadNumber();
    Bytes text_;
    size_t at_ = 0;
    uint64_t nextPiece_ = 1;
    uint64_t nextItem_ = 1;
};

// The group that holds item `item` (or piece `piece`), false beyond the layout.
bool GroupOfItem(Bytes layout, int64_t item, Group& group);
bool GroupOfPiece(Bytes layout, int64_t piece, Group& group);

uint64_t LayoutItemCount(Bytes layout);
uint64_t LayoutPieceCount(Bytes layout);
uint64_t LayoutMemoryLength(Bytes layout);

}  // namespace skein

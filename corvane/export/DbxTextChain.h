// A message's text in a .dbx file: a chain of text blocks, each naming the
// next. The chain is checked whole before any of its text is handed on, so a
// damaged message is refused before a byte of it is written: every block
// must be a real block inside the file, and the walk stops at a loop (found
// with Brent's method, in constant memory), at the file's end, or after as
// many blocks as the file can hold.
#pragma once

#include "corvane/export/MessageSource.h"
#include "corvane/export/SourceFile.h"

#include <cstdint>
#include <string>

namespace corvane::exporting::dbx {

struct ChainCheck {
    bool whole = false;
    int64_t length = 0;  // text bytes in all blocks
    int64_t blocks = 0;
    std::string what;    // why not whole
};

ChainCheck CheckTextChain(SourceFile& file, int64_t firstBlock);

// The text of a checked chain, read block by block through the file.
class ChainText : public MessageText {
public:
    ChainText(SourceFile& file, int64_t firstBlock, int64_t length)
        : file_(file), next_(static_cast<uint32_t>(firstBlock)), length_(length) {}
    int64_t Length() const override { return length_; }
    size_t Read(char* out, size_t count) override;
    bool Failed() const override { return failed_; }

private:
    SourceFile& file_;
    uint32_t next_;
    int64_t length_;
    int64_t delivered_ = 0;
    int64_t dataAt_ = 0;     // next unread text byte of the current block
    uint32_t leftInBlock_ = 0;
    bool failed_ = false;
};

// Up to `most` bytes from the start of a checked chain (for its header fields).
std::string ChainStart(SourceFile& file, int64_t firstBlock, int64_t length, size_t most);

}  // namespace corvane::exporting::dbx

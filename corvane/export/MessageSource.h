// What the message readers give their caller: one message at a time, its
// facts and its stored text as a stream, and every damaged part with the
// file offset where it lies. Readers of both store versions share these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace corvane::exporting {

struct MessageFacts {
    int64_t offset = 0;      // its record: the information record (.dbx), the message record (.mbx),
                             // or for a recovered message its first text block
    int64_t textOffset = 0;  // the first text block (.dbx) or the first text byte (.mbx)
    bool recovered = false;  // found by the recovery scan, not through the file's index
    std::optional<int64_t> date;  // seconds since 1970-01-01 UTC
    std::string subject;          // UTF-8
    std::string senderName;       // UTF-8
    std::string senderAddress;
};

enum class DamageKind {
    Message,  // one message could not be read
    Index,    // a part of the file's index could not be read; messages below it may be missing
};

struct Damage {
    DamageKind kind = DamageKind::Message;
    int64_t offset = 0;  // the message's record or first block, or the index part
    std::string what;    // why, in words, e.g. "the chain of text blocks loops back to 0x0001A2C0"
    bool recovered = false;
};

// The stored text of one message, read front to back.
class MessageText {
public:
    virtual ~MessageText() = default;
    virtual int64_t Length() const = 0;
    // Up to `count` next bytes into `out`; 0 at the end. A read that fails
    // ends the text early and Failed() then says so.
    virtual size_t Read(char* out, size_t count) = 0;
    virtual bool Failed() const = 0;
};

class MessageVisitor {
public:
    virtual ~MessageVisitor() = default;
    // A readable message; its text may be read before returning, not after.
    // False stops the reading.
    virtual bool OnMessage(const MessageFacts& facts, MessageText& text) = 0;
    // False stops the reading.
    virtual bool OnDamage(const Damage& damage) = 0;
    // How far the reading has come, 0 to 1. False stops the reading (this is
    // also asked during long scans that find no message for a while).
    virtual bool OnProgress(double /*share*/) { return true; }
};

struct ReadOptions {
    // Also look for messages the index no longer reaches (.dbx); they come
    // after the listed ones, with MessageFacts::recovered set.
    bool recover = false;
};

struct ReadOutcome {
    bool isMessageFile = false;  // false: not a message store of either version; nothing was read
    bool stopped = false;        // the visitor stopped the reading
    int64_t headerCount = 0;     // messages the file header counts
    int64_t listed = 0;          // readable messages reached through the index or the record walk
    int64_t recovered = 0;
    int64_t damagedMessages = 0;
    int64_t damagedIndexParts = 0;
};

}  // namespace corvane::exporting

// The few header fields the exporter names files after, read from the start
// of a message's RFC 822 text: the subject, the sender and the date. Used
// where no information record gives them (version-4 files, recovered
// messages). Encoded words (RFC 2047) are decoded; the result is UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::exporting {

// How much of a message's start the header fields are looked for in.
inline constexpr size_t kHeaderScanBytes = 64 * 1024;

struct HeaderFacts {
    std::string subject;
    std::string senderName;
    std::string senderAddress;
    std::optional<int64_t> date;  // seconds since 1970 UTC, from the Date field
};

// Reads the header section at the start of `text` up to its first empty line
// (or the end of what is given); folded lines are unfolded.
HeaderFacts ReadHeaderFacts(std::string_view text);

// A header value with its encoded words ("=?utf-8?Q?...?=") decoded and raw
// 8-bit bytes read as ANSI; UTF-8 out.
std::string DecodeHeaderValue(std::string_view value);

// A From value ("Name" <address>, address (Name), or a bare address) split
// into its display name (decoded) and address.
void SplitMailbox(std::string_view value, std::string& name, std::string& address);

}  // namespace corvane::exporting

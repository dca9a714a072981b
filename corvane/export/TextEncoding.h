// Character sets of stored message facts. Outlook Express keeps the facts of
// its information records in the system's ANSI code page; the exporter turns
// them into UTF-8, reading them as Windows-1252 (the Western code page) unless
// they already are valid UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane::exporting {

bool IsValidUtf8(std::string_view text);

// Windows-1252 bytes as UTF-8.
std::string Cp1252ToUtf8(std::string_view text);

// Stored ANSI text as UTF-8: valid UTF-8 (plain ASCII too) is kept as it is,
// anything else is read as Windows-1252.
std::string AnsiToUtf8(std::string_view text);

// ISO-8859-1 bytes as UTF-8 (every byte is its own code point).
std::string Latin1ToUtf8(std::string_view text);

void AppendUtf8(std::string& out, uint32_t codePoint);

// The longest prefix of `text` of at most `maxBytes` bytes that does not cut
// a UTF-8 sequence.
std::string_view Utf8Prefix(std::string_view text, size_t maxBytes);

}  // namespace corvane::exporting

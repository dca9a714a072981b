// Case folding and the numeric value of text, as every part of the programs
// reads them: only A-Z and a-z fold (the store's names are ANSI), and a
// number is read as Basic's Val reads it. Platform-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

char LowerAscii(char c);
char UpperAscii(char c);
std::string LowerCased(std::string_view text);
std::string UpperCased(std::string_view text);
// Byte order with letters folded to lower case: <0, 0, >0.
int CompareNoCase(std::string_view a, std::string_view b);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool EndsWithNoCase(std::string_view text, std::string_view tail);

// Blanks (spaces, tabs) skipped, an optional sign, then the leading decimal
// digits; 0 when there are none ("12abc" is 12, "abc" 0). Saturates at the
// type's limits instead of overflowing.
int64_t LeadingNumber(std::string_view text);
int LeadingInt(std::string_view text);
// True when the text, after blanks, starts with an optional sign and a digit.
bool StartsWithNumber(std::string_view text);
// A text that is one whole decimal number with optional blanks around it and
// nothing else ("12", " -3 "); nullopt for anything else or past int64.
std::optional<int64_t> WholeNumber(std::string_view text);

}  // namespace corvane

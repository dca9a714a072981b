// Small text helpers of the catalog: the hex-byte text of folder numbers, the
// four-digit key form and number formatting with a grouping character.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane::catalog {

// The hex-byte text of a folder number: two blanks for 0, "05" for 5,
// "34 12" for 0x1234 and for every negative number its low 16 bits low byte
// first ("FE FF" for -2), "00 00 01 00" for 0x10000.
std::string ShowHex(int32_t value);

// A text of decimal digits only becomes a number of at least four digits
// ("05" -> "0005"); any other text is returned unchanged ("0A", "  ").
std::string FourDigitKey(std::string_view text);

// "###,###,##0": decimal digits grouped by threes with `grouping`
// (no grouping when it is '\0'); negative numbers keep their sign.
std::string FormatGrouped(int64_t value, char grouping);

}  // namespace corvane::catalog

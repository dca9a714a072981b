// Small text helpers of the catalog: case-blind comparison (A-Z only, as the
// store's names are ANSI), the hex-byte text of folder numbers, the
// four-digit key form, number formatting with a grouping character and the
// delimited lists of the remembered selection.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane::catalog {

char FoldCase(char c);
int CompareNoCase(std::string_view a, std::string_view b);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool EndsWithNoCase(std::string_view text, std::string_view tail);
std::string ToLower(std::string_view text);

// Like Val: optional blanks, an optional sign and the leading decimal digits;
// 0 when there are none. Saturates instead of overflowing.
int64_t LeadingNumber(std::string_view text);

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

// Delimited lists (fields numbered from 1, no quoting), enough for the
// remembered selection; the full library lives in skein.
inline constexpr char kListDelimiter = '\x02';
// Field `field` of `text`, empty when there is no such field.
std::string_view GetField(std::string_view text, char delimiter, int field);
// Number of the first field equal to `search` ignoring case, 0 when none.
int FindFieldNoCase(std::string_view text, char delimiter, std::string_view search);

}  // namespace corvane::catalog

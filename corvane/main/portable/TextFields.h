// Small text helpers on delimited fields and numbers, as the start-up code
// needs them: fields are numbered from 1, there is no quoting. Platform-free.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Every field of `text` separated by `delimiter` ("" is one empty field).
std::vector<std::string> SplitFields(std::string_view text, char delimiter);
std::string JoinFields(const std::vector<std::string>& fields, char delimiter);

// The leading number of a text, as a lenient reader takes it: blanks skipped,
// an optional sign, then digits; 0 when there is none. Clamped to the int range.
int NumericValue(std::string_view text);
// True when the text, after blanks, starts with an optional sign and a digit.
bool StartsWithNumber(std::string_view text);

std::string ToUpperAscii(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// Lists of identity ids and names: each entry followed by a NUL, and one more
// NUL at the end ("A", NUL, "B", NUL, NUL). The count is the number of NULs
// minus one, 0 for an empty text.
int NulListCount(const std::string& list);
// Entry n (from 1) of a NUL-separated text; "" when there is none.
std::string NulListEntry(const std::string& list, int n);
// The number of the first entry equal to `value` (exact), 0 when absent.
int NulListFind(const std::string& list, const std::string& value);
// Puts `value` as entry n of a NUL-separated text, adding empty entries as needed.
void NulListPut(std::string& list, int n, const std::string& value);

}  // namespace corvane

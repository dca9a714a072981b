// The programs' small lists, kept in delimited strings and handled through
// skein's field functions: fields numbered from 1, no quoting. The lists use
// character 2 (primary) or character 1 (secondary); identity lists use NUL.
// Platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

char PrimaryDelimiter();    // character 2
char SecondaryDelimiter();  // character 1

// 0 for an empty list, else the number of fields.
int32_t ListCount(std::string_view list, char delim);
// Field n (from 1); "" when absent.
std::string ListGet(std::string_view list, char delim, int32_t n);
// The list with field n set to value; n = -1 appends (n = count + 1). A
// library that cannot be used leaves the list as it was.
std::string ListPut(std::string_view list, char delim, int32_t n, std::string_view value);
// The number of the first field of a secondary-delimited list equal to value
// (exact bytes); 0 when absent.
int32_t ListFind(std::string_view list, std::string_view value);
// The number of the first field equal to value with letters' case ignored; 0 when absent.
int32_t ListFindNoCase(std::string_view list, char delim, std::string_view value);
// Every field of a text ("" is one empty field), in time linear in its length.
std::vector<std::string> ListFields(std::string_view text, char delim);

// Identity lists: each entry followed by a NUL, then one more NUL ("A", NUL,
// "B", NUL, NUL). The count is the number of NULs minus one, 0 for "".
int NulListCount(std::string_view list);
// Entry n (from 1); "" when there is none.
std::string NulListEntry(std::string_view list, int n);
// The number of the first entry equal to value (exact), 0 when absent.
int NulListFind(std::string_view list, std::string_view value);
// Puts value as entry n, adding empty entries as needed.
void NulListPut(std::string& list, int n, std::string_view value);

}  // namespace corvane

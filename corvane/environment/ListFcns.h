// The program's small lists: fields separated by the primary delimiter
// (character 2) or the secondary delimiter (character 1), handled through
// skein.dll. These helpers give plain values; a library that cannot be used
// reads as an empty list (0 or ""). Start-up calls SkeinAvailable to stop
// with a message instead.
#pragma once

#include "corvane/environment/VXStrings.h"

#include <cstdint>
#include <string>

namespace corvane {

char PrimaryDelimiter();    // character 2
char SecondaryDelimiter();  // character 1

// 0 for an empty list, else the number of fields.
int32_t ListCount(const std::string& list, char delim);
// Field n (from 1); "" when absent.
std::string ListGet(const std::string& list, char delim, int32_t n);
// The list with field n set to value; n = -1 appends (n = count + 1).
std::string ListPut(const std::string& list, char delim, int32_t n, const std::string& value);
// The number of the first field of a secondary-delimited list equal to value
// (exact bytes); 0 when absent.
int32_t ListFind(const std::string& list, const std::string& value);

// True when skein.dll loads and has every export; otherwise false and the reason in *why.
bool SkeinAvailable(SkeinStatus* why = nullptr);

}  // namespace corvane

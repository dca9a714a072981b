// Delimited fields over counted byte strings: fields numbered from 1,
// separated by a delimiter of one or more bytes, no quoting. Occurrences of
// the delimiter are found left to right and never overlap. Any byte value,
// NUL included, is an ordinary byte; all lengths are 32-bit or wider.
#pragma once

#include "skein/ResultSink.h"

#include <cstddef>
#include <cstdint>

namespace skein {

inline constexpr size_t kNotFound = static_cast<size_t>(-1);

// The shared search step: the offset of occurrence `count` (from 1) of
// `pattern` in `range`, resuming behind each match; kNotFound when there is
// none. Ignoring case folds only A-Z and a-z.
size_t FindOccurrence(Bytes range, Bytes pattern, uint64_t count, bool ignoreCase);

// Options of FindField: the low two bits choose the mode, bit 4 ignores case.
enum MatchMode : int32_t {
    kModeOrder = 0,   // sorted insertion point: +k on an equal field, -k to insert as field k
    kModeEqual = 1,   // the field equals the search text
    kModePrefix = 2,  // the text from the field's start begins with it (runs across delimiters)
    kModeContains = 3,
};
inline constexpr int32_t kIgnoreCase = 4;

void GetField(Bytes text, Bytes delim, int32_t field, ResultSink& sink);
void PutField(Bytes text, Bytes delim, int32_t field, Bytes value, ResultSink& sink);
// A negative field asks for a sorted insertion point (-1 exact order, other
// negatives ignoring case); the chosen number, negated when the value is
// already present (then nothing is inserted), is written back into `field`.
void InsertField(Bytes text, Bytes delim, int32_t& field, Bytes value, ResultSink& sink);
void RemoveField(Bytes text, Bytes delim, int32_t field, ResultSink& sink);
int32_t FindField(Bytes text, Bytes delim, int32_t startField, Bytes search, int32_t options);
int32_t TellField(Bytes text, Bytes delim, int32_t position);
int32_t CountFields(Bytes text, Bytes delim);
int32_t CountDlms(Bytes text, Bytes delim);
void ReplaceDlms(Bytes text, Bytes delim, Bytes newDelim, ResultSink& sink);
int32_t FindDlm(Bytes text, Bytes delim, int32_t occurrence);

}  // namespace skein

// String utilities over counted byte strings: trim, recase, reverse, justify,
// filter and translate. Widths are taken as their absolute value; the fill
// is the first byte of the fill string, or a blank when it is empty.
#pragma once

#include "skein/ResultSink.h"

#include <cstdint>

namespace skein {

void Trim(Bytes text, ResultSink& sink);
void Proper(Bytes text, ResultSink& sink);
void Reverse(Bytes text, ResultSink& sink);
void LJustify(Bytes text, int32_t width, Bytes fill, ResultSink& sink);
void RJustify(Bytes text, int32_t width, Bytes fill, ResultSink& sink);
void CJustify(Bytes text, int32_t width, Bytes fill, ResultSink& sink);
void StripOut(Bytes text, Bytes set, ResultSink& sink);
void LeaveOnly(Bytes text, Bytes set, ResultSink& sink);
// Empty when from and to differ in length.
void Translate(Bytes text, Bytes from, Bytes to, ResultSink& sink);

}  // namespace skein

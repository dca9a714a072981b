// The tick pictures of the catalog tree, drawn in code: 0 an empty box,
// 1 a ticked box, 2 a greyed box (not selectable), 3 to 5 blank, 6 the
// store root. Indices match the marks, so picture = mark.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace corvane::catalog {

inline constexpr int kImageSize = 16;
inline constexpr int kImageCount = 7;

// A new image list (the caller destroys it), null on failure.
HIMAGELIST CreateTickImages();

}  // namespace corvane::catalog

// Finding messages a .dbx file's index no longer reaches: a damaged tree, or
// deleted messages whose text blocks remain. The file is scanned for text
// blocks (objects sit on 4-byte boundaries and carry their own offset); a
// block starts a message when its text begins like a header line and no
// other block names it as its next. Memory grows with the candidates found,
// not with the file.
#pragma once

#include "corvane/export/SourceFile.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace corvane::exporting::dbx {

// The first blocks of unreached chains, in file order, leaving out the
// offsets in `listedStarts` (sorted: chains the index already gave).
// `keepGoing` gets the share of the scan done, 0 to 1, and stops it by
// answering false; nothing is returned then.
std::optional<std::vector<int64_t>> FindUnlistedChains(SourceFile& file, const std::vector<int64_t>& listedStarts,
                                                       const std::function<bool(double)>& keepGoing);

// True when `text` starts with a header field name and its colon ("Received:").
bool LooksLikeHeaderStart(const char* text, size_t length);

}  // namespace corvane::exporting::dbx

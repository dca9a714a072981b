#include "corvane/export/DbxRecovery.h"

#include "corvane/export/DbxFormat.h"

#include <algorithm>
#include <string>

namespace corvane::exporting::dbx {

namespace {

constexpr int64_t kScanWindow = 1 << 20;
constexpr size_t kLongestFieldName = 76;

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

// Calls `visit` for every block the file holds, in file order, reading it in
// windows so the scan needs no more memory than one window. False when
// `keepGoing` stopped it.
template <typename Visit>
bool ForEachBlock(SourceFile& file, const std::function<bool(double)>& keepGoing, double from, double to,
                  Visit visit) {
    std::vector<uint8_t> window;
    const int64_t size = file.Size();
    for (int64_t start = kHeaderSize; start + kBlockHeaderSize <= size; start += kScanWindow) {
        int64_t length = std::min<int64_t>(kScanWindow, size - start);
        window.resize(static_cast<size_t>(length));
        if (!file.ReadAt(start, window.data(), window.size())) return true;
        for (int64_t at = (4 - start % 4) % 4; at + 4 <= length; at += 4) {
            // The marker test first: almost no word of a file equals its own offset.
            if (Le32(window.data() + at) != static_cast<uint64_t>(start + at)) continue;
            if (std::optional<TextBlock> block = ReadTextBlock(file, start + at)) visit(*block);
        }
        if (!keepGoing(from + (to - from) * static_cast<double>(start + length) / static_cast<double>(size))) {
            return false;
        }
    }
    return true;
}

bool Contains(const std::vector<int64_t>& sorted, int64_t value) {
    return std::binary_search(sorted.begin(), sorted.end(), value);
}

}  // namespace

bool LooksLikeHeaderStart(const char* text, size_t length) {
    size_t at = 0;
    while (at < length && at <= kLongestFieldName) {
        auto c = static_cast<unsigned char>(text[at]);
        if (c == ':') return at >= 2;
        if (c <= 0x20 || c >= 0x7F) return false;
        ++at;
    }
    return false;
}

std::optional<std::vector<int64_t>> FindUnlistedChains(SourceFile& file, const std::vector<int64_t>& listedStarts,
                                                       const std::function<bool(double)>& keepGoing) {
    // First scan: blocks whose text starts like a message.
    std::vector<int64_t> candidates;
    char start[kLongestFieldName + 2];
    bool going = ForEachBlock(file, keepGoing, 0.0, 0.5, [&](const TextBlock& block) {
        size_t length = std::min<size_t>(block.textLength, sizeof start);
        if (!file.ReadAt(block.offset + kBlockHeaderSize, start, length)) return;
        if (LooksLikeHeaderStart(start, length) && !Contains(listedStarts, block.offset)) {
            candidates.push_back(block.offset);
        }
    });
    if (!going) return std::nullopt;
    // Second scan: a candidate that another block continues into is the middle
    // of a message, not its start.
    std::vector<bool> continued(candidates.size(), false);
    going = ForEachBlock(file, keepGoing, 0.5, 1.0, [&](const TextBlock& block) {
        auto it = std::lower_bound(candidates.begin(), candidates.end(), static_cast<int64_t>(block.next));
        if (block.next != 0 && it != candidates.end() && *it == block.next) continued[it - candidates.begin()] = true;
    });
    if (!going) return std::nullopt;
    std::vector<int64_t> starts;
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (!continued[i]) starts.push_back(candidates[i]);
    }
    return starts;
}

}  // namespace corvane::exporting::dbx

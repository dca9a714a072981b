#include "corvane/export/DbxFormat.h"

#include <cstdio>
#include <cstring>

namespace corvane::exporting::dbx {

bool HasSignature(SourceFile& file) {
    uint8_t start[sizeof kSignature];
    return file.ReadAt(0, start, sizeof start) && std::memcmp(start, kSignature, sizeof start) == 0;
}

std::optional<TextBlock> ReadTextBlock(SourceFile& file, int64_t offset, std::string* why) {
    auto fail = [&](const std::string& text) -> std::optional<TextBlock> {
        if (why) *why = text;
        return std::nullopt;
    };
    if (offset < kHeaderSize) return fail("a text block pointer " + Hex(offset) + " points into the file header");
    uint8_t raw[kBlockHeaderSize];
    if (!file.ReadAt(offset, raw, sizeof raw)) return fail("a text block pointer " + Hex(offset) + " points past the end of the file");
    auto u32 = [&](int at) {
        return static_cast<uint32_t>(raw[at]) | (static_cast<uint32_t>(raw[at + 1]) << 8) |
               (static_cast<uint32_t>(raw[at + 2]) << 16) | (static_cast<uint32_t>(raw[at + 3]) << 24);
    };
    TextBlock block{offset, u32(4), u32(8), u32(12)};
    if (u32(0) != static_cast<uint64_t>(offset)) return fail("no text block at " + Hex(offset) + " (its marker is wrong)");
    if (block.textLength > block.bodyLength) return fail("the text block at " + Hex(offset) + " claims more text than it holds");
    if (!file.Covers(offset + kBlockHeaderSize, block.textLength)) {
        return fail("the text block at " + Hex(offset) + " runs past the end of the file");
    }
    return block;
}

std::string Hex(int64_t offset) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%08llX", static_cast<unsigned long long>(offset));
    return text;
}

}  // namespace corvane::exporting::dbx

#include "corvane/catalog/ByteView.h"

#include <algorithm>

namespace corvane::catalog {

uint8_t ByteView::U8(int64_t offset) const { return Contains(offset) ? bytes_[offset] : 0; }

int16_t ByteView::I16(int64_t offset) const {
    return static_cast<int16_t>(static_cast<uint16_t>(U8(offset) | (U8(offset + 1) << 8)));
}

int32_t ByteView::I32(int64_t offset) const {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | U8(offset + i);
    return static_cast<int32_t>(value);
}

std::string ByteView::Text(int64_t offset, size_t count) const {
    std::string text(count, '\0');
    if (offset >= Size() || offset + static_cast<int64_t>(count) <= 0) return text;
    int64_t first = std::max<int64_t>(offset, 0);
    int64_t last = std::min<int64_t>(offset + static_cast<int64_t>(count), Size());
    std::copy(bytes_.begin() + first, bytes_.begin() + last, text.begin() + (first - offset));
    return text;
}

}  // namespace corvane::catalog

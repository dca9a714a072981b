// A bounds-checked little-endian view of a file's bytes, for the readers of
// the store indexes: every read outside the bytes gives zeros, so a claimed
// offset or length can never reach past what was read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::catalog {

class ByteView {
public:
    explicit ByteView(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    bool Contains(int64_t offset) const { return offset >= 0 && offset < Size(); }
    int64_t Size() const { return static_cast<int64_t>(bytes_.size()); }
    uint8_t U8(int64_t offset) const;  // 0 outside
    int16_t I16(int64_t offset) const;
    int32_t I32(int64_t offset) const;
    // `count` bytes from `offset`, zeros for the part past the end.
    std::string Text(int64_t offset, size_t count) const;

private:
    const std::vector<uint8_t>& bytes_;
};

}  // namespace corvane::catalog

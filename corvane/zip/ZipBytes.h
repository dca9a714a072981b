// Little-endian field writing and bounds-checked reading for zip records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::zip {

class ByteWriter {
public:
    void U16(uint32_t v) { Put(v, 2); }
    void U32(uint32_t v) { Put(v, 4); }
    void U64(uint64_t v) { Put(v, 8); }
    void Bytes(std::string_view s) { out_.insert(out_.end(), s.begin(), s.end()); }
    void Bytes(const std::vector<unsigned char>& b) { out_.insert(out_.end(), b.begin(), b.end()); }
    size_t Size() const { return out_.size(); }
    const std::vector<unsigned char>& Data() const { return out_; }
    std::vector<unsigned char>& Data() { return out_; }

private:
    void Put(uint64_t v, int n) {
        for (int i = 0; i < n; ++i) out_.push_back(static_cast<unsigned char>(v >> (8 * i)));
    }
    std::vector<unsigned char> out_;
};

// Reads fields from a byte range; any read past the end sets `failed` and yields 0.
class ByteReader {
public:
    ByteReader(const unsigned char* data, size_t size) : data_(data), size_(size) {}
    uint16_t U16() { return static_cast<uint16_t>(Get(2)); }
    uint32_t U32() { return static_cast<uint32_t>(Get(4)); }
    uint64_t U64() { return Get(8); }
    std::string Text(size_t n) {
        if (!Has(n)) return {};
        std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
        pos_ += n;
        return s;
    }
    ByteReader Sub(size_t n) {
        if (!Has(n)) return ByteReader(nullptr, 0);
        ByteReader r(data_ + pos_, n);
        pos_ += n;
        return r;
    }
    void Skip(size_t n) {
        if (Has(n)) pos_ += n;
    }
    size_t Remaining() const { return size_ - pos_; }
    size_t Position() const { return pos_; }
    bool failed = false;

private:
    bool Has(size_t n) {
        if (n <= size_ - pos_) return true;
        failed = true;
        pos_ = size_;
        return false;
    }
    uint64_t Get(int n) {
        if (!Has(static_cast<size_t>(n))) return 0;
        uint64_t v = 0;
        for (int i = 0; i < n; ++i) v |= static_cast<uint64_t>(data_[pos_ + i]) << (8 * i);
        pos_ += static_cast<size_t>(n);
        return v;
    }
    const unsigned char* data_;
    size_t size_;
    size_t pos_ = 0;
};

inline uint32_t LoadU32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace corvane::zip

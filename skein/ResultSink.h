// Results are built in one pass: the exact length is worked out from located
// offsets, one block of that length is asked of the sink, and the parts are
// copied into it in order. The library's exports use a sink that makes one
// counted byte string; native code and tests use StringSink.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>

namespace skein {

using Bytes = std::string_view;

// Results longer than this are refused (the empty result), so a huge field
// number or width cannot ask for gigabytes.
inline constexpr uint64_t kMaxResultLength = 0x7FFFFFF0u;

class ResultSink {
public:
    virtual ~ResultSink() = default;
    // A writable block of exactly `length` (> 0) bytes, or null when memory runs out.
    virtual char* Allocate(uint32_t length) = 0;
};

class StringSink : public ResultSink {
public:
    char* Allocate(uint32_t length) override {
        result.assign(length, '\0');
        return result.data();
    }
    std::string result;
};

// One part of a result: `bytes` written `repeat` times.
struct Part {
    Part(Bytes b, uint64_t r = 1) : bytes(b), repeat(r) {}
    Bytes bytes;
    uint64_t repeat;
};

// Allocates the sum of the parts once and fills it. An empty or oversized
// total gives the empty result (nothing allocated). False only when the
// sink had no memory or the total was too long.
inline bool EmitParts(ResultSink& sink, std::initializer_list<Part> parts) {
    uint64_t total = 0;
    for (const Part& part : parts) {
        if (part.repeat != 0 && part.bytes.size() > (kMaxResultLength - total) / part.repeat) return false;
        total += part.bytes.size() * part.repeat;
    }
    if (total == 0) return true;
    char* out = sink.Allocate(static_cast<uint32_t>(total));
    if (out == nullptr) return false;
    for (const Part& part : parts) {
        for (uint64_t i = 0; i < part.repeat && !part.bytes.empty(); ++i) {
            std::memcpy(out, part.bytes.data(), part.bytes.size());
            out += part.bytes.size();
        }
    }
    return true;
}

}  // namespace skein

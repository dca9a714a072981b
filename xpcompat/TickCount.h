// A 64-bit tick count built from the 32-bit one, for systems before Vista.
#pragma once

#include <cstdint>

namespace corvane::xpcompat {

// The 64-bit count that follows `last` when the 32-bit counter reads `now`:
// a reading below the last one means the counter wrapped (every 49.7 days).
// Readings must come in order and at least once per wrap.
constexpr uint64_t ExtendTickCount(uint64_t last, uint32_t now) {
    uint64_t high = last & ~uint64_t{0xFFFFFFFF};
    if (now < static_cast<uint32_t>(last)) high += uint64_t{1} << 32;
    return high | now;
}

}  // namespace corvane::xpcompat

#ifdef _WIN32
namespace corvane::xpcompat {
// GetTickCount extended past its wrap, whatever the system offers (tests only:
// programs reach it through the threads library's GetTickCount64 import).
uint64_t FallbackTickCount64();
}  // namespace corvane::xpcompat
#endif

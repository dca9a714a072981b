// The standard text form of a security identifier. Platform-free, so the
// formatting is tested without an account database.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

// "S-1-" + the 48-bit identifier authority in decimal, then "-" + every
// sub-authority as an unsigned decimal (values of 2^31 and more carry no sign).
std::string FormatSidText(uint64_t identifierAuthority, const std::vector<uint32_t>& subAuthorities);

// The authority from its six big-endian bytes, as a SID stores it.
uint64_t IdentifierAuthorityValue(const uint8_t (&bytes)[6]);

}  // namespace corvane

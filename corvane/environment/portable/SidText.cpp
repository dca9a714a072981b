#include "corvane/environment/portable/SidText.h"

namespace corvane {

std::string FormatSidText(uint64_t identifierAuthority, const std::vector<uint32_t>& subAuthorities) {
    std::string text = "S-1-" + std::to_string(identifierAuthority);
    for (uint32_t sub : subAuthorities) text += "-" + std::to_string(sub);
    return text;
}

uint64_t IdentifierAuthorityValue(const uint8_t (&bytes)[6]) {
    uint64_t value = 0;
    for (uint8_t byte : bytes) value = (value << 8) | byte;
    return value;
}

}  // namespace corvane

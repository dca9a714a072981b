#include "corvane/catalog/TextFcns.h"

#include <cstdio>
#include <limits>

namespace corvane::catalog {

static std::string HexByte(uint32_t byte) {
    char out[3];
    std::snprintf(out, sizeof out, "%02X", static_cast<unsigned>(byte & 0xFF));
    return out;
}

std::string ShowHex(int32_t value) {
    uint32_t bits = static_cast<uint32_t>(value);
    if (value == 0) return "  ";
    if (value > 0 && value <= 255) return HexByte(bits);
    if (value < 0 || value <= 65535) return HexByte(bits) + " " + HexByte(bits >> 8);
    return HexByte(bits) + " " + HexByte(bits >> 8) + " " + HexByte(bits >> 16) + " " + HexByte(bits >> 24);
}

std::string FourDigitKey(std::string_view text) {
    if (text.empty()) return std::string(text);
    for (char c : text) {
        if (c < '0' || c > '9') return std::string(text);
    }
    std::string digits(text);
    size_t firstNonZero = digits.find_first_not_of('0');
    digits = firstNonZero == std::string::npos ? "0" : digits.substr(firstNonZero);
    if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
    return digits;
}

std::string FormatGrouped(int64_t value, char grouping) {
    bool negative = value < 0;
    uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::string digits = std::to_string(magnitude);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (grouping != '\0' && i > 0 && (digits.size() - i) % 3 == 0) out += grouping;
        out += digits[i];
    }
    return negative ? "-" + out : out;
}

}  // namespace corvane::catalog

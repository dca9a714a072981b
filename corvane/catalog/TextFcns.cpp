#include "corvane/catalog/TextFcns.h"

#include <cstdio>
#include <limits>

namespace corvane::catalog {

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

int CompareNoCase(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    unsigned char ca = static_cast<unsigned char>(FoldCase(a[i]));
    unsigned char cb = static_cast<unsigned char>(FoldCase(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && EqualsNoCase(text.substr(text.size() - tail.size()), tail);
}

std::string ToLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = FoldCase(c);
  return lower;
}

int64_t LeadingNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t value = 0;
  constexpr int64_t kLimit = std::numeric_limits<int64_t>::max() / 10 - 1;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value > kLimit) break;
    value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

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

std::string_view GetField(std::string_view text, char delimiter, int field) {
  if (field < 1) return {};
  size_t start = 0;
  for (int f = 1; f < field; ++f) {
    size_t next = text.find(delimiter, start);
    if (next == std::string_view::npos) return {};
    start = next + 1;
  }
  size_t end = text.find(delimiter, start);
  return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

int FindFieldNoCase(std::string_view text, char delimiter, std::string_view search) {
  size_t start = 0;
  for (int field = 1;; ++field) {
    size_t end = text.find(delimiter, start);
    std::string_view current = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (EqualsNoCase(current, search)) return field;
    if (end == std::string_view::npos) return 0;
    start = end + 1;
  }
}

}  // namespace corvane::catalog

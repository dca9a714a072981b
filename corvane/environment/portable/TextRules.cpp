#include "corvane/environment/portable/TextRules.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <limits>

namespace corvane {
namespace {

size_t SkipBlanks(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    return i;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string LowerCased(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = LowerAscii(c);
    return lower;
}

std::string UpperCased(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = UpperAscii(c);
    return upper;
}

int CompareNoCase(std::string_view a, std::string_view b) {
    size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        auto ca = static_cast<unsigned char>(LowerAscii(a[i]));
        auto cb = static_cast<unsigned char>(LowerAscii(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool EqualsNoCase(std::string_view a, std::string_view b) { return a.size() == b.size() && CompareNoCase(a, b) == 0; }

bool EndsWithNoCase(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && EqualsNoCase(text.substr(text.size() - tail.size()), tail);
}

int64_t LeadingNumber(std::string_view text) {
    size_t i = SkipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    int64_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        int digit = text[i] - '0';
        if (value > (kMax - digit) / 10) return negative ? -kMax : kMax;
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

int LeadingInt(std::string_view text) {
    return static_cast<int>(std::clamp<int64_t>(LeadingNumber(text), INT_MIN, INT_MAX));
}

bool StartsWithNumber(std::string_view text) {
    size_t i = SkipBlanks(text);
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    return i < text.size() && IsDigit(text[i]);
}

std::optional<int64_t> WholeNumber(std::string_view text) {
    size_t begin = SkipBlanks(text);
    size_t end = text.size();
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    if (begin == end) return std::nullopt;
    if (text[begin] == '+') ++begin;
    int64_t value = 0;
    auto [last, error] = std::from_chars(text.data() + begin, text.data() + end, value);
    if (error != std::errc() || last != text.data() + end) return std::nullopt;
    return value;
}

}  // namespace corvane

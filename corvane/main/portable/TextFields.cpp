#include "corvane/main/portable/TextFields.h"

#include <algorithm>
#include <climits>

namespace corvane {

std::vector<std::string> SplitFields(std::string_view text, char delimiter) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t end = text.find(delimiter, start);
        if (end == std::string_view::npos) {
            fields.emplace_back(text.substr(start));
            return fields;
        }
        fields.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
}

std::string JoinFields(const std::vector<std::string>& fields, char delimiter) {
    std::string text;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) text += delimiter;
        text += fields[i];
    }
    return text;
}

namespace {

size_t SkipBlanks(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    return i;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool StartsWithNumber(std::string_view text) {
    size_t i = SkipBlanks(text);
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    return i < text.size() && IsDigit(text[i]);
}

int NumericValue(std::string_view text) {
    size_t i = SkipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;  // clamped below
    }
    if (negative) value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::string ToUpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && ToUpperAscii(a) == ToUpperAscii(b);
}

int NulListCount(const std::string& list) {
    if (list.empty()) return 0;
    auto nuls = std::count(list.begin(), list.end(), '\0');
    return nuls > 0 ? static_cast<int>(nuls - 1) : 0;
}

std::string NulListEntry(const std::string& list, int n) {
    if (n < 1) return "";
    std::vector<std::string> entries = SplitFields(list, '\0');
    if (static_cast<size_t>(n) > entries.size()) return "";
    return entries[static_cast<size_t>(n) - 1];
}

int NulListFind(const std::string& list, const std::string& value) {
    int count = NulListCount(list);
    std::vector<std::string> entries = SplitFields(list, '\0');
    for (int i = 0; i < count && static_cast<size_t>(i) < entries.size(); ++i)
        if (entries[static_cast<size_t>(i)] == value) return i + 1;
    return 0;
}

void NulListPut(std::string& list, int n, const std::string& value) {
    if (n < 1) return;
    std::vector<std::string> entries = list.empty() ? std::vector<std::string>{}
                                                    : SplitFields(list, '\0');
    if (entries.size() < static_cast<size_t>(n)) entries.resize(static_cast<size_t>(n));
    entries[static_cast<size_t>(n) - 1] = value;
    list = JoinFields(entries, '\0');
}

}  // namespace corvane

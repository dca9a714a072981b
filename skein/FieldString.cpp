#include "skein/FieldString.h"

#include <algorithm>

namespace skein {
namespace {

unsigned char Fold(unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c; }

bool SameByte(char a, char b, bool ignoreCase) {
    if (a == b) return true;
    return ignoreCase && Fold(static_cast<unsigned char>(a)) == Fold(static_cast<unsigned char>(b));
}

bool MatchesAt(Bytes range, size_t at, Bytes pattern, bool ignoreCase) {
    if (range.size() - at < pattern.size()) return false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (!SameByte(range[at + i], pattern[i], ignoreCase)) return false;
    }
    return true;
}

int32_t ClampCount(uint64_t n) { return n > INT32_MAX ? INT32_MAX : static_cast<int32_t>(n); }

// Where a field starts and ends (end = offset of the delimiter behind it, or
// the text's length for the last field).
struct FieldSpan {
    size_t start;
    size_t end;
    bool last;
};

// The span of field `field` (from 1), or false when the text has fewer fields.
bool LocateField(Bytes text, Bytes delim, uint64_t field, FieldSpan& span) {
    size_t start = 0;
    if (field > 1) {
        size_t before = FindOccurrence(text, delim, field - 1, false);
        if (before == kNotFound) return false;
        start = before + delim.size();
    }
    size_t next = FindOccurrence(text.substr(start), delim, 1, false);
    span.start = start;
    span.last = next == kNotFound;
    span.end = span.last ? text.size() : start + next;
    return true;
}

uint64_t CountOccurrences(Bytes text, Bytes delim) {
    if (text.empty() || delim.empty()) return 0;
    uint64_t count = 0;
    size_t at = 0;
    while (text.size() - at >= delim.size()) {
        size_t found = FindOccurrence(text.substr(at), delim, 1, false);
        if (found == kNotFound) break;
        ++count;
        at += found + delim.size();
    }
    return count;
}

// Byte order of two texts, letters folded when asked: <0, 0, >0.
int CompareBytes(Bytes a, Bytes b, bool ignoreCase) {
    size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (ignoreCase) {
            x = Fold(x);
            y = Fold(y);
        }
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool FieldPasses(Bytes text, const FieldSpan& span, Bytes search, int32_t mode, bool ignoreCase) {
    Bytes field = text.substr(span.start, span.end - span.start);
    switch (mode) {
    case kModeEqual:
        return field.size() == search.size() && MatchesAt(field, 0, search, ignoreCase);
    case kModePrefix:
        return MatchesAt(text, span.start, search, ignoreCase);
    default:  // kModeContains
        if (field.empty()) return false;
        return search.empty() || FindOccurrence(field, search, 1, ignoreCase) != kNotFound;
    }
}

// Mode 0: the fields are taken as sorted ascending; +k when field k equals
// the search text, else -k where k is the first field that sorts after it
// (or one past the last field). An empty text holds no field here, so the
// answer is -1: the value becomes the only field.
int32_t FindInsertionPoint(Bytes text, Bytes delim, int32_t startField, Bytes search, bool ignoreCase) {
    if (text.empty()) return -1;
    uint64_t first = startField < 1 ? 1 : static_cast<uint64_t>(startField);
    uint64_t number = 1;
    FieldSpan span{};
    for (LocateField(text, delim, 1, span);; ++number) {
        if (number >= first) {
            int order = CompareBytes(text.substr(span.start, span.end - span.start), search, ignoreCase);
            if (order == 0) return ClampCount(number);
            if (order > 0) return -ClampCount(number);
        }
        if (span.last) break;
        size_t next = FindOccurrence(text.substr(span.end + delim.size()), delim, 1, false);
        span.start = span.end + delim.size();
        span.last = next == kNotFound;
        span.end = span.last ? text.size() : span.start + next;
    }
    return -ClampCount(number + 1);
}

}  // namespace

size_t FindOccurrence(Bytes range, Bytes pattern, uint64_t count, bool ignoreCase) {
    if (pattern.empty() || count == 0) return kNotFound;
    size_t at = 0;
    while (range.size() - at >= pattern.size()) {
        if (!MatchesAt(range, at, pattern, ignoreCase)) {
            ++at;
            continue;
        }
        if (count == 1) return at;
        --count;
        at += pattern.size();
    }
    return kNotFound;
}

void GetField(Bytes text, Bytes delim, int32_t field, ResultSink& sink) {
    if (text.empty() || delim.empty() || field < 1) return;
    FieldSpan span{};
    if (!LocateField(text, delim, static_cast<uint64_t>(field), span)) return;
    EmitParts(sink, {Part(text.substr(span.start, span.end - span.start))});
}

void PutField(Bytes text, Bytes delim, int32_t field, Bytes value, ResultSink& sink) {
    if (delim.empty() || field < 1) return;
    FieldSpan span{};
    if (LocateField(text, delim, static_cast<uint64_t>(field), span)) {
        EmitParts(sink, {Part(text.substr(0, span.start)), Part(value), Part(text.substr(span.end))});
        return;
    }
    uint64_t fields = CountOccurrences(text, delim) + 1;
    EmitParts(sink, {Part(text), Part(delim, static_cast<uint64_t>(field) - fields), Part(value)});
}

void InsertField(Bytes text, Bytes delim, int32_t& field, Bytes value, ResultSink& sink) {
    if (delim.empty() || field == 0) return;
    if (field < 0) {
        int32_t options = kModeOrder | (field == -1 ? 0 : kIgnoreCase);
        int32_t answer = FindField(text, delim, 1, value, options);
        field = -answer;
        if (answer >= 0) return;  // already present (or no answer): nothing to insert
    }
    if (field == 1) {
        if (text.empty()) {
            EmitParts(sink, {Part(value)});
            return;
        }
        EmitParts(sink, {Part(value), Part(delim), Part(text)});
        return;
    }
    size_t before = FindOccurrence(text, delim, static_cast<uint64_t>(field) - 1, false);
    if (before != kNotFound) {
        EmitParts(sink, {Part(text.substr(0, before)), Part(delim), Part(value), Part(text.substr(before))});
        return;
    }
    uint64_t fields = CountOccurrences(text, delim) + 1;
    EmitParts(sink, {Part(text), Part(delim, static_cast<uint64_t>(field) - fields), Part(value)});
}

void RemoveField(Bytes text, Bytes delim, int32_t field, ResultSink& sink) {
    if (text.empty() || delim.empty() || field < 1) return;
    FieldSpan span{};
    if (!LocateField(text, delim, static_cast<uint64_t>(field), span)) {
        EmitParts(sink, {Part(text)});
        return;
    }
    Bytes front = field == 1 ? Bytes() : text.substr(0, span.start - delim.size());
    Bytes back = span.last ? Bytes() : text.substr(span.end + delim.size());
    Bytes joint = (!front.empty() && !back.empty()) ? delim : Bytes();
    EmitParts(sink, {Part(front), Part(joint), Part(back)});
}

int32_t FindField(Bytes text, Bytes delim, int32_t startField, Bytes search, int32_t options) {
    if (delim.empty()) return 0;
    int32_t mode = options & 3;
    bool ignoreCase = (options & kIgnoreCase) != 0;
    if (mode == kModeOrder) return FindInsertionPoint(text, delim, startField, search, ignoreCase);
    uint64_t first = startField < 1 ? 1 : static_cast<uint64_t>(startField);
    FieldSpan span{};
    if (!LocateField(text, delim, first, span)) return 0;
    for (uint64_t number = first;; ++number) {
        if (FieldPasses(text, span, search, mode, ignoreCase)) return ClampCount(number);
        if (span.last) return 0;
        span.start = span.end + delim.size();
        size_t next = FindOccurrence(text.substr(span.start), delim, 1, false);
        span.last = next == kNotFound;
        span.end = span.last ? text.size() : span.start + next;
    }
}

int32_t TellField(Bytes text, Bytes delim, int32_t position) {
    if (delim.empty() || position < 1) return 0;
    size_t at = static_cast<size_t>(position) - 1;
    if (at >= text.size()) return 0;
    size_t start = 0;
    for (uint64_t number = 1;; ++number) {
        size_t next = FindOccurrence(text.substr(start), delim, 1, false);
        if (next == kNotFound) return ClampCount(number);  // at < size: inside the last field
        size_t end = start + next;
        if (at < end) return ClampCount(number);
        if (at < end + delim.size()) return -ClampCount(number);
        start = end + delim.size();
    }
}

int32_t CountFields(Bytes text, Bytes delim) { return ClampCount(CountOccurrences(text, delim) + 1); }

int32_t CountDlms(Bytes text, Bytes delim) { return ClampCount(CountOccurrences(text, delim)); }

void ReplaceDlms(Bytes text, Bytes delim, Bytes newDelim, ResultSink& sink) {
    uint64_t count = CountOccurrences(text, delim);
    if (count == 0) {
        EmitParts(sink, {Part(text)});
        return;
    }
    uint64_t total = text.size() - count * delim.size() + count * newDelim.size();
    if (total == 0) return;
    if (total > kMaxResultLength) return;
    char* out = sink.Allocate(static_cast<uint32_t>(total));
    if (out == nullptr) return;
    size_t at = 0;
    for (uint64_t i = 0; i < count; ++i) {
        size_t found = at + FindOccurrence(text.substr(at), delim, 1, false);
        std::memcpy(out, text.data() + at, found - at);
        out += found - at;
        if (!newDelim.empty()) std::memcpy(out, newDelim.data(), newDelim.size());
        out += newDelim.size();
        at = found + delim.size();
    }
    if (at < text.size()) std::memcpy(out, text.data() + at, text.size() - at);
}

int32_t FindDlm(Bytes text, Bytes delim, int32_t occurrence) {
    if (text.empty() || delim.empty() || occurrence < 1) return 0;
    size_t found = FindOccurrence(text, delim, static_cast<uint64_t>(occurrence), false);
    if (found == kNotFound) return 0;
    return ClampCount(static_cast<uint64_t>(found) + 1);
}

}  // namespace skein

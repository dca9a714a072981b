#include "skein/StringUtils.h"

#include <array>

namespace skein {
namespace {

uint64_t AbsoluteWidth(int32_t width) {
    int64_t w = width;
    return static_cast<uint64_t>(w < 0 ? -w : w);
}

char FillByte(Bytes fill) { return fill.empty() ? ' ' : fill[0]; }

std::array<bool, 256> ByteSet(Bytes set) {
    std::array<bool, 256> members{};
    for (char c : set) members[static_cast<unsigned char>(c)] = true;
    return members;
}

// Keeps the bytes whose membership equals `keep`: counts them first, then copies.
void Filter(Bytes text, Bytes set, bool keep, ResultSink& sink) {
    if (text.size() > kMaxResultLength) return;
    std::array<bool, 256> members = ByteSet(set);
    uint64_t kept = 0;
    for (char c : text) kept += members[static_cast<unsigned char>(c)] == keep;
    if (kept == 0) return;
    char* out = sink.Allocate(static_cast<uint32_t>(kept));
    if (out == nullptr) return;
    for (char c : text) {
        if (members[static_cast<unsigned char>(c)] == keep) *out++ = c;
    }
}

bool IsWordBreak(unsigned char c) {
    return c == 9 || c == 10 || c == 13 || c == ' ' || c == ',' || c == '.' || c == '/' || c == ';';
}

}  // namespace

void Trim(Bytes text, ResultSink& sink) {
    if (text.size() > kMaxResultLength) return;
    size_t first = text.find_first_not_of(' ');
    if (first == Bytes::npos) return;
    size_t last = text.find_last_not_of(' ');
    Bytes core = text.substr(first, last - first + 1);
    uint64_t length = 0;
    for (size_t i = 0; i < core.size(); ++i) length += !(core[i] == ' ' && core[i - 1] == ' ');
    char* out = sink.Allocate(static_cast<uint32_t>(length));
    if (out == nullptr) return;
    for (size_t i = 0; i < core.size(); ++i) {
        if (!(core[i] == ' ' && core[i - 1] == ' ')) *out++ = core[i];
    }
}

void Proper(Bytes text, ResultSink& sink) {
    if (text.empty() || text.size() > kMaxResultLength) return;
    char* out = sink.Allocate(static_cast<uint32_t>(text.size()));
    if (out == nullptr) return;
    bool wordStart = true;
    for (char c : text) {
        unsigned char b = static_cast<unsigned char>(c);
        if (b >= 'a' && b <= 'z') {
            if (wordStart) b = static_cast<unsigned char>(b - 32);
            wordStart = false;
        } else if (b >= 'A' && b <= 'Z') {
            if (!wordStart) b = static_cast<unsigned char>(b + 32);
            wordStart = false;
        } else {
            wordStart = IsWordBreak(b);
        }
        *out++ = static_cast<char>(b);
    }
}

void Reverse(Bytes text, ResultSink& sink) {
    if (text.empty() || text.size() > kMaxResultLength) return;
    char* out = sink.Allocate(static_cast<uint32_t>(text.size()));
    if (out == nullptr) return;
    for (size_t i = text.size(); i > 0; --i) *out++ = text[i - 1];
}

void LJustify(Bytes text, int32_t width, Bytes fill, ResultSink& sink) {
    uint64_t w = AbsoluteWidth(width);
    if (text.size() >= w) {
        EmitParts(sink, {Part(text.substr(0, w))});
        return;
    }
    char f = FillByte(fill);
    EmitParts(sink, {Part(text), Part(Bytes(&f, 1), w - text.size())});
}

void RJustify(Bytes text, int32_t width, Bytes fill, ResultSink& sink) {
    uint64_t w = AbsoluteWidth(width);
    if (text.size() >= w) {
        EmitParts(sink, {Part(text.substr(text.size() - w))});
        return;
    }
    char f = FillByte(fill);
    EmitParts(sink, {Part(Bytes(&f, 1), w - text.size()), Part(text)});
}

void CJustify(Bytes text, int32_t width, Bytes fill, ResultSink& sink) {
    uint64_t w = AbsoluteWidth(width);
    if (text.size() >= w) {
        EmitParts(sink, {Part(text.substr(0, w))});
        return;
    }
    char f = FillByte(fill);
    uint64_t left = (w - text.size()) / 2;
    EmitParts(sink, {Part(Bytes(&f, 1), left), Part(text), Part(Bytes(&f, 1), w - text.size() - left)});
}

void StripOut(Bytes text, Bytes set, ResultSink& sink) { Filter(text, set, false, sink); }

void LeaveOnly(Bytes text, Bytes set, ResultSink& sink) { Filter(text, set, true, sink); }

void Translate(Bytes text, Bytes from, Bytes to, ResultSink& sink) {
    if (from.size() != to.size() || text.empty() || text.size() > kMaxResultLength) return;
    std::array<int, 256> target;
    target.fill(-1);
    for (size_t k = from.size(); k > 0; --k) {  // backwards, so the first position wins
        target[static_cast<unsigned char>(from[k - 1])] = static_cast<unsigned char>(to[k - 1]);
    }
    char* out = sink.Allocate(static_cast<uint32_t>(text.size()));
    if (out == nullptr) return;
    for (char c : text) {
        int mapped = target[static_cast<unsigned char>(c)];
        *out++ = mapped < 0 ? c : static_cast<char>(mapped);
    }
}

}  // namespace skein

#include "skein/Layout.h"

namespace skein {
namespace {

constexpr uint32_t kCountLimit = 65535;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool IsNumberType(char c) { return c == '%' || c == '&' || c == '!' || c == '#' || c == '@'; }

}  // namespace

uint32_t Group::numberWidth() const {
    switch (type) {
    case '%':
        return 2;
    case '&':
    case '!':
        return 4;
    default:
        return 8;
    }
}

uint32_t Group::memoryWidth() const {
    if (!isString()) return numberWidth();
    return fixedLength != 0 ? fixedLength : 4;
}

uint32_t LayoutReader::ReadNumber() {
    uint32_t value = 0;
    while (at_ < text_.size() && IsDigit(text_[at_])) {
        value = value * 10 + static_cast<uint32_t>(text_[at_] - '0');
        if (value > kCountLimit) value = kCountLimit;
        ++at_;
    }
    return value == 0 ? 1 : value;
}

bool LayoutReader::Next(Group& group) {
    group = Group();
    bool pending = false;
    while (at_ < text_.size()) {
        char c = text_[at_++];
        char u = Upper(c);
        if ((c == ' ' || c == ',') && !pending) continue;
        if (u == 'R') {
            group.repeat = ReadNumber();
        } else if (u == 'A') {
            group.count = ReadNumber();
        } else if (u == 'X' || u == 'M') {
            group.isIndex = group.isIndex || u == 'X';
            while (at_ < text_.size() && IsDigit(text_[at_])) ++at_;
        } else if (IsNumberType(c) || c == '$') {
            group.type = c;
            if (c == '$' && at_ < text_.size() && text_[at_] == '*') {
                ++at_;
                group.fixedLength = ReadNumber();
            }
            group.firstPiece = nextPiece_;
            group.firstItem = nextItem_;
            nextPiece_ += group.repeat;
            nextItem_ += group.items();
            return true;
        } else {
            break;
        }
        pending = true;
    }
    at_ = text_.size();
    return false;
}

bool GroupOfItem(Bytes layout, int64_t item, Group& group) {
    if (item < 1) return false;
    LayoutReader reader(layout);
    while (reader.Next(group)) {
        if (static_cast<uint64_t>(item) < group.firstItem + group.items()) return true;
    }
    return false;
}

bool GroupOfPiece(Bytes layout, int64_t piece, Group& group) {
    if (piece < 1) return false;
    LayoutReader reader(layout);
    while (reader.Next(group)) {
        if (static_cast<uint64_t>(piece) < group.firstPiece + group.repeat) return true;
    }
    return false;
}

uint64_t LayoutItemCount(Bytes layout) {
    LayoutReader reader(layout);
    Group group;
    uint64_t items = 0;
    while (reader.Next(group)) items += group.items();
    return items;
}

uint64_t LayoutPieceCount(Bytes layout) {
    LayoutReader reader(layout);
    Group group;
    uint64_t pieces = 0;
    while (reader.Next(group)) pieces += group.repeat;
    return pieces;
}

uint64_t LayoutMemoryLength(Bytes layout) {
    LayoutReader reader(layout);
    Group group;
    uint64_t length = 0;
    while (reader.Next(group)) length += group.items() * group.memoryWidth();
    return length;
}

}  // namespace skein

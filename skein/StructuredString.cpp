#include "skein/StructuredString.h"

#include <cstring>

namespace skein {
namespace {

constexpr uint32_t kMaxRecordString = 65535;
constexpr size_t kMaxLayoutLength = 255;

int32_t Clamp(uint64_t n) { return n > INT32_MAX ? INT32_MAX : static_cast<int32_t>(n); }

uint32_t ReadLittle(const char* p, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(p[i]);
    return value;
}

void WriteLittle(char* p, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) p[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The item of `group` at `offset` in a record: its bytes (payload) and the
// offset behind it. False when the record ends inside the item.
bool ReadRecordItem(Bytes record, size_t offset, const Group& group, Bytes& payload, size_t& behind) {
    size_t left = record.size() - offset;
    if (!group.isString()) {
        if (left < group.numberWidth()) return false;
        payload = record.substr(offset, group.numberWidth());
        behind = offset + group.numberWidth();
        return true;
    }
    if (left < 2) return false;
    uint32_t length = ReadLittle(record.data() + offset, 2);
    if (left - 2 < length) return false;
    payload = record.substr(offset + 2, length);
    behind = offset + 2 + length;
    return true;
}

bool TypeMatches(const Group& group, Bytes typeText) { return !typeText.empty() && typeText[0] == group.type; }

// Record bytes of items [first, end) when all are zero numbers and empty strings.
uint64_t ZeroRecordBytes(Bytes layout, uint64_t first, uint64_t end) {
    LayoutReader reader(layout);
    Group group;
    uint64_t bytes = 0;
    while (reader.Next(group)) {
        uint64_t from = group.firstItem > first ? group.firstItem : first;
        uint64_t to = group.firstItem + group.items() < end ? group.firstItem + group.items() : end;
        if (from < to) bytes += (to - from) * (group.isString() ? 2 : group.numberWidth());
    }
    return bytes;
}

// Walks the record's items [first, end) from `offset`. Stops early, at an item
// boundary, when the record is used up. False when it ends inside an item.
struct Scan {
    bool ok = true;
    size_t offset = 0;
    uint64_t itemsRead = 0;
};

Scan ScanRecord(Bytes record, size_t offset, Bytes layout, uint64_t first, uint64_t end) {
    Scan scan;
    scan.offset = offset;
    LayoutReader reader(layout);
    Group group;
    while (reader.Next(group)) {
        uint64_t stop = group.firstItem + group.items();
        uint64_t number = group.firstItem > first ? group.firstItem : first;
        for (; number < stop && number < end; ++number) {
            if (scan.offset == record.size()) return scan;
            Bytes payload;
            if (!ReadRecordItem(record, scan.offset, group, payload, scan.offset)) {
                scan.ok = false;
                return scan;
            }
            ++scan.itemsRead;
        }
        if (number >= end) break;
    }
    return scan;
}

bool ValueFits(const Group& group, Bytes value) {
    if (!group.isString()) return value.size() == group.numberWidth();
    if (value.size() > kMaxRecordString) return false;
    return group.fixedLength == 0 || value.size() <= group.fixedLength;
}

// Copies or counts the output of StoreAll/FetchAll, so that the exact length
// is known before the one allocation.
class Output {
public:
    explicit Output(char* out) : out_(out) {}
    void Put(Bytes bytes) {
        if (out_ != nullptr && !bytes.empty()) std::memcpy(out_ + length_, bytes.data(), bytes.size());
        length_ += bytes.size();
    }
    void PutFill(char c, uint64_t count) {
        if (out_ != nullptr) std::memset(out_ + length_, c, count);
        length_ += count;
    }
    void PutLength(uint32_t value, int bytes) {
        char buffer[4];
        WriteLittle(buffer, value, bytes);
        Put(Bytes(buffer, bytes));
    }
    uint64_t length() const { return length_; }

private:
    char* out_;
    uint64_t length_ = 0;
};

// Structure -> record for every item; status code.
int32_t ConvertStructure(Bytes source, Bytes layout, Output& out) {
    LayoutReader reader(layout);
    Group group;
    size_t at = 0;
    while (reader.Next(group)) {
        for (uint64_t i = 0; i < group.items(); ++i) {
            size_t left = source.size() - at;
            if (!group.isString() || group.fixedLength != 0) {
                uint32_t width = group.memoryWidth();
                if (left < width) return kSsBadItem;
                if (group.isString()) out.PutLength(width, 2);
                out.Put(source.substr(at, width));
                at += width;
                continue;
            }
            if (left < 4) return kSsBadItem;
            uint32_t length = ReadLittle(source.data() + at, 4);
            if (left - 4 < length) return kSsBadItem;
            if (length > kMaxRecordString) return kSsStringTooLong;
            out.PutLength(length, 2);
            out.Put(source.substr(at + 4, length));
            at += 4 + length;
        }
    }
    return at == source.size() ? kSsOk : kSsBadItem;
}

// Record -> structure for every item; status code.
int32_t ConvertRecord(Bytes record, Bytes layout, Output& out) {
    LayoutReader reader(layout);
    Group group;
    size_t at = 0;
    while (reader.Next(group)) {
        for (uint64_t i = 0; i < group.items(); ++i) {
            Bytes payload;
            if (!ReadRecordItem(record, at, group, payload, at)) return kSsBadItem;
            if (!group.isString()) {
                out.Put(payload);
            } else if (group.fixedLength == 0) {
                out.PutLength(static_cast<uint32_t>(payload.size()), 4);
                out.Put(payload);
            } else {
                if (payload.size() > group.fixedLength) return kSsStringTooLong;
                out.Put(payload);
                out.PutFill(' ', group.fixedLength - payload.size());
            }
        }
    }
    return at == record.size() ? kSsOk : kSsBadItem;
}

template <class Convert>
int32_t ConvertWhole(Bytes input, Bytes layout, ResultSink& sink, Convert convert) {
    if (layout.empty() || layout.size() > kMaxLayoutLength) return kSsBadLayout;
    Output counter(nullptr);
    int32_t status = convert(input, layout, counter);
    if (status != kSsOk) return status;
    if (counter.length() > kMaxResultLength) return kSsNoMemory;
    if (counter.length() == 0) return kSsOk;
    char* block = sink.Allocate(static_cast<uint32_t>(counter.length()));
    if (block == nullptr) return kSsNoMemory;
    Output writer(block);
    return convert(input, layout, writer);
}

}  // namespace

int32_t ItemCount(Bytes layout) { return Clamp(LayoutItemCount(layout)); }

int32_t PieceCount(Bytes layout) { return Clamp(LayoutPieceCount(layout)); }

std::string ItemType(Bytes layout, int32_t item) {
    Group group;
    if (!GroupOfItem(layout, item, group)) return std::string();
    if (group.fixedLength != 0) return "$*" + std::to_string(group.fixedLength);
    return std::string(1, group.type);
}

int32_t PieceItemNo(Bytes layout, int32_t piece) {
    Group group;
    if (!GroupOfPiece(layout, piece, group)) return 0;
    return Clamp(group.firstItem + (static_cast<uint64_t>(piece) - group.firstPiece) * group.count);
}

int32_t PieceSize(Bytes layout, int32_t piece) {
    Group group;
    if (!GroupOfPiece(layout, piece, group)) return 0;
    return Clamp(group.count);
}

int32_t IsIndex(Bytes layout, int32_t piece) {
    Group group;
    if (!GroupOfPiece(layout, piece, group)) return 0;
    return group.isString() && group.isIndex ? 1 : 0;
}

int32_t LenType(Bytes layout) { return Clamp(LayoutMemoryLength(layout)); }

int32_t FetchItem(Bytes record, Bytes layout, int32_t item, Bytes typeText, std::string& value) {
    Group group;
    if (layout.empty() || !GroupOfItem(layout, item, group) || !TypeMatches(group, typeText)) return kSsBadItem;
    uint64_t n = static_cast<uint64_t>(item);
    Scan before = ScanRecord(record, 0, layout, 1, n);
    if (!before.ok || before.itemsRead != n - 1) return kSsRecordTooShort;
    Bytes payload;
    size_t behind = 0;
    if (!ReadRecordItem(record, before.offset, group, payload, behind)) return kSsRecordTooShort;
    if (group.isString() && payload.empty()) return kSsOk;  // an empty string leaves the target as it was
    value.assign(payload.data(), payload.size());
    return kSsOk;
}

void StoreItem(Bytes record, Bytes layout, int32_t item, Bytes typeText, Bytes value, ResultSink& sink) {
    Group group;
    if (layout.empty() || !GroupOfItem(layout, item, group) || !TypeMatches(group, typeText)) return;
    if (!ValueFits(group, value)) return;
    uint64_t n = static_cast<uint64_t>(item);
    uint64_t end = LayoutItemCount(layout) + 1;
    Scan before = ScanRecord(record, 0, layout, 1, n);
    if (!before.ok) return;
    Bytes head = record.substr(0, before.offset);
    Bytes tail;
    uint64_t zerosBefore = 0;
    uint64_t zerosAfter = 0;
    if (before.itemsRead < n - 1 || before.offset == record.size()) {
        zerosBefore = ZeroRecordBytes(layout, 1 + before.itemsRead, n);
        zerosAfter = ZeroRecordBytes(layout, n + 1, end);
    } else {
        Bytes old;
        size_t behind = 0;
        if (!ReadRecordItem(record, before.offset, group, old, behind)) return;
        Scan after = ScanRecord(record, behind, layout, n + 1, end);
        if (!after.ok || after.offset != record.size()) return;  // malformed or trailing bytes: refuse
        tail = record.substr(behind);
        zerosAfter = ZeroRecordBytes(layout, n + 1 + after.itemsRead, end);
    }
    char prefix[2];
    WriteLittle(prefix, static_cast<uint32_t>(value.size()), 2);
    Bytes lengthPart = group.isString() ? Bytes(prefix, 2) : Bytes();
    static const char kZero = 0;
    EmitParts(sink, {Part(head), Part(Bytes(&kZero, 1), zerosBefore), Part(lengthPart), Part(value), Part(tail),
                     Part(Bytes(&kZero, 1), zerosAfter)});
}

int32_t StoreAll(Bytes source, Bytes layout, ResultSink& sink) {
    return ConvertWhole(source, layout, sink, ConvertStructure);
}

int32_t FetchAll(Bytes record, Bytes layout, ResultSink& sink) {
    return ConvertWhole(record, layout, sink, ConvertRecord);
}

}  // namespace skein

#include "corvane/export/DbxInfoRecord.h"

#include "corvane/export/DbxFormat.h"
#include "corvane/export/MailDate.h"
#include "corvane/export/TextEncoding.h"

#include <cstring>
#include <vector>

namespace corvane::exporting::dbx {

namespace {

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

// The record's body: its field list, then the data area the fields point into.
class RecordBody {
public:
    RecordBody(std::vector<uint8_t> bytes, int fields) : bytes_(std::move(bytes)), fields_(fields) {}

    // The data-area offset or direct value of field `index`, if present.
    struct Field {
        bool direct = false;
        uint32_t value = 0;
    };
    std::optional<Field> Find(int index) const {
        for (int i = 0; i < fields_; ++i) {
            uint32_t entry = Le32(bytes_.data() + 4 * i);
            if (static_cast<int>(entry & 0x7F) == index) return Field{(entry & 0x80) != 0, entry >> 8};
        }
        return std::nullopt;
    }

    // `count` bytes of the data area from `at`, if they lie inside it.
    const uint8_t* Data(uint32_t at, size_t count) const {
        size_t start = 4 * static_cast<size_t>(fields_);
        if (at > bytes_.size() - start || count > bytes_.size() - start - at) return nullptr;
        return bytes_.data() + start + at;
    }

    // A text from `at` to its NUL or the end of the data area.
    std::optional<std::string> Text(uint32_t at) const {
        const uint8_t* first = Data(at, 0);
        if (!first) return std::nullopt;
        const uint8_t* end = bytes_.data() + bytes_.size();
        const uint8_t* nul = static_cast<const uint8_t*>(std::memchr(first, 0, static_cast<size_t>(end - first)));
        return std::string(reinterpret_cast<const char*>(first), reinterpret_cast<const char*>(nul ? nul : end));
    }

private:
    std::vector<uint8_t> bytes_;
    int fields_;
};

bool ReadTextField(const RecordBody& body, int index, std::string& out) {
    std::optional<RecordBody::Field> field = body.Find(index);
    if (!field || field->direct) return false;
    std::optional<std::string> text = body.Text(field->value);
    if (!text) return false;
    out = AnsiToUtf8(*text);
    return true;
}

}  // namespace

std::optional<InfoRecord> ReadInfoRecord(SourceFile& file, int64_t offset, std::string& why) {
    uint8_t head[kRecordHeaderSize];
    if (offset < kHeaderSize || !file.ReadAt(offset, head, sizeof head)) {
        why = "the index points to " + Hex(offset) + ", outside the message records";
        return std::nullopt;
    }
    if (Le32(head) != static_cast<uint64_t>(offset)) {
        why = "no information record at " + Hex(offset) + " (its marker is wrong)";
        return std::nullopt;
    }
    uint32_t bodyLength = Le32(head + 4);
    int fields = head[10];
    if (bodyLength > kMostRecordBody || bodyLength < 4u * static_cast<uint32_t>(fields) ||
        !file.Covers(offset + kRecordHeaderSize, bodyLength)) {
        why = "the information record at " + Hex(offset) + " has a body length that does not fit";
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(bodyLength);
    if (!file.ReadAt(offset + kRecordHeaderSize, bytes.data(), bytes.size())) {
        why = "the information record at " + Hex(offset) + " cannot be read";
        return std::nullopt;
    }
    RecordBody body(std::move(bytes), fields);

    InfoRecord record;
    record.facts.offset = offset;
    if (std::optional<RecordBody::Field> text = body.Find(kFieldText)) {
        if (text->direct) {
            record.facts.textOffset = text->value;
            record.hasTextPointer = true;
        } else if (const uint8_t* pointer = body.Data(text->value, 4)) {
            record.facts.textOffset = Le32(pointer);
            record.hasTextPointer = true;
        }
    }
    if (std::optional<RecordBody::Field> date = body.Find(kFieldDate); date && !date->direct) {
        if (const uint8_t* fileTime = body.Data(date->value, 8)) {
            uint64_t value = Le32(fileTime) | (static_cast<uint64_t>(Le32(fileTime + 4)) << 32);
            record.facts.date = FileTimeToUnixSeconds(value);
            record.hasDate = record.facts.date.has_value();
        }
    }
    record.hasSubject = ReadTextField(body, kFieldSubject, record.facts.subject);
    bool name = ReadTextField(body, kFieldSenderName, record.facts.senderName);
    bool address = ReadTextField(body, kFieldSenderAddress, record.facts.senderAddress);
    record.hasSender = name || address;
    if (!record.hasTextPointer) why = "the information record at " + Hex(offset) + " names no message text";
    return record;
}

}  // namespace corvane::exporting::dbx

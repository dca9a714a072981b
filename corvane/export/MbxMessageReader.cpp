#include "corvane/export/MbxMessageReader.h"

#include "corvane/export/DbxFormat.h"
#include "corvane/export/HeaderFields.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace corvane::exporting {

using namespace mbx;

namespace {

constexpr size_t kResyncWindow = 64 * 1024;

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

struct Record {
    int64_t offset = 0;
    int64_t length = 0;      // the whole record, at least header and text
    int64_t textLength = 0;
};

// The record at `offset`, or nothing with `why` set.
std::optional<Record> ReadRecord(SourceFile& file, int64_t offset, std::string& why) {
    uint8_t head[kRecordHeaderSize];
    if (!file.ReadAt(offset, head, sizeof head)) {
        why = "the file ends inside the record header at " + dbx::Hex(offset);
        return std::nullopt;
    }
    if (std::memcmp(head, kRecordMarker, sizeof kRecordMarker) != 0) {
        why = "no message record at " + dbx::Hex(offset) + " (its marker is wrong)";
        return std::nullopt;
    }
    Record record{offset, Le32(head + 8), Le32(head + 12)};
    if (record.length < kRecordHeaderSize + record.textLength) {
        why = "the message record at " + dbx::Hex(offset) + " is shorter than its own text";
        return std::nullopt;
    }
    if (!file.Covers(offset + kRecordHeaderSize, record.textLength)) {
        why = "the text of the message record at " + dbx::Hex(offset) + " runs past the end of the file";
        return std::nullopt;
    }
    return record;
}

// A stretch of the file read front to back.
class RangeText : public MessageText {
public:
    RangeText(SourceFile& file, int64_t offset, int64_t length) : file_(file), at_(offset), left_(length), length_(length) {}
    int64_t Length() const override { return length_; }
    size_t Read(char* out, size_t count) override {
        size_t take = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(count), left_));
        if (take == 0 || failed_) return 0;
        if (!file_.ReadAt(at_, out, take)) {
            failed_ = true;
            return 0;
        }
        at_ += static_cast<int64_t>(take);
        left_ -= static_cast<int64_t>(take);
        return take;
    }
    bool Failed() const override { return failed_; }

private:
    SourceFile& file_;
    int64_t at_, left_, length_;
    bool failed_ = false;
};

// True when nothing but zero bytes follow `offset`: space kept free at the
// end of the file, not a damaged record.
bool OnlyZerosFrom(SourceFile& file, int64_t offset) {
    std::vector<uint8_t> window(kResyncWindow);
    for (int64_t at = offset; at < file.Size(); at += static_cast<int64_t>(window.size())) {
        size_t length = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(window.size()), file.Size() - at));
        if (!file.ReadAt(at, window.data(), length)) return false;
        if (std::any_of(window.begin(), window.begin() + static_cast<std::ptrdiff_t>(length),
                        [](uint8_t b) { return b != 0; })) {
            return false;
        }
    }
    return true;
}

// The next offset after `from` that holds a record marker; -1 when none.
// The record there may itself be damaged: it is then reported in its turn.
int64_t NextMarkerAfter(SourceFile& file, int64_t from) {
    std::vector<uint8_t> window(kResyncWindow + sizeof kRecordMarker - 1);
    for (int64_t start = from + 1; start + static_cast<int64_t>(sizeof kRecordMarker) <= file.Size();
         start += kResyncWindow) {
        size_t length = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(window.size()), file.Size() - start));
        if (!file.ReadAt(start, window.data(), length)) return -1;
        for (size_t at = 0; at + sizeof kRecordMarker <= length && at < kResyncWindow; ++at) {
            if (std::memcmp(window.data() + at, kRecordMarker, sizeof kRecordMarker) == 0) {
                return start + static_cast<int64_t>(at);
            }
        }
    }
    return -1;
}

}  // namespace

bool mbx::HasSignature(SourceFile& file) {
    uint8_t start[sizeof kSignature];
    return file.ReadAt(0, start, sizeof start) && std::memcmp(start, kSignature, sizeof start) == 0;
}

ReadOutcome ReadMbxMessages(SourceFile& file, const ReadOptions& /*options: nothing is out of the walk's reach*/,
                            MessageVisitor& visitor) {
    ReadOutcome outcome;
    outcome.isMessageFile = HasSignature(file);
    if (!outcome.isMessageFile) return outcome;
    outcome.headerCount = std::max<int64_t>(0, static_cast<int32_t>(file.U32(8).value_or(0)));
    int64_t offset = kHeaderSize;
    while (offset >= 0 && offset < file.Size()) {
        std::string why;
        std::optional<Record> record = ReadRecord(file, offset, why);
        if (!record) {
            if (OnlyZerosFrom(file, offset)) break;
            ++outcome.damagedMessages;
            if (!visitor.OnDamage({DamageKind::Message, offset, why, false})) {
                outcome.stopped = true;
                break;
            }
            offset = NextMarkerAfter(file, offset);
            continue;
        }
        HeaderFacts header;
        {
            std::string start(static_cast<size_t>(std::min<int64_t>(record->textLength, kHeaderScanBytes)), '\0');
            if (file.ReadAt(offset + kRecordHeaderSize, start.data(), start.size())) header = ReadHeaderFacts(start);
        }
        MessageFacts facts;
        facts.offset = offset;
        facts.textOffset = offset + kRecordHeaderSize;
        facts.date = header.date;
        facts.subject = std::move(header.subject);
        facts.senderName = std::move(header.senderName);
        facts.senderAddress = std::move(header.senderAddress);
        ++outcome.listed;
        RangeText text(file, facts.textOffset, record->textLength);
        if (!visitor.OnMessage(facts, text)) {
            outcome.stopped = true;
            break;
        }
        // A record cut off in its padding by the end of the file still ends the walk.
        offset = record->length > file.Size() - offset ? file.Size() : offset + record->length;
        if (!visitor.OnProgress(static_cast<double>(offset) / static_cast<double>(file.Size()))) {
            outcome.stopped = true;
            break;
        }
    }
    return outcome;
}

}  // namespace corvane::exporting

#include "testsupport/portable/MessageFileWriter.h"

#include <algorithm>

namespace corvane::testing {

namespace {

constexpr int32_t kHeaderSize = 0x24BC;
constexpr int32_t kNodeSize = 0x27C;
constexpr int kNodeEntries = 51;
constexpr int32_t kBlockSize = 0x210;
constexpr int32_t kBlockText = 0x200;
constexpr uint32_t kDirectLimit = 1u << 24;

void Align4(std::vector<uint8_t>& bytes) { bytes.resize((bytes.size() + 3) & ~size_t{3}, 0); }

size_t BlockCount(const std::string& text) { return std::max<size_t>(1, (text.size() + kBlockText - 1) / kBlockText); }

// An information record: fields 0x00 (number), 0x01 (flags), 0x02 (date),
// 0x04 (first text block), 0x08 (subject), 0x0D and 0x0E (sender), sorted by
// index, then their data. Four bytes are always kept for the text pointer,
// so the record's size does not depend on where the text lies; the pointer
// is held in the field itself when it fits in 24 bits, as Outlook Express does.
std::vector<uint8_t> RecordBytes(const StoredMessage& message, uint32_t number, uint32_t firstBlock, int32_t at) {
    std::vector<uint32_t> fields;
    std::vector<uint8_t> data;
    auto direct = [&](int index, uint32_t value) { fields.push_back(0x80u | index | (value << 8)); };
    auto inData = [&](int index) {
        fields.push_back(static_cast<uint32_t>(index) | (static_cast<uint32_t>(data.size()) << 8));
    };
    auto text = [&](int index, const std::string& value) {
        inData(index);
        data.insert(data.end(), value.begin(), value.end());
        data.push_back(0);
    };
    direct(0x00, number);
    direct(0x01, 0x81);
    if (message.fileTime != 0) {
        inData(0x02);
        for (int i = 0; i < 8; ++i) data.push_back(static_cast<uint8_t>(message.fileTime >> (8 * i)));
    }
    if (firstBlock < kDirectLimit) {
        direct(0x04, firstBlock);
        data.insert(data.end(), 4, 0);
    } else {
        inData(0x04);
        for (int i = 0; i < 4; ++i) data.push_back(static_cast<uint8_t>(firstBlock >> (8 * i)));
    }
    text(0x08, message.subject);
    text(0x0D, message.senderName);
    text(0x0E, message.senderAddress);
    Align4(data);
    std::vector<uint8_t> bytes(12, 0);
    uint32_t body = static_cast<uint32_t>(4 * fields.size() + data.size());
    PutLe32(bytes, 0, static_cast<uint32_t>(at));
    PutLe32(bytes, 4, body);
    bytes[10] = static_cast<uint8_t>(fields.size());
    bytes[11] = 1;
    for (uint32_t field : fields) PutLe32(bytes, bytes.size(), field);
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

class DbxBuilder {
public:
    explicit DbxBuilder(DbxMessageLayout& layout) : layout_(layout) {
        bytes_.assign(kHeaderSize, 0);
        const uint8_t start[] = {0xCF, 0xAD, 0x12, 0xFE, 0xC5, 0xFD, 0x74, 0x6F, 0x66, 0xE3, 0xD1, 0x11,
                                 0x9A, 0x4E, 0x00, 0xC0, 0x4F, 0xA3, 0x09, 0xD4, 0x05, 0x00, 0x00, 0x00,
                                 0x05, 0x00, 0x00, 0x00};
        std::copy(std::begin(start), std::end(start), bytes_.begin());
    }

    std::vector<uint8_t> Build(const std::vector<StoredMessage>& messages) {
        // Sizes first: the records, then the blocks they point to.
        int32_t at = kHeaderSize;
        for (const StoredMessage& message : messages) {
            layout_.records.push_back(at);
            at += static_cast<int32_t>(RecordBytes(message, 0, 0, 0).size());
        }
        layout_.blocks.resize(messages.size());
        for (size_t i = 0; i < messages.size(); ++i) {
            for (size_t b = 0; b < BlockCount(messages[i].text); ++b, at += kBlockSize) layout_.blocks[i].push_back(at);
        }
        bytes_.reserve(static_cast<size_t>(at) + messages.size() / 20 * kNodeSize + kNodeSize);
        std::vector<int32_t> listed;
        for (size_t i = 0; i < messages.size(); ++i) {
            std::vector<uint8_t> record = RecordBytes(messages[i], static_cast<uint32_t>(i + 1),
                                                      static_cast<uint32_t>(layout_.blocks[i].front()),
                                                      layout_.records[i]);
            bytes_.insert(bytes_.end(), record.begin(), record.end());
            if (messages[i].listed) listed.push_back(layout_.records[i]);
        }
        for (size_t i = 0; i < messages.size(); ++i) WriteBlocks(messages[i].text, layout_.blocks[i]);
        layout_.root = listed.empty() ? 0 : AddTree(listed, 0, listed.size(), 0);
        PutLe32(bytes_, 0xC4, static_cast<uint32_t>(listed.size()));
        PutLe32(bytes_, 0xE4, static_cast<uint32_t>(layout_.root));
        return std::move(bytes_);
    }

private:
    void WriteBlocks(const std::string& text, const std::vector<int32_t>& offsets) {
        for (size_t i = 0; i < offsets.size(); ++i) {
            size_t from = std::min(text.size(), i * kBlockText);
            size_t length = std::min<size_t>(kBlockText, text.size() - from);
            size_t offset = bytes_.size();
            PutLe32(bytes_, offset, static_cast<uint32_t>(offsets[i]));
            PutLe32(bytes_, offset + 4, kBlockText);
            PutLe32(bytes_, offset + 8, static_cast<uint32_t>(length));
            PutLe32(bytes_, offset + 12, i + 1 < offsets.size() ? static_cast<uint32_t>(offsets[i + 1]) : 0);
            bytes_.insert(bytes_.end(), text.begin() + static_cast<std::ptrdiff_t>(from),
                          text.begin() + static_cast<std::ptrdiff_t>(from + length));
            bytes_.resize(offset + kBlockSize, 0);
        }
    }

    // Records [first, end) as a subtree: up to 51 in one node; more spread
    // over 51 entries and 52 children (the node's own child first), so the
    // in-order walk keeps their order.
    int32_t AddTree(const std::vector<int32_t>& records, size_t first, size_t end, int32_t parent) {
        int32_t node = static_cast<int32_t>(bytes_.size());
        bytes_.resize(bytes_.size() + kNodeSize, 0);
        layout_.nodes.push_back(node);
        PutLe32(bytes_, node, static_cast<uint32_t>(node));
        PutLe32(bytes_, node + 12, static_cast<uint32_t>(parent));
        size_t count = end - first;
        size_t entries = std::min<size_t>(count, kNodeEntries);
        bytes_[node + 17] = static_cast<uint8_t>(entries);
        size_t perChild = count > kNodeEntries ? (count - kNodeEntries) / (kNodeEntries + 1) : 0;
        size_t extra = count > kNodeEntries ? (count - kNodeEntries) % (kNodeEntries + 1) : 0;
        size_t at = first;
        auto child = [&](size_t index) -> std::pair<int32_t, uint32_t> {
            size_t size = perChild + (index < extra ? 1 : 0);
            if (size == 0) return {0, 0};
            int32_t offset = AddTree(records, at, at + size, node);
            at += size;
            return {offset, static_cast<uint32_t>(size)};
        };
        auto [firstChild, firstCount] = child(0);
        PutLe32(bytes_, node + 8, static_cast<uint32_t>(firstChild));
        PutLe32(bytes_, node + 20, firstCount);
        for (size_t i = 0; i < entries; ++i) {
            int32_t entry = node + 24 + 12 * static_cast<int32_t>(i);
            PutLe32(bytes_, entry, static_cast<uint32_t>(records[at++]));
            auto [entryChild, entryCount] = child(i + 1);
            PutLe32(bytes_, entry + 4, static_cast<uint32_t>(entryChild));
            PutLe32(bytes_, entry + 8, entryCount);
        }
        return node;
    }

    DbxMessageLayout& layout_;
    std::vector<uint8_t> bytes_;
};

}  // namespace

void PutLe32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    if (bytes.size() < offset + 4) bytes.resize(offset + 4, 0);
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

std::vector<uint8_t> BuildDbxMessageFile(const std::vector<StoredMessage>& messages, DbxMessageLayout* layout) {
    DbxMessageLayout local;
    return DbxBuilder(layout ? *layout : local).Build(messages);
}

std::vector<uint8_t> BuildMbxFile(const std::vector<std::string>& texts, std::vector<int32_t>* recordOffsets) {
    constexpr size_t kMbxHeader = 0x54;
    std::vector<uint8_t> bytes(kMbxHeader, 0);
    const uint8_t start[] = {'J', 'M', 'F', '6', 0x03, 0x00, 0x01, 0x01};
    std::copy(std::begin(start), std::end(start), bytes.begin());
    bytes[0x14] = 0x01;
    uint32_t number = 0;
    for (const std::string& text : texts) {
        size_t offset = bytes.size();
        if (recordOffsets) recordOffsets->push_back(static_cast<int32_t>(offset));
        size_t length = (16 + text.size() + 15) & ~size_t{15};
        const uint8_t marker[] = {0x00, 0x7F, 0x00, 0x7F};
        bytes.insert(bytes.end(), std::begin(marker), std::end(marker));
        PutLe32(bytes, offset + 4, ++number);
        PutLe32(bytes, offset + 8, static_cast<uint32_t>(length));
        PutLe32(bytes, offset + 12, static_cast<uint32_t>(text.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
        bytes.resize(offset + length, 0);
    }
    PutLe32(bytes, 8, number);
    PutLe32(bytes, 12, number);
    PutLe32(bytes, 16, static_cast<uint32_t>(bytes.size()));
    return bytes;
}

std::string MessageText(const std::string& from, const std::string& subject, const std::string& date,
                        const std::string& body) {
    return "From: " + from + "\r\nTo: <reader@example.com>\r\nSubject: " + subject + "\r\nDate: " + date +
           "\r\nMIME-Version: 1.0\r\n\r\n" + body;
}

}  // namespace corvane::testing

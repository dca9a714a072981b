#include "corvane/export/SourceFile.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace corvane::exporting {

namespace {

// 32 pages of 64 KiB: enough to keep a tree node, an information record and
// the text block being read in memory together, and small whatever the file.
constexpr size_t kPageBytes = 64 * 1024;
constexpr size_t kPageCount = 32;

class DiskSourceFile : public SourceFile {
public:
    DiskSourceFile(std::ifstream in, int64_t size) : in_(std::move(in)), size_(size), pages_(kPageCount) {}

    int64_t Size() const override { return size_; }

    bool ReadAt(int64_t offset, void* out, size_t count) override {
        if (!Covers(offset, static_cast<int64_t>(count))) return false;
        auto* target = static_cast<uint8_t*>(out);
        while (count > 0) {
            const Page* page = PageHolding(offset);
            if (page == nullptr) return false;
            size_t at = static_cast<size_t>(offset - page->start);
            size_t take = std::min(count, page->bytes.size() - at);
            std::memcpy(target, page->bytes.data() + at, take);
            target += take;
            offset += static_cast<int64_t>(take);
            count -= take;
        }
        return true;
    }

private:
    struct Page {
        int64_t start = -1;
        uint64_t lastUse = 0;
        std::vector<uint8_t> bytes;
    };

    // The cached page holding `offset`, read into the least recently used
    // slot when it is not there; nullptr on a read error.
    const Page* PageHolding(int64_t offset) {
        int64_t start = offset - offset % static_cast<int64_t>(kPageBytes);
        // Most reads fall in the page read last: a block header, then its text.
        if (last_ != nullptr && last_->start == start) return last_;
        Page* victim = &pages_[0];
        for (Page& page : pages_) {
            if (page.start == start) {
                page.lastUse = ++clock_;
                return last_ = &page;
            }
            if (page.lastUse < victim->lastUse) victim = &page;
        }
        size_t length = static_cast<size_t>(std::min<int64_t>(kPageBytes, size_ - start));
        if (last_ == victim) last_ = nullptr;
        victim->start = -1;
        victim->bytes.resize(length);
        in_.clear();
        in_.seekg(start);
        in_.read(reinterpret_cast<char*>(victim->bytes.data()), static_cast<std::streamsize>(length));
        if (static_cast<size_t>(in_.gcount()) != length) return nullptr;
        victim->start = start;
        victim->lastUse = ++clock_;
        return last_ = victim;
    }

    std::ifstream in_;
    int64_t size_;
    std::vector<Page> pages_;
    Page* last_ = nullptr;
    uint64_t clock_ = 0;
};

}  // namespace

std::optional<uint32_t> SourceFile::U32(int64_t offset) {
    uint8_t b[4];
    if (!ReadAt(offset, b, 4)) return std::nullopt;
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) | (static_cast<uint32_t>(b[2]) << 16) |
           (static_cast<uint32_t>(b[3]) << 24);
}

std::optional<uint16_t> SourceFile::U16(int64_t offset) {
    uint8_t b[2];
    if (!ReadAt(offset, b, 2)) return std::nullopt;
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

bool MemorySourceFile::ReadAt(int64_t offset, void* out, size_t count) {
    if (!Covers(offset, static_cast<int64_t>(count))) return false;
    if (count > 0) std::memcpy(out, bytes_.data() + offset, count);
    return true;
}

std::unique_ptr<SourceFile> OpenSourceFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return nullptr;
    auto size = std::filesystem::file_size(path, error);
    if (error) return nullptr;
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    return std::make_unique<DiskSourceFile>(std::move(in), static_cast<int64_t>(size));
}

}  // namespace corvane::exporting

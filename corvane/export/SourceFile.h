// Random access to a store file for the message readers. Every read names an
// offset and a length and either lies wholly inside the file or is refused,
// so a reader can take offsets from untrusted bytes and simply check the
// answer. The file on disk is read through a small page cache: the whole
// file is never held, whatever its size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace corvane::exporting {

class SourceFile {
public:
    virtual ~SourceFile() = default;
    virtual int64_t Size() const = 0;
    // Copies `count` bytes from `offset` into `out`. False, with `out`
    // untouched or partly written, when the range is not wholly inside the
    // file or cannot be read.
    virtual bool ReadAt(int64_t offset, void* out, size_t count) = 0;

    bool Covers(int64_t offset, int64_t count) const {
        return offset >= 0 && count >= 0 && offset <= Size() && count <= Size() - offset;
    }
    std::optional<uint32_t> U32(int64_t offset);
    std::optional<uint16_t> U16(int64_t offset);
};

// Bytes held in memory (tests, fuzzing); the vector must outlive the file.
class MemorySourceFile : public SourceFile {
public:
    explicit MemorySourceFile(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }
    bool ReadAt(int64_t offset, void* out, size_t count) override;

private:
    const std::vector<uint8_t>& bytes_;
};

// Opens a file on disk for reading; nullptr when it cannot be opened.
std::unique_ptr<SourceFile> OpenSourceFile(const std::filesystem::path& path);

}  // namespace corvane::exporting

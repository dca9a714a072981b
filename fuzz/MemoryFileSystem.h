// The zip engine's file system in memory, for fuzzing: files by exact path,
// writes capped so that an archive that inflates without end only fills the
// "disk".
#pragma once

#include "corvane/zip/ZipFileSystem.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace corvane::fuzz {

class MemoryFileSystem final : public zip::FileSystem {
public:
    explicit MemoryFileSystem(size_t capacity) : capacity_(capacity) {}
    void Put(const std::string& path, std::vector<uint8_t> bytes) { files_[path] = std::move(bytes); }
    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (const auto& file : files_) paths.push_back(file.first);
        return paths;
    }

    char Separator() const override { return '\\'; }
    std::unique_ptr<zip::ReadFile> OpenRead(const std::string& path, zip::FileError* error) override {
        auto found = files_.find(path);
        if (found == files_.end()) {
            *error = zip::FileError::kNotFound;
            return nullptr;
        }
        *error = zip::FileError::kNone;
        return std::make_unique<Reader>(found->second);
    }
    std::unique_ptr<zip::WriteFile> CreateNew(const std::string& path, zip::FileError* error) override {
        if (files_.count(path)) {
            *error = zip::FileError::kExists;
            return nullptr;
        }
        *error = zip::FileError::kNone;
        return std::make_unique<Writer>(*this, files_[path]);
    }
    // The fuzz targets only read archives.
    std::unique_ptr<zip::ReadFile> OpenWritten(const std::string&, zip::FileError* error) override {
        *error = zip::FileError::kOther;
        return nullptr;
    }
    bool Rename(const std::string& from, const std::string& to) override {
        auto found = files_.find(from);
        if (found == files_.end()) return false;
        std::vector<uint8_t> bytes = std::move(found->second);
        files_.erase(found);
        files_[to] = std::move(bytes);
        return true;
    }
    bool Remove(const std::string& path) override { return files_.erase(path) != 0; }
    bool Stat(const std::string& path, zip::FileInfo* info) override {
        auto found = files_.find(path);
        if (found == files_.end()) return false;
        *info = {};
        info->size = found->second.size();
        return true;
    }
    bool List(const std::string&, std::vector<zip::FileInfo>*) override { return true; }
    bool MakeFolders(const std::string&) override { return true; }
    bool SetFileInfo(const std::string&, int64_t, uint32_t) override { return true; }
    uint64_t FreeSpace(const std::string&) override { return capacity_ - std::min(capacity_, used_); }

private:
    class Reader final : public zip::ReadFile {
    public:
        explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
        int64_t Read(void* buffer, size_t count) override {
            size_t n = std::min(count, bytes_.size() - std::min(at_, bytes_.size()));
            if (n) std::memcpy(buffer, bytes_.data() + at_, n);
            at_ += n;
            return static_cast<int64_t>(n);
        }
        bool Seek(uint64_t offset) override {
            at_ = static_cast<size_t>(std::min<uint64_t>(offset, bytes_.size()));
            return offset <= bytes_.size();
        }
        uint64_t Size() override { return bytes_.size(); }

    private:
        const std::vector<uint8_t>& bytes_;
        size_t at_ = 0;
    };
    class Writer final : public zip::WriteFile {
    public:
        Writer(MemoryFileSystem& owner, std::vector<uint8_t>& bytes) : owner_(owner), bytes_(bytes) {}
        zip::FileError Write(const void* data, size_t count) override {
            if (owner_.used_ + count > owner_.capacity_) return zip::FileError::kDiskFull;
            owner_.used_ += count;
            const auto* p = static_cast<const uint8_t*>(data);
            bytes_.insert(bytes_.end(), p, p + count);
            return zip::FileError::kNone;
        }
        zip::FileError WriteAt(uint64_t offset, const void* data, size_t count) override {
            if (offset + count > bytes_.size()) return zip::FileError::kOther;
            std::memcpy(bytes_.data() + offset, data, count);
            return zip::FileError::kNone;
        }
        bool Truncate(uint64_t size) override {
            if (size > bytes_.size()) return false;
            bytes_.resize(size);
            return true;
        }
        zip::FileError Flush() override { return zip::FileError::kNone; }
        zip::FileError Close() override { return zip::FileError::kNone; }

    private:
        MemoryFileSystem& owner_;
        std::vector<uint8_t>& bytes_;
    };

    std::map<std::string, std::vector<uint8_t>> files_;
    size_t capacity_;
    size_t used_ = 0;
};

}  // namespace corvane::fuzz

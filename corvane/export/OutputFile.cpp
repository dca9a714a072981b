#include "corvane/export/OutputFile.h"

#include "corvane/export/SafeNames.h"

#include <chrono>

namespace corvane::exporting {

namespace {

constexpr size_t kBufferBytes = 256 * 1024;

}  // namespace

bool OutputFile::Open(const std::filesystem::path& finalPath) {
    Discard();
    error_.clear();
    final_ = finalPath;
    temporary_ = finalPath;
    temporary_ += ".part";
    std::error_code error;
    if (std::filesystem::exists(temporary_, error)) return Fail("a file " + PathUtf8(temporary_) + " is in the way");
    // The stream itself is unbuffered: this class hands it large blocks.
    out_.rdbuf()->pubsetbuf(nullptr, 0);
    out_.open(temporary_, std::ios::binary | std::ios::trunc);
    if (!out_) return Fail("cannot create " + PathUtf8(temporary_));
    open_ = true;
    written_ = 0;
    buffer_.clear();
    buffer_.reserve(kBufferBytes);
    return true;
}

bool OutputFile::Write(const char* data, size_t size) {
    if (!open_) return false;
    written_ += static_cast<int64_t>(size);
    if (buffer_.size() + size > kBufferBytes && !Flush()) return false;
    if (size >= kBufferBytes) {
        out_.write(data, static_cast<std::streamsize>(size));
        return out_ ? true : Fail("cannot write " + PathUtf8(temporary_));
    }
    buffer_.insert(buffer_.end(), data, data + size);
    return true;
}

bool OutputFile::Flush() {
    if (!buffer_.empty()) out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
    if (!out_.flush()) return Fail("cannot write " + PathUtf8(temporary_) + " (is the disk full?)");
    return true;
}

bool OutputFile::TruncateTo(int64_t size) {
    if (!open_ || size > written_) return false;
    int64_t inFile = written_ - static_cast<int64_t>(buffer_.size());
    if (size >= inFile) {  // still in the buffer
        buffer_.resize(static_cast<size_t>(size - inFile));
        written_ = size;
        return true;
    }
    // Closed for the cut, so it works where open files cannot be resized.
    buffer_.clear();
    out_.close();
    std::error_code error;
    std::filesystem::resize_file(temporary_, static_cast<uintmax_t>(size), error);
    if (error) return Fail("cannot cut back " + PathUtf8(temporary_));
    out_.open(temporary_, std::ios::binary | std::ios::app);
    if (!out_) return Fail("cannot reopen " + PathUtf8(temporary_));
    written_ = size;
    return true;
}

bool OutputFile::Commit(std::optional<int64_t> modifiedUnix) {
    if (!open_) return false;
    if (!Flush()) return false;
    out_.close();
    if (!out_) return Fail("cannot close " + PathUtf8(temporary_));
    std::error_code error;
    if (std::filesystem::exists(final_, error)) return Fail(PathUtf8(final_) + " already exists");
    std::filesystem::rename(temporary_, final_, error);
    if (error) return Fail("cannot rename " + PathUtf8(temporary_) + ": " + error.message());
    open_ = false;
    if (modifiedUnix) SetModifiedTime(final_, *modifiedUnix);
    return true;
}

void OutputFile::Discard() {
    if (!open_) return;
    open_ = false;
    buffer_.clear();
    out_.close();
    std::error_code error;
    std::filesystem::remove(temporary_, error);
}

bool OutputFile::Fail(const std::string& what) {
    error_ = what;
    Discard();
    return false;
}

bool SetModifiedTime(const std::filesystem::path& path, int64_t unixSeconds) {
    auto when = std::chrono::file_clock::from_sys(std::chrono::sys_seconds{std::chrono::seconds{unixSeconds}});
    std::error_code error;
    std::filesystem::last_write_time(path, when, error);
    return !error;
}

}  // namespace corvane::exporting

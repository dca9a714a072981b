#include "corvane/export/OutputFile.h"

#include "corvane/export/SafeNames.h"

#include <algorithm>
#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace corvane::exporting {

namespace {

constexpr size_t kBufferBytes = 256 * 1024;

#ifdef _WIN32
HANDLE AsHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Seconds since 1970 as a FILETIME.
FILETIME FileTimeOf(int64_t unixSeconds) {
    const uint64_t ticks = static_cast<uint64_t>(unixSeconds + 11'644'473'600LL) * 10'000'000ULL;
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}
#endif

// Makes `path` where nothing of that name is; -1 when something is, or it cannot be made.
intptr_t CreateNew(const std::filesystem::path& path) {
#ifdef _WIN32
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<intptr_t>(file);
#else
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
#endif
}

bool AlreadyThere() {
#ifdef _WIN32
    return GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS;
#else
    return errno == EEXIST;
#endif
}

// Renames `from` to `to` unless `to` exists; false, with `exists` set, when it does.
bool RenameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to, bool& exists) {
    exists = false;
#ifdef _WIN32
    if (MoveFileExW(from.c_str(), to.c_str(), 0)) return true;
    exists = AlreadyThere();
    return false;
#else
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno == EEXIST) {
        exists = true;
        return false;
    }
    if (errno != EINVAL && errno != ENOSYS) return false;
#endif
    // A file system without the no-replace rename: look, then rename.
    struct stat info;
    if (::lstat(to.c_str(), &info) == 0) {
        exists = true;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace

bool OutputFile::Open(const std::filesystem::path& finalPath) {
    Discard();
    error_.clear();
    final_ = finalPath;
    temporary_ = finalPath;
    temporary_ += ".part";
    handle_ = CreateNew(temporary_);
    if (handle_ == -1)
        return Fail(AlreadyThere() ? "a file " + PathUtf8(temporary_) + " is in the way"
                                   : "cannot create " + PathUtf8(temporary_));
    open_ = true;
    written_ = 0;
    buffer_.clear();
    buffer_.reserve(kBufferBytes);
    return true;
}

bool OutputFile::WriteOut(const char* data, size_t size) {
    while (size > 0) {
#ifdef _WIN32
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
        DWORD done = 0;
        if (!WriteFile(AsHandle(handle_), data, chunk, &done, nullptr) || done == 0) return false;
#else
        const ssize_t done = ::write(static_cast<int>(handle_), data, size);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
#endif
        data += done;
        size -= static_cast<size_t>(done);
    }
    return true;
}

bool OutputFile::Write(const char* data, size_t size) {
    if (!open_) return false;
    written_ += static_cast<int64_t>(size);
    if (buffer_.size() + size > kBufferBytes && !Flush()) return false;
    if (size >= kBufferBytes) {
        return WriteOut(data, size) ? true : Fail("cannot write " + PathUtf8(temporary_) + " (is the disk full?)");
    }
    buffer_.insert(buffer_.end(), data, data + size);
    return true;
}

bool OutputFile::Flush() {
    const bool ok = buffer_.empty() || WriteOut(buffer_.data(), buffer_.size());
    buffer_.clear();
    return ok ? true : Fail("cannot write " + PathUtf8(temporary_) + " (is the disk full?)");
}

bool OutputFile::TruncateTo(int64_t size) {
    if (!open_ || size > written_) return false;
    int64_t inFile = written_ - static_cast<int64_t>(buffer_.size());
    if (size >= inFile) {  // still in the buffer
        buffer_.resize(static_cast<size_t>(size - inFile));
        written_ = size;
        return true;
    }
    buffer_.clear();
#ifdef _WIN32
    LARGE_INTEGER at;
    at.QuadPart = size;
    const bool cut = SetFilePointerEx(AsHandle(handle_), at, nullptr, FILE_BEGIN) && SetEndOfFile(AsHandle(handle_));
#else
    const bool cut = ::ftruncate(static_cast<int>(handle_), size) == 0 &&
                     ::lseek(static_cast<int>(handle_), size, SEEK_SET) == size;
#endif
    if (!cut) return Fail("cannot cut back " + PathUtf8(temporary_));
    written_ = size;
    return true;
}

bool OutputFile::Commit(std::optional<int64_t> modifiedUnix) {
    if (!open_) return false;
    if (!Flush()) return false;
    // The date goes on while the file is open; the rename keeps it.
    if (modifiedUnix) {
#ifdef _WIN32
        const FILETIME when = FileTimeOf(*modifiedUnix);
        SetFileTime(AsHandle(handle_), nullptr, nullptr, &when);
#else
        const struct timespec times[2] = {{*modifiedUnix, 0}, {*modifiedUnix, 0}};
        ::futimens(static_cast<int>(handle_), times);
#endif
    }
    Close();
    bool exists = false;
    if (!RenameNoReplace(temporary_, final_, exists)) {
        std::error_code error;
        std::filesystem::remove(temporary_, error);
        open_ = false;
        return Fail(exists ? PathUtf8(final_) + " already exists" : "cannot rename " + PathUtf8(temporary_));
    }
    open_ = false;
    return true;
}

void OutputFile::Close() {
    if (handle_ == -1) return;
#ifdef _WIN32
    CloseHandle(AsHandle(handle_));
#else
    ::close(static_cast<int>(handle_));
#endif
    handle_ = -1;
}

void OutputFile::Discard() {
    if (!open_) return;
    open_ = false;
    buffer_.clear();
    Close();
    std::error_code error;
    std::filesystem::remove(temporary_, error);
}

bool OutputFile::Fail(const std::string& what) {
    error_ = what;
    Discard();
    return false;
}

}  // namespace corvane::exporting

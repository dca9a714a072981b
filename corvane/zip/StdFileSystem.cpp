// The native implementation of the engine's file-system calls: std::filesystem
// for folders and POSIX descriptors for file data. Built on the native preset
// only; the Windows layer has its own.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "corvane/zip/ZipFileSystem.h"

namespace corvane::zip {
namespace {
namespace fs = std::filesystem;

FileError FromErrno(int e) {
    switch (e) {
    case ENOENT:
    case ENOTDIR:
        return FileError::kNotFound;
    case EACCES:
    case EPERM:
        return FileError::kDenied;
    case EBUSY:
    case ETXTBSY:
        return FileError::kInUse;
    case ENOSPC:
    case EDQUOT:
        return FileError::kDiskFull;
    case EEXIST:
        return FileError::kExists;
    default:
        return FileError::kOther;
    }
}

class PosixRead final : public ReadFile {
public:
    explicit PosixRead(int fd) : fd_(fd) {}
    ~PosixRead() override { ::close(fd_); }
    int64_t Read(void* buffer, size_t count) override {
        for (;;) {
            ssize_t n = ::read(fd_, buffer, count);
            if (n >= 0) return n;
            if (errno != EINTR) return -1;
        }
    }
    bool Seek(uint64_t offset) override { return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) >= 0; }
    uint64_t Size() override {
        struct stat st {};
        return ::fstat(fd_, &st) == 0 ? static_cast<uint64_t>(st.st_size) : 0;
    }

private:
    int fd_;
};

class PosixWrite final : public WriteFile {
public:
    explicit PosixWrite(int fd) : fd_(fd) {}
    ~PosixWrite() override {
        if (fd_ >= 0) ::close(fd_);
    }
    FileError Write(const void* data, size_t count) override {
        const char* p = static_cast<const char*>(data);
        while (count > 0) {
            ssize_t n = ::write(fd_, p, count);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return n < 0 ? FromErrno(errno) : FileError::kDiskFull;
            p += n;
            count -= static_cast<size_t>(n);
        }
        return FileError::kNone;
    }
    FileError WriteAt(uint64_t offset, const void* data, size_t count) override {
        ssize_t n = ::pwrite(fd_, data, count, static_cast<off_t>(offset));
        return n == static_cast<ssize_t>(count) ? FileError::kNone : FromErrno(errno);
    }
    bool Truncate(uint64_t size) override {
        return ::ftruncate(fd_, static_cast<off_t>(size)) == 0 && ::lseek(fd_, static_cast<off_t>(size), SEEK_SET) >= 0;
    }
    FileError Flush() override { return ::fsync(fd_) == 0 ? FileError::kNone : FromErrno(errno); }
    FileError Close() override {
        int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0 ? FileError::kNone : FromErrno(errno);
    }

private:
    int fd_;
};

class StdFileSystem final : public FileSystem {
public:
    char Separator() const override { return '/'; }

    std::unique_ptr<ReadFile> OpenRead(const std::string& path, FileError* error) override {
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            *error = FromErrno(errno);
            return nullptr;
        }
        struct stat st {};
        if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
            ::close(fd);
            *error = FileError::kNotFound;
            return nullptr;
        }
        *error = FileError::kNone;
        return std::make_unique<PosixRead>(fd);
    }

    std::unique_ptr<WriteFile> CreateNew(const std::string& path, FileError* error) override {
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) {
            *error = FromErrno(errno);
            return nullptr;
        }
        *error = FileError::kNone;
        return std::make_unique<PosixWrite>(fd);
    }

    // Descriptors write through at once: a second one reads what was written.
    std::unique_ptr<ReadFile> OpenWritten(const std::string& path, FileError* error) override {
        return OpenRead(path, error);
    }

    bool Rename(const std::string& from, const std::string& to) override {
        return ::rename(from.c_str(), to.c_str()) == 0;
    }
    bool Remove(const std::string& path) override { return ::unlink(path.c_str()) == 0; }

    bool Stat(const std::string& path, FileInfo* info) override {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) return false;
        Fill(st, info);
        return true;
    }

    bool List(const std::string& folder, std::vector<FileInfo>* entries) override {
        std::error_code ec;
        fs::directory_iterator it(folder, ec);
        if (ec) return false;
        for (const auto& entry : it) {
            struct stat st {};
            if (::stat(entry.path().c_str(), &st) != 0) continue;
            FileInfo info;
            Fill(st, &info);
            info.name = entry.path().filename().string();
            entries->push_back(info);
        }
        return true;
    }

    bool MakeFolders(const std::string& path) override {
        std::error_code ec;
        fs::create_directories(path, ec);
        return fs::is_directory(path, ec);
    }

    bool SetFileInfo(const std::string& path, int64_t modifiedUnix, uint32_t dosAttributes) override {
        struct timespec times[2];
        times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(modifiedUnix);
        times[0].tv_nsec = times[1].tv_nsec = 0;
        bool ok = ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
        if (dosAttributes & kDosReadOnly) ok = ::chmod(path.c_str(), 0444) == 0 && ok;
        return ok;
    }

    uint64_t FreeSpace(const std::string& folder) override {
        struct statvfs sv {};
        if (::statvfs(folder.c_str(), &sv) != 0) return UINT64_MAX;  // unknown is not full
        return static_cast<uint64_t>(sv.f_bavail) * sv.f_frsize;
    }

private:
    static void Fill(const struct stat& st, FileInfo* info) {
        info->isFolder = S_ISDIR(st.st_mode);
        info->size = info->isFolder ? 0 : static_cast<uint64_t>(st.st_size);
        info->modifiedUnix = st.st_mtime;
        info->dosAttributes = info->isFolder ? kDosFolder : kDosArchive;
        if ((st.st_mode & 0222) == 0) info->dosAttributes |= kDosReadOnly;
    }
};
}  // namespace

std::unique_ptr<FileSystem> MakeStdFileSystem() { return std::make_unique<StdFileSystem>(); }

}  // namespace corvane::zip

#include "corvane/zip/Win32FileSystem.h"

#include <windows.h>

#include <vector>

namespace corvane::zip {
namespace {
constexpr int64_t kEpochDifference = 11644473600ll;  // 1601 to 1970, in seconds
constexpr size_t kWriteBuffer = 256 * 1024;

FileError FromLastError() {
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return FileError::kNotFound;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return FileError::kInUse;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return FileError::kDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileError::kDiskFull;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return FileError::kExists;
    default:
        return FileError::kOther;
    }
}

int64_t ToUnix(const FILETIME& ft) {
    ULARGE_INTEGER u;
    u.LowPart = ft.dwLowDateTime;
    u.HighPart = ft.dwHighDateTime;
    return static_cast<int64_t>(u.QuadPart / 10000000ull) - kEpochDifference;
}

FILETIME FromUnix(int64_t t) {
    ULARGE_INTEGER u;
    u.QuadPart = static_cast<uint64_t>(t + kEpochDifference) * 10000000ull;
    FILETIME ft;
    ft.dwLowDateTime = u.LowPart;
    ft.dwHighDateTime = u.HighPart;
    return ft;
}

class Win32Read final : public ReadFile {
public:
    explicit Win32Read(HANDLE h) : h_(h) {}
    ~Win32Read() override { CloseHandle(h_); }
    int64_t Read(void* buffer, size_t count) override {
        DWORD got = 0;
        DWORD want = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
        if (!::ReadFile(h_, buffer, want, &got, nullptr)) return -1;
        return got;
    }
    bool Seek(uint64_t offset) override {
        LARGE_INTEGER li;
        li.QuadPart = static_cast<LONGLONG>(offset);
        return SetFilePointerEx(h_, li, nullptr, FILE_BEGIN) != 0;
    }
    uint64_t Size() override {
        LARGE_INTEGER li;
        return GetFileSizeEx(h_, &li) ? static_cast<uint64_t>(li.QuadPart) : 0;
    }

private:
    HANDLE h_;
};

class Win32Write final : public WriteFile {
public:
    explicit Win32Write(HANDLE h) : h_(h) { buffer_.reserve(kWriteBuffer); }
    ~Win32Write() override {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    }

    FileError Write(const void* data, size_t count) override {
        const char* p = static_cast<const char*>(data);
        if (buffer_.size() + count <= kWriteBuffer) {
            buffer_.insert(buffer_.end(), p, p + count);
            return FileError::kNone;
        }
        FileError e = Drain();
        if (e != FileError::kNone) return e;
        if (count < kWriteBuffer) {
            buffer_.insert(buffer_.end(), p, p + count);
            return FileError::kNone;
        }
        return Raw(p, count);
    }
    FileError WriteAt(uint64_t offset, const void* data, size_t count) override {
        FileError e = Drain();
        if (e != FileError::kNone) return e;
        LARGE_INTEGER li, end, zero;
        zero.QuadPart = 0;
        li.QuadPart = static_cast<LONGLONG>(offset);
        if (!SetFilePointerEx(h_, zero, &end, FILE_CURRENT) || !SetFilePointerEx(h_, li, nullptr, FILE_BEGIN))
            return FileError::kOther;
        e = Raw(static_cast<const char*>(data), count);
        if (!SetFilePointerEx(h_, end, nullptr, FILE_BEGIN)) return FileError::kOther;
        return e;
    }
    bool Truncate(uint64_t size) override {
        if (Drain() != FileError::kNone) return false;
        LARGE_INTEGER li;
        li.QuadPart = static_cast<LONGLONG>(size);
        return SetFilePointerEx(h_, li, nullptr, FILE_BEGIN) && SetEndOfFile(h_);
    }
    FileError Flush() override {
        FileError e = Drain();
        if (e == FileError::kNone && !FlushFileBuffers(h_)) e = FromLastError();
        return e;
    }
    FileError Handover() override { return Drain(); }
    FileError Close() override {
        FileError e = Drain();
        if (!CloseHandle(h_) && e == FileError::kNone) e = FromLastError();
        h_ = INVALID_HANDLE_VALUE;
        return e;
    }

private:
    // Hands the buffered bytes to the system.
    FileError Drain() {
        if (buffer_.empty()) return FileError::kNone;
        FileError e = Raw(buffer_.data(), buffer_.size());
        buffer_.clear();
        return e;
    }
    FileError Raw(const char* p, size_t count) {
        while (count > 0) {
            DWORD part = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
            DWORD done = 0;
            if (!::WriteFile(h_, p, part, &done, nullptr)) return FromLastError();
            if (done == 0) return FileError::kDiskFull;
            p += done;
            count -= done;
        }
        return FileError::kNone;
    }
    HANDLE h_;
    std::vector<char> buffer_;
};

class Win32FileSystem final : public FileSystem {
public:
    char Separator() const override { return '\\'; }

    std::unique_ptr<ReadFile> OpenRead(const std::string& path, FileError* error) override {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            *error = FromLastError();
            return nullptr;
        }
        *error = FileError::kNone;
        return std::make_unique<Win32Read>(h);
    }

    // A new file is shared for reading only, so that this process can read
    // back what it wrote (OpenWritten) while it writes; nobody can write it.
    std::unique_ptr<WriteFile> CreateNew(const std::string& path, FileError* error) override {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            *error = FromLastError();
            return nullptr;
        }
        *error = FileError::kNone;
        return std::make_unique<Win32Write>(h);
    }

    // The writer's handle has the file open for writing: this one shares writing with it.
    std::unique_ptr<ReadFile> OpenWritten(const std::string& path, FileError* error) override {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            *error = FromLastError();
            return nullptr;
        }
        *error = FileError::kNone;
        return std::make_unique<Win32Read>(h);
    }

    bool Rename(const std::string& from, const std::string& to) override {
        DWORD attributes = GetFileAttributesA(to.c_str());
        bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
        if (readOnly) SetFileAttributesA(to.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
        if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
        if (readOnly) SetFileAttributesA(to.c_str(), attributes);  // the target stays as it was
        return false;
    }

    bool Remove(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }

    bool Stat(const std::string& path, FileInfo* info) override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
        Fill(data.dwFileAttributes, data.nFileSizeHigh, data.nFileSizeLow, data.ftLastWriteTime, info);
        return true;
    }

    bool List(const std::string& folder, std::vector<FileInfo>* entries) override {
        std::string pattern = folder;
        if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
        pattern += '*';
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA(pattern.c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            FileInfo info;
            Fill(fd.dwFileAttributes, fd.nFileSizeHigh, fd.nFileSizeLow, fd.ftLastWriteTime, &info);
            info.name = name;
            entries->push_back(info);
        } while (FindNextFileA(h, &fd));
        FindClose(h);
        return true;
    }

    bool MakeFolders(const std::string& path) override {
        DWORD a = GetFileAttributesA(path.c_str());
        if (a != INVALID_FILE_ATTRIBUTES) return (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
        size_t slash = path.find_last_of("\\/");
        if (slash != std::string::npos && slash > 0 && path[slash - 1] != ':') {
            if (!MakeFolders(path.substr(0, slash))) return false;
        }
        return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
    }

    bool SetFileInfo(const std::string& path, int64_t modifiedUnix, uint32_t dosAttributes) override {
        HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        FILETIME ft = FromUnix(modifiedUnix);
        bool ok = SetFileTime(h, nullptr, nullptr, &ft) != 0;
        CloseHandle(h);
        DWORD a = dosAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        if (a != 0) ok = SetFileAttributesA(path.c_str(), a) && ok;
        return ok;
    }

    uint64_t FreeSpace(const std::string& folder) override {
        ULARGE_INTEGER available;
        // A volume that cannot say (some network shares) is not taken for a full one;
        // a real full disk still fails the write.
        if (!GetDiskFreeSpaceExA(folder.c_str(), &available, nullptr, nullptr)) return UINT64_MAX;
        return available.QuadPart;
    }

private:
    static void Fill(DWORD attributes, DWORD high, DWORD low, const FILETIME& written, FileInfo* info) {
        info->isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        info->size = info->isFolder ? 0 : (static_cast<uint64_t>(high) << 32 | low);
        info->modifiedUnix = ToUnix(written);
        info->dosAttributes = attributes & 0x37;
    }
};
}  // namespace

std::unique_ptr<FileSystem> MakeWin32FileSystem() { return std::make_unique<Win32FileSystem>(); }

}  // namespace corvane::zip

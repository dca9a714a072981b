// The file-system calls the zip engine makes, behind a small interface: the
// Windows layer supplies Win32 calls, native code and tests the standard
// library, and tests can wrap either to simulate small removable volumes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace corvane::zip {

inline constexpr uint32_t kDosReadOnly = 0x01;
inline constexpr uint32_t kDosHidden = 0x02;
inline constexpr uint32_t kDosSystem = 0x04;
inline constexpr uint32_t kDosFolder = 0x10;
inline constexpr uint32_t kDosArchive = 0x20;

enum class FileError { kNone, kNotFound, kInUse, kDenied, kDiskFull, kExists, kOther };

struct FileInfo {
    std::string name;  // last path component (List) or empty (Stat)
    bool isFolder = false;
    uint64_t size = 0;
    int64_t modifiedUnix = 0;  // seconds since 1970, UTC
    uint32_t dosAttributes = 0;
};

class ReadFile {
public:
    virtual ~ReadFile() = default;
    // Bytes read, 0 at the end, -1 on a read error.
    virtual int64_t Read(void* buffer, size_t count) = 0;
    virtual bool Seek(uint64_t offset) = 0;
    virtual uint64_t Size() = 0;
};

class WriteFile {
public:
    virtual ~WriteFile() = default;
    virtual FileError Write(const void* data, size_t count) = 0;
    // Overwrites bytes already written without moving the end.
    virtual FileError WriteAt(uint64_t offset, const void* data, size_t count) = 0;
    // Cuts the file back to `size` bytes and continues writing there.
    virtual bool Truncate(uint64_t size) = 0;
    // Writes everything written so far through to the disk.
    virtual FileError Flush() = 0;
    // Hands the bytes written so far to the system without writing them
    // through, so that another handle reading the file sees them. A layer
    // that keeps no bytes of its own has nothing to do.
    virtual FileError Handover() { return FileError::kNone; }
    virtual FileError Close() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual char Separator() const = 0;
    virtual std::unique_ptr<ReadFile> OpenRead(const std::string& path, FileError* error) = 0;
    // Creates a new file in one step: where a file or folder of that name
    // exists, nothing is touched and the error is kExists.
    virtual std::unique_ptr<WriteFile> CreateNew(const std::string& path, FileError* error) = 0;
    // Opens for reading a file that this process made with CreateNew and is
    // still writing, to read back what it holds so far (up to what was handed over).
    virtual std::unique_ptr<ReadFile> OpenWritten(const std::string& path, FileError* error) = 0;
    // Renames, replacing an existing target; a target that cannot be replaced
    // keeps its contents and attributes.
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    virtual bool Remove(const std::string& path) = 0;
    virtual bool Stat(const std::string& path, FileInfo* info) = 0;
    virtual bool List(const std::string& folder, std::vector<FileInfo>* entries) = 0;
    // Creates the folder and any missing parents.
    virtual bool MakeFolders(const std::string& path) = 0;
    virtual bool SetFileInfo(const std::string& path, int64_t modifiedUnix, uint32_t dosAttributes) = 0;
    // Bytes that can still be written on the volume holding `folder`; UINT64_MAX when unknown.
    virtual uint64_t FreeSpace(const std::string& folder) = 0;
};

// The standard-library implementation (std::filesystem and stdio); native
// builds and tests use it.
std::unique_ptr<FileSystem> MakeStdFileSystem();

}  // namespace corvane::zip

// How the catalog sees files: existence, length and bytes from the start.
// Platform-free; StdFileSource reads the local file system with the
// standard library, Win32FileSource (Windows only) uses the ANSI file API.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::catalog {

class IFileSource {
public:
    virtual ~IFileSource() = default;
    // True for an existing file (not a folder).
    virtual bool FileExists(const std::string& path) = 0;
    // Length in bytes, -1 when the file cannot be found.
    virtual int64_t FileLength(const std::string& path) = 0;
    // Up to `count` bytes from the start; fewer when the file is shorter,
    // none when it cannot be read.
    virtual std::vector<uint8_t> ReadStart(const std::string& path, size_t count) = 0;
};

class StdFileSource : public IFileSource {
public:
    bool FileExists(const std::string& path) override;
    int64_t FileLength(const std::string& path) override;
    std::vector<uint8_t> ReadStart(const std::string& path, size_t count) override;
};

// Store folder + file name; a separator is put between when the folder has
// none at its end ('\' unless the folder already uses '/').
std::string JoinStorePath(const std::string& folder, const std::string& name);

}  // namespace corvane::catalog

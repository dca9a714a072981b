// An in-memory file system for catalog tests: files by exact path, with an
// optional reported length larger than the bytes held (to test sizes above
// 2 GiB without writing them).
#pragma once

#include "corvane/catalog/FileSource.h"

#include <map>
#include <string>
#include <vector>

namespace corvane::testing {

class MemoryFileSource : public catalog::IFileSource {
public:
    void Put(const std::string& path, std::vector<uint8_t> bytes, int64_t reportedLength = -1);
    void Erase(const std::string& path) { files_.erase(path); }

    bool FileExists(const std::string& path) override { return files_.count(path) != 0; }
    int64_t FileLength(const std::string& path) override;
    std::vector<uint8_t> ReadStart(const std::string& path, size_t count) override;

    int reads = 0;  // ReadStart calls, so a test can see what was opened

private:
    struct File {
        std::vector<uint8_t> bytes;
        int64_t length = 0;
    };
    std::map<std::string, File> files_;
};

}  // namespace corvane::testing

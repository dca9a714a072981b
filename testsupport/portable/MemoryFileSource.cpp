#include "testsupport/portable/MemoryFileSource.h"

#include <algorithm>

namespace corvane::testing {

void MemoryFileSource::Put(const std::string& path, std::vector<uint8_t> bytes, int64_t reportedLength) {
    int64_t length = reportedLength >= 0 ? reportedLength : static_cast<int64_t>(bytes.size());
    files_[path] = File{std::move(bytes), length};
}

int64_t MemoryFileSource::FileLength(const std::string& path) {
    auto it = files_.find(path);
    return it == files_.end() ? -1 : it->second.length;
}

std::vector<uint8_t> MemoryFileSource::ReadStart(const std::string& path, size_t count) {
    ++reads;
    auto it = files_.find(path);
    if (it == files_.end()) return {};
    const std::vector<uint8_t>& bytes = it->second.bytes;
    return std::vector<uint8_t>(bytes.begin(), bytes.begin() + std::min(count, bytes.size()));
}

}  // namespace corvane::testing

#include "corvane/catalog/FileSource.h"

#include <filesystem>
#include <fstream>

namespace corvane::catalog {

bool StdFileSource::FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(path), error);
}

int64_t StdFileSource::FileLength(const std::string& path) {
    std::error_code error;
    auto length = std::filesystem::file_size(std::filesystem::path(path), error);
    return error ? -1 : static_cast<int64_t>(length);
}

std::vector<uint8_t> StdFileSource::ReadStart(const std::string& path, size_t count) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in) return {};
    std::vector<uint8_t> bytes(count);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

std::string JoinStorePath(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '\\' || folder.back() == '/') return folder + name;
    char separator = folder.find('/') != std::string::npos && folder.find('\\') == std::string::npos ? '/' : '\\';
    return folder + separator + name;
}

}  // namespace corvane::catalog

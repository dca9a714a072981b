// A file written whole or not at all: bytes go to a temporary file beside
// the final name ("name.part"), which is renamed to the final name only when
// complete and removed on failure, cancel or destruction. An existing file
// is never overwritten. Writes are buffered so a small message costs one
// write call. The temporary file is made only where none is, and the
// rename refuses a final name that has come to exist; no name is looked up
// beforehand. Under Wine, which matches names in any case, every lookup of
// a missing name reads the whole folder, so in a folder of many files each
// lookup saved counts.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace corvane::exporting {

class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile() { Discard(); }

    // Starts the temporary file for `finalPath`. False (see Error()) when it
    // cannot be created.
    bool Open(const std::filesystem::path& finalPath);
    bool IsOpen() const { return open_; }
    bool Write(const char* data, size_t size);
    bool Write(const std::string& text) { return Write(text.data(), text.size()); }
    int64_t Written() const { return written_; }
    // Drops everything written after the first `size` bytes.
    bool TruncateTo(int64_t size);
    // Flushes, closes and renames to the final name, then sets the file's
    // modification time when one is given. False, with the temporary file
    // removed, on any failure or when the final name has come to exist.
    bool Commit(std::optional<int64_t> modifiedUnix = std::nullopt);
    // Removes the temporary file; nothing when none is open.
    void Discard();

    const std::string& Error() const { return error_; }
    const std::filesystem::path& FinalPath() const { return final_; }

private:
    bool Flush();
    bool WriteOut(const char* data, size_t size);
    void Close();
    bool Fail(const std::string& what);

    std::filesystem::path final_, temporary_;
    intptr_t handle_ = -1;  // the temporary file: a Windows HANDLE or a file descriptor
    std::vector<char> buffer_;
    int64_t written_ = 0;
    bool open_ = false;
    std::string error_;
};

}  // namespace corvane::exporting

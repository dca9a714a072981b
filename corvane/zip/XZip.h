// The zip component as one object (`xZip`): settings set before each call,
// the commands Compress, Extract and Test returning a 16-bit result, and the
// events Adding, Updating, SkippingFile, Newdisk and Rename. A command runs
// on the calling thread, which also gets every event; a handler may set
// Abort to end the command promptly. No exception leaves a command: memory
// running out, a thread that cannot start or a handler that throws ends it
// with the internal-error result 210. The program's runs call the engine
// from their worker thread; this is the command line's and the tests' way in.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "corvane/zip/ZipEngine.h"

namespace corvane::zip {

class XZip {
public:
    XZip();
    ~XZip();
    XZip(const XZip&) = delete;
    XZip& operator=(const XZip&) = delete;

    // Settings.
    std::string ArchivePath;
    std::string FilesToProcess;  // CR-separated
    std::string TempFolder;
    std::string ExtractionFolder;
    bool IncludeSubfolders = false;
    bool SpanDisks = false;
    bool OverwriteDiskette = false;
    int OverwriteMode = 0;  // 2: replace existing files
    uint64_t MaxEntrySize =
        0;  // extraction: an entry larger than this is refused, before any byte is written (0: none)
    // Compress reads every entry back from the archive as it is written (ZipSettings::checkWritten).
    bool CheckWritten = false;
    // Source files stored under a name of the caller's choosing (path, entry name).
    std::vector<std::pair<std::string, std::string>> StoredNames;
    void SetAbort(bool abort) { abort_ = abort; }
    bool Abort() const { return abort_; }

    // Tuning and seams: deflate level, threads, ZIP64 thresholds, file system.
    int Level = 4;
    unsigned Threads = 0;
    Zip64Limits Zip64;
    void SetFileSystem(std::shared_ptr<FileSystem> fs) { fs_ = std::move(fs); }

    // Events.
    std::function<void(const EntryProgress&)> Adding;
    std::function<void(const EntryProgress&)> Updating;
    std::function<void(const std::string& Filename, const std::string& Reason)> SkippingFile;
    std::function<void(int DiskNumber)> Newdisk;  // without a handler a disk prompt cancels
    std::function<void(const std::string& OrigName, std::string& NewName)> Rename;

    uint16_t Compress(int16_t reserved = 0);
    uint16_t Extract(int16_t reserved = 0);
    // Reads the archive back, inflating every entry and checking its CRC;
    // the names of damaged entries go to `bad`.
    uint16_t Test(std::vector<std::string>* bad);

private:
    class Bridge;
    enum class Command { Compress, Extract, Test };
    uint16_t Run(Command command, std::vector<std::string>* bad = nullptr);
    ZipSettings Settings() const;

    std::shared_ptr<FileSystem> fs_;
    std::atomic<bool> abort_{false};
    bool running_ = false;
};

}  // namespace corvane::zip

// Reads back what the compress command writes, on a thread of its own, while
// the next entries compress: every record (span marker, local header, data
// descriptor, central record, end records) must read back as the bytes
// written, and every entry's data, read back from the file, must inflate to
// the size and CRC taken from its source. The writer tells it what it wrote
// where, and how far the file has been handed to the system; a volume of a
// spanned set is checked whole before it is closed. Reading uses a handle of
// its own (FileSystem::OpenWritten), so what is checked is what the file
// holds, not what is in memory.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "corvane/zip/ZipFormat.h"

namespace corvane::zip {

class WriteCheck {
public:
    WriteCheck(FileSystem& fs, const std::atomic<bool>& abort);
    ~WriteCheck();
    WriteCheck(const WriteCheck&) = delete;
    WriteCheck& operator=(const WriteCheck&) = delete;

    // False when the thread cannot be started.
    bool Start();

    // In the order written: `count` bytes at `offset` of volume `disk` must read back as `data`
    // (`ifDifferent`: the result when they do not).
    void Record(uint32_t disk, uint64_t offset, const void* data, size_t count, ZipResult ifDifferent);
    // Compressed data of the entry being written.
    void Data(uint32_t disk, uint64_t offset, size_t count);
    // The entry's data is complete: it must have inflated to `e`'s sizes and CRC.
    void EndData(const ZipEntry& e);
    // The bytes of `disk` (the file `path`) up to `size` are with the system and can be read.
    void Available(uint32_t disk, const std::string& path, uint64_t size);
    // Waits until everything told so far is checked (every byte told must be
    // Available); `closeReader` also closes the handle on the file, before it
    // is renamed, truncated or removed. The first failure, or kSuccess.
    ZipResult Settle(bool closeReader);
    // The entry being written is taken back out: its data is forgotten. Call
    // after Settle, before the file is cut back.
    void Abandon();

    // The first failure found so far, or kSuccess.
    ZipResult Failure() const { return failure_.load(); }
    // The name of the entry (or "" for a record) that failed.
    std::string FailedName() const;
    // Ends the thread and closes its handle; what is left unchecked stays so.
    void Stop();

private:
    struct Job {
        enum Kind { kRecord, kData, kEnd, kReset, kClose } kind = kRecord;
        uint32_t disk = 0;
        uint64_t offset = 0;
        uint64_t count = 0;
        std::vector<unsigned char> bytes;  // a record's bytes
        ZipResult ifDifferent = result::kCorruptEntry;
        ZipEntry entry;  // kEnd
    };
    struct Volume {
        std::string path;
        uint64_t available = 0;
    };

    void Push(Job job);
    void Work();
    void Check(const Job& job);
    ZipResult ReadAt(uint32_t disk, uint64_t offset, unsigned char* buffer, size_t count);
    ZipResult FeedData(const Job& job);
    ZipResult EndEntry(const ZipEntry& e);
    void ResetData();
    void Fail(ZipResult r, const std::string& name);

    FileSystem& fs_;
    const std::atomic<bool>& abort_;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;  // jobs, availability, idleness
    std::deque<Job> jobs_;
    std::map<uint32_t, Volume> volumes_;
    bool busy_ = false;
    bool waitingForBytes_ = false;
    bool stopping_ = false;
    std::atomic<ZipResult> failure_{result::kSuccess};
    std::string failedName_;

    // The thread's own state.
    std::unique_ptr<ReadFile> reader_;
    uint32_t readerDisk_ = 0;
    std::vector<unsigned char> in_, out_;
    void* zstream_ = nullptr;  // z_stream of the entry's data
    bool inflating_ = false;   // data of the current entry began
    bool ended_ = false;       // its deflate stream ended
    uint64_t consumed_ = 0, produced_ = 0;
    uint32_t crc_ = 0;
};

}  // namespace corvane::zip

// Deflates blocks on worker threads. A large file is cut into blocks; each
// block is primed with the 32 KiB before it and ends on a sync flush (the
// last one finishes the stream), so the outputs, written in order, join into
// one deflate stream and the block CRCs combine into the file's CRC.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace corvane::zip {

struct DeflateJob {
    std::vector<unsigned char> input;
    std::vector<unsigned char> dictionary;  // up to 32 KiB of the input before this block
    bool last = false;
    std::vector<unsigned char> output;
    uint32_t crc = 0;
    bool failed = false;
    bool done = false;
};

class DeflatePool {
public:
    DeflatePool(unsigned threads, int level);
    ~DeflatePool();
    DeflatePool(const DeflatePool&) = delete;
    DeflatePool& operator=(const DeflatePool&) = delete;

    void Submit(const std::shared_ptr<DeflateJob>& job);
    void Wait(const DeflateJob& job);
    unsigned Threads() const { return static_cast<unsigned>(workers_.size()); }

private:
    void Work();
    int level_;
    std::mutex mutex_;
    std::condition_variable queued_;
    std::condition_variable finished_;
    std::deque<std::shared_ptr<DeflateJob>> queue_;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

// Deflates one job with the given stream state (raw deflate, reset per job).
void DeflateBlock(void* zstream, DeflateJob& job);

}  // namespace corvane::zip

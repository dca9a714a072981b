#include "corvane/zip/DeflatePool.h"

#include <zlib.h>

#include <cstring>

namespace corvane::zip {

DeflatePool::DeflatePool(unsigned threads, int level) : level_(level) {
    if (threads == 0) threads = 1;
    try {
        for (unsigned i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
    } catch (...) {
        // The threads that started do the work; none at all is the caller's internal error.
    }
}

DeflatePool::~DeflatePool() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    queued_.notify_all();
    for (auto& t : workers_) t.join();
}

void DeflatePool::Submit(const std::shared_ptr<DeflateJob>& job) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(job);
    }
    queued_.notify_one();
}

void DeflatePool::Wait(const DeflateJob& job) {
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait(lock, [&] { return job.done; });
}

void DeflatePool::Work() {
    z_stream zs;
    std::memset(&zs, 0, sizeof zs);
    bool ready = deflateInit2(&zs, level_, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) == Z_OK;
    for (;;) {
        std::shared_ptr<DeflateJob> job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            queued_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) break;
            job = queue_.front();
            queue_.pop_front();
        }
        job->failed = true;
        if (ready) {
            try {
                DeflateBlock(&zs, *job);
            } catch (...) {
                job->failed = true;  // out of memory for the output: an internal error
            }
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            job->done = true;
        }
        finished_.notify_all();
    }
    if (ready) deflateEnd(&zs);
}

void DeflateBlock(void* zstream, DeflateJob& job) {
    z_stream& zs = *static_cast<z_stream*>(zstream);
    job.crc = static_cast<uint32_t>(crc32(0, job.input.data(), static_cast<uInt>(job.input.size())));
    if (deflateReset(&zs) != Z_OK) {
        job.failed = true;
        return;
    }
    if (!job.dictionary.empty() &&
        deflateSetDictionary(&zs, job.dictionary.data(), static_cast<uInt>(job.dictionary.size())) != Z_OK) {
        job.failed = true;
        return;
    }
    job.output.resize(deflateBound(&zs, static_cast<uLong>(job.input.size())) + 64);
    zs.next_in = job.input.data();
    zs.avail_in = static_cast<uInt>(job.input.size());
    zs.next_out = job.output.data();
    zs.avail_out = static_cast<uInt>(job.output.size());
    int flush = job.last ? Z_FINISH : Z_SYNC_FLUSH;
    int rc = deflate(&zs, flush);
    while (rc == Z_OK && (zs.avail_in > 0 || zs.avail_out == 0 || (job.last && rc != Z_STREAM_END))) {
        size_t used = job.output.size() - zs.avail_out;
        job.output.resize(job.output.size() * 2);
        zs.next_out = job.output.data() + used;
        zs.avail_out = static_cast<uInt>(job.output.size() - used);
        rc = deflate(&zs, flush);
    }
    bool ok = job.last ? rc == Z_STREAM_END : (rc == Z_OK || rc == Z_BUF_ERROR) && zs.avail_in == 0;
    job.output.resize(job.output.size() - zs.avail_out);
    job.failed = !ok;
}

}  // namespace corvane::zip

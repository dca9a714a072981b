#include "corvane/zip/WriteCheck.h"

#include <zlib.h>

#include <cstring>
#include <system_error>

namespace corvane::zip {
namespace {
constexpr size_t kChunk = 256 * 1024;
// Jobs queued at most; the writer waits beyond that while the thread has
// bytes to read. Each is small (a record, or the place of some data).
constexpr size_t kMaxJobs = 4096;
}  // namespace

WriteCheck::WriteCheck(FileSystem& fs, const std::atomic<bool>& abort) : fs_(fs), abort_(abort) {}

WriteCheck::~WriteCheck() {
    Stop();
    if (zstream_) {
        inflateEnd(static_cast<z_stream*>(zstream_));
        delete static_cast<z_stream*>(zstream_);
    }
}

bool WriteCheck::Start() {
    try {
        auto* zs = new z_stream;
        std::memset(zs, 0, sizeof *zs);
        if (inflateInit2(zs, -15) != Z_OK) {
            delete zs;
            return false;
        }
        zstream_ = zs;
        in_.resize(kChunk);
        out_.resize(kChunk);
        thread_ = std::thread([this] { Work(); });
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

void WriteCheck::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
    reader_.reset();
}

std::string WriteCheck::FailedName() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return failedName_;
}

void WriteCheck::Push(Job job) {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        // A thread waiting for bytes not yet handed over never empties the
        // queue: the writer goes on until it hands them over.
        changed_.wait(lock, [&] { return stopping_ || jobs_.size() < kMaxJobs || waitingForBytes_; });
        if (stopping_) return;
        jobs_.push_back(std::move(job));
    }
    changed_.notify_all();
}

void WriteCheck::Record(uint32_t disk, uint64_t offset, const void* data, size_t count, ZipResult ifDifferent) {
    Job job;
    job.kind = Job::kRecord;
    job.disk = disk;
    job.offset = offset;
    job.count = count;
    const auto* p = static_cast<const unsigned char*>(data);
    job.bytes.assign(p, p + count);
    job.ifDifferent = ifDifferent;
    Push(std::move(job));
}

void WriteCheck::Data(uint32_t disk, uint64_t offset, size_t count) {
    Job job;
    job.kind = Job::kData;
    job.disk = disk;
    job.offset = offset;
    job.count = count;
    Push(std::move(job));
}

void WriteCheck::EndData(const ZipEntry& e) {
    Job job;
    job.kind = Job::kEnd;
    job.entry = e;
    Push(std::move(job));
}

void WriteCheck::Abandon() {
    Job job;
    job.kind = Job::kReset;
    Push(std::move(job));
}

void WriteCheck::Available(uint32_t disk, const std::string& path, uint64_t size) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Volume& v = volumes_[disk];
        v.path = path;
        v.available = size;
    }
    changed_.notify_all();
}

ZipResult WriteCheck::Settle(bool closeReader) {
    if (closeReader) {
        Job job;
        job.kind = Job::kClose;
        Push(std::move(job));
    }
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return stopping_ || (jobs_.empty() && !busy_); });
    if (stopping_ && failure_ == result::kSuccess) return result::kStopped;
    return failure_;
}

void WriteCheck::Fail(ZipResult r, const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (failure_ != result::kSuccess) return;
    failedName_ = name;
    failure_ = r;
}

void WriteCheck::Work() {
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
            if (stopping_) break;
            job = std::move(jobs_.front());
            jobs_.pop_front();
            busy_ = true;
        }
        changed_.notify_all();
        try {
            Check(job);
        } catch (...) {
            Fail(result::kInternal, {});  // out of memory
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            busy_ = false;
        }
        changed_.notify_all();
    }
    reader_.reset();
}

void WriteCheck::Check(const Job& job) {
    if (job.kind == Job::kClose) {
        reader_.reset();
        return;
    }
    if (job.kind == Job::kReset) {
        ResetData();
        return;
    }
    // After a failure nothing more is read: the command ends with it.
    if (failure_ != result::kSuccess) return;
    switch (job.kind) {
    case Job::kRecord: {
        std::vector<unsigned char> read(job.bytes.size());
        ZipResult r = ReadAt(job.disk, job.offset, read.data(), read.size());
        if (r == result::kSuccess && read != job.bytes) r = job.ifDifferent;
        if (r != result::kSuccess) Fail(r == result::kStopped ? r : job.ifDifferent, {});
        return;
    }
    case Job::kData: {
        ZipResult r = FeedData(job);
        if (r != result::kSuccess) Fail(r, {});
        return;
    }
    case Job::kEnd: {
        ZipResult r = EndEntry(job.entry);
        if (r != result::kSuccess) Fail(r, job.entry.name);
        return;
    }
    default:
        return;
    }
}

ZipResult WriteCheck::ReadAt(uint32_t disk, uint64_t offset, unsigned char* buffer, size_t count) {
    std::string path;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        waitingForBytes_ = true;
        changed_.notify_all();
        changed_.wait(lock, [&] {
            auto v = volumes_.find(disk);
            return stopping_ || (v != volumes_.end() && v->second.available >= offset + count);
        });
        waitingForBytes_ = false;
        if (stopping_) return result::kStopped;
        path = volumes_[disk].path;
    }
    if (!reader_ || readerDisk_ != disk) {
        reader_.reset();
        FileError error;
        reader_ = fs_.OpenWritten(path, &error);
        if (!reader_) return result::kCorruptEntry;
        readerDisk_ = disk;
    }
    if (!reader_->Seek(offset)) return result::kCorruptEntry;
    while (count > 0) {
        int64_t n = reader_->Read(buffer, count);
        if (n <= 0) return result::kCorruptEntry;
        buffer += n;
        count -= static_cast<size_t>(n);
    }
    return result::kSuccess;
}

void WriteCheck::ResetData() {
    inflating_ = ended_ = false;
    consumed_ = produced_ = 0;
    crc_ = 0;
}

// Inflates the next compressed bytes of the entry as they read back.
ZipResult WriteCheck::FeedData(const Job& job) {
    z_stream& zs = *static_cast<z_stream*>(zstream_);
    if (!inflating_) {
        if (inflateReset(&zs) != Z_OK) return result::kInternal;
        ResetData();
        inflating_ = true;
    }
    uint64_t offset = job.offset, remaining = job.count;
    while (remaining > 0) {
        if (abort_) return result::kStopped;
        size_t part = static_cast<size_t>(std::min<uint64_t>(remaining, in_.size()));
        ZipResult r = ReadAt(job.disk, offset, in_.data(), part);
        if (r != result::kSuccess) return r;
        offset += part;
        remaining -= part;
        consumed_ += part;
        if (ended_) return result::kCorruptEntry;  // bytes after the end of the stream
        zs.next_in = in_.data();
        zs.avail_in = static_cast<uInt>(part);
        do {
            zs.next_out = out_.data();
            zs.avail_out = static_cast<uInt>(out_.size());
            int rc = inflate(&zs, Z_NO_FLUSH);
            size_t got = out_.size() - zs.avail_out;
            produced_ += got;
            crc_ = static_cast<uint32_t>(crc32(crc_, out_.data(), static_cast<uInt>(got)));
            if (rc == Z_STREAM_END) {
                ended_ = true;
                if (zs.avail_in > 0) return result::kCorruptEntry;
                break;
            }
            if (rc != Z_OK && rc != Z_BUF_ERROR) return result::kCorruptEntry;
            if (rc == Z_BUF_ERROR && got == 0 && zs.avail_in > 0) return result::kCorruptEntry;
        } while (zs.avail_in > 0 || zs.avail_out == 0);
    }
    return result::kSuccess;
}

ZipResult WriteCheck::EndEntry(const ZipEntry& e) {
    bool sound = inflating_ && ended_ && consumed_ == e.compressedSize && produced_ == e.size && crc_ == e.crc;
    ResetData();
    return sound ? result::kSuccess : result::kCorruptEntry;
}

}  // namespace corvane::zip

// The extract command, with listing and testing: matches entries against the
// specifications, asks Rename for each name, refuses names that would leave
// the extraction folder, and writes every file to a temporary file beside its
// target that replaces the target only after its size and CRC check out.
// Entries of a single-file archive are extracted on several threads; entries
// that meet at one target are still written one after the other, in archive order.
#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include "corvane/zip/ArchiveSource.h"
#include "corvane/zip/ZipNames.h"

namespace corvane::zip {
namespace {
std::string ParentOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

struct ExtractJob {
    const ZipEntry* entry;
    std::string target;
    std::string key;       // the target as the file system compares names
    int64_t modifiedUnix;  // worked out on the calling thread: the C time functions are not thread-safe
};

class Extractor {
public:
    Extractor(const ZipSettings& s, FileSystem& fs, ZipEvents& events, const std::atomic<bool>& abort)
        : settings_(s),
          fs_(fs),
          events_(events),
          abort_(abort),
          source_(fs, events, abort, s.archivePath, s.spanDisks) {}
    ~Extractor() { StopWorkers(); }

    ZipResult Run() {
        ZipResult r = source_.Open();
        if (r != result::kSuccess) return r;
        std::vector<std::string> specs = SplitSpecifications(settings_.filesToProcess);
        if (specs.empty()) specs.push_back("*");
        std::vector<bool> specUsed(specs.size());
        StartWorkers();
        try {
            for (const ZipEntry& e : source_.Entries()) {
                if (abort_) break;
                std::string tail;
                for (size_t i = 0; i < specs.size(); ++i) {
                    if (!MatchEntryName(e.name, specs[i], &tail)) continue;
                    specUsed[i] = true;
                    break;
                }
                if (tail.empty()) continue;
                ++matched_;
                Prepare(e, tail);
            }
        } catch (...) {
            Fail(result::kInternal);
        }
        StopWorkers();
        if (abort_) return result::kStopped;
        if (failure_ != result::kSuccess) return failure_;
        if (matched_ == 0) return result::kNothingToDo;
        if (renamedAway_) return result::kRenamedAway;
        if (keptExisting_) return result::kKeptExisting;
        if (std::find(specUsed.begin(), specUsed.end(), false) != specUsed.end()) return result::kSomeSpecsNoEntry;
        return result::kSuccess;
    }

private:
    void Fail(ZipResult r) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (failure_ == result::kSuccess) failure_ = r;
    }

    void Prepare(const ZipEntry& e, const std::string& name) {
        std::string newName = name;
        events_.Rename(name, newName);
        if (abort_) return;
        if (newName.empty()) {
            renamedAway_ = true;
            return;
        }
        if (IsHostileName(newName)) {
            events_.SkippingFile(e.name, "the entry's name would leave the extraction folder");
            Fail(result::kHostileName);
            return;
        }
        if (settings_.maxEntrySize != 0 && e.size > settings_.maxEntrySize) {
            events_.SkippingFile(e.name, "the entry is larger than allowed");
            Fail(result::kEntryTooLarge);
            return;
        }
        std::string target = JoinPath(settings_.extractionFolder, newName, fs_.Separator());
        if (e.IsFolder()) {
            while (!target.empty() && (target.back() == '/' || target.back() == '\\')) target.pop_back();
            if (!fs_.MakeFolders(target)) Fail(result::kCannotCreateTarget);
            return;
        }
        // Two entries may map to one target: the later one in archive order
        // sees the earlier one finished, as it would with one thread.
        std::string key = TargetKey(target);
        WaitUntilWritten(key);
        FileInfo existing;
        if (fs_.Stat(target, &existing)) {
            if (existing.isFolder) return Fail(result::kCannotReplace);
            if (settings_.overwriteMode != 2) {
                keptExisting_ = true;
                return;
            }
        }
        std::string parent = ParentOf(target);
        if (!parent.empty() && !fs_.MakeFolders(parent)) return Fail(result::kCannotCreateTarget);
        if (e.size > fs_.FreeSpace(parent.empty() ? "." : parent)) return Fail(result::kTargetDiskFull);
        int64_t modified = e.modifiedUnix >= 0 ? e.modifiedUnix : DosToUnix(e.dosTime, e.dosDate);
        if (workers_.empty()) return Finish(source_, {&e, target, key, modified});
        std::unique_lock<std::mutex> lock(mutex_);
        room_.wait(lock, [&] { return queue_.size() < 2 * workers_.size(); });
        queue_.push_back({&e, target, key, modified});
        ++inFlight_[key];
        ready_.notify_one();
    }

    std::string TargetKey(const std::string& target) const {
        if (fs_.Separator() != '\\') return target;
        std::string key = target;
        for (char& c : key)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return key;
    }

    void WaitUntilWritten(const std::string& key) {
        if (workers_.empty()) return;
        std::unique_lock<std::mutex> lock(mutex_);
        written_.wait(lock, [&] { return inFlight_.find(key) == inFlight_.end(); });
    }

    // Threads that cannot be started leave the work to fewer (or to this one).
    void StartWorkers() {
        unsigned n = settings_.threads ? settings_.threads : std::max(1u, std::thread::hardware_concurrency());
        if (source_.Spanned() || n < 2) return;
        try {
            for (unsigned i = 0; i < n; ++i) {
                std::shared_ptr<ArchiveSource> reader = source_.Clone();
                if (!reader) break;
                workers_.emplace_back([this, reader] { Work(*reader); });
            }
        } catch (...) {}
    }

    void StopWorkers() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        ready_.notify_all();
        for (auto& t : workers_) t.join();
        workers_.clear();
    }

    void Work(ArchiveSource& reader) {
        for (;;) {
            ExtractJob job;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                ready_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
                if (queue_.empty()) return;
                job = queue_.front();
                queue_.pop_front();
            }
            room_.notify_one();
            Finish(reader, job);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (--inFlight_[job.key] == 0) inFlight_.erase(job.key);
            }
            written_.notify_all();
        }
    }

    void Finish(ArchiveSource& reader, const ExtractJob& job) {
        ZipResult r = result::kInternal;
        try {
            r = WriteEntry(reader, job);
        } catch (...) {
            // Out of memory (or a file system that throws): this entry fails, the command ends.
            r = result::kInternal;
        }
        if (r != result::kSuccess && !(r == result::kStopped && abort_)) Fail(r);
    }

    ZipResult WriteEntry(ArchiveSource& reader, const ExtractJob& job) {
        const ZipEntry& e = *job.entry;
        const std::string& target = job.target;
        // The temporary name is taken in the same step that creates it.
        std::string temp;
        FileError error = FileError::kExists;
        std::unique_ptr<WriteFile> out;
        for (int attempt = 0; attempt < 100 && !out && error == FileError::kExists; ++attempt) {
            temp = target + ".~" + std::to_string(counter_++) + ".tmp";
            out = fs_.CreateNew(temp, &error);
        }
        if (!out) return error == FileError::kDiskFull ? result::kTargetDiskFull : result::kCannotCreateTarget;
        FileError writeError = FileError::kNone;
        auto sink = [&](const void* data, size_t n) {
            writeError = out->Write(data, n);
            return writeError == FileError::kNone;
        };
        ZipResult r = reader.ReadEntry(e, sink, result::kCannotCreateTarget);
        if (writeError == FileError::kDiskFull) r = result::kTargetDiskFull;
        // On the disk before it replaces the target.
        FileError stored = r == result::kSuccess ? out->Flush() : FileError::kNone;
        FileError closed = out->Close();
        if (stored == FileError::kNone) stored = closed;
        if (r == result::kSuccess && stored != FileError::kNone)
            r = stored == FileError::kDiskFull ? result::kTargetDiskFull : result::kCannotCreateTarget;
        if (r != result::kSuccess) {
            fs_.Remove(temp);
            return r;
        }
        if (!fs_.Rename(temp, target)) {
            fs_.Remove(temp);
            return result::kCannotReplace;
        }
        fs_.SetFileInfo(target, job.modifiedUnix, e.DosAttributes() & (kDosReadOnly | kDosHidden | kDosSystem));
        return result::kSuccess;
    }

    const ZipSettings& settings_;
    FileSystem& fs_;
    ZipEvents& events_;
    const std::atomic<bool>& abort_;
    ArchiveSource source_;
    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable ready_, room_, written_;
    std::deque<ExtractJob> queue_;
    std::map<std::string, unsigned> inFlight_;  // targets queued or being written
    bool stopping_ = false;
    std::atomic<unsigned> counter_{0};
    ZipResult failure_ = result::kSuccess;
    size_t matched_ = 0;
    bool renamedAway_ = false;
    bool keptExisting_ = false;
};
}  // namespace

// No exception leaves the engine: what escapes the work (memory) is an internal error.
ZipResult Extract(const ZipSettings& settings, FileSystem& fs, ZipEvents& events, const std::atomic<bool>& abort) {
    if (settings.archivePath.empty() || settings.extractionFolder.empty()) return result::kBadSettings;
    try {
        Extractor extractor(settings, fs, events, abort);
        return extractor.Run();
    } catch (...) {
        return result::kInternal;
    }
}

ZipResult List(const ZipSettings& settings, FileSystem& fs, ZipEvents& events, std::vector<ListedEntry>* entries) try {
    std::atomic<bool> never{false};
    ArchiveSource source(fs, events, never, settings.archivePath, settings.spanDisks);
    ZipResult r = source.Open();
    if (r != result::kSuccess) return r;
    for (const ZipEntry& e : source.Entries())
        entries->push_back({e.name, e.size, e.compressedSize, e.crc, e.method, e.IsFolder()});
    return result::kSuccess;
} catch (...) {
    return result::kInternal;
}

ZipResult Test(const ZipSettings& settings, FileSystem& fs, ZipEvents& events, const std::atomic<bool>& abort,
               std::vector<std::string>* bad) try {
    ArchiveSource source(fs, events, abort, settings.archivePath, settings.spanDisks);
    ZipResult r = source.Open();
    if (r != result::kSuccess) return r;
    ZipResult worst = result::kSuccess;
    for (const ZipEntry& e : source.Entries()) {
        if (e.IsFolder()) continue;
        ZipResult one = source.ReadEntry(
            e, [](const void*, size_t) { return true; }, result::kInternal);
        if (one == result::kStopped || one == result::kWrongVolume) return one;
        if (one == result::kSuccess) continue;
        bad->push_back(e.name);
        if (worst == result::kSuccess) worst = one;
    }
    return worst;
} catch (...) {
    return result::kInternal;
}

}  // namespace corvane::zip

// The compress command: plans the sources, reads each file in blocks that the
// deflate pool compresses in parallel, and writes entries in order with data
// descriptors, then the central directory and the end records. With
// checkWritten each entry is read back from the file and inflated to its CRC
// on a thread of its own while the next ones compress, and the directory is
// read back as a reader finds it, before the archive takes its name.
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <deque>
#include <memory>
#include <thread>

#include "corvane/zip/ArchiveSource.h"
#include "corvane/zip/DeflatePool.h"
#include "corvane/zip/SourcePlan.h"
#include "corvane/zip/VolumeWriter.h"
#include "corvane/zip/WriteCheck.h"
#include "corvane/zip/ZipFormat.h"
#include "corvane/zip/ZipNames.h"

namespace corvane::zip {
namespace {
constexpr size_t kBlockSize = 1 << 20;
constexpr size_t kDictionarySize = 32768;

const char* OpenFailureReason(FileError e) {
    switch (e) {
    case FileError::kInUse:
        return "the file is in use by another program";
    case FileError::kDenied:
        return "access to the file is denied";
    case FileError::kNotFound:
        return "the file no longer exists";
    default:
        return "the file cannot be opened";
    }
}

// Reads until `block` holds kBlockSize bytes or the file ends; false on a read error.
bool ReadBlock(ReadFile& file, std::vector<unsigned char>& block) {
    block.resize(kBlockSize);
    size_t filled = 0;
    while (filled < kBlockSize) {
        int64_t n = file.Read(block.data() + filled, kBlockSize - filled);
        if (n < 0) return false;
        if (n == 0) break;
        filled += static_cast<size_t>(n);
    }
    block.resize(filled);
    return true;
}

std::vector<unsigned char> NextDictionary(const std::vector<unsigned char>& previous,
                                          const std::vector<unsigned char>& input) {
    if (input.size() >= kDictionarySize) return std::vector<unsigned char>(input.end() - kDictionarySize, input.end());
    std::vector<unsigned char> d(previous);
    d.insert(d.end(), input.begin(), input.end());
    if (d.size() > kDictionarySize) d.erase(d.begin(), d.end() - kDictionarySize);
    return d;
}

// The archive being written as a reader opens it: through a second handle
// on the file still open for writing.
class WrittenFiles final : public FileSystem {
public:
    explicit WrittenFiles(FileSystem& fs) : fs_(fs) {}
    char Separator() const override { return fs_.Separator(); }
    std::unique_ptr<ReadFile> OpenRead(const std::string& p, FileError* e) override { return fs_.OpenWritten(p, e); }
    std::unique_ptr<WriteFile> CreateNew(const std::string&, FileError* e) override {
        *e = FileError::kDenied;
        return nullptr;
    }
    std::unique_ptr<ReadFile> OpenWritten(const std::string& p, FileError* e) override {
        return fs_.OpenWritten(p, e);
    }
    bool Rename(const std::string&, const std::string&) override { return false; }
    bool Remove(const std::string&) override { return false; }
    bool Stat(const std::string& p, FileInfo* i) override { return fs_.Stat(p, i); }
    bool List(const std::string& f, std::vector<FileInfo>* e) override { return fs_.List(f, e); }
    bool MakeFolders(const std::string&) override { return false; }
    bool SetFileInfo(const std::string&, int64_t, uint32_t) override { return false; }
    uint64_t FreeSpace(const std::string& f) override { return fs_.FreeSpace(f); }

private:
    FileSystem& fs_;
};

bool SameEntry(const ZipEntry& a, const ZipEntry& b) {
    return a.name == b.name && a.crc == b.crc && a.size == b.size && a.compressedSize == b.compressedSize &&
           a.localOffset == b.localOffset && a.disk == b.disk && a.method == b.method && a.flags == b.flags;
}

struct Pending {
    enum Kind { kData, kFolder, kFailed } kind = kData;
    size_t item = 0;
    bool first = false;
    std::shared_ptr<DeflateJob> job;
    std::string reason;
};

class Compressor {
public:
    Compressor(const ZipSettings& s, FileSystem& fs, ZipEvents& events, const std::atomic<bool>& abort)
        : settings_(s),
          fs_(fs),
          events_(events),
          abort_(abort),
          writer_(fs, events, abort, s),
          pool_(s.threads ? s.threads : std::max(1u, std::thread::hardware_concurrency()), s.level) {}

    unsigned Threads() const { return pool_.Threads(); }

    ZipResult Run(const SourcePlan& plan) {
        plan_ = &plan;
        if (settings_.checkWritten) {
            check_ = std::make_unique<WriteCheck>(fs_, abort_);
            if (!check_->Start()) return result::kInternal;
            writer_.CheckWith(check_.get());
        }
        ZipResult r = writer_.Open();
        if (r != result::kSuccess) return r;
        maxInFlight_ = 4 * pool_.Threads();
        for (size_t i = 0; i < plan.items.size(); ++i) {
            r = Checked(Queue(i));
            if (r != result::kSuccess) return Stop(r);
        }
        while (!pending_.empty()) {
            r = Checked(WriteOldest());
            if (r != result::kSuccess) return Stop(r);
        }
        r = WriteDirectory();
        if (r == result::kSuccess && check_) r = writer_.Settle();
        if (r == result::kSuccess && check_) r = CheckDirectory();
        if (r != result::kSuccess) return Stop(r);
        r = writer_.Finish();
        if (r != result::kSuccess) return r;
        if (skippedRead_) return result::kSkippedReadError;
        if (skippedInUse_) return result::kSkippedInUse;
        if (plan.unmatchedSpecifications > 0) return result::kSomeSpecsUnmatched;
        return result::kSuccess;
    }

private:
    // A stop on request, or the first entry that did not read back, ends the command.
    ZipResult Checked(ZipResult r) {
        if (r == result::kSuccess && abort_) r = result::kStopped;
        if (r == result::kSuccess && check_) r = check_->Failure();
        return r;
    }

    // The directory as a reader finds it from the end of the file: every
    // entry written, at its place. A set of several volumes is read back
    // volume by volume as it is written, records byte for byte.
    ZipResult CheckDirectory() {
        if (writer_.Disk() > 0) return result::kSuccess;
        WrittenFiles files(fs_);
        ZipEvents none;
        ArchiveSource source(files, none, abort_, writer_.VolumePath());
        ZipResult r = source.Open();
        if (abort_) return result::kStopped;
        if (r != result::kSuccess) return result::kCorruptDirectory;
        const std::vector<ZipEntry>& read = source.Entries();
        if (read.size() != directory_.size()) return result::kCorruptDirectory;
        for (size_t i = 0; i < read.size(); ++i)
            if (!SameEntry(read[i], directory_[i])) return result::kCorruptDirectory;
        return result::kSuccess;
    }

    ZipResult Stop(ZipResult r) {
        for (auto& p : pending_)
            if (p.job) pool_.Wait(*p.job);
        pending_.clear();
        writer_.Discard();
        return r;
    }

    ZipResult Push(Pending p) {
        pending_.push_back(std::move(p));
        while (pending_.size() >= maxInFlight_) {
            ZipResult r = WriteOldest();
            if (r != result::kSuccess) return r;
            if (abort_) return result::kStopped;
        }
        return result::kSuccess;
    }

    ZipResult Queue(size_t i) {
        const SourceItem& item = plan_->items[i];
        if (item.info.isFolder) return Push({Pending::kFolder, i, true, nullptr, {}});
        FileError error;
        std::unique_ptr<ReadFile> file = fs_.OpenRead(item.path, &error);
        if (!file) {
            events_.SkippingFile(item.path, OpenFailureReason(error));
            skippedInUse_ = true;
            return result::kSuccess;
        }
        FileInfo opened;
        const bool measured = fs_.Stat(item.path, &opened);
        uint64_t read = 0;
        std::vector<unsigned char> current = Spare(), next = Spare(), dictionary;
        if (!ReadBlock(*file, current)) return Push({Pending::kFailed, i, true, nullptr, "a read error occurred"});
        read += current.size();
        for (bool first = true;; first = false) {
            bool last = current.size() < kBlockSize;
            bool readError = false;
            if (!last) {
                readError = !ReadBlock(*file, next);
                last = !readError && next.empty();
                read += next.size();
            }
            // A file written to while it was read (only a program outside
            // Windows' sharing rules can: it is open here for reading alone)
            // would be stored as a mix of old and new bytes whose size and CRC
            // still check out: it is left out, as a file that failed to read.
            if (last && measured && ChangedWhileRead(item.path, opened, read))
                return Push({Pending::kFailed, i, first, nullptr, "the file changed while it was being read"});
            auto job = std::make_shared<DeflateJob>();
            std::vector<unsigned char> following = NextDictionary(dictionary, current);
            job->input = std::move(current);
            job->output = Spare();
            job->dictionary = std::move(dictionary);
            job->last = last;
            dictionary = std::move(following);
            pool_.Submit(job);
            ZipResult r = Push({Pending::kData, i, first, job, {}});
            if (r != result::kSuccess || abort_) return r;
            if (last) return result::kSuccess;
            if (readError) return Push({Pending::kFailed, i, false, nullptr, "a read error occurred"});
            current = std::move(next);
            next = Spare();
        }
    }

    bool ChangedWhileRead(const std::string& path, const FileInfo& opened, uint64_t read) {
        FileInfo now;
        if (!fs_.Stat(path, &now)) return true;
        return read != opened.size || now.size != opened.size || now.modifiedUnix != opened.modifiedUnix;
    }

    // Block buffers are reused: fresh megabyte allocations cost a page fault per page.
    std::vector<unsigned char> Spare() {
        if (spare_.empty()) return {};
        std::vector<unsigned char> b = std::move(spare_.back());
        spare_.pop_back();
        b.clear();
        return b;
    }
    void Recycle(DeflateJob& job) {
        if (spare_.size() < 2 * maxInFlight_) {
            spare_.push_back(std::move(job.input));
            spare_.push_back(std::move(job.output));
        }
    }

    ZipEntry StartEntry(const SourceItem& item) {
        ZipEntry e;
        e.name = item.entryName;
        e.modifiedUnix = item.info.modifiedUnix;
        UnixToDos(e.modifiedUnix, &e.dosTime, &e.dosDate);
        e.externalAttributes = item.info.dosAttributes & 0x3F;
        if (item.info.isFolder) {
            e.method = kMethodStored;
            e.externalAttributes |= kDosFolder;
            return e;
        }
        e.flags = kFlagDescriptor;
        uint64_t bound = item.info.size + item.info.size / 8192 + 4096;
        e.zip64Local = bound >= settings_.zip64.sizeLimit || bound >= 0xFFFFFFFFull;
        return e;
    }

    ZipResult BeginEntry(const SourceItem& item) {
        entry_ = StartEntry(item);
        std::vector<unsigned char> header = LocalHeader(entry_);
        ZipResult r = writer_.Reserve(header.size());
        if (r != result::kSuccess) return r;
        entry_.disk = writer_.Disk();
        entry_.localOffset = writer_.Offset();
        entryOpen_ = true;
        EntryProgress progress{item.path,    item.info.size, 0, entry_.externalAttributes, item.info.modifiedUnix,
                               entry_.method};
        events_.Adding(progress);
        if (abort_) return result::kStopped;
        return writer_.WriteRecord(header);
    }

    ZipResult WriteOldest() {
        Pending p = std::move(pending_.front());
        pending_.pop_front();
        const SourceItem& item = plan_->items[p.item];
        if (p.item == droppedItem_) {
            if (p.job) pool_.Wait(*p.job);
            return result::kSuccess;
        }
        if (p.kind == Pending::kFailed) return DropEntry(item, p.reason);
        if (p.kind == Pending::kFolder) {
            ZipResult r = BeginEntry(item);
            if (r != result::kSuccess) return r;
            entryOpen_ = false;
            directory_.push_back(entry_);
            return result::kSuccess;
        }
        pool_.Wait(*p.job);
        if (p.job->failed) return result::kInternal;
        if (p.first) {
            ZipResult r = BeginEntry(item);
            if (r != result::kSuccess) return r;
        }
        if (!entryOpen_) return result::kSuccess;  // the entry was dropped
        ZipResult r = writer_.Write(p.job->output.data(), p.job->output.size());
        if (r != result::kSuccess) return r;
        entry_.crc =
            static_cast<uint32_t>(crc32_combine(entry_.crc, p.job->crc, static_cast<z_off_t>(p.job->input.size())));
        entry_.size += p.job->input.size();
        entry_.compressedSize += p.job->output.size();
        bool overflow = !entry_.zip64Local &&
                        (entry_.size >= settings_.zip64.sizeLimit ||
                         entry_.compressedSize >= settings_.zip64.sizeLimit || entry_.compressedSize >= 0xFFFFFFFFull);
        if (overflow) return DropEntry(item, "the file grew while it was being read");
        Recycle(*p.job);
        if (!p.job->last) return result::kSuccess;
        entryOpen_ = false;
        directory_.push_back(entry_);
        if (check_) check_->EndData(entry_);
        return writer_.WriteRecord(DataDescriptor(entry_));
    }

    // Takes a failed file back out of the archive and reports it.
    ZipResult DropEntry(const SourceItem& item, const std::string& reason) {
        if (entryOpen_ && !writer_.RollBack(entry_.disk, entry_.localOffset)) return result::kSpannedReadError;
        entryOpen_ = false;
        // Blocks of the same file still queued or still to come are written nowhere.
        droppedItem_ = static_cast<size_t>(&item - plan_->items.data());
        events_.SkippingFile(item.path, reason);
        skippedRead_ = true;
        return result::kSuccess;
    }

    ZipResult WriteDirectory() {
        EndRecord end;
        end.entries = directory_.size();
        bool started = false;
        for (const ZipEntry& e : directory_) {
            std::vector<unsigned char> record = CentralRecord(e, settings_.zip64);
            ZipResult r = writer_.Reserve(record.size());
            if (r != result::kSuccess) return r;
            if (!started) {
                end.cdDisk = writer_.Disk();
                end.cdOffset = writer_.Offset();
                started = true;
            }
            if (writer_.Disk() != end.thisDisk) end.entriesOnDisk = 0;
            end.thisDisk = writer_.Disk();
            ++end.entriesOnDisk;
            r = writer_.WriteRecord(record, result::kCorruptDirectory);
            if (r != result::kSuccess) return r;
            end.cdSize += record.size();
        }
        if (!started) {
            end.cdDisk = writer_.Disk();
            end.cdOffset = writer_.Offset();
        }
        // The end records stay on one volume, with room for the list of the
        // volumes before it should they move to a new one.
        size_t endSize = EndRecords(end, 0, settings_.zip64).size();
        if (writer_.Spanned()) endSize += VolumeTableLength(writer_.Disk() + 1);
        ZipResult r = writer_.Reserve(endSize);
        if (r != result::kSuccess) return r;
        if (writer_.Disk() != end.thisDisk) end.entriesOnDisk = 0;
        end.thisDisk = writer_.Disk();
        if (writer_.Spanned() && end.thisDisk > 0) end.comment = VolumeTableComment(writer_.FinishedVolumes());
        return writer_.WriteRecord(EndRecords(end, writer_.Offset(), settings_.zip64), result::kCorruptDirectory);
    }

    const ZipSettings& settings_;
    FileSystem& fs_;
    ZipEvents& events_;
    const std::atomic<bool>& abort_;
    std::unique_ptr<WriteCheck> check_;  // outlives the writer, which stops it before removing a file
    VolumeWriter writer_;
    DeflatePool pool_;
    const SourcePlan* plan_ = nullptr;
    size_t maxInFlight_ = 8;
    std::deque<Pending> pending_;
    std::vector<std::vector<unsigned char>> spare_;
    std::vector<ZipEntry> directory_;
    ZipEntry entry_;
    bool entryOpen_ = false;
    size_t droppedItem_ = static_cast<size_t>(-1);
    bool skippedInUse_ = false;
    bool skippedRead_ = false;
};
bool SameNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Files the caller wants stored under a name of its choosing.
void RenameStored(SourcePlan& plan, const std::vector<std::pair<std::string, std::string>>& storedNames) {
    for (SourceItem& item : plan.items) {
        for (const auto& [path, entryName] : storedNames) {
            if (!item.info.isFolder && SameNoCase(item.path, path) && !IsHostileName(entryName))
                item.entryName = entryName;
        }
    }
}

// An older archive of the same name inside a folder being stored is not stored in the new one.
void DropArchiveItself(SourcePlan& plan, const std::string& archivePath, const std::string& excludedPrefix) {
    std::string archiveName = EntryNameFromPath(archivePath);
    std::string excluded = excludedPrefix.empty() ? std::string() : EntryNameFromPath(excludedPrefix);
    auto own = [&](const SourceItem& item) {
        return SameNoCase(item.entryName, archiveName) ||
               (!excluded.empty() && item.entryName.size() >= excluded.size() &&
                SameNoCase(item.entryName.substr(0, excluded.size()), excluded));
    };
    plan.items.erase(std::remove_if(plan.items.begin(), plan.items.end(), own), plan.items.end());
}
}  // namespace

ZipResult Compress(const ZipSettings& settings, FileSystem& fs, ZipEvents& events, const std::atomic<bool>& abort) try {
    if (settings.archivePath.empty()) return result::kBadSettings;
    std::vector<std::string> specs = SplitSpecifications(settings.filesToProcess);
    if (specs.empty()) return result::kBadSettings;
    SourcePlan plan = PlanSources(fs, specs, settings.includeSubfolders);
    RenameStored(plan, settings.storedNames);
    DropArchiveItself(plan, settings.archivePath, settings.excludedPrefix);
    for (const std::string& spec : plan.unmatched) events.Unmatched(spec);
    if (plan.items.empty()) return result::kNothingToDo;
    if (abort) return result::kStopped;
    Compressor compressor(settings, fs, events, abort);
    if (compressor.Threads() == 0) return result::kInternal;
    return compressor.Run(plan);
} catch (...) {
    // No exception leaves the engine: what escapes the work (memory) is an internal error.
    return result::kInternal;
}

}  // namespace corvane::zip

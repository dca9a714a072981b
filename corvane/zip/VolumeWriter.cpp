#include "corvane/zip/VolumeWriter.h"

#include <zlib.h>

#include <algorithm>

#include "corvane/zip/WriteCheck.h"

namespace corvane::zip {
namespace {
// Room a new volume needs to be worth using: a local header and some data.
constexpr uint64_t kMinimumVolume = 1024;
// Times a disk that still holds a volume of this set is asked for again.
constexpr int kVolumeAttempts = 100;
constexpr size_t kChunk = 64 * 1024;
// Bytes written before they are handed to the system for the check to read.
constexpr uint64_t kHandover = 1 << 20;

uint32_t Crc(uint32_t crc, const void* data, size_t count) {
    return static_cast<uint32_t>(crc32(crc, static_cast<const Bytef*>(data), static_cast<uInt>(count)));
}

// The length and CRC of a whole file; false when it cannot be read.
// `writing`: the file is still open for writing here.
bool MarkOf(FileSystem& fs, const std::string& path, VolumeMark* mark, bool writing = false) {
    FileError error;
    std::unique_ptr<ReadFile> file = writing ? fs.OpenWritten(path, &error) : fs.OpenRead(path, &error);
    if (!file) return false;
    std::vector<unsigned char> buffer(kChunk);
    *mark = {};
    for (;;) {
        int64_t n = file->Read(buffer.data(), buffer.size());
        if (n < 0) return false;
        if (n == 0) return true;
        mark->crc = Crc(mark->crc, buffer.data(), static_cast<size_t>(n));
        mark->size += static_cast<uint64_t>(n);
    }
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return ".";
    if (slash == 0 || (slash == 2 && path[1] == ':')) return path.substr(0, slash + 1);
    return path.substr(0, slash);
}
}  // namespace

VolumeWriter::VolumeWriter(FileSystem& fs, ZipEvents& events, const std::atomic<bool>& abort,
                           const ZipSettings& settings)
    : fs_(fs),
      events_(events),
      abort_(abort),
      archivePath_(settings.archivePath),
      spanned_(settings.spanDisks),
      overwriteVolume_(settings.overwriteDiskette) {}

VolumeWriter::~VolumeWriter() { Discard(); }

ZipResult VolumeWriter::Open() {
    ZipResult r = OpenVolume();
    if (r != result::kSuccess) return r;
    if (!spanned_) return result::kSuccess;
    ByteWriter marker;
    marker.U32(kSpanMarker);
    return WriteRecord(marker.Data());
}

ZipResult VolumeWriter::OpenVolume() {
    FileInfo existing;
    if (spanned_ && fs_.Stat(archivePath_, &existing)) {
        if (!overwriteVolume_) return result::kVolumeHoldsArchive;
        if (!fs_.Remove(archivePath_)) return result::kCannotCreate;
    }
    // The temporary name is taken in the same step that creates it, so no
    // file that appears meanwhile is ever overwritten.
    FileError error = FileError::kExists;
    for (int n = 0; n < 1000 && !file_ && error == FileError::kExists; ++n) {
        tempPath_ = archivePath_ + ".~" + std::to_string(n) + ".tmp";
        file_ = fs_.CreateNew(tempPath_, &error);
    }
    if (!file_) {
        tempPath_.clear();
        return result::kCannotCreate;
    }
    written_ = 0;
    handedOver_ = 0;
    crc_ = 0;
    marks_.clear();
    capacity_ = fs_.FreeSpace(FolderOf(archivePath_));
    if (spanned_ && capacity_ < kMinimumVolume) return Fail(FullResult());
    return result::kSuccess;
}

ZipResult VolumeWriter::FullResult() const { return disk_ > 0 ? result::kVolumeFull : result::kDiskFull; }

ZipResult VolumeWriter::Fail(ZipResult r) {
    Discard();
    return r;
}

ZipResult VolumeWriter::Put(const void* data, size_t count, bool record, ZipResult ifDifferent) {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    while (count > 0) {
        if (!file_) return result::kWriteError;
        uint64_t room = capacity_ > written_ ? capacity_ - written_ : 0;
        if (room == 0) {
            if (!spanned_) return Fail(result::kDiskFull);
            ZipResult r = NextVolume();
            if (r != result::kSuccess) return r;
            continue;
        }
        size_t part = room < count ? static_cast<size_t>(room) : count;
        FileError e = file_->Write(p, part);
        if (e == FileError::kDiskFull) return Fail(FullResult());
        if (e != FileError::kNone) return Fail(result::kWriteError);
        if (check_ && record) check_->Record(disk_, written_, p, part, ifDifferent);
        if (check_ && !record) check_->Data(disk_, written_, part);
        crc_ = Crc(crc_, p, part);
        written_ += part;
        p += part;
        count -= part;
    }
    if (check_ && written_ - handedOver_ >= kHandover) return HandOver();
    return result::kSuccess;
}

ZipResult VolumeWriter::HandOver() {
    if (!file_) return result::kWriteError;
    FileError e = file_->Handover();
    if (e == FileError::kDiskFull) return Fail(FullResult());
    if (e != FileError::kNone) return Fail(result::kWriteError);
    handedOver_ = written_;
    check_->Available(disk_, tempPath_, written_);
    return result::kSuccess;
}

ZipResult VolumeWriter::Settle() {
    if (!check_) return result::kSuccess;
    ZipResult r = HandOver();
    if (r != result::kSuccess) return r;
    return check_->Settle(false);
}

ZipResult VolumeWriter::Reserve(size_t count) {
    if (spanned_ && written_ + count > capacity_ && written_ > 0) {
        ZipResult r = NextVolume();
        if (r != result::kSuccess) return r;
    }
    if (marks_.empty() || marks_.back().first != written_) marks_.emplace_back(written_, crc_);
    return result::kSuccess;
}

ZipResult VolumeWriter::WriteRecord(const std::vector<unsigned char>& record, ZipResult ifDifferent) {
    ZipResult r = Reserve(record.size());
    if (r != result::kSuccess) return r;
    return Put(record.data(), record.size(), true, ifDifferent);
}

ZipResult VolumeWriter::CloseVolume(bool replaced) {
    // Read back whole before it is closed (and a diskette replaced).
    if (check_) {
        ZipResult r = HandOver();
        if (r != result::kSuccess) return r;
        r = check_->Settle(true);
        if (r != result::kSuccess) return Fail(r);
        // A volume is out of reach once the next disk is in: every byte of
        // it is compared now, those of an entry that goes on to the next
        // volume too (its CRC comes only at its end).
        VolumeMark mark;
        if (replaced && (!MarkOf(fs_, tempPath_, &mark, true) || !(mark == VolumeMark{written_, crc_})))
            return Fail(result::kCorruptEntry);
    }
    // On the disk before it takes the archive's name.
    FileError e = file_->Flush();
    FileError closed = file_->Close();
    if (e == FileError::kNone) e = closed;
    file_.reset();
    if (e != FileError::kNone) {
        fs_.Remove(tempPath_);
        tempPath_.clear();
        return e == FileError::kDiskFull ? FullResult() : result::kWriteError;
    }
    if (!fs_.Rename(tempPath_, archivePath_)) {
        fs_.Remove(tempPath_);
        tempPath_.clear();
        return result::kCannotPlace;
    }
    tempPath_.clear();
    finished_.push_back({written_, crc_});
    return result::kSuccess;
}

// Whether the disk now in the drive still holds a volume written by this run
// (the user pressed OK without swapping, or put an earlier disk back).
bool VolumeWriter::DiskHoldsThisSet() {
    FileInfo existing;
    if (!fs_.Stat(archivePath_, &existing) || existing.isFolder) return false;
    bool sameSize =
        std::any_of(finished_.begin(), finished_.end(), [&](const VolumeMark& v) { return v.size == existing.size; });
    if (!sameSize) return false;
    VolumeMark mark;
    // A volume that cannot be read is not taken for an old file to overwrite.
    if (!MarkOf(fs_, archivePath_, &mark)) return true;
    return std::find(finished_.begin(), finished_.end(), mark) != finished_.end();
}

ZipResult VolumeWriter::NextVolume() {
    ZipResult r = CloseVolume(true);
    if (r != result::kSuccess) return r;
    ++disk_;
    for (int attempt = 0; attempt < kVolumeAttempts; ++attempt) {
        if (abort_ || !events_.Newdisk(static_cast<int>(disk_ + 1)) || abort_) return result::kStopped;
        if (!DiskHoldsThisSet()) return OpenVolume();
    }
    return result::kVolumeHoldsArchive;
}

bool VolumeWriter::RollBack(uint32_t disk, uint64_t offset) {
    if (!file_ || disk != disk_ || offset > written_) return false;
    auto mark = std::find_if(marks_.begin(), marks_.end(), [&](const auto& m) { return m.first == offset; });
    if (mark == marks_.end()) return false;
    // The check has read what it was told of the entry before it is cut off.
    if (check_) {
        if (HandOver() != result::kSuccess) return false;
        check_->Settle(true);
        check_->Abandon();
    }
    if (!file_->Truncate(offset)) return false;
    written_ = offset;
    if (check_) {
        handedOver_ = offset;
        check_->Available(disk_, tempPath_, offset);
    }
    crc_ = mark->second;
    marks_.erase(mark + 1, marks_.end());
    return true;
}

ZipResult VolumeWriter::Finish() {
    if (!file_) return result::kWriteError;
    if (spanned_ && disk_ == 0) {
        // The set fit on one volume: readers treat it as an ordinary archive.
        ByteWriter marker;
        marker.U32(kSingleSpanMarker);
        // The first marker is read back before it is overwritten, the new one after.
        ZipResult r = Settle();
        if (r != result::kSuccess) return Fail(r);
        if (file_->WriteAt(0, marker.Data().data(), 4) != FileError::kNone) return Fail(result::kWriteError);
        if (check_) check_->Record(disk_, 0, marker.Data().data(), 4, result::kCorruptEntry);
    }
    return CloseVolume(false);
}

void VolumeWriter::Discard() {
    // Its handle on the file goes first: an open file cannot be removed on Windows.
    if (check_) check_->Stop();
    if (file_) {
        file_->Close();
        file_.reset();
    }
    if (!tempPath_.empty()) fs_.Remove(tempPath_);
    tempPath_.clear();
}

}  // namespace corvane::zip

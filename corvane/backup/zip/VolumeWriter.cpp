#include "corvane/backup/zip/VolumeWriter.h"

#include "corvane/backup/zip/ZipFormat.h"

namespace corvane::zip {
namespace {
// Room a new volume needs to be worth using: a local header and some data.
constexpr uint64_t kMinimumVolume = 1024;

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
    for (int n = 0; n < 1000; ++n) {
        std::string candidate = archivePath_ + ".~" + std::to_string(n) + ".tmp";
        if (!fs_.Stat(candidate, &existing)) {
            tempPath_ = candidate;
            break;
        }
    }
    if (tempPath_.empty()) return result::kCannotCreate;
    FileError error;
    file_ = fs_.Create(tempPath_, &error);
    if (!file_) {
        tempPath_.clear();
        return result::kCannotCreate;
    }
    written_ = 0;
    capacity_ = fs_.FreeSpace(FolderOf(archivePath_));
    if (spanned_ && capacity_ < kMinimumVolume) return Fail(FullResult());
    return result::kSuccess;
}

ZipResult VolumeWriter::FullResult() const { return disk_ > 0 ? result::kVolumeFull : result::kDiskFull; }

ZipResult VolumeWriter::Fail(ZipResult r) {
    Discard();
    return r;
}

ZipResult VolumeWriter::Write(const void* data, size_t count) {
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
        written_ += part;
        p += part;
        count -= part;
    }
    return result::kSuccess;
}

ZipResult VolumeWriter::Reserve(size_t count) {
    if (spanned_ && written_ + count > capacity_ && written_ > 0) return NextVolume();
    return result::kSuccess;
}

ZipResult VolumeWriter::WriteRecord(const std::vector<unsigned char>& record) {
    ZipResult r = Reserve(record.size());
    if (r != result::kSuccess) return r;
    return Write(record.data(), record.size());
}

ZipResult VolumeWriter::CloseVolume() {
    FileError e = file_->Close();
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
    return result::kSuccess;
}

ZipResult VolumeWriter::NextVolume() {
    ZipResult r = CloseVolume();
    if (r != result::kSuccess) return r;
    ++disk_;
    if (abort_ || !events_.Newdisk(static_cast<int>(disk_ + 1)) || abort_) return result::kStopped;
    return OpenVolume();
}

bool VolumeWriter::RollBack(uint32_t disk, uint64_t offset) {
    if (!file_ || disk != disk_ || offset > written_) return false;
    if (!file_->Truncate(offset)) return false;
    written_ = offset;
    return true;
}

ZipResult VolumeWriter::Finish() {
    if (!file_) return result::kWriteError;
    if (spanned_ && disk_ == 0) {
        // The set fit on one volume: readers treat it as an ordinary archive.
        ByteWriter marker;
        marker.U32(kSingleSpanMarker);
        if (file_->WriteAt(0, marker.Data().data(), 4) != FileError::kNone) return Fail(result::kWriteError);
    }
    return CloseVolume();
}

void VolumeWriter::Discard() {
    if (file_) {
        file_->Close();
        file_.reset();
    }
    if (!tempPath_.empty()) fs_.Remove(tempPath_);
    tempPath_.clear();
}

}  // namespace corvane::zip

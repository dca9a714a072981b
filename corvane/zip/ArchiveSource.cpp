#include "corvane/zip/ArchiveSource.h"

#include <zlib.h>

#include <cstring>

namespace corvane::zip {
namespace {
constexpr size_t kChunk = 256 * 1024;
constexpr uint64_t kMaxDirectory = 256ull << 20;  // larger claims are damage, not archives
constexpr size_t kMinCentralRecord = 46;
constexpr int kVolumeAttempts = 100;
constexpr uint32_t k32Max = 0xFFFFFFFFu;

// The length and CRC-32 of a whole file.
bool MarkOf(ReadFile& file, VolumeMark* mark) {
    std::vector<unsigned char> buffer(kChunk);
    *mark = {};
    if (!file.Seek(0)) return false;
    for (;;) {
        int64_t n = file.Read(buffer.data(), buffer.size());
        if (n < 0) return false;
        if (n == 0) return true;
        mark->crc = static_cast<uint32_t>(crc32(mark->crc, buffer.data(), static_cast<uInt>(n)));
        mark->size += static_cast<uint64_t>(n);
    }
}
}  // namespace

ArchiveSource::ArchiveSource(FileSystem& fs, ZipEvents& events, const std::atomic<bool>& abort, std::string path,
                             bool spanDisks)
    : fs_(fs), events_(events), abort_(abort), path_(std::move(path)), spanDisks_(spanDisks) {}

std::unique_ptr<ArchiveSource> ArchiveSource::Clone() const {
    auto copy = std::make_unique<ArchiveSource>(fs_, events_, abort_, path_, spanDisks_);
    FileError error;
    copy->file_ = fs_.OpenRead(path_, &error);
    if (!copy->file_) return nullptr;
    copy->fileSize_ = copy->file_->Size();
    copy->shift_ = shift_;
    copy->end_ = end_;
    return copy;
}

bool ArchiveSource::FindEnd(EndRecord* end, uint64_t* endPosition) {
    uint64_t size = file_->Size();
    size_t tail = static_cast<size_t>(std::min<uint64_t>(size, 0xFFFF + kEndRecordSize));
    std::vector<unsigned char> buf(tail);
    if (tail < kEndRecordSize || !file_->Seek(size - tail) ||
        file_->Read(buf.data(), tail) != static_cast<int64_t>(tail))
        return false;
    for (size_t pos = tail - kEndRecordSize + 1; pos-- > 0;) {
        if (LoadU32(&buf[pos]) != kEndSig) continue;
        ByteReader r(&buf[pos + 4], kEndRecordSize - 4);
        end->thisDisk = r.U16();
        end->cdDisk = r.U16();
        end->entriesOnDisk = r.U16();
        end->entries = r.U16();
        end->cdSize = r.U32();
        end->cdOffset = r.U32();
        uint16_t comment = r.U16();
        if (pos + kEndRecordSize + comment > tail) continue;
        end->comment.assign(reinterpret_cast<const char*>(&buf[pos + kEndRecordSize]), comment);
        *endPosition = size - tail + pos;
        break;
    }
    if (*endPosition == UINT64_MAX) return false;
    bool needs64 = end->thisDisk == 0xFFFF || end->cdDisk == 0xFFFF || end->entries == 0xFFFF ||
                   end->cdSize == k32Max || end->cdOffset == k32Max;
    if (*endPosition < kZip64LocatorSize) return !needs64;
    unsigned char loc[kZip64LocatorSize];
    if (!file_->Seek(*endPosition - kZip64LocatorSize) ||
        file_->Read(loc, sizeof loc) != static_cast<int64_t>(sizeof loc) || LoadU32(loc) != kZip64LocatorSig)
        return !needs64;
    ByteReader l(loc + 4, sizeof loc - 4);
    l.U32();
    uint64_t recordOffset = l.U64();
    uint32_t totalDisks = l.U32();
    unsigned char rec[kZip64EndSize];
    // The ZIP64 end record lies before its locator, whatever the locator claims.
    if (recordOffset > *endPosition - kZip64LocatorSize ||
        *endPosition - kZip64LocatorSize - recordOffset < kZip64EndSize || !file_->Seek(recordOffset) ||
        file_->Read(rec, sizeof rec) != static_cast<int64_t>(sizeof rec) || LoadU32(rec) != kZip64EndSig)
        return false;
    ByteReader z(rec + 16, sizeof rec - 16);
    end->thisDisk = z.U32();
    end->cdDisk = z.U32();
    end->entriesOnDisk = z.U64();
    end->entries = z.U64();
    end->cdSize = z.U64();
    end->cdOffset = z.U64();
    *endPosition = recordOffset;
    // The record's disk lies inside the set its locator counts.
    return totalDisks == 0 || end->thisDisk < totalDisks;
}

bool ArchiveSource::VolumeMatches(uint32_t disk) {
    EndRecord end;
    uint64_t position = UINT64_MAX;
    bool hasEnd = FindEnd(&end, &position);
    if (disk == lastDisk_) return hasEnd && end.SameSet(end_);
    if (hasEnd) return false;
    if (disk == 0) {
        unsigned char marker[4];
        if (!file_->Seek(0) || file_->Read(marker, 4) != 4 || LoadU32(marker) != kSpanMarker) return false;
    }
    if (disk < volumes_.size()) {
        VolumeMark mark;
        if (!MarkOf(*file_, &mark) || !(mark == volumes_[disk])) return false;
    }
    return HeadersMatch(disk);
}

// The first local header the directory places on `disk` must be there, with its entry's name.
bool ArchiveSource::HeadersMatch(uint32_t disk) {
    for (const ZipEntry& e : entries_) {
        if (e.disk != disk) continue;
        unsigned char header[30];
        if (!file_->Seek(e.localOffset) || file_->Read(header, sizeof header) != static_cast<int64_t>(sizeof header))
            return false;
        size_t nameLength = static_cast<size_t>(header[26] | header[27] << 8);
        if (LoadU32(header) != kLocalSig || nameLength != e.name.size()) return false;
        std::string name(nameLength, '\0');
        return file_->Read(name.data(), nameLength) == static_cast<int64_t>(nameLength) && name == e.name;
    }
    return true;
}

ZipResult ArchiveSource::UseDisk(uint32_t disk) {
    if (disk == currentDisk_ && file_) return result::kSuccess;
    if (disk > lastDisk_) return result::kTruncated;
    for (int attempt = 0; attempt < kVolumeAttempts; ++attempt) {
        file_.reset();
        int asked = disk == lastDisk_ ? 0 : static_cast<int>(disk + 1);
        if (abort_ || !events_.Newdisk(asked) || abort_) return result::kStopped;
        FileError error;
        file_ = fs_.OpenRead(path_, &error);
        if (file_ && VolumeMatches(disk)) {
            currentDisk_ = disk;
            fileSize_ = file_->Size();
            return result::kSuccess;
        }
    }
    file_.reset();
    return result::kWrongVolume;
}

ZipResult ArchiveSource::Open() {
    FileError error;
    file_ = fs_.OpenRead(path_, &error);
    if (!file_) return result::kArchiveMissing;
    uint64_t endPosition = UINT64_MAX;
    for (int attempt = 0; !FindEnd(&end_, &endPosition); ++attempt) {
        // A volume of a spanned set other than the last: ask for the last one.
        unsigned char marker[4];
        bool firstVolume = file_->Seek(0) && file_->Read(marker, 4) == 4 && LoadU32(marker) == kSpanMarker;
        if (!firstVolume && !(spanDisks_ && file_->Size() > 0)) return result::kNotAZip;
        if (attempt >= kVolumeAttempts) return result::kWrongVolume;
        file_.reset();
        if (abort_ || !events_.Newdisk(0) || abort_) return result::kStopped;
        file_ = fs_.OpenRead(path_, &error);
        if (!file_) return result::kArchiveMissing;
        endPosition = UINT64_MAX;
    }
    fileSize_ = file_->Size();
    currentDisk_ = lastDisk_ = end_.thisDisk;
    if (end_.cdDisk > lastDisk_) return result::kCorruptDirectory;
    if (lastDisk_ == 0) {
        if (end_.cdSize > endPosition) return result::kCorruptDirectory;
        // Archives with bytes in front (a stub or a marker) keep offsets from their own start.
        uint64_t actual = endPosition - end_.cdSize;
        if (actual < end_.cdOffset) return result::kCorruptDirectory;
        shift_ = static_cast<int64_t>(actual - end_.cdOffset);
    } else {
        if (!ParseVolumeTable(end_.comment, &volumes_) || volumes_.size() != lastDisk_) volumes_.clear();
        if (!SizeClaimsFit(endPosition)) return result::kCorruptDirectory;
    }
    return ReadDirectory();
}

// Whether the directory a spanned set claims fits what its volumes can hold:
// it ends where the end records start on the last volume, and it starts on a
// volume no longer than the set lists for it.
bool ArchiveSource::SizeClaimsFit(uint64_t endPosition) const {
    if (end_.cdDisk == lastDisk_) return end_.cdOffset <= endPosition && end_.cdSize <= endPosition - end_.cdOffset;
    if (volumes_.empty()) return true;  // read as far as the volumes really hold it
    if (end_.cdOffset > volumes_[end_.cdDisk].size) return false;
    uint64_t room = endPosition - end_.cdOffset;
    for (uint32_t d = end_.cdDisk; d < lastDisk_; ++d) room += volumes_[d].size;
    return end_.cdSize <= room;
}

ZipResult ArchiveSource::ReadSpan(uint32_t& disk, uint64_t& offset, void* buffer, size_t count) {
    unsigned char* out = static_cast<unsigned char*>(buffer);
    while (count > 0) {
        ZipResult r = UseDisk(disk);
        if (r != result::kSuccess) return r;
        uint64_t at = offset + (lastDisk_ == 0 ? static_cast<uint64_t>(shift_) : 0);
        if (at >= fileSize_) {
            if (lastDisk_ == 0 || disk >= lastDisk_) return result::kTruncated;
            offset = at - fileSize_;
            ++disk;
            continue;
        }
        size_t part = static_cast<size_t>(std::min<uint64_t>(count, fileSize_ - at));
        if (!file_->Seek(at) || file_->Read(out, part) != static_cast<int64_t>(part)) return result::kTruncated;
        out += part;
        count -= part;
        offset += part;
    }
    return result::kSuccess;
}

ZipResult ArchiveSource::ReadDirectory() {
    if (end_.cdSize > kMaxDirectory || end_.entries > end_.cdSize / kMinCentralRecord) return result::kCorruptDirectory;
    // Read in pieces, so memory follows the bytes the volumes really hold, not the claim.
    std::vector<unsigned char> cd;
    uint32_t disk = end_.cdDisk;
    uint64_t offset = end_.cdOffset;
    while (cd.size() < end_.cdSize) {
        size_t at = cd.size();
        size_t part = static_cast<size_t>(std::min<uint64_t>(kChunk, end_.cdSize - at));
        cd.resize(at + part);
        ZipResult r = ReadSpan(disk, offset, cd.data() + at, part);
        if (r == result::kTruncated) return result::kCorruptDirectory;
        if (r != result::kSuccess) return r;
    }
    ByteReader reader(cd.data(), cd.size());
    entries_.clear();
    entries_.reserve(static_cast<size_t>(end_.entries));
    for (uint64_t i = 0; i < end_.entries; ++i) {
        ZipEntry e;
        if (!ParseCentralRecord(reader, &e)) return result::kCorruptDirectory;
        if (e.disk > lastDisk_) return result::kCorruptDirectory;
        entries_.push_back(std::move(e));
    }
    return result::kSuccess;
}

ZipResult ArchiveSource::ReadEntry(const ZipEntry& e, const std::function<bool(const void*, size_t)>& sink,
                                   ZipResult sinkFailure) {
    if (e.flags & kFlagEncrypted) return result::kUnsupported;
    if (e.method != kMethodStored && e.method != kMethodDeflate) return result::kUnsupported;
    uint32_t disk = e.disk;
    uint64_t offset = e.localOffset;
    unsigned char header[30];
    ZipResult r = ReadSpan(disk, offset, header, sizeof header);
    if (r != result::kSuccess) return r == result::kTruncated ? result::kCorruptEntry : r;
    if (LoadU32(header) != kLocalSig) return result::kCorruptEntry;
    uint64_t skip = static_cast<uint64_t>(header[26] | header[27] << 8) + (header[28] | header[29] << 8);
    offset += skip;
    return Inflate(e, disk, offset, sink, sinkFailure);
}

ZipResult ArchiveSource::Inflate(const ZipEntry& e, uint32_t disk, uint64_t offset,
                                 const std::function<bool(const void*, size_t)>& sink, ZipResult sinkFailure) {
    bool stored = e.method == kMethodStored;
    if (stored && e.compressedSize != e.size) return result::kCorruptEntry;
    z_stream zs;
    std::memset(&zs, 0, sizeof zs);
    if (!stored && inflateInit2(&zs, -15) != Z_OK) return result::kInternal;
    std::vector<unsigned char> in(kChunk), out(kChunk);
    uint64_t remaining = e.compressedSize, produced = 0;
    uint32_t crc = 0;
    ZipResult r = result::kSuccess;
    bool ended = false;
    while (r == result::kSuccess && !ended) {
        if (abort_) {
            r = result::kStopped;
            break;
        }
        size_t part = static_cast<size_t>(std::min<uint64_t>(remaining, kChunk));
        if (part == 0 && (stored || zs.avail_in == 0)) {
            if (stored)
                ended = true;
            else
                r = result::kCorruptEntry;
            break;
        }
        r = ReadSpan(disk, offset, in.data(), part);
        if (r != result::kSuccess) break;
        remaining -= part;
        if (stored) {
            crc = static_cast<uint32_t>(crc32(crc, in.data(), static_cast<uInt>(part)));
            produced += part;
            if (!sink(in.data(), part)) r = sinkFailure;
            continue;
        }
        zs.next_in = in.data();
        zs.avail_in = static_cast<uInt>(part);
        do {
            zs.next_out = out.data();
            zs.avail_out = static_cast<uInt>(out.size());
            int rc = inflate(&zs, Z_NO_FLUSH);
            size_t got = out.size() - zs.avail_out;
            produced += got;
            if ((rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) || produced > e.size) {
                r = result::kCorruptEntry;
                break;
            }
            crc = static_cast<uint32_t>(crc32(crc, out.data(), static_cast<uInt>(got)));
            if (got > 0 && !sink(out.data(), got)) {
                r = sinkFailure;
                break;
            }
            if (rc == Z_STREAM_END) ended = true;
            if (rc == Z_BUF_ERROR && got == 0) break;
        } while (!ended && (zs.avail_in > 0 || zs.avail_out == 0));
    }
    if (!stored) inflateEnd(&zs);
    if (r == result::kTruncated) return result::kCorruptEntry;
    if (r != result::kSuccess) return r;
    if (produced != e.size || crc != e.crc) return result::kCorruptEntry;
    return result::kSuccess;
}

}  // namespace corvane::zip

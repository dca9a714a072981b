// Reads an archive: finds its end records, reads the central directory and
// each entry's data, on one file or over the volumes of a spanned set (the
// volume asked for through Newdisk; the last volume holds the directory).
// Each volume of a set is identified before it is used: the last by its end
// record, the first by the span marker, every one by the list of volumes the
// set carries in its comment and by the local headers the directory places
// on it. A wrong disk is asked for again.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "corvane/zip/ZipFormat.h"

namespace corvane::zip {

class ArchiveSource {
public:
    // With `spanDisks` a file without an end record is taken for a volume of a
    // set (any but the last), and the last volume is asked for.
    ArchiveSource(FileSystem& fs, ZipEvents& events, const std::atomic<bool>& abort, std::string path,
                  bool spanDisks = false);

    // Opens the archive (asking for the last volume of a spanned set) and reads its directory.
    ZipResult Open();
    const std::vector<ZipEntry>& Entries() const { return entries_; }
    bool Spanned() const { return lastDisk_ > 0; }
    // A second reader of the same single-file archive, for another thread.
    std::unique_ptr<ArchiveSource> Clone() const;

    // Streams an entry's data, inflated, to `sink` (false from the sink stops
    // with `sinkFailure`); checks the size and CRC.
    ZipResult ReadEntry(const ZipEntry& e, const std::function<bool(const void*, size_t)>& sink, ZipResult sinkFailure);

private:
    ZipResult UseDisk(uint32_t disk);
    bool VolumeMatches(uint32_t disk);
    bool HeadersMatch(uint32_t disk);
    bool SizeClaimsFit(uint64_t endPosition) const;
    bool FindEnd(EndRecord* end, uint64_t* endPosition);
    ZipResult ReadSpan(uint32_t& disk, uint64_t& offset, void* buffer, size_t count);
    ZipResult ReadDirectory();
    ZipResult Inflate(const ZipEntry& e, uint32_t disk, uint64_t offset,
                      const std::function<bool(const void*, size_t)>& sink, ZipResult sinkFailure);

    FileSystem& fs_;
    ZipEvents& events_;
    const std::atomic<bool>& abort_;
    std::string path_;
    bool spanDisks_;
    std::unique_ptr<ReadFile> file_;
    uint64_t fileSize_ = 0;
    uint32_t currentDisk_ = 0;
    uint32_t lastDisk_ = 0;
    int64_t shift_ = 0;  // bytes in front of a single-file archive (self-extractor stub, marker)
    EndRecord end_;
    std::vector<VolumeMark> volumes_;  // the volumes before the last, when the set lists them
    std::vector<ZipEntry> entries_;
};

}  // namespace corvane::zip

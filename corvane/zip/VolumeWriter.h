// Writes the archive's bytes to one file, or spanned over volumes: each
// volume is written under a temporary name and renamed to the archive's name
// when complete, so a failed or cancelled run leaves no partial file behind.
// A volume of the set being written is never overwritten: a disk that still
// holds one is asked for again. With a WriteCheck every byte written is told
// to it as record or data, and handed to the system at least every megabyte
// so that it can be read back; a volume is closed only once the check has
// read all of it.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "corvane/zip/ZipEngine.h"
#include "corvane/zip/ZipFormat.h"

namespace corvane::zip {

class WriteCheck;

class VolumeWriter {
public:
    VolumeWriter(FileSystem& fs, ZipEvents& events, const std::atomic<bool>& abort, const ZipSettings& settings);
    ~VolumeWriter();

    // Before Open: the check told of everything written.
    void CheckWith(WriteCheck* check) { check_ = check; }
    ZipResult Open();
    // File data: split over volumes when spanning.
    ZipResult Write(const void* data, size_t count) { return Put(data, count, false, result::kSuccess); }
    // A header or record: never split; moves to the next volume when it does
    // not fit. `ifDifferent`: the result when it does not read back as written.
    ZipResult WriteRecord(const std::vector<unsigned char>& record, ZipResult ifDifferent = result::kCorruptEntry);
    // Hands everything written to the system and waits until the check has
    // read it back; the check's first failure, or kSuccess.
    ZipResult Settle();
    // The file the current volume is written to (its temporary name).
    const std::string& VolumePath() const { return tempPath_; }
    // Moves to the next volume unless `count` more bytes fit on this one, so the
    // position read next is where a record of that size will start.
    ZipResult Reserve(size_t count);
    uint32_t Disk() const { return disk_; }
    uint64_t Offset() const { return written_; }
    bool Spanned() const { return spanned_; }
    // Cuts the current volume back to `offset` (an entry that failed).
    bool RollBack(uint32_t disk, uint64_t offset);
    // Closes and renames into place.
    ZipResult Finish();
    // The volumes closed so far, in disk order.
    const std::vector<VolumeMark>& FinishedVolumes() const { return finished_; }
    // Removes the unfinished volume.
    void Discard();

private:
    ZipResult Put(const void* data, size_t count, bool record, ZipResult ifDifferent);
    ZipResult HandOver();
    ZipResult OpenVolume();
    ZipResult NextVolume();
    bool DiskHoldsThisSet();
    // `replaced`: the next volume follows on another disk.
    ZipResult CloseVolume(bool replaced);
    ZipResult Fail(ZipResult r);
    ZipResult FullResult() const;

    FileSystem& fs_;
    ZipEvents& events_;
    const std::atomic<bool>& abort_;
    std::string archivePath_;
    std::string tempPath_;
    bool spanned_;
    bool overwriteVolume_;
    std::unique_ptr<WriteFile> file_;
    WriteCheck* check_ = nullptr;
    uint32_t disk_ = 0;
    uint64_t written_ = 0;
    uint64_t handedOver_ = 0;  // of the current volume, told to the check
    uint64_t capacity_ = 0;
    uint32_t crc_ = 0;                                  // of the current volume's bytes
    std::vector<std::pair<uint64_t, uint32_t>> marks_;  // offsets of the current volume a roll-back may return to
    std::vector<VolumeMark> finished_;
};

}  // namespace corvane::zip

// The records of the zip format (PKWARE APPNOTE): signatures, the fields the
// engine keeps for an entry, and writers and parsers of the headers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "corvane/zip/ZipBytes.h"
#include "corvane/zip/ZipEngine.h"

namespace corvane::zip {

inline constexpr uint32_t kLocalSig = 0x04034b50;
inline constexpr uint32_t kCentralSig = 0x02014b50;
inline constexpr uint32_t kEndSig = 0x06054b50;
inline constexpr uint32_t kZip64EndSig = 0x06064b50;
inline constexpr uint32_t kZip64LocatorSig = 0x07064b50;
inline constexpr uint32_t kDescriptorSig = 0x08074b50;  // also the spanned-archive marker
inline constexpr uint32_t kSpanMarker = 0x08074b50;
inline constexpr uint32_t kSingleSpanMarker = 0x30304b50;  // "PK00": a spanned write that fit one volume

inline constexpr uint16_t kFlagEncrypted = 0x0001;
inline constexpr uint16_t kFlagDescriptor = 0x0008;
inline constexpr uint16_t kMethodStored = 0;
inline constexpr uint16_t kMethodDeflate = 8;
inline constexpr size_t kEndRecordSize = 22;
inline constexpr size_t kZip64LocatorSize = 20;
inline constexpr size_t kZip64EndSize = 56;

// One entry as the central directory describes it.
struct ZipEntry {
    std::string name;  // as stored, "/" separators
    uint16_t method = kMethodDeflate;
    uint16_t flags = 0;
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    int64_t modifiedUnix = -1;  // from the extended-timestamp field; -1 when absent
    uint32_t crc = 0;
    uint64_t compressedSize = 0;
    uint64_t size = 0;
    uint64_t localOffset = 0;
    uint32_t disk = 0;
    uint32_t externalAttributes = 0;
    uint16_t madeBy = 0;
    bool zip64Local = false;  // the local header carries a ZIP64 field (8-byte descriptor)
    bool IsFolder() const;
    uint32_t DosAttributes() const;
};

// DOS date and time in local time, and back.
void UnixToDos(int64_t unixTime, uint16_t* dosTime, uint16_t* dosDate);
int64_t DosToUnix(uint16_t dosTime, uint16_t dosDate);

std::vector<unsigned char> LocalHeader(const ZipEntry& e);
std::vector<unsigned char> DataDescriptor(const ZipEntry& e);
std::vector<unsigned char> CentralRecord(const ZipEntry& e, const Zip64Limits& limits);

struct EndRecord {
    uint32_t thisDisk = 0;
    uint32_t cdDisk = 0;
    uint64_t entriesOnDisk = 0;
    uint64_t entries = 0;
    uint64_t cdSize = 0;
    uint64_t cdOffset = 0;
    std::string comment;  // the archive comment, at most 65,535 bytes
    bool SameSet(const EndRecord& o) const {
        return thisDisk == o.thisDisk && cdDisk == o.cdDisk && entriesOnDisk == o.entriesOnDisk &&
               entries == o.entries && cdSize == o.cdSize && cdOffset == o.cdOffset && comment == o.comment;
    }
};
// The end records (ZIP64 end and locator when needed, then the classic end).
// `endDiskOffset` is where the ZIP64 end record will start on `end.thisDisk`.
std::vector<unsigned char> EndRecords(const EndRecord& end, uint64_t endDiskOffset, const Zip64Limits& limits);

// Parses one central record at the reader's position; false when damaged.
bool ParseCentralRecord(ByteReader& r, ZipEntry* e);

// What identifies one finished volume of a spanned set: its length and the
// CRC-32 of all its bytes. A set of several volumes lists its volumes before
// the last one in the archive comment ("Corvane volumes:" and one
// " LLLLLLLL/CCCCCCCC" in hexadecimal per volume), so a reader can tell a
// wrong disk from the right one before it uses a byte of it.
struct VolumeMark {
    uint64_t size = 0;
    uint32_t crc = 0;
    bool operator==(const VolumeMark&) const = default;
};
inline constexpr size_t kMaxListedVolumes = 50;  // the comment then fits the smallest volume
// The comment for the volumes before the last; empty when they cannot be listed.
std::string VolumeTableComment(const std::vector<VolumeMark>& volumes);
// Its length for `count` volumes (0 when they cannot be listed).
size_t VolumeTableLength(size_t count);
// The volumes listed in a comment; false when the comment holds no table.
bool ParseVolumeTable(const std::string& comment, std::vector<VolumeMark>* volumes);

}  // namespace corvane::zip

#include "corvane/zip/ZipFormat.h"

#include <cstdio>
#include <ctime>

namespace corvane::zip {
namespace {
constexpr uint16_t kExtZip64 = 0x0001;
constexpr uint16_t kExtTimestamp = 0x5455;
constexpr uint32_t k32Max = 0xFFFFFFFFu;

bool Over(uint64_t v, const Zip64Limits& l) { return v >= l.sizeLimit || v >= k32Max; }

void TimestampField(ByteWriter& w, int64_t t) {
    if (t < 0 || t > 0xFFFFFFFFll) return;
    w.U16(kExtTimestamp);
    w.U16(5);
    w.Bytes(std::string(1, '\x01'));
    w.U32(static_cast<uint32_t>(t));
}

// False when the ZIP64 field lacks a value that the record's own fields defer to it.
bool ParseExtras(ByteReader x, ZipEntry* e, bool sizeFull, bool csizeFull, bool offsetFull, bool diskFull) {
    while (x.Remaining() >= 4) {
        uint16_t tag = x.U16();
        uint16_t len = x.U16();
        ByteReader f = x.Sub(len);
        if (x.failed) return true;
        if (tag == kExtZip64) {
            if (sizeFull) e->size = f.U64();
            if (csizeFull) e->compressedSize = f.U64();
            if (offsetFull) e->localOffset = f.U64();
            if (diskFull) e->disk = f.U32();
            if (f.failed) return false;
        } else if (tag == kExtTimestamp && len >= 5) {
            uint8_t flags = static_cast<uint8_t>(f.Text(1)[0]);
            if (flags & 1) e->modifiedUnix = f.U32();
        }
    }
    return true;
}
}  // namespace

bool ZipEntry::IsFolder() const { return !name.empty() && (name.back() == '/' || name.back() == '\\'); }

uint32_t ZipEntry::DosAttributes() const {
    // DOS-family hosts keep DOS attributes in the low byte; Info-ZIP fills it on Unix too.
    uint32_t a = externalAttributes & 0x3F;
    if (IsFolder()) a |= kDosFolder;
    return a;
}

void UnixToDos(int64_t unixTime, uint16_t* dosTime, uint16_t* dosDate) {
    time_t t = static_cast<time_t>(unixTime);
    struct tm tmv {};
#ifdef _WIN32
    bool ok = localtime_s(&tmv, &t) == 0;
#else
    bool ok = localtime_r(&t, &tmv) != nullptr;
#endif
    if (!ok || tmv.tm_year < 80) {
        *dosTime = 0;
        *dosDate = (1 << 5) | 1;  // 1980-01-01
        return;
    }
    if (tmv.tm_year > 207) tmv.tm_year = 207;
    *dosTime = static_cast<uint16_t>((tmv.tm_hour << 11) | (tmv.tm_min << 5) | (tmv.tm_sec / 2));
    *dosDate = static_cast<uint16_t>(((tmv.tm_year - 80) << 9) | ((tmv.tm_mon + 1) << 5) | tmv.tm_mday);
}

int64_t DosToUnix(uint16_t dosTime, uint16_t dosDate) {
    struct tm tmv {};
    tmv.tm_year = ((dosDate >> 9) & 0x7F) + 80;
    tmv.tm_mon = ((dosDate >> 5) & 0x0F) - 1;
    tmv.tm_mday = dosDate & 0x1F;
    tmv.tm_hour = (dosTime >> 11) & 0x1F;
    tmv.tm_min = (dosTime >> 5) & 0x3F;
    tmv.tm_sec = (dosTime & 0x1F) * 2;
    tmv.tm_isdst = -1;
    time_t t = mktime(&tmv);
    return t == static_cast<time_t>(-1) ? 0 : static_cast<int64_t>(t);
}

std::vector<unsigned char> LocalHeader(const ZipEntry& e) {
    bool folder = e.IsFolder();
    ByteWriter w;
    w.U32(kLocalSig);
    w.U16(e.zip64Local ? 45 : 20);
    w.U16(e.flags);
    w.U16(e.method);
    w.U16(e.dosTime);
    w.U16(e.dosDate);
    w.U32(folder ? e.crc : 0);
    w.U32(e.zip64Local ? k32Max : 0);
    w.U32(e.zip64Local ? k32Max : 0);
    w.U16(static_cast<uint32_t>(e.name.size()));
    ByteWriter x;
    if (e.zip64Local) {
        x.U16(kExtZip64);
        x.U16(16);
        x.U64(0);
        x.U64(0);
    }
    TimestampField(x, e.modifiedUnix);
    w.U16(static_cast<uint32_t>(x.Size()));
    w.Bytes(e.name);
    w.Bytes(x.Data());
    return w.Data();
}

std::vector<unsigned char> DataDescriptor(const ZipEntry& e) {
    ByteWriter w;
    w.U32(kDescriptorSig);
    w.U32(e.crc);
    if (e.zip64Local) {
        w.U64(e.compressedSize);
        w.U64(e.size);
    } else {
        w.U32(static_cast<uint32_t>(e.compressedSize));
        w.U32(static_cast<uint32_t>(e.size));
    }
    return w.Data();
}

std::vector<unsigned char> CentralRecord(const ZipEntry& e, const Zip64Limits& limits) {
    bool bigSize = Over(e.size, limits) || e.zip64Local;
    bool bigCsize = Over(e.compressedSize, limits) || e.zip64Local;
    bool bigOffset = Over(e.localOffset, limits);
    bool bigDisk = e.disk >= 0xFFFF;
    bool zip64 = bigSize || bigCsize || bigOffset || bigDisk;
    ByteWriter x;
    if (zip64) {
        x.U16(kExtZip64);
        x.U16((bigSize ? 8 : 0) + (bigCsize ? 8 : 0) + (bigOffset ? 8 : 0) + (bigDisk ? 4 : 0));
        if (bigSize) x.U64(e.size);
        if (bigCsize) x.U64(e.compressedSize);
        if (bigOffset) x.U64(e.localOffset);
        if (bigDisk) x.U32(e.disk);
    }
    TimestampField(x, e.modifiedUnix);
    uint16_t needed = zip64 ? 45 : 20;
    ByteWriter w;
    w.U32(kCentralSig);
    w.U16(needed);  // made by: MS-DOS host, so the attributes are DOS attributes
    w.U16(needed);
    w.U16(e.flags);
    w.U16(e.method);
    w.U16(e.dosTime);
    w.U16(e.dosDate);
    w.U32(e.crc);
    w.U32(bigCsize ? k32Max : static_cast<uint32_t>(e.compressedSize));
    w.U32(bigSize ? k32Max : static_cast<uint32_t>(e.size));
    w.U16(static_cast<uint32_t>(e.name.size()));
    w.U16(static_cast<uint32_t>(x.Size()));
    w.U16(0);
    w.U16(bigDisk ? 0xFFFF : e.disk);
    w.U16(0);
    w.U32(e.externalAttributes);
    w.U32(bigOffset ? k32Max : static_cast<uint32_t>(e.localOffset));
    w.Bytes(e.name);
    w.Bytes(x.Data());
    return w.Data();
}

std::vector<unsigned char> EndRecords(const EndRecord& end, uint64_t endDiskOffset, const Zip64Limits& limits) {
    bool zip64 = end.entries > limits.entryLimit || end.entries >= 0xFFFF || Over(end.cdSize, limits) ||
                 Over(end.cdOffset, limits) || end.thisDisk >= 0xFFFF;
    ByteWriter w;
    if (zip64) {
        w.U32(kZip64EndSig);
        w.U64(kZip64EndSize - 12);
        w.U16(45);
        w.U16(45);
        w.U32(end.thisDisk);
        w.U32(end.cdDisk);
        w.U64(end.entriesOnDisk);
        w.U64(end.entries);
        w.U64(end.cdSize);
        w.U64(end.cdOffset);
        w.U32(kZip64LocatorSig);
        w.U32(end.thisDisk);
        w.U64(endDiskOffset);
        w.U32(end.thisDisk + 1);
    }
    w.U32(kEndSig);
    w.U16(zip64 ? 0xFFFF : end.thisDisk);
    w.U16(zip64 ? 0xFFFF : end.cdDisk);
    w.U16(zip64 ? 0xFFFF : static_cast<uint32_t>(end.entriesOnDisk));
    w.U16(zip64 ? 0xFFFF : static_cast<uint32_t>(end.entries));
    w.U32(zip64 ? k32Max : static_cast<uint32_t>(end.cdSize));
    w.U32(zip64 ? k32Max : static_cast<uint32_t>(end.cdOffset));
    std::string comment = end.comment.substr(0, 0xFFFF);
    w.U16(static_cast<uint32_t>(comment.size()));
    w.Bytes(comment);
    return w.Data();
}

namespace {
constexpr char kVolumeTablePrefix[] = "Corvane volumes:";
constexpr size_t kVolumeTableEntry = 18;  // " LLLLLLLL/CCCCCCCC"
}  // namespace

size_t VolumeTableLength(size_t count) {
    if (count == 0 || count > kMaxListedVolumes) return 0;
    return sizeof kVolumeTablePrefix - 1 + count * kVolumeTableEntry;
}

std::string VolumeTableComment(const std::vector<VolumeMark>& volumes) {
    if (VolumeTableLength(volumes.size()) == 0) return {};
    std::string out = kVolumeTablePrefix;
    for (const VolumeMark& v : volumes) {
        if (v.size > k32Max) return {};
        char entry[kVolumeTableEntry + 1];
        std::snprintf(entry, sizeof entry, " %08X/%08X", static_cast<unsigned>(v.size), static_cast<unsigned>(v.crc));
        out += entry;
    }
    return out;
}

bool ParseVolumeTable(const std::string& comment, std::vector<VolumeMark>* volumes) {
    std::string_view prefix = kVolumeTablePrefix;
    if (!comment.starts_with(prefix)) return false;
    size_t count = (comment.size() - prefix.size()) / kVolumeTableEntry;
    if (VolumeTableLength(count) != comment.size()) return false;
    auto hex = [](std::string_view digits, uint32_t* value) {
        *value = 0;
        for (char c : digits) {
            int d = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (d < 0) return false;
            *value = *value << 4 | static_cast<uint32_t>(d);
        }
        return true;
    };
    volumes->clear();
    for (size_t i = 0; i < count; ++i) {
        std::string_view entry =
            std::string_view(comment).substr(prefix.size() + i * kVolumeTableEntry, kVolumeTableEntry);
        uint32_t size = 0, crc = 0;
        if (entry[0] != ' ' || entry[9] != '/' || !hex(entry.substr(1, 8), &size) || !hex(entry.substr(10, 8), &crc))
            return false;
        volumes->push_back({size, crc});
    }
    return true;
}

bool ParseCentralRecord(ByteReader& r, ZipEntry* e) {
    if (r.U32() != kCentralSig) return false;
    e->madeBy = r.U16();
    r.U16();  // version needed
    e->flags = r.U16();
    e->method = r.U16();
    e->dosTime = r.U16();
    e->dosDate = r.U16();
    e->crc = r.U32();
    uint32_t csize = r.U32();
    uint32_t size = r.U32();
    uint16_t nameLen = r.U16();
    uint16_t extraLen = r.U16();
    uint16_t commentLen = r.U16();
    uint16_t disk = r.U16();
    r.U16();  // internal attributes
    e->externalAttributes = r.U32();
    uint32_t offset = r.U32();
    e->name = r.Text(nameLen);
    ByteReader extras = r.Sub(extraLen);
    r.Skip(commentLen);
    if (r.failed) return false;
    e->compressedSize = csize;
    e->size = size;
    e->localOffset = offset;
    e->disk = disk;
    return ParseExtras(extras, e, size == k32Max, csize == k32Max, offset == k32Max, disk == 0xFFFF);
}

}  // namespace corvane::zip

// The platform-free zip engine: the two commands of the zip component
// (compress a list of file specifications into an archive, extract matching
// entries) plus listing and testing, over a FileSystem and a listener that
// receives the component's events.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "corvane/zip/ZipFileSystem.h"
#include "corvane/zip/ZipResult.h"

namespace corvane::zip {

// Where ZIP64 records start. Tests lower them to reach ZIP64 with small files.
struct Zip64Limits {
    uint64_t sizeLimit = 0xFFFFFFFFull;  // sizes and offsets at or above this need ZIP64
    uint64_t entryLimit = 0xFFFF;        // more entries than this need ZIP64
};

struct ZipSettings {
    std::string archivePath;
    std::string filesToProcess;  // CR-separated file specifications or entry patterns
    std::string tempFolder;      // kept for the callers; temporary files go beside their targets
    std::string extractionFolder;
    bool includeSubfolders = false;
    bool spanDisks = false;
    bool overwriteDiskette = false;
    int overwriteMode = 0;      // 2 replaces existing files on extraction
    uint64_t maxEntrySize = 0;  // extraction: larger entries are refused (0: no limit)
    int level = 4;              // deflate level
    unsigned threads = 0;       // 0: one per core
    // Compress: each entry is read back from the file written and inflated
    // to its CRC while the next ones compress, each volume of a spanned set
    // before it is closed, and the directory before the archive takes its
    // name; an archive that does not read back as written fails the command
    // (kCorruptEntry, kCorruptDirectory) and is removed.
    bool checkWritten = false;
    Zip64Limits zip64;
    // Source files stored under another entry name than their path gives:
    // (source path as listed, entry name), the path compared without regard to case.
    std::vector<std::pair<std::string, std::string>> storedNames;
    // Source files whose path begins with this (without regard to case) are
    // left out: an archive's own names (itself, its temporary, its kept copies).
    std::string excludedPrefix;
};

struct EntryProgress {
    std::string filename;  // the source path (compress) or entry name (extract)
    uint64_t size = 0;
    uint64_t compressedSize = 0;
    uint32_t attributes = 0;
    int64_t modifiedUnix = 0;
    int method = 8;
};

// The component's events. The engine calls them on its own thread; the
// Windows layer carries them to the caller's thread.
class ZipEvents {
public:
    virtual ~ZipEvents() = default;
    virtual void Adding(const EntryProgress&) {}
    virtual void Updating(const EntryProgress&) {}
    virtual void SkippingFile(const std::string& /*filename*/, const std::string& /*reason*/) {}
    // Compress: a specification of the list that matched no file (before anything is written).
    virtual void Unmatched(const std::string& /*specification*/) {}
    // Asks for volume `diskNumber` (1-based; 0 means the last volume of the set).
    // False cancels the command. The same number comes again while the disk
    // offered is the wrong one (or, when writing, still holds this set).
    virtual bool Newdisk(int /*diskNumber*/) { return false; }
    // `newName` starts equal to `origName`; an empty result leaves the entry out.
    virtual void Rename(const std::string& /*origName*/, std::string& /*newName*/) {}
};

struct ListedEntry {
    std::string name;
    uint64_t size = 0;
    uint64_t compressedSize = 0;
    uint32_t crc = 0;
    int method = 0;
    bool isFolder = false;
};

ZipResult Compress(const ZipSettings& settings, FileSystem& fs, ZipEvents& events, const std::atomic<bool>& abort);
ZipResult Extract(const ZipSettings& settings, FileSystem& fs, ZipEvents& events, const std::atomic<bool>& abort);
ZipResult List(const ZipSettings& settings, FileSystem& fs, ZipEvents& events, std::vector<ListedEntry>* entries);
// Inflates every entry and checks its CRC and size; the names of bad entries go to `bad`.
ZipResult Test(const ZipSettings& settings, FileSystem& fs, ZipEvents& events, const std::atomic<bool>& abort,
               std::vector<std::string>* bad);

}  // namespace corvane::zip

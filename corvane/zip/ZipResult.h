// Result codes of the zip component's Compress and Extract commands. The
// callers read them as 16-bit numbers: for Compress, 0, 10 and 30 mean the
// archive is complete, 40 and 140 that files were skipped, 150 and 300 a full
// disk, 190 a stop on request, 310 an archive that could not be created, and
// (when it is read back as it is written) 410 and 430 an archive that did not
// read back as written; for Extract every code below 60 counts as success.
// Every other failure the engine can meet has a code of its own, 60 or above.
#pragma once

#include <cstdint>

namespace corvane::zip {

using ZipResult = uint16_t;

namespace result {
// Both commands.
inline constexpr ZipResult kSuccess = 0;        // everything asked for was done
inline constexpr ZipResult kNothingToDo = 10;   // no file or entry matched the files to process
inline constexpr ZipResult kStopped = 190;      // stopped on request (abort, or a cancelled disk prompt)
inline constexpr ZipResult kBadSettings = 200;  // archive path or files to process missing
inline constexpr ZipResult kInternal = 210;     // a thread, memory or zlib failure inside the engine
inline constexpr ZipResult kBusy = 220;         // a command is already running on this component

// Compress.
inline constexpr ZipResult kSomeSpecsUnmatched = 30;  // complete; some specifications matched no file
inline constexpr ZipResult kSkippedInUse = 40;        // complete but files that could not be opened were left out
inline constexpr ZipResult kSkippedReadError = 140;   // complete but files that failed while being read were left out
inline constexpr ZipResult kDiskFull = 150;           // the archive's disk is full
inline constexpr ZipResult kVolumeFull = 300;         // a following volume of a spanned set has no room
inline constexpr ZipResult kCannotCreate = 310;       // the archive (or its temporary file) cannot be created
// A volume already holds this archive and overwriting was not allowed, or
// every disk offered for the next volume still held one of this set.
inline constexpr ZipResult kVolumeHoldsArchive = 320;
inline constexpr ZipResult kSpannedReadError =
    330;  // a source failed while being read after part of it went to an earlier volume
inline constexpr ZipResult kWriteError = 340;   // writing the archive failed for another reason than a full disk
inline constexpr ZipResult kCannotPlace = 350;  // the finished archive could not be renamed into place

// Extract (and test). Codes below 60 are successes.
inline constexpr ZipResult kSomeSpecsNoEntry = 20;   // done; some specifications matched no entry
inline constexpr ZipResult kKeptExisting = 40;       // done; existing files were kept (overwrite mode is not 2)
inline constexpr ZipResult kRenamedAway = 50;        // done; entries given an empty name by Rename were left out
inline constexpr ZipResult kNotAZip = 400;           // the archive has no end-of-central-directory record
inline constexpr ZipResult kCorruptDirectory = 410;  // the central directory is damaged or truncated
inline constexpr ZipResult kArchiveMissing = 420;    // the archive cannot be opened (missing, no disk, in use)
inline constexpr ZipResult kCorruptEntry = 430;      // an entry's data is damaged (CRC, size or deflate stream)
inline constexpr ZipResult kUnsupported = 440;       // an entry is encrypted or uses a method other than stored/deflate
inline constexpr ZipResult kHostileName = 450;       // an entry's name would leave the extraction folder; refused
inline constexpr ZipResult kCannotCreateTarget = 460;  // an extracted file (or its temporary file) cannot be created
inline constexpr ZipResult kTargetDiskFull = 470;      // the extraction disk is full
inline constexpr ZipResult kCannotReplace = 480;       // a finished file could not replace its target
inline constexpr ZipResult kTruncated = 490;           // the archive ends before an entry's data
inline constexpr ZipResult kWrongVolume = 500;         // the volume needed of a spanned set was not supplied
inline constexpr ZipResult kEntryTooLarge = 510;       // an entry is larger than the caller allows; not extracted
}  // namespace result

// The one reading of a result for the callers. A compress result means a
// complete archive for 0, 10 and 30; an extraction is done for 0 to 50 in
// steps of ten (everything that was there came out, or there was nothing to do).
inline bool IsCompleteArchive(ZipResult r) { return r == 0 || r == 10 || r == 30; }
inline bool IsExtractSuccess(ZipResult r) { return r <= 50 && r % 10 == 0; }

// A short English text for a result, for the command-line tool.
const char* DescribeResult(ZipResult r);

}  // namespace corvane::zip

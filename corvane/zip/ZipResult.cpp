#include "corvane/zip/ZipResult.h"

namespace corvane::zip {

const char* DescribeResult(ZipResult r) {
    switch (r) {
    case result::kSuccess:
        return "done";
    case result::kNothingToDo:
        return "no file or entry matched";
    case result::kSomeSpecsNoEntry:
        return "done; some specifications matched no entry";
    case result::kSomeSpecsUnmatched:
        return "done; some specifications matched no file";
    case 40:
        return "done; some files were skipped or kept";
    case result::kRenamedAway:
        return "done; some entries were left out by their new name";
    case result::kSkippedReadError:
        return "done; files that failed while being read were left out";
    case result::kDiskFull:
        return "the disk is full";
    case result::kStopped:
        return "stopped on request";
    case result::kBadSettings:
        return "archive path or files to process missing";
    case result::kInternal:
        return "internal error";
    case result::kBusy:
        return "a command is already running";
    case result::kVolumeFull:
        return "the next volume has no room";
    case result::kCannotCreate:
        return "the archive cannot be created";
    case result::kVolumeHoldsArchive:
        return "the volume already holds the archive";
    case result::kSpannedReadError:
        return "a file failed while being read over two volumes";
    case result::kWriteError:
        return "writing the archive failed";
    case result::kCannotPlace:
        return "the finished archive could not be renamed into place";
    case result::kNotAZip:
        return "not a zip archive";
    case result::kCorruptDirectory:
        return "the central directory is damaged";
    case result::kArchiveMissing:
        return "the archive cannot be opened";
    case result::kCorruptEntry:
        return "an entry is damaged";
    case result::kUnsupported:
        return "an entry is encrypted or uses an unsupported method";
    case result::kHostileName:
        return "an entry's name was refused";
    case result::kCannotCreateTarget:
        return "an extracted file cannot be created";
    case result::kTargetDiskFull:
        return "the extraction disk is full";
    case result::kCannotReplace:
        return "an extracted file could not replace its target";
    case result::kTruncated:
        return "the archive is truncated";
    case result::kWrongVolume:
        return "the volume needed was not supplied";
    case result::kEntryTooLarge:
        return "an entry is larger than allowed";
    default:
        return "unknown result";
    }
}

}  // namespace corvane::zip

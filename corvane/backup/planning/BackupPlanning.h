// The figures and names the backup wizard shows before an archive is written:
// counts and kilobyte sizes of the selection, the diskette estimate, the
// free-space test and the archive's full path. Platform-free: the window asks
// the system for free space and today's date and hands them in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane::planning {

// An archive is expected to come out at this share of the selected data.
constexpr double kCompressionRatio = 0.6;
// Uncompressed data planned per diskette.
constexpr int64_t kDisketteCapacityBytes = 2'830'000;

struct CalendarDate {
    int year = 0, month = 0, day = 0;
};

// "3 of 12 Items".
std::string CountText(int32_t selected, int32_t items);
// Whole kilobytes of 1024 bytes, rounded to nearest, thousands grouped with
// `separator`, then " KBytes": 2048 gives "2 KBytes", 1228.8 gives "1 KBytes".
std::string KBytesText(double bytes, char separator = ',');
// The archive estimate for the selection.
double EstimatedArchiveBytes(int64_t totalBytes);

// Integer part of total / capacity, plus one; a negative total counts as 0.
int64_t EstimatedDiskettes(int64_t totalBytes);
std::string DisketteEstimateText(int64_t totalBytes);

// The first three characters of the destination ("a:\" of "a:\Backup").
std::string DriveRoot(std::string_view saveFolder);
// "a:\" or "b:\", either case.
bool IsDisketteRoot(std::string_view driveRoot);
// A destination whose second character is the drive colon.
bool IsDrivePath(std::string_view path);
// A destination beginning with "\" (\\server\share); the free-space test is skipped.
bool IsNetworkPath(std::string_view saveFolder);

// Free space unknown (below 1 byte, as a failed query reports) never warns.
bool NeedsSpaceWarning(int64_t totalBytes, int64_t freeBytes);
// Label 14's text: the heading, CR LF, the estimate in KBytes.
std::string RequiredSpaceText(int64_t totalBytes, char separator = ',');

// "YYYY-MM-DD".
std::string IsoDate(CalendarDate date);
// The folder without one trailing "\", "\", base name, the text between,
// the date and ".zip": C:\Backups\Corvane5Backup.Main Identity.2001-01-31.zip.
std::string ArchivePath(std::string_view saveFolder, std::string_view backupName, std::string_view backupAddto,
                        CalendarDate today);

}  // namespace corvane::planning

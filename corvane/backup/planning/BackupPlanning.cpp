#include "corvane/backup/planning/BackupPlanning.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace corvane::planning {
namespace {

// Groups the digits of a non-negative whole number in threes.
std::string GroupThousands(int64_t value, char separator) {
    std::string digits = std::to_string(value < 0 ? 0 : value);
    std::string grouped;
    int lead = static_cast<int>(digits.size() % 3);
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (static_cast<int>(i) - lead) % 3 == 0) grouped += separator;
        grouped += digits[i];
    }
    return grouped;
}

}  // namespace

std::string CountText(int32_t selected, int32_t items) {
    return std::to_string(selected) + " of " + std::to_string(items) + " Items";
}

std::string KBytesText(double bytes, char separator) {
    if (!(bytes > 0)) bytes = 0;  // also catches NaN
    auto kilobytes = static_cast<int64_t>(std::llround(bytes / 1024.0));
    return GroupThousands(kilobytes, separator) + " KBytes";
}

double EstimatedArchiveBytes(int64_t totalBytes) { return static_cast<double>(totalBytes) * kCompressionRatio; }

int64_t EstimatedDiskettes(int64_t totalBytes) {
    if (totalBytes < 0) totalBytes = 0;
    return totalBytes / kDisketteCapacityBytes + 1;
}

std::string DisketteEstimateText(int64_t totalBytes) {
    return "Estimated diskettes required = " + std::to_string(EstimatedDiskettes(totalBytes));
}

std::string DriveRoot(std::string_view saveFolder) { return std::string(saveFolder.substr(0, 3)); }

bool IsDisketteRoot(std::string_view driveRoot) {
    if (driveRoot.size() != 3 || driveRoot[1] != ':' || driveRoot[2] != '\\') return false;
    char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(driveRoot[0])));
    return letter == 'a' || letter == 'b';
}

bool IsDrivePath(std::string_view path) { return path.size() >= 2 && path[1] == ':'; }

bool IsNetworkPath(std::string_view saveFolder) { return !saveFolder.empty() && saveFolder[0] == '\\'; }

bool NeedsSpaceWarning(int64_t totalBytes, int64_t freeBytes) {
    if (freeBytes < 1) return false;
    return EstimatedArchiveBytes(totalBytes) > static_cast<double>(freeBytes);
}

std::string RequiredSpaceText(int64_t totalBytes, char separator) {
    return "You require estimated free space of:\r\n" + KBytesText(EstimatedArchiveBytes(totalBytes), separator);
}

std::string IsoDate(CalendarDate date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

std::string ArchivePath(std::string_view saveFolder, std::string_view backupName, std::string_view backupAddto,
                        CalendarDate today) {
    std::string_view folder = saveFolder;
    if (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
    std::string path(folder);
    path += '\\';
    path += backupName;
    path += backupAddto;
    path += IsoDate(today);
    path += ".zip";
    return path;
}

}  // namespace corvane::planning

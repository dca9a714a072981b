// What the backup wizard has planned and how its run stands: the selection
// remembered from the last backup, the destination, the archive's name and
// the totals of the ticked items. The main window owns one; the backup start
// and run work on it.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

struct BackupPlan {
    // The remembered selection: file names and their flags, each list
    // separated by the primary delimiter, in the same order.
    std::string SavedNames;
    std::string SavedFlags;
    // Destination and archive.
    std::string SaveFolder;
    std::string SaveDriveRoot;
    bool IsDiskette = false;
    std::string BackupName;
    std::string BackupAddto;
    int16_t IncludeAddressBook = 1;
    // The items beside the mail folders, as the registry names them
    // (catalog::ReadExtraPlaces fills them afresh at each start).
    int16_t UseOutlookValue = 0;  // Outlook Express keeps an address book of its own
    std::string WabPath;
    std::string FavoritesFolder;
    bool KeepExisting = true;  // an existing archive is renamed, not replaced
    // The ticked items.
    int64_t TotalBytes = 0;
    int32_t SelectedCount = 0;
    int32_t ItemCount = 0;
    // The run.
    bool FastMode = false;  // a quick backup runs unattended
    std::string LogPath = "c:\\CorvaneBackup.log";  // where the backup log is written first
    std::string ArchiveFileName;
    // Set when a start is refused because Outlook Express is running.
    bool AbortRequested = false;
};

}  // namespace corvane

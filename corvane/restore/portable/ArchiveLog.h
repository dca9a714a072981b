// The backup log read back from an archive: its banner, its rows and the
// tree of archive items the restore page shows. The log is someone else's
// text (an archive can come from anywhere): every line is read safely
// whatever it holds, and a mail-folder or news name that is not one plain
// file or folder name gives an item that cannot be marked. Platform-free.
#pragma once

#include "corvane/catalog/TreeList.h"
#include "corvane/restore/portable/StorePaths.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::restore {

inline constexpr const char* kLogName = "CorvaneBackup.log";
// A log above either limit is refused rather than read: a real one holds a
// line per folder of a store.
inline constexpr uint64_t kMaxLogBytes = 4u * 1024u * 1024u;
inline constexpr size_t kMaxLogLines = 100000;

struct LogBanner {
    std::string description;  // after the first ":" up to the first "{"
    bool currentLayout = false;
};
LogBanner ReadBanner(std::string_view firstLine);
// "Restoring from: " + the description.
std::string RestoringCaption(const LogBanner& banner);

// One row of the log as the restore reads it.
struct LogRow {
    std::string kind;  // as written
    std::string mbxName;
    std::string display;
    int64_t folderNo = 0;
    int64_t parentNo = 0;
    int64_t flgSave = 0;
    int64_t counts = 0;
    int64_t type = 0;
    NameFault fault = NameFault::None;  // the name cannot be used as a store name
};

// Reads a line after the banner. False when it gives no item: empty, a kind
// other than mbx, dbx, wab, news or favs, or no display text. Missing or
// non-numeric fields read as 0.
bool ReadLogRow(std::string_view line, bool currentLayout, bool haveAddressBook, LogRow* row);

// An archive item left out of the restore because of its name.
struct LeftOutItem {
    std::string display;
    std::string name;
    NameFault fault = NameFault::None;
};

enum class LogRefusal { None, TooLarge, TooManyLines };

struct ArchiveTree {
    LogRefusal refusal = LogRefusal::None;
    std::string caption;
    bool currentLayout = false;
    std::vector<LeftOutItem> leftOut;
};

// Clears `tree` and fills it from the log's text: the root "Outlook
// Express", then an item per row under the item whose row number equals the
// row's parent number (an earlier row; the root when there is none), with
// its named values, mark (0 in the archive, 2 not), picture and colours.
ArchiveTree FillArchiveTree(std::string_view logText, bool haveAddressBook, catalog::TreeList& tree);

// The picture and colours an archive item shows for its mark and type.
void PaintArchiveItem(catalog::TreeList& tree, int position);

}  // namespace corvane::restore

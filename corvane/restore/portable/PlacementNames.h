// The names under which a restore keeps the files it replaces: the dated
// backup folder inside a version-5 store, the numbered name of a folder set
// aside, and the address book's safety name. Platform-free; whether a name is
// taken is asked through `exists`.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace corvane::restore {

using ExistsTest = std::function<bool(const std::string& path)>;

// The highest number a set-aside name carries ("_999").
inline constexpr int kMaxSetAsideNumber = 999;

// `storeFolder` without its trailing "\" + "\backup" + "yyyy-mm-dd"; when that
// folder exists, the first free of the same + "_001", "_002", ... Without the
// trailing "\". "" when every number up to 999 is taken or the date is not one.
std::string DatedBackupFolderName(std::string_view storeFolder, int year, int month, int day, const ExistsTest& exists);

// `folder` without its trailing "\" + "_001", or the first free higher number
// (the first name tried already carries a number). "" when all are taken.
std::string SetAsideFolderName(std::string_view folder, const ExistsTest& exists);

// The address book path with its last character replaced by "x"; "" for "".
std::string WabSafetyName(std::string_view wabPath);

// The browse rules of the archive choice: where the open-file dialog starts.
struct BrowseStart {
    std::string InitDir;
    std::string Filename;
};
// With no "\" in the text the dialog gets neither folder nor name; the root of
// "a:\" (exactly so) starts in "c:\" with no name, so the dialog does not
// spin the diskette drive; otherwise the folder up to and including the last
// "\" and the name after it.
BrowseStart BrowseStartOf(std::string_view archivePath);
// True when the archive lies on a diskette drive: "a:" or "b:" as the first
// two characters, exactly so.
bool ShowsLastDiskNote(std::string_view archivePath);

}  // namespace corvane::restore

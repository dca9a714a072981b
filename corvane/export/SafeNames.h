// Names of what the exporter writes: every folder and file name is made
// safe for Windows and Linux alike (no reserved characters or device names,
// no trailing dot or space, shortened), and file names are made unique in
// their folder with a counter, " (2)", never taking a name already on disk.
#pragma once

#include "corvane/export/MessageSource.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>

namespace corvane::exporting {

// One path component from any UTF-8 (or ANSI) text: characters Windows
// reserves (<>:"/\|?* and controls) become '_', runs of blanks one blank,
// leading dots and blanks and trailing dots and blanks go, device names
// (CON, NUL, COM1, ...) get a leading '_', and the result is cut to
// `maxBytes` without splitting a character. Empty becomes `fallback`.
std::string SafeComponent(std::string_view name, size_t maxBytes = 120, std::string_view fallback = "_");

// True for CON, PRN, AUX, NUL, COM1-9, LPT1-9 (any case, with or without an extension).
bool IsDeviceName(std::string_view name);

// "YYYY-MM-DD HHMM - sender - subject" of a message, in this machine's time,
// each part made safe and shortened; "undated" when the date is unknown.
std::string EmlStem(const MessageFacts& facts);

// A path from UTF-8 text, right on Windows as on Linux.
std::filesystem::path Utf8Path(std::string_view text);
std::string PathUtf8(const std::filesystem::path& path);

// The names given out in one folder. Names differing only in letter case
// count as the same (as Windows sees them). The folder is listed once, when
// the object is made; OutputFile checks again just before each rename.
class UniqueNames {
public:
    explicit UniqueNames(std::filesystem::path folder);
    // folder / "stem.ext", or "stem (2).ext" and so on: the first name neither
    // given out before nor present on disk. `extension` includes its dot.
    // An empty path when a million twins are taken.
    std::filesystem::path Claim(const std::string& stem, const std::string& extension);

private:
    std::filesystem::path folder_;
    std::unordered_set<std::string> given_;
};

}  // namespace corvane::exporting

// Names: the entry name stored for a source path, the extraction matching
// rule, and the refusal of names that would leave the extraction folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::zip {

// The stored name of a source path: the drive letter and leading separators
// dropped, "/" between components ("c:\CorvaneBackup.log" gives "CorvaneBackup.log").
std::string EntryNameFromPath(std::string_view path);

// Splits a CR- (or LF-) separated list, dropping empty items.
std::vector<std::string> SplitSpecifications(std::string_view list);

// Matches a specification against the tails of a stored name that start at a
// component boundary, ignoring case, "*" for any run and "?" for one
// character; a trailing ".*" matches names without a dot too, so "*.*" takes
// in every name, those in sub-folders and the folder entries included. The
// earliest matching tail, with "\" separators, goes to `tail`.
bool MatchEntryName(std::string_view storedName, std::string_view specification, std::string* tail);

// True when a name, relative to the extraction folder, is unsafe to write:
// empty, absolute, with a drive or stream (":"), "." or ".." components,
// device names (CON, NUL, COM1...), control characters, or components
// ending in a dot or blank (Windows would write them under another name).
bool IsHostileName(std::string_view name);

// Joins components with the given separator, turning "/" and "\" into it.
std::string JoinPath(std::string_view folder, std::string_view relative, char separator);

}  // namespace corvane::zip

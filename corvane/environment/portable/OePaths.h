// The text rules of Outlook Express discovery: the version decision by the
// registered program file, identity names made safe for file names, and the
// placeholders Outlook Express writes into its store paths. Platform-free.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// True when the last "\"-separated component of the registered program path is
// "MSOE.DLL" (case ignored): a version-5 store. Any other file: version 4.
bool IsVersion5ProgramPath(std::string_view path);

// The text without any of the ten characters \ / : * ? " < > | and the full stop.
std::string SafeName(std::string_view text);

// The first "\"-separated component ("C:" of "C:\Data"), and the path with it replaced.
std::string FirstPathComponent(std::string_view path);
std::string ReplaceFirstPathComponent(std::string_view path, std::string_view replacement);

// %SYSTEMDRIVE% as the first component becomes the first component of the
// Windows folder; then %SYSTEMROOT% as the first component becomes the whole
// Windows folder. Placeholders elsewhere are left alone.
std::string ExpandSystemPlaceholders(std::string_view path, std::string_view windowsFolder);

// One trailing "\" removed, then one appended: "" becomes "\".
std::string WithOneTrailingBackslash(std::string_view path);

// True when the first component of the store folder is %USERPROFILE% (case ignored).
bool StartsWithUserProfile(std::string_view path);

}  // namespace corvane

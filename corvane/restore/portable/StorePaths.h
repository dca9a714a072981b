// Names read from an archive or its log are someone else's text: before one
// becomes a path in the store it must be one plain file or folder name, and
// the path made from it must still lie inside the folder it was meant for.
// Platform-free; the rules are those of Windows file names.
#pragma once

#include <string>
#include <string_view>

namespace corvane::restore {

// Why a name cannot stand for one file or folder of the store.
enum class NameFault {
    None,
    Empty,
    TooLong,        // more than 255 characters
    Separator,      // "\" or "/"
    DriveOrStream,  // ":" (a drive, an alternate data stream)
    DotName,        // "." or ".."
    DeviceName,     // CON, NUL, AUX, PRN, COM1-9, LPT1-9, with or without an extension
    TrailingDotOrBlank,
    ReservedCharacter,  // a control character or one of * ? " < > |
};

inline constexpr size_t kMaxNameLength = 255;

NameFault CheckPlainName(std::string_view name);
inline bool IsPlainName(std::string_view name) { return CheckPlainName(name) == NameFault::None; }

// The path as Windows resolves it: "/" read as "\", empty and "." components
// dropped, ".." taking away the component before it, the trailing dots and
// blanks of a component dropped as Win32 drops them. A drive ("C:") or a
// server share ("\\server\share") stays the root. "" when ".." would climb
// above the root or a component is left empty (such as "...").
std::string NormalisePath(std::string_view path);

// True when `path` names something strictly below `folder` once both are
// normalised; letters compared without case.
bool IsInsideFolder(std::string_view folder, std::string_view path);

// `folder` (with or without its trailing "\") joined with `name`, when the
// name is plain and the result lies inside the folder; "" otherwise.
std::string PathInFolder(std::string_view folder, std::string_view name);

}  // namespace corvane::restore

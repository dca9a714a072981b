// Single values anywhere in the registry, addressed by a hive name written as
// text ("HKCU", "hklm", ...). Any other hive name that names an existing file
// switches to INI mode: the key is the section, the value name the entry.
// No operation shows a message; each returns a status: 0 success, 99 the hive
// name is neither a hive nor an existing file, else the system's error code.
// A request that cannot be carried out as asked (an unknown type letter, a
// 'B' or 'D' text that is no number in range, 'B'/'D' in INI mode) gives
// ERROR_INVALID_PARAMETER (87) and touches nothing, rather than a false 0.
#pragma once

#include <windows.h>

#include <string>

namespace corvane::RegistryEx {

constexpr long kStatusOk = 0;
constexpr long kStatusBadHive = 99;

// Stands for "the hive name is an INI file" in HiveFromName's answer.
inline const HKEY kIniFileHive = reinterpret_cast<HKEY>(static_cast<INT_PTR>(1));

// The hive of a name (upper-cased first); kIniFileHive for an existing file; nullptr otherwise.
HKEY HiveFromName(const std::string& name);

// Type letters (upper-cased before use):
//   'S' REG_SZ text;
//   'B' REG_BINARY 16-bit boolean: read gives "True" or "False", write takes
//       "True"/"-1"/any non-zero number as true;
//   'D' REG_DWORD: read gives the 32-bit integer in decimal, write stores the
//       value as a 16-bit integer sign-extended to 32 bits ("-1" stores
//       0xFFFFFFFF; text outside -32768..32767 is refused).
// INI mode reads and writes only 'S'; a missing entry reads as the default.
// `value` receives `defaultValue` first and is overwritten only on success.
long ReadValue(const std::string& hive, const std::string& key, const std::string& valueName, char type,
               const std::string& defaultValue, std::string& value);
long WriteValue(const std::string& hive, const std::string& key, const std::string& valueName, char type,
                const std::string& value);

// Reads a text value of an open key into `text`, without its terminating NUL
// (a value stored without one keeps all its characters). The type is not checked.
long QueryStringValue(HKEY key, const std::string& valueName, std::string& text);

// Appends each sub-key name and a NUL to `list`, then one more NUL.
long ListSubKeys(const std::string& hive, const std::string& key, std::string& list);

// Shorthand for a text value: the value, or `defaultValue` on any failure.
std::string ReadText(const std::string& hive, const std::string& key, const std::string& valueName,
                     const std::string& defaultValue = "");

}  // namespace corvane::RegistryEx

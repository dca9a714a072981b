// skein's delimited-field functions as the programs' own code reaches them.
// The Windows programs bind them to skein.dll, loaded by name at the first
// call (VXStrings); the native build binds them to the library's own code, so
// the code above them also runs under the sanitizers. A library that cannot
// be used answers 0 or "": start-up stops with a message before that happens.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::SkeinFields {

// FindField options: the mode in the low two bits, and case ignored.
inline constexpr int32_t kFindEqual = 1;
inline constexpr int32_t kFindIgnoreCase = 4;

int32_t CountFields(std::string_view text, std::string_view delim);
int32_t CountDlms(std::string_view text, std::string_view delim);
std::string GetField(std::string_view text, std::string_view delim, int32_t field);
// The text with field `field` set; nullopt when the library cannot be used.
std::optional<std::string> PutField(std::string_view text, std::string_view delim, int32_t field,
                                    std::string_view value);
int32_t FindField(std::string_view text, std::string_view delim, int32_t startField, std::string_view search,
                  int32_t options);

}  // namespace corvane::SkeinFields

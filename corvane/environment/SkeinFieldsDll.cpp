// The Windows programs' binding: skein.dll through VXStrings.
#include "corvane/environment/portable/SkeinFields.h"

#include "corvane/environment/VXStrings.h"

namespace corvane::SkeinFields {

int32_t CountFields(std::string_view text, std::string_view delim) {
    return VXStrings::DS_CountFields(text, delim).value();
}

int32_t CountDlms(std::string_view text, std::string_view delim) {
    return VXStrings::DS_CountDlms(text, delim).value();
}

std::string GetField(std::string_view text, std::string_view delim, int32_t field) {
    return VXStrings::DS_GetField(text, delim, field).value();
}

std::optional<std::string> PutField(std::string_view text, std::string_view delim, int32_t field,
                                    std::string_view value) {
    VXStrings::StringResult result = VXStrings::DS_PutField(text, delim, field, value);
    if (!result.ok()) return std::nullopt;
    return result.value();
}

int32_t FindField(std::string_view text, std::string_view delim, int32_t startField, std::string_view search,
                  int32_t options) {
    return VXStrings::DS_FindField(text, delim, startField, search, options).value();
}

}  // namespace corvane::SkeinFields

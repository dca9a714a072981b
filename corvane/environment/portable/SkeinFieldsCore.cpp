// The native build's binding: the library's own code, linked in.
#include "corvane/environment/portable/SkeinFields.h"

#include "skein/FieldString.h"

namespace corvane::SkeinFields {

int32_t CountFields(std::string_view text, std::string_view delim) { return skein::CountFields(text, delim); }

int32_t CountDlms(std::string_view text, std::string_view delim) { return skein::CountDlms(text, delim); }

std::string GetField(std::string_view text, std::string_view delim, int32_t field) {
    skein::StringSink sink;
    skein::GetField(text, delim, field, sink);
    return std::move(sink.result);
}

std::optional<std::string> PutField(std::string_view text, std::string_view delim, int32_t field,
                                    std::string_view value) {
    skein::StringSink sink;
    skein::PutField(text, delim, field, value, sink);
    return std::move(sink.result);
}

int32_t FindField(std::string_view text, std::string_view delim, int32_t startField, std::string_view search,
                  int32_t options) {
    return skein::FindField(text, delim, startField, search, options);
}

}  // namespace corvane::SkeinFields

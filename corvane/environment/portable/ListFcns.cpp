#include "corvane/environment/portable/ListFcns.h"

#include "corvane/environment/portable/SkeinFields.h"

#include <algorithm>

namespace corvane {
namespace {

constexpr std::string_view kNul("\0", 1);

std::string_view OneChar(const char& delim) { return std::string_view(&delim, 1); }

}  // namespace

char PrimaryDelimiter() { return '\x02'; }

char SecondaryDelimiter() { return '\x01'; }

int32_t ListCount(std::string_view list, char delim) {
    if (list.empty()) return 0;
    return SkeinFields::CountFields(list, OneChar(delim));
}

std::string ListGet(std::string_view list, char delim, int32_t n) {
    return SkeinFields::GetField(list, OneChar(delim), n);
}

std::string ListPut(std::string_view list, char delim, int32_t n, std::string_view value) {
    if (n == -1) n = ListCount(list, delim) + 1;
    std::optional<std::string> result = SkeinFields::PutField(list, OneChar(delim), n, value);
    // A library that cannot be used must not turn the caller's list into "".
    return result ? *result : std::string(list);
}

int32_t ListFind(std::string_view list, std::string_view value) {
    char delim = SecondaryDelimiter();
    return SkeinFields::FindField(list, OneChar(delim), 1, value, SkeinFields::kFindEqual);
}

int32_t ListFindNoCase(std::string_view list, char delim, std::string_view value) {
    return SkeinFields::FindField(list, OneChar(delim), 1, value,
                                  SkeinFields::kFindEqual | SkeinFields::kFindIgnoreCase);
}

std::vector<std::string> ListFields(std::string_view text, char delim) {
    int32_t count = SkeinFields::CountFields(text, OneChar(delim));
    std::vector<std::string> fields;
    fields.reserve(static_cast<size_t>(count > 0 ? count : 0));
    // Each field is the first of the text behind the one before: asking for
    // field n of the whole text would scan it from its start for every field.
    std::string_view rest = text;
    for (int32_t n = 1; n <= count; ++n) {
        std::string field = SkeinFields::GetField(rest, OneChar(delim), 1);
        rest.remove_prefix(std::min(rest.size(), field.size() + 1));
        fields.push_back(std::move(field));
    }
    return fields;
}

int NulListCount(std::string_view list) {
    if (list.empty()) return 0;
    int32_t nuls = SkeinFields::CountDlms(list, kNul);
    return nuls > 0 ? nuls - 1 : 0;
}

std::string NulListEntry(std::string_view list, int n) {
    if (n < 1) return "";
    return SkeinFields::GetField(list, kNul, n);
}

int NulListFind(std::string_view list, std::string_view value) {
    int found = SkeinFields::FindField(list, kNul, 1, value, SkeinFields::kFindEqual);
    // The terminating NULs hold empty fields beyond the list's entries.
    return found >= 1 && found <= NulListCount(list) ? found : 0;
}

void NulListPut(std::string& list, int n, std::string_view value) {
    if (n < 1) return;
    // Entries beyond the end appear as empty fields; the terminating NULs stay.
    std::optional<std::string> result = SkeinFields::PutField(list, kNul, n, value);
    if (result) list = std::move(*result);
}

}  // namespace corvane

// The field and layout functions of skein.dll: any text, delimiter, value
// and numbers a caller may hand them.
#include "skein/FieldString.h"
#include "skein/Layout.h"
#include "skein/ResultSink.h"
#include "skein/StringUtils.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

using skein::Bytes;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8) return 0;
    int32_t field, options;
    std::memcpy(&field, data, 4);
    std::memcpy(&options, data + 4, 4);
    field %= 4096;  // a huge field number only asks for a huge result, refused by design
    std::string_view rest(reinterpret_cast<const char*>(data + 8), size - 8);
    // text, delimiter and value split at the first two NULs
    size_t first = rest.find('\0');
    size_t second = first == std::string_view::npos ? first : rest.find('\0', first + 1);
    Bytes text = rest.substr(0, first);
    Bytes delim = first == std::string_view::npos ? Bytes("\x02") : rest.substr(first + 1, second - first - 1);
    Bytes value = second == std::string_view::npos ? Bytes() : rest.substr(second + 1);

    skein::StringSink sink;
    skein::GetField(text, delim, field, sink);
    skein::PutField(text, delim, field, value, sink);
    int32_t inserted = field;
    skein::InsertField(text, delim, inserted, value, sink);
    skein::RemoveField(text, delim, field, sink);
    skein::FindField(text, delim, field, value, options);
    skein::TellField(text, delim, field);
    skein::CountFields(text, delim);
    skein::CountDlms(text, delim);
    skein::ReplaceDlms(text, delim, value, sink);
    skein::FindDlm(text, delim, field);
    skein::FindOccurrence(text, delim, static_cast<uint64_t>(options & 0xFF), (options & 0x100) != 0);
    skein::Trim(text, sink);
    skein::Proper(text, sink);
    skein::Group group;
    skein::GroupOfItem(rest, field, group);
    skein::GroupOfPiece(rest, field, group);
    skein::LayoutItemCount(rest);
    skein::LayoutPieceCount(rest);
    skein::LayoutMemoryLength(rest);
    return 0;
}

// The programs' side of skein.dll. Each export is bound at its first call by
// the library's full path in the program's own folder (never the default
// search order, which would look in the current folder first) and kept.
// A missing file, a failed load or a missing export comes back as a status;
// nothing here throws. Every string the library returns is owned by a
// SkeinString and freed with it.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace corvane {

enum class SkeinStatus { Ok, FileNotFound, LoadFailed, MissingEntry };

// "ok", "file not found", "load failed", "missing entry".
const char* SkeinStatusText(SkeinStatus status);

template <class T>
class SkeinResult {
public:
    SkeinResult(T value) : status_(SkeinStatus::Ok), value_(std::move(value)) {}
    SkeinResult(SkeinStatus failure) : status_(failure), value_() {}
    SkeinStatus status() const { return status_; }
    bool ok() const { return status_ == SkeinStatus::Ok; }
    // The result; the empty value (0 or "") when the call failed.
    const T& value() const { return value_; }

private:
    SkeinStatus status_;
    T value_;
};

// Owns one counted byte string (BSTR); the null handle is the empty string.
class SkeinString {
public:
    SkeinString() = default;
    explicit SkeinString(std::string_view bytes);
    static SkeinString Adopt(BSTR handle);
    ~SkeinString();
    SkeinString(SkeinString&& other) noexcept;
    SkeinString& operator=(SkeinString&& other) noexcept;
    SkeinString(const SkeinString&) = delete;
    SkeinString& operator=(const SkeinString&) = delete;

    BSTR* handle() { return &handle_; }
    BSTR get() const { return handle_; }
    std::string str() const;

private:
    BSTR handle_ = nullptr;
};

namespace VXStrings {

using Text = std::string_view;
using StringResult = SkeinResult<std::string>;
using NumberResult = SkeinResult<int32_t>;

StringResult DS_GetField(Text text, Text delim, int32_t field);
StringResult DS_PutField(Text text, Text delim, int32_t field, Text value);
// A negative field number asks the library to choose the place (sorted
// insertion point); the chosen number is written back into `field`.
StringResult DS_InsertField(Text text, Text delim, int32_t& field, Text value);
StringResult DS_RemoveField(Text text, Text delim, int32_t field);
NumberResult DS_FindField(Text text, Text delim, int32_t startField, Text search, int32_t options);
NumberResult DS_TellField(Text text, Text delim, int32_t position);
NumberResult DS_CountFields(Text text, Text delim);
NumberResult DS_CountDlms(Text text, Text delim);
StringResult DS_ReplaceDlms(Text text, Text delim, Text newDelim);
NumberResult DS_FindDlm(Text text, Text delim, int32_t occurrence);

StringResult US_Trim(Text text);
StringResult US_Proper(Text text);
StringResult US_Reverse(Text text);
StringResult US_LJustify(Text text, int32_t width, Text fill);
StringResult US_RJustify(Text text, int32_t width, Text fill);
StringResult US_CJustify(Text text, int32_t width, Text fill);
StringResult US_StripOut(Text text, Text set);
StringResult US_LeaveOnly(Text text, Text set);
StringResult US_Translate(Text text, Text from, Text to);

NumberResult SS_ItemCount(Text layout);
NumberResult SS_PieceCount(Text layout);
StringResult SS_ItemType(Text layout, int32_t item);
NumberResult SS_PieceItemNo(Text layout, int32_t piece);
NumberResult SS_PieceSize(Text layout, int32_t piece);
NumberResult SS_IsIndex(Text layout, int32_t piece);
NumberResult SS_LenType(Text layout);
// For a "$" type the value is the string; for a number type it holds the
// number's native little-endian bytes (short values are zero-extended).
StringResult SS_StoreItem(Text record, Text layout, int32_t item, Text typeText, Text value);
// The target receives the string, or the number's native bytes (2, 4 or 8).
NumberResult SS_FetchItem(Text record, Text layout, int32_t item, Text typeText, std::string& target);
NumberResult SS_StoreAll(Text source, Text layout, std::string& record);
NumberResult SS_FetchAll(Text record, Text layout, std::string& target);

// Tries to load the library and bind every export; Ok when all are there.
SkeinStatus BindAll();
// The file the loader uses: skein.dll in the program's folder unless a test chose another.
std::string LibraryPath();
// Points the loader at another file ("" restores the default) and forgets
// every bound export and the loaded library.
void SetLibraryPathForTesting(const std::string& path);

}  // namespace VXStrings

// True when skein.dll loads and has every export; otherwise false and the reason in *why.
bool SkeinAvailable(SkeinStatus* why = nullptr);

}  // namespace corvane

// The exports of skein.dll: thin wrappers that turn the callers' counted
// byte strings into byte ranges, run the platform-free functions and hand
// back new strings (the null handle for the empty result). Every argument
// comes by reference, in the callers' order.
#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "skein/FieldString.h"
#include "skein/Layout.h"
#include "skein/StringUtils.h"
#include "skein/StructuredString.h"

namespace {

using skein::Bytes;

// No exception leaves the library: whatever escapes the work inside (memory
// running out) gives the function's own failure value.
template <class R, class F>
R Guarded(R failure, F body) noexcept {
    try {
        return body();
    } catch (...) {
        return failure;
    }
}

// Makes the one result string; the caller owns it.
class BstrSink : public skein::ResultSink {
public:
    char* Allocate(uint32_t length) override {
        SysFreeString(result_);
        result_ = SysAllocStringByteLen(nullptr, length);
        return reinterpret_cast<char*>(result_);
    }
    BSTR Release() {
        BSTR out = result_;
        result_ = nullptr;
        return out;
    }
    ~BstrSink() override { SysFreeString(result_); }

private:
    BSTR result_ = nullptr;
};

Bytes In(const BSTR* s) {
    if (s == nullptr || *s == nullptr) return Bytes();
    return Bytes(reinterpret_cast<const char*>(*s), SysStringByteLen(*s));
}

int32_t In(const int32_t* n) { return n == nullptr ? 0 : *n; }

// Replaces the caller's string with `bytes` (freeing the old one); false when memory runs out.
bool Assign(BSTR* target, Bytes bytes) {
    BSTR fresh = nullptr;
    if (!bytes.empty()) {
        fresh = SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size()));
        if (fresh == nullptr) return false;
    }
    SysFreeString(*target);
    *target = fresh;
    return true;
}

BSTR Out(const std::string& s) {
    if (s.empty()) return nullptr;
    return SysAllocStringByteLen(s.data(), static_cast<UINT>(s.size()));
}

template <class F>
BSTR Build(F build) {
    return Guarded<BSTR>(nullptr, [&] {
        BstrSink sink;
        build(sink);
        return sink.Release();
    });
}

}  // namespace

#define SKEIN_EXPORT extern "C" __declspec(dllexport)

SKEIN_EXPORT BSTR __stdcall DS_GetField(BSTR* text, BSTR* delim, int32_t* field) {
    return Build([&](BstrSink& s) { skein::GetField(In(text), In(delim), In(field), s); });
}

SKEIN_EXPORT BSTR __stdcall DS_PutField(BSTR* text, BSTR* delim, int32_t* field, BSTR* value) {
    return Build([&](BstrSink& s) { skein::PutField(In(text), In(delim), In(field), In(value), s); });
}

SKEIN_EXPORT BSTR __stdcall DS_InsertField(BSTR* text, BSTR* delim, int32_t* field, BSTR* value) {
    int32_t number = In(field);
    BSTR result = Build([&](BstrSink& s) { skein::InsertField(In(text), In(delim), number, In(value), s); });
    if (field != nullptr && *field < 0) *field = number;  // only a negative request is answered
    return result;
}

SKEIN_EXPORT BSTR __stdcall DS_RemoveField(BSTR* text, BSTR* delim, int32_t* field) {
    return Build([&](BstrSink& s) { skein::RemoveField(In(text), In(delim), In(field), s); });
}

SKEIN_EXPORT int32_t __stdcall DS_FindField(BSTR* text, BSTR* delim, int32_t* start, BSTR* search, int32_t* options) {
    return skein::FindField(In(text), In(delim), In(start), In(search), In(options));
}

SKEIN_EXPORT int32_t __stdcall DS_TellField(BSTR* text, BSTR* delim, int32_t* position) {
    return skein::TellField(In(text), In(delim), In(position));
}

SKEIN_EXPORT int32_t __stdcall DS_CountFields(BSTR* text, BSTR* delim) {
    return skein::CountFields(In(text), In(delim));
}

SKEIN_EXPORT int32_t __stdcall DS_CountDlms(BSTR* text, BSTR* delim) { return skein::CountDlms(In(text), In(delim)); }

SKEIN_EXPORT BSTR __stdcall DS_ReplaceDlms(BSTR* text, BSTR* delim, BSTR* newDelim) {
    return Build([&](BstrSink& s) { skein::ReplaceDlms(In(text), In(delim), In(newDelim), s); });
}

SKEIN_EXPORT int32_t __stdcall DS_FindDlm(BSTR* text, BSTR* delim, int32_t* occurrence) {
    return skein::FindDlm(In(text), In(delim), In(occurrence));
}

SKEIN_EXPORT BSTR __stdcall US_Trim(BSTR* text) {
    return Build([&](BstrSink& s) { skein::Trim(In(text), s); });
}

SKEIN_EXPORT BSTR __stdcall US_Proper(BSTR* text) {
    return Build([&](BstrSink& s) { skein::Proper(In(text), s); });
}

SKEIN_EXPORT BSTR __stdcall US_Reverse(BSTR* text) {
    return Build([&](BstrSink& s) { skein::Reverse(In(text), s); });
}

SKEIN_EXPORT BSTR __stdcall US_LJustify(BSTR* text, int32_t* width, BSTR* fill) {
    return Build([&](BstrSink& s) { skein::LJustify(In(text), In(width), In(fill), s); });
}

SKEIN_EXPORT BSTR __stdcall US_RJustify(BSTR* text, int32_t* width, BSTR* fill) {
    return Build([&](BstrSink& s) { skein::RJustify(In(text), In(width), In(fill), s); });
}

SKEIN_EXPORT BSTR __stdcall US_CJustify(BSTR* text, int32_t* width, BSTR* fill) {
    return Build([&](BstrSink& s) { skein::CJustify(In(text), In(width), In(fill), s); });
}

SKEIN_EXPORT BSTR __stdcall US_StripOut(BSTR* text, BSTR* set) {
    return Build([&](BstrSink& s) { skein::StripOut(In(text), In(set), s); });
}

SKEIN_EXPORT BSTR __stdcall US_LeaveOnly(BSTR* text, BSTR* set) {
    return Build([&](BstrSink& s) { skein::LeaveOnly(In(text), In(set), s); });
}

SKEIN_EXPORT BSTR __stdcall US_Translate(BSTR* text, BSTR* from, BSTR* to) {
    return Build([&](BstrSink& s) { skein::Translate(In(text), In(from), In(to), s); });
}

SKEIN_EXPORT int32_t __stdcall SS_ItemCount(BSTR* layout) { return skein::ItemCount(In(layout)); }

SKEIN_EXPORT int32_t __stdcall SS_PieceCount(BSTR* layout) { return skein::PieceCount(In(layout)); }

SKEIN_EXPORT BSTR __stdcall SS_ItemType(BSTR* layout, int32_t* item) {
    return Guarded<BSTR>(nullptr, [&] { return Out(skein::ItemType(In(layout), In(item))); });
}

SKEIN_EXPORT int32_t __stdcall SS_PieceItemNo(BSTR* layout, int32_t* piece) {
    return skein::PieceItemNo(In(layout), In(piece));
}

SKEIN_EXPORT int32_t __stdcall SS_PieceSize(BSTR* layout, int32_t* piece) {
    return skein::PieceSize(In(layout), In(piece));
}

SKEIN_EXPORT int32_t __stdcall SS_IsIndex(BSTR* layout, int32_t* piece) {
    return skein::IsIndex(In(layout), In(piece));
}

SKEIN_EXPORT int32_t __stdcall SS_LenType(BSTR* layout) { return skein::LenType(In(layout)); }

// `value` points at the caller's variable: a string handle for "$" items,
// else the number itself. It is read only when the type text matches the item.
SKEIN_EXPORT BSTR __stdcall SS_StoreItem(BSTR* record, BSTR* layout, int32_t* item, BSTR* typeText, void* value) {
    skein::Group group;
    Bytes type = In(typeText);
    Bytes bytes;
    bool matches = skein::GroupOfItem(In(layout), In(item), group) && !type.empty() && type[0] == group.type;
    if (matches && value != nullptr) {
        bytes = group.isString() ? In(static_cast<BSTR*>(value))
                                 : Bytes(static_cast<const char*>(value), group.numberWidth());
    }
    if (matches && value == nullptr) return nullptr;
    return Build([&](BstrSink& s) { skein::StoreItem(In(record), In(layout), In(item), type, bytes, s); });
}

// `target` points at the caller's variable as for SS_StoreItem; a string
// target's old handle is freed when it is replaced.
SKEIN_EXPORT int32_t __stdcall SS_FetchItem(BSTR* record, BSTR* layout, int32_t* item, BSTR* typeText, void* target) {
    return Guarded<int32_t>(skein::kSsNoMemory, [&]() -> int32_t {
        std::string value;
        int32_t status = skein::FetchItem(In(record), In(layout), In(item), In(typeText), value);
        if (status != skein::kSsOk || value.empty()) return status;
        if (target == nullptr) return skein::kSsBadItem;
        if (In(typeText)[0] == '$')
            return Assign(static_cast<BSTR*>(target), value) ? skein::kSsOk : skein::kSsNoMemory;
        std::memcpy(target, value.data(), value.size());
        return skein::kSsOk;
    });
}

SKEIN_EXPORT int32_t __stdcall SS_StoreAll(BSTR* source, BSTR* layout, BSTR* record) {
    if (record == nullptr) return skein::kSsBadItem;
    return Guarded<int32_t>(skein::kSsNoMemory, [&] {
        BstrSink sink;
        int32_t status = skein::StoreAll(In(source), In(layout), sink);
        if (status != skein::kSsOk) return status;
        SysFreeString(*record);
        *record = sink.Release();
        return status;
    });
}

SKEIN_EXPORT int32_t __stdcall SS_FetchAll(BSTR* record, BSTR* layout, BSTR* target) {
    if (target == nullptr) return skein::kSsBadItem;
    return Guarded<int32_t>(skein::kSsNoMemory, [&] {
        BstrSink sink;
        int32_t status = skein::FetchAll(In(record), In(layout), sink);
        if (status != skein::kSsOk) return status;
        SysFreeString(*target);
        *target = sink.Release();
        return status;
    });
}

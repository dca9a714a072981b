#include "corvane/environment/VXStrings.h"

#include <cstring>
#include <map>

namespace corvane {

const char* SkeinStatusText(SkeinStatus status) {
    switch (status) {
    case SkeinStatus::Ok:
        return "ok";
    case SkeinStatus::FileNotFound:
        return "file not found";
    case SkeinStatus::LoadFailed:
        return "load failed";
    case SkeinStatus::MissingEntry:
        return "missing entry";
    }
    return "unknown";
}

SkeinString::SkeinString(std::string_view bytes) {
    if (!bytes.empty()) handle_ = SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size()));
}

SkeinString SkeinString::Adopt(BSTR handle) {
    SkeinString owner;
    owner.handle_ = handle;
    return owner;
}

SkeinString::~SkeinString() { SysFreeString(handle_); }

SkeinString::SkeinString(SkeinString&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }

SkeinString& SkeinString::operator=(SkeinString&& other) noexcept {
    if (this != &other) {
        SysFreeString(handle_);
        handle_ = other.handle_;
        other.handle_ = nullptr;
    }
    return *this;
}

std::string SkeinString::str() const {
    if (handle_ == nullptr) return std::string();
    return std::string(reinterpret_cast<const char*>(handle_), SysStringByteLen(handle_));
}

namespace VXStrings {
namespace {

// The loaded library and the exports bound so far; all calls come from the
// user-interface thread.
struct Binding {
    std::string overridePath;
    HMODULE module = nullptr;
    std::map<std::string, FARPROC> entries;
};

Binding& State() {
    static Binding binding;
    return binding;
}

SkeinStatus LoadLibraryOnce() {
    Binding& b = State();
    if (b.module != nullptr) return SkeinStatus::Ok;
    std::string path = LibraryPath();
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return SkeinStatus::FileNotFound;
    }
    // A full path with the altered search order: the library's own dependencies
    // are looked up beside it and in the system folders, never in the current folder first.
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    b.module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    SetErrorMode(oldMode);
    return b.module != nullptr ? SkeinStatus::Ok : SkeinStatus::LoadFailed;
}

SkeinStatus Bind(const char* name, FARPROC& entry) {
    Binding& b = State();
    auto known = b.entries.find(name);
    if (known != b.entries.end()) {
        entry = known->second;
        return SkeinStatus::Ok;
    }
    SkeinStatus loaded = LoadLibraryOnce();
    if (loaded != SkeinStatus::Ok) return loaded;
    entry = GetProcAddress(b.module, name);
    if (entry == nullptr) return SkeinStatus::MissingEntry;
    b.entries.emplace(name, entry);
    return SkeinStatus::Ok;
}

// Calls the export `name` of type Fn with the given arguments; a string
// result is taken over by a SkeinString and copied out.
template <class Fn, class... Args>
StringResult CallString(const char* name, Args... args) {
    FARPROC entry = nullptr;
    SkeinStatus status = Bind(name, entry);
    if (status != SkeinStatus::Ok) return status;
    SkeinString result = SkeinString::Adopt(reinterpret_cast<Fn>(reinterpret_cast<void*>(entry))(args...));
    return result.str();
}

template <class Fn, class... Args>
NumberResult CallNumber(const char* name, Args... args) {
    FARPROC entry = nullptr;
    SkeinStatus status = Bind(name, entry);
    if (status != SkeinStatus::Ok) return status;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(entry))(args...);
}

using S1 = BSTR(__stdcall*)(BSTR*);
using S2 = BSTR(__stdcall*)(BSTR*, BSTR*);
using S3 = BSTR(__stdcall*)(BSTR*, BSTR*, BSTR*);
using SN = BSTR(__stdcall*)(BSTR*, int32_t*);
using SSN = BSTR(__stdcall*)(BSTR*, BSTR*, int32_t*);
using SNS = BSTR(__stdcall*)(BSTR*, int32_t*, BSTR*);
using SSNS = BSTR(__stdcall*)(BSTR*, BSTR*, int32_t*, BSTR*);
using N1 = int32_t(__stdcall*)(BSTR*);
using N2 = int32_t(__stdcall*)(BSTR*, BSTR*);
using NN = int32_t(__stdcall*)(BSTR*, int32_t*);
using NSN = int32_t(__stdcall*)(BSTR*, BSTR*, int32_t*);
using NFind = int32_t(__stdcall*)(BSTR*, BSTR*, int32_t*, BSTR*, int32_t*);
using NS3 = int32_t(__stdcall*)(BSTR*, BSTR*, BSTR*);
using StoreFn = BSTR(__stdcall*)(BSTR*, BSTR*, int32_t*, BSTR*, void*);
using FetchFn = int32_t(__stdcall*)(BSTR*, BSTR*, int32_t*, BSTR*, void*);

const char* const kAllExports[] = {
    "DS_GetField",    "DS_PutField",  "DS_InsertField", "DS_RemoveField", "DS_FindField",   "DS_TellField",
    "DS_CountFields", "DS_CountDlms", "DS_ReplaceDlms", "DS_FindDlm",     "US_Trim",        "US_Proper",
    "US_Reverse",     "US_LJustify",  "US_RJustify",    "US_CJustify",    "US_StripOut",    "US_LeaveOnly",
    "US_Translate",   "SS_ItemCount", "SS_PieceCount",  "SS_ItemType",    "SS_PieceItemNo", "SS_PieceSize",
    "SS_IsIndex",     "SS_LenType",   "SS_StoreItem",   "SS_FetchItem",   "SS_StoreAll",    "SS_FetchAll"};

}  // namespace

StringResult DS_GetField(Text text, Text delim, int32_t field) {
    SkeinString t(text), d(delim);
    return CallString<SSN>("DS_GetField", t.handle(), d.handle(), &field);
}

StringResult DS_PutField(Text text, Text delim, int32_t field, Text value) {
    SkeinString t(text), d(delim), v(value);
    return CallString<SSNS>("DS_PutField", t.handle(), d.handle(), &field, v.handle());
}

StringResult DS_InsertField(Text text, Text delim, int32_t& field, Text value) {
    SkeinString t(text), d(delim), v(value);
    return CallString<SSNS>("DS_InsertField", t.handle(), d.handle(), &field, v.handle());
}

StringResult DS_RemoveField(Text text, Text delim, int32_t field) {
    SkeinString t(text), d(delim);
    return CallString<SSN>("DS_RemoveField", t.handle(), d.handle(), &field);
}

NumberResult DS_FindField(Text text, Text delim, int32_t startField, Text search, int32_t options) {
    SkeinString t(text), d(delim), s(search);
    return CallNumber<NFind>("DS_FindField", t.handle(), d.handle(), &startField, s.handle(), &options);
}

NumberResult DS_TellField(Text text, Text delim, int32_t position) {
    SkeinString t(text), d(delim);
    return CallNumber<NSN>("DS_TellField", t.handle(), d.handle(), &position);
}

NumberResult DS_CountFields(Text text, Text delim) {
    SkeinString t(text), d(delim);
    return CallNumber<N2>("DS_CountFields", t.handle(), d.handle());
}

NumberResult DS_CountDlms(Text text, Text delim) {
    SkeinString t(text), d(delim);
    return CallNumber<N2>("DS_CountDlms", t.handle(), d.handle());
}

StringResult DS_ReplaceDlms(Text text, Text delim, Text newDelim) {
    SkeinString t(text), d(delim), n(newDelim);
    return CallString<S3>("DS_ReplaceDlms", t.handle(), d.handle(), n.handle());
}

NumberResult DS_FindDlm(Text text, Text delim, int32_t occurrence) {
    SkeinString t(text), d(delim);
    return CallNumber<NSN>("DS_FindDlm", t.handle(), d.handle(), &occurrence);
}

StringResult US_Trim(Text text) {
    SkeinString t(text);
    return CallString<S1>("US_Trim", t.handle());
}

StringResult US_Proper(Text text) {
    SkeinString t(text);
    return CallString<S1>("US_Proper", t.handle());
}

StringResult US_Reverse(Text text) {
    SkeinString t(text);
    return CallString<S1>("US_Reverse", t.handle());
}

StringResult US_LJustify(Text text, int32_t width, Text fill) {
    SkeinString t(text), f(fill);
    return CallString<SNS>("US_LJustify", t.handle(), &width, f.handle());
}

StringResult US_RJustify(Text text, int32_t width, Text fill) {
    SkeinString t(text), f(fill);
    return CallString<SNS>("US_RJustify", t.handle(), &width, f.handle());
}

StringResult US_CJustify(Text text, int32_t width, Text fill) {
    SkeinString t(text), f(fill);
    return CallString<SNS>("US_CJustify", t.handle(), &width, f.handle());
}

StringResult US_StripOut(Text text, Text set) {
    SkeinString t(text), s(set);
    return CallString<S2>("US_StripOut", t.handle(), s.handle());
}

StringResult US_LeaveOnly(Text text, Text set) {
    SkeinString t(text), s(set);
    return CallString<S2>("US_LeaveOnly", t.handle(), s.handle());
}

StringResult US_Translate(Text text, Text from, Text to) {
    SkeinString t(text), f(from), o(to);
    return CallString<S3>("US_Translate", t.handle(), f.handle(), o.handle());
}

NumberResult SS_ItemCount(Text layout) {
    SkeinString l(layout);
    return CallNumber<N1>("SS_ItemCount", l.handle());
}

NumberResult SS_PieceCount(Text layout) {
    SkeinString l(layout);
    return CallNumber<N1>("SS_PieceCount", l.handle());
}

StringResult SS_ItemType(Text layout, int32_t item) {
    SkeinString l(layout);
    return CallString<SN>("SS_ItemType", l.handle(), &item);
}

NumberResult SS_PieceItemNo(Text layout, int32_t piece) {
    SkeinString l(layout);
    return CallNumber<NN>("SS_PieceItemNo", l.handle(), &piece);
}

NumberResult SS_PieceSize(Text layout, int32_t piece) {
    SkeinString l(layout);
    return CallNumber<NN>("SS_PieceSize", l.handle(), &piece);
}

NumberResult SS_IsIndex(Text layout, int32_t piece) {
    SkeinString l(layout);
    return CallNumber<NN>("SS_IsIndex", l.handle(), &piece);
}

NumberResult SS_LenType(Text layout) {
    SkeinString l(layout);
    return CallNumber<N1>("SS_LenType", l.handle());
}

StringResult SS_StoreItem(Text record, Text layout, int32_t item, Text typeText, Text value) {
    SkeinString r(record), l(layout), t(typeText), v(value);
    char number[8] = {};
    if (!value.empty()) std::memcpy(number, value.data(), value.size() < 8 ? value.size() : 8);
    void* target = (!typeText.empty() && typeText[0] == '$') ? static_cast<void*>(v.handle()) : number;
    return CallString<StoreFn>("SS_StoreItem", r.handle(), l.handle(), &item, t.handle(), target);
}

NumberResult SS_FetchItem(Text record, Text layout, int32_t item, Text typeText, std::string& target) {
    SkeinString r(record), l(layout), t(typeText);
    bool isString = !typeText.empty() && typeText[0] == '$';
    SkeinString text(target);
    char number[8] = {};
    if (!target.empty()) std::memcpy(number, target.data(), target.size() < 8 ? target.size() : 8);
    void* out = isString ? static_cast<void*>(text.handle()) : number;
    NumberResult status = CallNumber<FetchFn>("SS_FetchItem", r.handle(), l.handle(), &item, t.handle(), out);
    if (!status.ok() || status.value() != 0) return status;
    if (isString) {
        target = text.str();
    } else {
        std::string kind = typeText.empty() ? "" : std::string(1, typeText[0]);
        size_t width = kind == "%" ? 2 : (kind == "&" || kind == "!") ? 4 : 8;
        target.assign(number, width);
    }
    return status;
}

NumberResult SS_StoreAll(Text source, Text layout, std::string& record) {
    SkeinString s(source), l(layout), r(record);
    NumberResult status = CallNumber<NS3>("SS_StoreAll", s.handle(), l.handle(), r.handle());
    if (status.ok() && status.value() == 0) record = r.str();
    return status;
}

NumberResult SS_FetchAll(Text record, Text layout, std::string& target) {
    SkeinString r(record), l(layout), t(target);
    NumberResult status = CallNumber<NS3>("SS_FetchAll", r.handle(), l.handle(), t.handle());
    if (status.ok() && status.value() == 0) target = t.str();
    return status;
}

SkeinStatus BindAll() {
    for (const char* name : kAllExports) {
        FARPROC entry = nullptr;
        SkeinStatus status = Bind(name, entry);
        if (status != SkeinStatus::Ok) return status;
    }
    return SkeinStatus::Ok;
}

std::string LibraryPath() {
    const Binding& b = State();
    if (!b.overridePath.empty()) return b.overridePath;
    char program[MAX_PATH * 4];
    DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    std::string folder(program, length < sizeof program ? length : 0);
    return folder.substr(0, folder.find_last_of('\\') + 1) + "skein.dll";
}

void SetLibraryPathForTesting(const std::string& path) {
    Binding& b = State();
    b.entries.clear();
    if (b.module != nullptr) FreeLibrary(b.module);
    b.module = nullptr;
    b.overridePath = path;
}

}  // namespace VXStrings

bool SkeinAvailable(SkeinStatus* why) {
    SkeinStatus status = VXStrings::BindAll();
    if (why != nullptr) *why = status;
    return status == SkeinStatus::Ok;
}

}  // namespace corvane

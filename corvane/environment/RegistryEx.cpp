#include "corvane/environment/RegistryEx.h"

#include "corvane/environment/Handles.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/environment/portable/TextRules.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace corvane::RegistryEx {
namespace {

struct HiveName {
    const char* name;
    HKEY hive;
};

const HiveName kHives[] = {
    {"HKCR", HKEY_CLASSES_ROOT}, {"HKCU", HKEY_CURRENT_USER},   {"HKLM", HKEY_LOCAL_MACHINE},
    {"HKU", HKEY_USERS},         {"HKCC", HKEY_CURRENT_CONFIG}, {"HKDD", HKEY_DYN_DATA},
};

#ifndef _WIN64
// True for a 32-bit program on 64-bit Windows. Windows 2000 and the first XP
// releases lack IsWow64Process: they have no 64-bit view.
bool RunsUnderWow64() {
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, BOOL*);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto isWow64 = reinterpret_cast<IsWow64ProcessFn>(
        reinterpret_cast<void*>(kernel ? GetProcAddress(kernel, "IsWow64Process") : nullptr));
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
}
#endif

// 64-bit Windows keeps HKLM\SOFTWARE in two views, one per kind of program.
// The view other than the program's own, or 0 where there is only one.
REGSAM OtherView() {
#ifdef _WIN64
    return KEY_WOW64_32KEY;
#else
    return RunsUnderWow64() ? KEY_WOW64_64KEY : 0;
#endif
}

// Opens a key to read it. A key under HKLM that the program's own view lacks
// is looked for in the other view: Outlook Express on 64-bit Windows
// registers itself in the 64-bit one, which a 32-bit program does not see.
// HKCU is one view for both.
long OpenToRead(HKEY root, const std::string& key, REGSAM access, CKey& opened) {
    long code = RegOpenKeyExA(root, key.c_str(), 0, access, opened.Out());
    if (code != ERROR_FILE_NOT_FOUND || root != HKEY_LOCAL_MACHINE) return code;
    REGSAM other = OtherView();
    if (other == 0) return code;
    return RegOpenKeyExA(root, key.c_str(), 0, access | other, opened.Out());
}

// The 16-bit integer a text stands for; nullopt for text that is no number in
// range, which is refused rather than silently cut to 16 bits.
std::optional<int16_t> ParseInt16(const std::string& text) {
    std::optional<int64_t> number = WholeNumber(text);
    if (!number || *number < INT16_MIN || *number > INT16_MAX) return std::nullopt;
    return static_cast<int16_t>(*number);
}

std::optional<bool> ParseBoolean(const std::string& text) {
    std::string upper = UpperCased(text);
    if (upper == "TRUE") return true;
    if (upper == "FALSE") return false;
    std::optional<int64_t> number = WholeNumber(text);
    if (!number) return std::nullopt;
    return *number != 0;
}

bool IsKnownType(char type) { return type == 'S' || type == 'B' || type == 'D'; }

// The profile functions look in the Windows folder for a name without a path,
// so the file name is made absolute against the current folder first.
std::string IniPath(const std::string& name) {
    char buffer[MAX_PATH * 4];
    DWORD length = GetFullPathNameA(name.c_str(), sizeof buffer, buffer, nullptr);
    if (length == 0 || length >= sizeof buffer) return name;
    return std::string(buffer, length);
}

long ReadIni(const std::string& file, const std::string& section, const std::string& entry, char type,
             const std::string& defaultValue, std::string& value) {
    if (type != 'S') return ERROR_INVALID_PARAMETER;
    std::string path = IniPath(file);
    // Grows the buffer until the entry fits instead of cutting long entries.
    for (DWORD size = 256; size <= 65536; size *= 4) {
        std::vector<char> buffer(size);
        DWORD length = GetPrivateProfileStringA(section.c_str(), entry.c_str(), defaultValue.c_str(), buffer.data(),
                                                size, path.c_str());
        if (length + 1 < size) {
            value.assign(buffer.data(), length);
            return kStatusOk;
        }
    }
    return ERROR_MORE_DATA;
}

long WriteIni(const std::string& file, const std::string& section, const std::string& entry, char type,
              const std::string& text) {
    if (type != 'S') return ERROR_INVALID_PARAMETER;
    std::string path = IniPath(file);
    if (WritePrivateProfileStringA(section.c_str(), entry.c_str(), text.c_str(), path.c_str())) return kStatusOk;
    long code = static_cast<long>(GetLastError());
    return code != 0 ? code : kStatusBadHive;
}

long ReadBoolean(HKEY key, const std::string& valueName, std::string& value) {
    int16_t flag = 0;
    DWORD size = sizeof flag;
    long code = RegQueryValueExA(key, valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&flag), &size);
    if (code != ERROR_SUCCESS) return code;
    value = flag != 0 ? "True" : "False";
    return kStatusOk;
}

long ReadDword(HKEY key, const std::string& valueName, std::string& value) {
    int32_t number = 0;
    DWORD size = sizeof number;
    long code = RegQueryValueExA(key, valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &size);
    if (code != ERROR_SUCCESS) return code;
    value = std::to_string(number);
    return kStatusOk;
}

long StoreValue(HKEY key, const std::string& valueName, char type, const std::string& text) {
    if (type == 'S') {
        return RegSetValueExA(key, valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size() + 1));
    }
    if (type == 'B') {
        int16_t flag = *ParseBoolean(text) ? -1 : 0;
        return RegSetValueExA(key, valueName.c_str(), 0, REG_BINARY, reinterpret_cast<const BYTE*>(&flag), sizeof flag);
    }
    int32_t number = *ParseInt16(text);  // sign-extended from 16 bits
    return RegSetValueExA(key, valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
}

// Refuses what cannot be stored before any key is created.
bool IsStorable(char type, const std::string& text) {
    if (type == 'S') return true;
    if (type == 'B') return ParseBoolean(text).has_value();
    if (type == 'D') return ParseInt16(text).has_value();
    return false;
}

}  // namespace

HKEY HiveFromName(const std::string& name) {
    std::string upper = UpperCased(name);
    for (const HiveName& entry : kHives) {
        if (upper == entry.name) return entry.hive;
    }
    if (FileExists(name)) return kIniFileHive;
    return nullptr;
}

long QueryStringValue(HKEY key, const std::string& valueName, std::string& text) {
    // The size is asked with an empty buffer first; a value that grows between
    // the two queries is asked again.
    for (int attempt = 0; attempt < 4; ++attempt) {
        char probe = 0;
        DWORD size = 0;
        long code = RegQueryValueExA(key, valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&probe), &size);
        if (code == ERROR_SUCCESS) {  // a value of no bytes at all
            text.clear();
            return kStatusOk;
        }
        if (code != ERROR_MORE_DATA) return code;
        std::vector<char> buffer(size + 1, '\0');
        code =
            RegQueryValueExA(key, valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (code == ERROR_MORE_DATA) continue;
        if (code != ERROR_SUCCESS) return code;
        // Drops the terminating NUL; a value stored without one keeps its last character.
        if (size > 0 && buffer[size - 1] == '\0') --size;
        text.assign(buffer.data(), size);
        return kStatusOk;
    }
    return ERROR_MORE_DATA;
}

long ReadValue(const std::string& hive, const std::string& key, const std::string& valueName, char type,
               const std::string& defaultValue, std::string& value) {
    value = defaultValue;
    type = UpperAscii(type);
    HKEY root = HiveFromName(hive);
    if (root == nullptr) return kStatusBadHive;
    if (root == kIniFileHive) return ReadIni(hive, key, valueName, type, defaultValue, value);
    if (!IsKnownType(type)) return ERROR_INVALID_PARAMETER;

    CKey opened;
    long code = OpenToRead(root, key, KEY_QUERY_VALUE, opened);
    if (code != ERROR_SUCCESS) return code;
    std::string read;
    if (type == 'S') code = QueryStringValue(opened.Get(), valueName, read);
    if (type == 'B') code = ReadBoolean(opened.Get(), valueName, read);
    if (type == 'D') code = ReadDword(opened.Get(), valueName, read);
    if (code != ERROR_SUCCESS) return code;
    value = read;
    return opened.Close();
}

long WriteValue(const std::string& hive, const std::string& key, const std::string& valueName, char type,
                const std::string& value) {
    type = UpperAscii(type);
    HKEY root = HiveFromName(hive);
    if (root == nullptr) return kStatusBadHive;
    if (root == kIniFileHive) return WriteIni(hive, key, valueName, type, value);
    if (!IsStorable(type, value)) return ERROR_INVALID_PARAMETER;

    CKey opened;
    long code = RegCreateKeyExA(root, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_SET_VALUE | KEY_CREATE_SUB_KEY, nullptr, opened.Out(), nullptr);
    if (code != ERROR_SUCCESS) return code;
    code = StoreValue(opened.Get(), valueName, type, value);
    if (code != ERROR_SUCCESS) return code;
    return opened.Close();
}

long ListSubKeys(const std::string& hive, const std::string& key, std::string& list) {
    HKEY root = HiveFromName(hive);
    if (root == nullptr) return kStatusBadHive;
    if (root == kIniFileHive) return ERROR_INVALID_PARAMETER;  // an INI file has no sub-keys
    CKey opened;
    long code = OpenToRead(root, key, KEY_READ, opened);
    if (code != ERROR_SUCCESS) return code;

    DWORD count = 0, longest = 0;
    code = RegQueryInfoKeyA(opened.Get(), nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr);
    if (code != ERROR_SUCCESS) return code;
    // Built apart and appended whole, so a failure part-way leaves the list unchanged.
    std::string names;
    std::vector<char> buffer(longest + 1);
    for (DWORD index = 0; index < count; ++index) {
        DWORD length = static_cast<DWORD>(buffer.size());
        code = RegEnumKeyExA(opened.Get(), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (code == ERROR_NO_MORE_ITEMS) break;  // sub-keys deleted meanwhile
        if (code != ERROR_SUCCESS) return code;
        names.append(buffer.data(), length);
        names.push_back('\0');
    }
    names.push_back('\0');
    list += names;
    return opened.Close();
}

std::string ReadText(const std::string& hive, const std::string& key, const std::string& valueName,
                     const std::string& defaultValue) {
    std::string value;
    ReadValue(hive, key, valueName, 'S', defaultValue, value);
    return value;
}

}  // namespace corvane::RegistryEx

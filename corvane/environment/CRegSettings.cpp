#include "corvane/environment/CRegSettings.h"

#include "corvane/environment/Handles.h"
#include "corvane/environment/RegistryEx.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/environment/portable/SettingNames.h"

#include <windows.h>

#include <shlwapi.h>

namespace corvane {
namespace {

const char* const kDefaultCompany = settings::kCompany;
const char* const kFallbackAppName = settings::kApplication;

std::string Trimmed(const std::string& text) {
    const char* blanks = " \t\r\n";
    size_t begin = text.find_first_not_of(blanks);
    if (begin == std::string::npos) return "";
    return text.substr(begin, text.find_last_not_of(blanks) + 1 - begin);
}

// "*" names the key's default (unnamed) value.
std::string ValueName(const std::string& key) { return key == "*" ? "" : key; }

std::string ProgramPath() {
    char buffer[MAX_PATH * 4];
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) return "";
    return std::string(buffer, length);
}

std::string DefaultAppName() {
    std::string name = Trimmed(ProductNameOfFile(ProgramPath()));
    return name.empty() ? kFallbackAppName : name;
}

bool OpenSettingsKey(CKey& key, const std::string& path, REGSAM access) {
    return RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, access, key.Out()) == ERROR_SUCCESS;
}

bool CreateSettingsKey(CKey& key, const std::string& path) {
    return RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                           nullptr, key.Out(), nullptr) == ERROR_SUCCESS;
}

}  // namespace

CRegSettings::CRegSettings() : company_(kDefaultCompany), appName_(DefaultAppName()) {}

std::string CRegSettings::SectionKey(const std::string& section) const {
    std::string key = "Software\\" + company_ + "\\" + appName_;
    if (!section.empty()) key += "\\" + section;
    return key;
}

std::string CRegSettings::GetSetting(const std::string& section, const std::string& key,
                                     const std::string& defaultValue) const {
    CKey opened;
    if (!OpenSettingsKey(opened, SectionKey(section), KEY_QUERY_VALUE)) return defaultValue;
    std::string text;
    if (RegistryEx::QueryStringValue(opened.Get(), ValueName(key), text) != ERROR_SUCCESS) return defaultValue;
    return text;
}

bool CRegSettings::SaveSetting(const std::string& section, const std::string& key, const std::string& setting) {
    CKey opened;
    if (!CreateSettingsKey(opened, SectionKey(section))) return false;
    return RegSetValueExA(opened.Get(), ValueName(key).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(setting.c_str()),
                          static_cast<DWORD>(setting.size() + 1)) == ERROR_SUCCESS;
}

bool CRegSettings::DeleteSetting(const std::string& section, const std::string& key) {
    CKey opened;
    if (!key.empty()) {
        if (!OpenSettingsKey(opened, SectionKey(section), KEY_SET_VALUE)) return false;
        return RegDeleteValueA(opened.Get(), ValueName(key).c_str()) == ERROR_SUCCESS;
    }
    // An empty section with an empty key would name the whole application key:
    // that is never a setting to delete.
    if (section.empty()) return false;
    if (!OpenSettingsKey(opened, SectionKey(""), KEY_ALL_ACCESS)) return false;
    // RegDeleteKeyA refuses a section that has sub-keys of its own; the shell's
    // delete takes the section with everything below it.
    return SHDeleteKeyA(opened.Get(), section.c_str()) == ERROR_SUCCESS;
}

void CRegSettings::SetCompany(const std::string& newVal) {
    std::string trimmed = Trimmed(newVal);
    company_ = trimmed.empty() ? kDefaultCompany : trimmed;
}

void CRegSettings::SetAppName(const std::string& newVal) {
    std::string trimmed = Trimmed(newVal);
    appName_ = trimmed.empty() ? DefaultAppName() : trimmed;
}

}  // namespace corvane

#include "testsupport/SyntheticOE.h"

#include "testsupport/portable/SampleStore.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstdio>

namespace corvane::testing {
namespace {

HKEY Hive(void* hive) { return static_cast<HKEY>(hive); }

bool SetText(HKEY hive, const std::string& key, const std::string& name, const std::string& value,
             DWORD type = REG_SZ) {
    HKEY handle = nullptr;
    if (RegCreateKeyExA(hive, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    LONG status = RegSetValueExA(handle, name.empty() ? nullptr : name.c_str(), 0, type,
                                 reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}

bool SetNumber(HKEY hive, const std::string& key, const std::string& name, uint32_t value) {
    HKEY handle = nullptr;
    if (RegCreateKeyExA(hive, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    DWORD data = value;
    LONG status = RegSetValueExA(handle, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}

bool KeyExists(HKEY hive, const std::string& key) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(hive, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
}

const char* const kIdentities = "Identities";
const char* const kAccountManager = "Software\\Microsoft\\Internet Account Manager";

// A Favorites folder with a few links, registered for the user.
bool WriteSampleFavorites(SyntheticOE& oe, const std::string& favorites) {
    bool ok = true;
    const char* const links[][2] = {{"Debian.url", "https://www.debian.org/"},
                                    {"Links\\Weather.url", "https://weather.example.org/"},
                                    {"Links\\News.url", "https://news.example.org/"}};
    for (const auto& link : links)
        ok = ok && SyntheticOE::WriteFile(favorites + "\\" + link[0],
                                          std::string("[InternetShortcut]\r\nURL=") + link[1] + "\r\n");
    oe.SetFavorites(favorites);
    return ok;
}

}  // namespace

SyntheticOE::~SyntheticOE() { RemoveAll(); }

// Only keys that did not exist before are removed again.
void SyntheticOE::RememberKey(void* hive, const std::string& key) {
    if (KeyExists(Hive(hive), key)) return;
    for (const auto& made : madeKeys_)
        if (made.first == hive && made.second == key) return;
    madeKeys_.emplace_back(hive, key);
}

void SyntheticOE::RememberValue(void* hive, const std::string& key, const std::string& name) {
    SavedValue saved{hive, key, name, false, "", REG_SZ};
    HKEY handle = nullptr;
    if (RegOpenKeyExA(Hive(hive), key.c_str(), 0, KEY_QUERY_VALUE, &handle) == ERROR_SUCCESS) {
        char buffer[2048];
        DWORD size = sizeof buffer, type = 0;
        if (RegQueryValueExA(handle, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) ==
            ERROR_SUCCESS) {
            saved.existed = true;
            saved.type = type;
            saved.data.assign(buffer, size > 0 ? size - 1 : 0);
        }
        RegCloseKey(handle);
    }
    savedValues_.push_back(saved);
}

void SyntheticOE::RegisterProgram(const std::string& dllPath) {
    const std::string key = "SOFTWARE\\Clients\\Mail\\Outlook Express";
    RememberKey(HKEY_LOCAL_MACHINE, key);
    SetText(HKEY_LOCAL_MACHINE, key, "DLLPath", dllPath, REG_EXPAND_SZ);
}

void SyntheticOE::RegisterClsid(const std::string& inprocServerPath) {
    const std::string key = "CLSID\\{06BE7323-EF34-11d1-ACD8-00C04FA31009}";
    RememberKey(HKEY_CLASSES_ROOT, key);
    SetText(HKEY_CLASSES_ROOT, key + "\\InprocServer32", "", inprocServerPath, REG_EXPAND_SZ);
}

void SyntheticOE::AddIdentity(const std::string& id, const std::string& username, const std::string& storeRoot) {
    RememberKey(HKEY_CURRENT_USER, kIdentities);
    const std::string key = std::string(kIdentities) + "\\" + id;
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) ==
        ERROR_SUCCESS)
        RegCloseKey(handle);
    if (username != "\x01") SetText(HKEY_CURRENT_USER, key, "Username", username);
    if (!storeRoot.empty())
        SetText(HKEY_CURRENT_USER, key + "\\Software\\Microsoft\\Outlook Express\\5.0", "Store Root", storeRoot,
                REG_EXPAND_SZ);
}

void SyntheticOE::SetDefaultIdentity(const std::string& id) {
    RememberKey(HKEY_CURRENT_USER, kIdentities);
    SetText(HKEY_CURRENT_USER, kIdentities, "Default User ID", id);
}

void SyntheticOE::SetLastIdentity(const std::string& id) {
    RememberKey(HKEY_CURRENT_USER, kIdentities);
    SetText(HKEY_CURRENT_USER, kIdentities, "Last User ID", id);
}

void SyntheticOE::MakeEmptyIdentitiesKey() {
    RememberKey(HKEY_CURRENT_USER, kIdentities);
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kIdentities, 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) ==
        ERROR_SUCCESS)
        RegCloseKey(handle);
}

void SyntheticOE::SetVersion4StoreRoot(const std::string& storeRoot) {
    const std::string key = "Software\\Microsoft\\Outlook Express";
    RememberKey(HKEY_CURRENT_USER, key);
    SetText(HKEY_CURRENT_USER, key, "Store Root", storeRoot, REG_EXPAND_SZ);
}

void SyntheticOE::SetAddressBook(const std::string& wabPath, uint32_t useOutlook) {
    const std::string key = "Software\\Microsoft\\WAB\\WAB4";
    RememberKey(HKEY_CURRENT_USER, "Software\\Microsoft\\WAB");
    RememberKey(HKEY_CURRENT_USER, key);
    SetText(HKEY_CURRENT_USER, key + "\\WAB File Name", "", wabPath, REG_EXPAND_SZ);
    SetNumber(HKEY_CURRENT_USER, key, "UseOutlook", useOutlook);
}

void SyntheticOE::SetFavorites(const std::string& folder) {
    const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    RememberValue(HKEY_CURRENT_USER, key, "Favorites");
    SetText(HKEY_CURRENT_USER, key, "Favorites", folder);
}

void SyntheticOE::SetProfileImagePath(const std::string& sid, const std::string& path) {
    const std::string key = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\" + sid;
    RememberKey(HKEY_LOCAL_MACHINE, key);
    RememberValue(HKEY_LOCAL_MACHINE, key, "ProfileImagePath");
    SetText(HKEY_LOCAL_MACHINE, key, "ProfileImagePath", path, REG_EXPAND_SZ);
}

void SyntheticOE::AddNewsAccount(const std::string& accountName, const std::string& nntpDirectory) {
    RememberKey(HKEY_CURRENT_USER, kAccountManager);
    char number[16];
    std::snprintf(number, sizeof number, "%08x", static_cast<unsigned>(newsAccounts_));
    const std::string key = std::string(kAccountManager) + "\\Accounts\\" + number;
    SetText(HKEY_CURRENT_USER, key, "Account Name", accountName);
    SetText(HKEY_CURRENT_USER, key, "NNTP Data Directory", nntpDirectory);
    SetNumber(HKEY_CURRENT_USER, kAccountManager, "Account Name", static_cast<uint32_t>(++newsAccounts_));
}

void SyntheticOE::RemoveAll() {
    for (auto it = savedValues_.rbegin(); it != savedValues_.rend(); ++it) {
        HKEY handle = nullptr;
        if (RegOpenKeyExA(Hive(it->hive), it->key.c_str(), 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS) continue;
        if (it->existed)
            RegSetValueExA(handle, it->name.c_str(), 0, it->type, reinterpret_cast<const BYTE*>(it->data.c_str()),
                           static_cast<DWORD>(it->data.size() + 1));
        else
            RegDeleteValueA(handle, it->name.c_str());
        RegCloseKey(handle);
    }
    savedValues_.clear();
    for (auto it = madeKeys_.rbegin(); it != madeKeys_.rend(); ++it) SHDeleteKeyA(Hive(it->first), it->second.c_str());
    madeKeys_.clear();
    newsAccounts_ = 0;
}

bool SyntheticOE::MakeFolders(const std::string& path) {
    std::string prefix;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '\\') continue;
        prefix = path.substr(0, i);
        if (prefix.empty() || prefix.back() == ':') continue;
        if (!CreateDirectoryA(prefix.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return true;
}

bool SyntheticOE::WriteFile(const std::string& path, const std::string& bytes) {
    size_t slash = path.find_last_of('\\');
    if (slash != std::string::npos && !MakeFolders(path.substr(0, slash))) return false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok =
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
    return ok;
}

bool MakeSampleVersion5Installation(SyntheticOE& oe, const std::string& root) {
    const std::string main = "{A3C5E1F0-6B2D-4E8A-9C71-2F4D8B0E5A11}";
    const std::string anna = "{7D19B4C2-05E3-4F6A-B8D0-91C2E4A7F356}";
    const std::string mainStore = root + "\\Identities\\" + main + "\\Microsoft\\Outlook Express";
    const std::string annaStore = root + "\\Identities\\" + anna + "\\Microsoft\\Outlook Express";
    oe.RegisterProgram(kOeProgramPath5);
    oe.AddIdentity(main, "Main Identity", mainStore);
    oe.AddIdentity(anna, "Anna Berg", annaStore);
    oe.SetDefaultIdentity(main);
    oe.SetLastIdentity(anna);
    bool ok = SyntheticOE::MakeFolders(mainStore) && SyntheticOE::MakeFolders(annaStore);
    ok = ok && WriteSampleStore(mainStore) && WriteSampleStore(annaStore);
    const std::string wab = root + "\\Address Book\\Main Identity.wab";
    ok =
        ok && SyntheticOE::WriteFile(wab, std::string("\x9c\xcb\xcb\x8d\x13\x75\xd2\x11", 8) + std::string(4088, '\0'));
    oe.SetAddressBook(wab);
    return WriteSampleFavorites(oe, root + "\\Favorites") && ok;
}

bool MakeSampleVersion4Installation(SyntheticOE& oe, const std::string& root) {
    const std::string store = root + "\\Store";
    oe.RegisterProgram(kOeProgramPath4);
    oe.SetVersion4StoreRoot(store);
    bool ok = SyntheticOE::MakeFolders(store) && WriteSampleVersion4Store(store);
    for (const SampleNewsAccount& account : SampleNewsAccounts()) oe.AddNewsAccount(account.name, account.directory);
    const std::string wab = root + "\\Address Book\\Default.wab";
    ok =
        ok && SyntheticOE::WriteFile(wab, std::string("\x9c\xcb\xcb\x8d\x13\x75\xd2\x11", 8) + std::string(4088, '\0'));
    oe.SetAddressBook(wab);
    return WriteSampleFavorites(oe, root + "\\Favorites") && ok;
}

}  // namespace corvane::testing

#include "corvane/catalog/Win32Catalog.h"

#include "corvane/environment/RegistryEx.h"
#include "corvane/environment/portable/OePaths.h"
#include "corvane/environment/portable/TextRules.h"

#include <windows.h>

#include <algorithm>

namespace corvane::catalog {

namespace {

bool Attributes(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) != 0;
}

}  // namespace

bool Win32FileSource::FileExists(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return Attributes(path, data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

int64_t Win32FileSource::FileLength(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!Attributes(path, data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return -1;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::vector<uint8_t> Win32FileSource::ReadStart(const std::string& path, size_t count) {
    // Shared for writing too: Outlook Express may hold its files open.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::vector<uint8_t> bytes(count);
    size_t filled = 0;
    while (filled < count) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(count - filled, 1u << 20));
        DWORD got = 0;
        if (!ReadFile(file, bytes.data() + filled, chunk, &got, nullptr) || got == 0) break;
        filled += got;
    }
    CloseHandle(file);
    bytes.resize(filled);
    return bytes;
}

ExtraPlaces ReadExtraPlaces(const std::string& windowsFolder) {
    const std::string wab = "Software\\Microsoft\\WAB\\WAB4";
    ExtraPlaces places;
    std::string useOutlook;
    RegistryEx::ReadValue("HKCU", wab, "UseOutlook", 'D', "0", useOutlook);
    places.UseOutlookValue = static_cast<int16_t>(LeadingInt(useOutlook));
    std::string wabPath;
    RegistryEx::ReadValue("HKCU", wab + "\\WAB File Name", "", 'S', "", wabPath);
    places.WabPath = ExpandSystemPlaceholders(wabPath, windowsFolder);
    places.FavoritesFolder = RegistryEx::ReadText(
        "HKCU", "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Favorites");
    return places;
}

std::vector<NewsAccount> ReadNewsAccounts() {
    const std::string manager = "Software\\Microsoft\\Internet Account Manager";
    std::string number;
    RegistryEx::ReadValue("HKCU", manager, "Account Name", 'D', "0", number);
    int64_t count = LeadingNumber(number);
    std::vector<NewsAccount> accounts;
    for (int64_t i = 0; i < count; ++i) {
        std::string key = manager + "\\Accounts\\" + AccountKeyName(static_cast<uint32_t>(i));
        NewsAccount account;
        account.directory = RegistryEx::ReadText("HKCU", key, "NNTP Data Directory");
        if (account.directory.empty()) continue;
        account.name = RegistryEx::ReadText("HKCU", key, "Account Name");
        accounts.push_back(account);
    }
    return accounts;
}

char LocaleThousandSeparator() {
    char separator[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, sizeof separator) <= 1) return ',';
    return separator[0];
}

}  // namespace corvane::catalog

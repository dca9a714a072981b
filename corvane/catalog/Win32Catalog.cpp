#include "corvane/catalog/Win32Catalog.h"

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

char LocaleThousandSeparator() {
    char separator[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, sizeof separator) <= 1) return ',';
    return separator[0];
}

}  // namespace corvane::catalog

// The Windows side of the catalog's file access and number formatting.
#pragma once

#include "corvane/catalog/FileSource.h"

namespace corvane::catalog {

// Files through the ANSI API (GetFileAttributesExA, CreateFileA), so store
// paths in the system code page work as Outlook Express wrote them.
class Win32FileSource : public IFileSource {
public:
    bool FileExists(const std::string& path) override;
    int64_t FileLength(const std::string& path) override;
    std::vector<uint8_t> ReadStart(const std::string& path, size_t count) override;
};

// The user's thousands separator (LOCALE_STHOUSAND), ',' when unknown.
char LocaleThousandSeparator();

}  // namespace corvane::catalog

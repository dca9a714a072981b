// The Windows side of the catalog's file access and number formatting.
#pragma once

#include "corvane/catalog/CatalogExtras.h"
#include "corvane/catalog/FileSource.h"

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::catalog {

// Files through the ANSI API (GetFileAttributesExA, CreateFileA), so store
// paths in the system code page work as Outlook Express wrote them.
class Win32FileSource : public IFileSource {
public:
    bool FileExists(const std::string& path) override;
    int64_t FileLength(const std::string& path) override;
    std::vector<uint8_t> ReadStart(const std::string& path, size_t count) override;
};

// Where the registry puts the address book and the Favorites of the user.
struct ExtraPlaces {
    int16_t UseOutlookValue = 0;  // WAB4 "UseOutlook": Outlook Express keeps its own address book
    std::string WabPath;          // "WAB File Name", system placeholders expanded
    std::string FavoritesFolder;  // Shell Folders "Favorites"
};
ExtraPlaces ReadExtraPlaces(const std::string& windowsFolder);
// The same, into the fields of that name of `target` (the backup's plan).
template <typename Target>
void ReadExtraPlaces(const std::string& windowsFolder, Target& target) {
    ExtraPlaces places = ReadExtraPlaces(windowsFolder);
    target.UseOutlookValue = places.UseOutlookValue;
    target.WabPath = places.WabPath;
    target.FavoritesFolder = places.FavoritesFolder;
}

// The news accounts of the Internet Account Manager, by account number.
std::vector<NewsAccount> ReadNewsAccounts();

// The user's thousands separator (LOCALE_STHOUSAND), ',' when unknown.
char LocaleThousandSeparator();

}  // namespace corvane::catalog

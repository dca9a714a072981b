// The program's own settings: strings under
// HKEY_CURRENT_USER\Software\<Company>\<AppName>[\<section>].
// The key name "*" stands for the key's default (unnamed) value. Nothing is
// cached: each call opens the key anew, so values other programs write are seen.
#pragma once

#include <string>

namespace corvane {

class CRegSettings {
public:
    // Company "BrindleWorks"; AppName the product name of this program's
    // version information ("Corvane" when it has none).
    CRegSettings();

    std::string GetSetting(const std::string& section, const std::string& key,
                           const std::string& defaultValue = "") const;
    bool SaveSetting(const std::string& section, const std::string& key, const std::string& setting);
    // With a key: deletes that value. With an empty key: deletes the whole section.
    bool DeleteSetting(const std::string& section, const std::string& key);

    const std::string& Company() const { return company_; }
    const std::string& AppName() const { return appName_; }
    // Stored trimmed; empty text restores the default.
    void SetCompany(const std::string& newVal);
    void SetAppName(const std::string& newVal);

    // "Software\<Company>\<AppName>" plus "\<section>" when the section is not empty.
    std::string SectionKey(const std::string& section) const;

private:
    std::string company_;
    std::string appName_;
};

}  // namespace corvane

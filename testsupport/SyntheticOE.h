// A synthetic Outlook Express: writes the registry keys and files that a real
// installation keeps (program registration, identities and their stores, the
// version-4 store, the address book, Favorites and news accounts), so tests and
// the demo can run discovery against them. Every key it makes is removed by
// RemoveAll(), and values it overwrote elsewhere get their old content back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::testing {

constexpr const char* kOeProgramPath5 = "C:\\Program Files\\Outlook Express\\msoe.dll";
constexpr const char* kOeProgramPath4 = "C:\\Program Files\\Outlook Express\\msimn.exe";

class SyntheticOE {
public:
    SyntheticOE() = default;
    ~SyntheticOE();  // RemoveAll()
    SyntheticOE(const SyntheticOE&) = delete;
    SyntheticOE& operator=(const SyntheticOE&) = delete;

    // Program registration: DLLPath under HKLM\SOFTWARE\Clients\Mail\Outlook Express,
    // or the CLSID entry used when DLLPath is empty.
    void RegisterProgram(const std::string& dllPath);
    void RegisterClsid(const std::string& inprocServerPath);

    // HKCU\Identities\<id> with Username (no value when name is "\x01"),
    // and the identity's Store Root (no value when empty).
    void AddIdentity(const std::string& id, const std::string& username, const std::string& storeRoot);
    void SetDefaultIdentity(const std::string& id);
    void SetLastIdentity(const std::string& id);
    // HKCU\Identities with no sub-keys at all.
    void MakeEmptyIdentitiesKey();

    // HKCU\Software\Microsoft\Outlook Express, Store Root of a version-4 store.
    void SetVersion4StoreRoot(const std::string& storeRoot);

    // HKCU\Software\Microsoft\WAB\WAB4: "WAB File Name" default value and UseOutlook.
    void SetAddressBook(const std::string& wabPath, uint32_t useOutlook = 0);
    // Shell Folders "Favorites" (the old value comes back at RemoveAll).
    void SetFavorites(const std::string& folder);
    // ProfileList\<sid> ProfileImagePath (the old value comes back at RemoveAll).
    void SetProfileImagePath(const std::string& sid, const std::string& path);

    // HKCU\Software\Microsoft\Internet Account Manager: "Account Name" holds
    // the count; Accounts\0000000i the account's name and news directory.
    void AddNewsAccount(const std::string& accountName, const std::string& nntpDirectory);

    // Removes every key made and restores every value overwritten.
    void RemoveAll();

    // Files: folders made as needed.
    static bool MakeFolders(const std::string& path);
    static bool WriteFile(const std::string& path, const std::string& bytes);

private:
    struct SavedValue {
        void* hive;
        std::string key, name;
        bool existed;
        std::string data;
        unsigned long type;
    };
    void RememberKey(void* hive, const std::string& key);
    void RememberValue(void* hive, const std::string& key, const std::string& name);

    std::vector<std::pair<void*, std::string>> madeKeys_;
    std::vector<SavedValue> savedValues_;
    int newsAccounts_ = 0;
};

// Sets up the sample version-5 installation the demo shows: two identities
// ("Main Identity" the default, "Anna Berg" used last) with their stores below
// `root` (a Windows path), the address book file and a Favorites folder with a
// few links. Store files are written when a store writer is at hand.
bool MakeSampleVersion5Installation(SyntheticOE& oe, const std::string& root);

// Sets up the sample version-4 installation: the program registration, the
// store root `root` + "\\Store" with its Mail and News folders (the sample
// version-4 store), the two news accounts, an address book and Favorites.
bool MakeSampleVersion4Installation(SyntheticOE& oe, const std::string& root);

}  // namespace corvane::testing

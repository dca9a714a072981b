// Outlook Express discovery: which version is registered, where the version-4
// store or the chosen version-5 identity keeps its mail, and whether Outlook
// Express or its address book is open. Nothing here shows a message; an empty
// result is for the caller to explain.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace corvane {

struct VersionDecision {
    bool found = false;  // a DLLPath or the CLSID entry names a program file
    bool isV5 = false;   // that file is MSOE.DLL
};
VersionDecision DecideVersion();

// The version-4 store: both folders end in "\" or are empty when missing.
struct Oe4Store {
    std::string Oe4MailFolder;
    std::string Oe4NewsFolder;
    int32_t HasOe4News = 0;
};
// Fills the store from Store Root; true when the Mail folder exists.
bool FindOe4Store(const std::string& windowsFolder, Oe4Store& store);

// The version-5 identities and the one in use (numbers from 1).
struct IdentityList {
    std::string IdentityIds;  // id, NUL, id, NUL, ..., NUL
    std::string sIdentNames;  // display names, NUL-separated, same order
    int32_t iIdentCnt = 0;
    int32_t iIdentDefNo = 0;
    int32_t iIdentLastNo = 0;
    std::string IdentityId;
    std::string IdentityName;  // SafeName of the display name
};
void ListIdentities(IdentityList& identities);
void FindDefaultAndLastIdentity(IdentityList& identities);
// Lets the user pick an identity: sets iIdentDefNo (negative when cancelled).
using IdentityPrompt = std::function<void(IdentityList&)>;
// A start-as id wins over the rule; rule 3 takes the last identity, rule 4
// asks through `prompt`, anything else the default identity.
void ChooseIdentity(IdentityList& identities, const std::string& startAsId, int rule, const IdentityPrompt& prompt);

// Store Root of an identity as stored (placeholders and all).
std::string FindIdentityStore(const std::string& identityId);
// The identity's store folder ending in "\", placeholders replaced; "" when none.
std::string FindVersion5StoreFolder(const std::string& identityId, const std::string& windowsFolder);
// A store folder starting with %USERPROFILE% gets the profile folder of the
// current account (Windows NT only); otherwise it is returned unchanged.
std::string ExpandUserProfile(const std::string& storeFolder, const std::string& windowsFolder);

// The Windows folder (as the system gives it, no trailing "\").
std::string WindowsFolderPath();

// True when a main window, the address book or a message window of Outlook Express is open.
bool IsOutlookExpressRunning();
// Asks each such window to close, at most 15 requests per class, and lets this
// program's own messages run between them. Returns the number of requests sent.
int CloseOutlookExpress();

}  // namespace corvane

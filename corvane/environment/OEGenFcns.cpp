#include "corvane/environment/OEGenFcns.h"

#include "corvane/environment/MessagePump.h"
#include "corvane/environment/NTGetSid.h"
#include "corvane/environment/RegistryEx.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/environment/portable/OePaths.h"
#include "corvane/environment/portable/ListFcns.h"
#include "corvane/environment/portable/TextRules.h"

namespace corvane {
namespace {

const char* const kOeClientKey = "SOFTWARE\\Clients\\Mail\\Outlook Express";
const char* const kOeClsidKey = "CLSID\\{06BE7323-EF34-11d1-ACD8-00C04FA31009}\\InprocServer32";
const char* const kOe4Key = "Software\\Microsoft\\Outlook Express";
const char* const kIdentitiesKey = "Identities";
const char* const kProfileListKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\";
constexpr int kMaxCloseRequests = 15;
constexpr UINT kCloseWaitMs = 10000;

std::string IdentityKey(const std::string& id) { return std::string(kIdentitiesKey) + "\\" + id; }

// The number (from 1) of the identity a registry value names; 1 when it names none.
int32_t IdentityNumberOf(const IdentityList& identities, const std::string& valueName) {
    std::string id = RegistryEx::ReadText("HKCU", kIdentitiesKey, valueName);
    int number = NulListFind(identities.IdentityIds, id);
    return number == 0 ? 1 : number;
}

std::string ExistingSubFolder(const std::string& root, const char* name) {
    std::string folder = root + name;
    return FolderExists(folder) ? folder + "\\" : "";
}

// A class of Outlook Express windows and the title text it must carry ("" = any).
struct OeWindowClass {
    const char* className;
    const char* titlePattern;
};

// The order the running test checks them in.
constexpr OeWindowClass kRunningOrder[] = {
    {"Outlook Express Browser Class", "*OUTLOOK EXPRESS*"},
    {"ThorBrowserWndClass", "*OUTLOOK EXPRESS*"},
    {"WABBrowseView", ""},
    {"ATH_Note", ""},
};
// The order they are asked to close in: message and address-book windows first.
constexpr OeWindowClass kClosingOrder[] = {
    {"WABBrowseView", ""},
    {"ATH_Note", ""},
    {"ThorBrowserWndClass", "*OUTLOOK EXPRESS*"},
    {"Outlook Express Browser Class", "*OUTLOOK EXPRESS*"},
};

HWND FindOeWindow(const OeWindowClass& kind) { return FindTopWindow(kind.titlePattern, kind.className); }

}  // namespace

VersionDecision DecideVersion() {
    std::string path = RegistryEx::ReadText("HKLM", kOeClientKey, "DLLPath");
    if (path.empty()) path = RegistryEx::ReadText("HKCR", kOeClsidKey, "");
    if (path.empty()) return {};
    return {true, IsVersion5ProgramPath(path)};
}

bool FindOe4Store(const std::string& windowsFolder, Oe4Store& store) {
    std::string root = WithOneTrailingBackslash(RegistryEx::ReadText("HKCU", kOe4Key, "Store Root"));
    root = ExpandSystemPlaceholders(root, windowsFolder);
    if (root.empty()) return false;
    store.Oe4MailFolder = ExistingSubFolder(root, "Mail");
    store.Oe4NewsFolder = ExistingSubFolder(root, "News");
    store.HasOe4News = static_cast<int32_t>(store.Oe4NewsFolder.size());
    return !store.Oe4MailFolder.empty();
}

void ListIdentities(IdentityList& identities) {
    identities.IdentityIds.clear();
    identities.sIdentNames.clear();
    RegistryEx::ListSubKeys("HKCU", kIdentitiesKey, identities.IdentityIds);
    identities.iIdentCnt = NulListCount(identities.IdentityIds);
    for (int32_t i = 1; i <= identities.iIdentCnt; ++i) {
        std::string id = NulListEntry(identities.IdentityIds, i);
        std::string name;
        if (RegistryEx::ReadValue("HKCU", IdentityKey(id), "Username", 'S', "", name) == 0)
            NulListPut(identities.sIdentNames, i, name);
    }
}

void FindDefaultAndLastIdentity(IdentityList& identities) {
    identities.iIdentDefNo = IdentityNumberOf(identities, "Default User ID");
    identities.iIdentLastNo = IdentityNumberOf(identities, "Last User ID");
}

void ChooseIdentity(IdentityList& identities, const std::string& startAsId, int rule, const IdentityPrompt& prompt) {
    if (!startAsId.empty()) {
        int number = NulListFind(identities.IdentityIds, startAsId);
        identities.iIdentDefNo = number == 0 ? 1 : number;
    } else {
        FindDefaultAndLastIdentity(identities);
        if (rule == 3) identities.iIdentDefNo = identities.iIdentLastNo;
        if (rule == 4 && prompt) prompt(identities);
        // Without Cancel the chooser never answers negatively; guard all the same.
        if (identities.iIdentDefNo < 0) identities.iIdentDefNo = -identities.iIdentDefNo;
    }
    identities.IdentityId = NulListEntry(identities.IdentityIds, identities.iIdentDefNo);
    identities.IdentityName = SafeName(NulListEntry(identities.sIdentNames, identities.iIdentDefNo));
}

std::string FindIdentityStore(const std::string& identityId) {
    return RegistryEx::ReadText("HKCU", IdentityKey(identityId) + "\\Software\\Microsoft\\Outlook Express\\5.0",
                                "Store Root");
}

std::string FindVersion5StoreFolder(const std::string& identityId, const std::string& windowsFolder) {
    std::string folder = ExpandSystemPlaceholders(FindIdentityStore(identityId), windowsFolder);
    if (folder.empty()) return "";
    return ExpandUserProfile(WithOneTrailingBackslash(folder), windowsFolder);
}

std::string ExpandUserProfile(const std::string& storeFolder, const std::string& windowsFolder) {
    if (PlatformId() != 2 || !StartsWithUserProfile(storeFolder)) return storeFolder;
    std::string sid = UserSidText();
    if (sid.empty()) return storeFolder;
    std::string profile = RegistryEx::ReadText("HKLM", kProfileListKey + sid, "ProfileImagePath");
    return ReplaceFirstPathComponent(storeFolder, ExpandSystemPlaceholders(profile, windowsFolder));
}

std::string WindowsFolderPath() {
    char buffer[256] = {};
    UINT length = GetWindowsDirectoryA(buffer, 255);
    if (length == 0 || length > 255) return "";
    return std::string(buffer, length);
}

bool IsOutlookExpressRunning() {
    for (const OeWindowClass& kind : kRunningOrder)
        if (FindOeWindow(kind)) return true;
    return false;
}

int CloseOutlookExpress() {
    int requests = 0;
    for (const OeWindowClass& kind : kClosingOrder) {
        for (int attempt = 0; attempt < kMaxCloseRequests; ++attempt) {
            HWND window = FindOeWindow(kind);
            if (!window) break;
            // Sent and waited for; a hung program must not hang this one too.
            DWORD_PTR ignored = 0;
            SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, kCloseWaitMs, &ignored);
            ++requests;
            PumpMessages();
        }
    }
    return requests;
}

}  // namespace corvane

#include "corvane/restore/RestoreRun.h"

#include "corvane/zip/Win32FileSystem.h"
#include "corvane/zip/ZipResult.h"
#include "corvane/catalog/CatalogModel.h"
#include "corvane/catalog/Win32Catalog.h"
#include "corvane/environment/Seams.h"
#include "corvane/environment/StringTable.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/environment/portable/OePaths.h"
#include "corvane/environment/portable/TextRules.h"
#include "corvane/restore/FilePlacement.h"
#include "corvane/restore/RestoreIds.h"
#include "corvane/restore/portable/ArchiveLog.h"

#include <map>

namespace corvane {
namespace {

namespace names = catalog::names;
constexpr uint16_t kLogMissing = 420;

std::string WithBackslash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

std::string LastPart(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

// What a file is on the disk: the extractor replaces a file by renaming a new
// one onto its name, so a file that was replaced has another identity.
struct FileIdentity {
    bool exists = false;
    DWORD volume = 0, high = 0, low = 0;
    FILETIME written{};
    bool operator==(const FileIdentity& o) const {
        return exists == o.exists && volume == o.volume && high == o.high && low == o.low &&
               CompareFileTime(&written, &o.written) == 0;
    }
};
FileIdentity IdentityOf(const std::string& path) {
    FileIdentity identity;
    HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return identity;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(file, &info)) {
        identity.exists = true;
        identity.volume = info.dwVolumeSerialNumber;
        identity.high = info.nFileIndexHigh;
        identity.low = info.nFileIndexLow;
        identity.written = info.ftLastWriteTime;
    }
    CloseHandle(file);
    return identity;
}

bool CanWriteIn(const std::string& folder) {
    std::string probe = WithBackslash(folder) + "Corvane.tst";
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

std::string ReadWholeFile(const std::string& path, uint64_t limit, bool* tooLarge) {
    *tooLarge = false;
    std::string text;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return text;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || static_cast<uint64_t>(size.QuadPart) > limit) {
        *tooLarge = true;
        CloseHandle(file);
        return text;
    }
    text.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!text.empty() && !ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr)) read = 0;
    text.resize(read);
    CloseHandle(file);
    return text;
}

// The failure of a restore step, with what the result means where the user can act on it.
std::string FailureText(int stepText, uint16_t result) {
    std::string text = LoadText(stepText) + std::to_string(result);
    if (result == zip::result::kTargetDiskFull) text += "\r\n" + LoadText(IDS_RESTORE_NO_ROOM);
    if (result == zip::result::kCorruptEntry || result == zip::result::kTruncated)
        text += "\r\n" + LoadText(IDS_RESTORE_DAMAGED);
    if (result == zip::result::kCannotReplace) text += "\r\n" + LoadText(IDS_RESTORE_IN_USE);
    return text;
}

// Whether the extraction went through the archive's whole directory, so that
// an entry it never named is not in the archive.
bool SawEveryEntry(uint16_t result) {
    namespace r = zip::result;
    return result < 60 || result == r::kCorruptEntry || result == r::kUnsupported || result == r::kHostileName ||
           result == r::kCannotCreateTarget || result == r::kTargetDiskFull || result == r::kCannotReplace ||
           result == r::kTruncated || result == r::kEntryTooLarge;
}

// Puts a file set aside back under its old name: a rename on its own volume,
// which needs no room on a full disk; where that cannot be done, a copy made
// beside it takes the name only once it is whole.
void PutBack(const std::string& aside, const std::string& inStore) {
    if (MoveFileA(aside.c_str(), inStore.c_str())) return;
    std::string partial = inStore + ".~back.tmp";
    if (CopyFileA(aside.c_str(), partial.c_str(), FALSE) && MoveFileA(partial.c_str(), inStore.c_str())) return;
    DeleteFileA(partial.c_str());
}

}  // namespace

int RestoreSession::Message(const std::string& text, UINT buttons) {
    return ShowMessage(page_.Owner(), text, context_.messageTitle, buttons | MB_ICONINFORMATION);
}

restore::StoreFolders RestoreSession::Folders() const {
    const StoreContext& store = context_.store;
    return {store.MailFilesFolder, store.bIsV5 ? store.Oe5StoreFolder : std::string(), store.Oe4.Oe4NewsFolder};
}

// The log goes to the program's folder, or to the temporary folder where
// that cannot be written; the caller removes it after reading.
bool RestoreSession::ExtractLog(std::string& logPath) {
    std::string folder = context_.store.AppFolder;
    if (!CanWriteIn(folder)) {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder = temp;
    }
    logPath = WithBackslash(folder) + restore::kLogName;
    DeleteFileA(logPath.c_str());
    zip_.ArchivePath = context_.restore.RestorePath;
    zip_.FilesToProcess = restore::kLogName;
    zip_.ExtractionFolder = StripTrailingBackslash(folder);
    zip_.SpanDisks = true;
    zip_.OverwriteMode = 2;
    // The log's size is checked before any of it is written.
    zip_.MaxEntrySize = restore::kMaxLogBytes;
    for (;;) {
        uint16_t result = zip_.Extract();
        if (result < 60 && !diskCancelled_) return true;
        if (result == zip::result::kEntryTooLarge && !diskCancelled_) {
            Message(LoadText(IDS_RESTORE_LOG_TOO_LARGE));
        } else if (result == kLogMissing && !diskCancelled_) {
            if (Message(LoadText(IDS_RESTORE_LOG_RETRY), MB_RETRYCANCEL) == IDRETRY) continue;
        } else if (!diskCancelled_) {
            Message(LoadText(IDS_RESTORE_UNEXPECTED) + std::to_string(result) + LoadText(IDS_RESTORE_NO_LOG));
        }
        DeleteFileA(logPath.c_str());
        return false;
    }
}

bool RestoreSession::LoadArchive() {
    zip_.Rename = [this](const std::string& orig, std::string& newName) { OnRename(orig, newName); };
    zip_.Newdisk = [this](int disk) { OnNewdisk(disk); };
    diskCancelled_ = false;
    curFoldersLoaded_ = selFolder_.LoadCurrentFolders(context_.store);
    std::string logPath;
    if (!ExtractLog(logPath)) {
        zip_.SetAbort(true);
        page_.Close();
        return false;
    }
    catalog::ExtraPlaces places = catalog::ReadExtraPlaces(context_.store.WindowsFolder);
    wabPath_ = places.WabPath;
    favoritesFolder_ = places.FavoritesFolder;
    bool tooLarge = false;
    std::string text = ReadWholeFile(logPath, restore::kMaxLogBytes, &tooLarge);
    DeleteFileA(logPath.c_str());
    restore::ArchiveTree read;
    if (!tooLarge) read = restore::FillArchiveTree(text, !wabPath_.empty(), context_.tlMail);
    if (tooLarge || read.refusal != restore::LogRefusal::None) {
        context_.tlMail.Clear();
        Message(LoadText(IDS_RESTORE_LOG_TOO_LARGE));
        page_.Close();
        return false;
    }
    page_.SetCaption(read.caption);
    bool full = context_.restore.RestoreMode == restore::kFullRestore;
    if (full) restore::MarkForFullRestore(context_.tlMail);
    page_.SetPageTexts(LoadText(IDS_RESTORE_PAGE_HINT), LoadText(full ? IDS_RESTORE_FULL_1 : IDS_RESTORE_SELECTED_1),
                       LoadText(full ? IDS_RESTORE_FULL_2 : IDS_RESTORE_SELECTED_2), !full);
    AttachView();
    view_.Refresh();
    if (!read.leftOut.empty()) {
        std::vector<RefusedName> refused;
        for (const auto& item : read.leftOut) refused.push_back({item.display + " (" + item.name + ")", item.fault});
        std::string reasons = RefusedNamesText(refused);
        Message(LoadText(IDS_RESTORE_LEFT_OUT) + reasons.substr(reasons.find("\r\n")));
    }
    return true;
}

void RestoreSession::AttachView() {
    if (view_.Host()) return;
    HWND parent = nullptr;
    RECT rect{};
    int id = 0;
    if (!page_.TakeTreePlace(parent, rect, id)) return;
    if (!view_.Create(parent, id, rect, context_.tlMail)) return;
    view_.On().pictureClick = [this] { tlMail_MarkClick(); };
    view_.On().dblClick = [this] { tlMail_DblClick(); };
    view_.Show(true);
}

void RestoreSession::tlMail_MarkClick() {
    catalog::TreeList& tree = context_.tlMail;
    int position = tree.Selected();
    restore::MarkAction action = restore::DecideMark(
        tree, position, context_.restore.RestoreMode, Folders(), [](const std::string& p) { return FileExists(p); },
        [](const std::string& p) { return FolderExists(p); });
    switch (action) {
    case restore::MarkAction::Beep:
        MessageBeep(MB_OK);
        break;
    case restore::MarkAction::FolderMissing:
        Message(LoadText(IDS_RESTORE_FOLDER_MISSING));
        break;
    case restore::MarkAction::NotSubscribed:
        Message(LoadText(IDS_RESTORE_NOT_SUBSCRIBED));
        break;
    default:
        restore::ApplyMark(tree, position, action);
    }
    if (view_.Host()) view_.RefreshItems();
}

void RestoreSession::tlMail_DblClick() {
    catalog::TreeList& tree = context_.tlMail;
    int position = tree.Selected();
    if (position <= 0) return;
    if (!curFoldersLoaded_) return void(Message(LoadText(IDS_RESTORE_NO_INDEX)));
    if (tree.Mark(position) == 2) return void(Message(LoadText(IDS_RESTORE_NOT_IN_ARCHIVE)));
    if (tree.NumberValue(position, names::kType) != catalog::kTypeMailFolder)
        return void(Message(LoadText(IDS_RESTORE_NOT_MOVABLE)));
    int chosen = selFolder_.Show(page_.Owner());
    if (chosen < 1 || chosen >= selFolder_.tlCurrent.Count()) return;
    const catalog::TreeList& current = selFolder_.tlCurrent;
    tree.SetSelected(position);
    SendSelectedTo(current.TextValue(chosen, names::kMbxName), restore::FirstColumn(current.Text(chosen)), chosen);
}

bool RestoreSession::SendSelectedTo(const std::string& targetName, const std::string& targetText, int targetIndex) {
    catalog::TreeList& tree = context_.tlMail;
    int position = tree.Selected();
    if (position <= 0 || tree.Mark(position) == 2 ||
        tree.NumberValue(position, names::kType) != catalog::kTypeMailFolder || !restore::IsPlainName(targetName))
        return false;
    restore::SetAlternateTarget(tree, position, targetName, targetText, targetIndex);
    if (view_.Host()) view_.RefreshItems();
    return true;
}

void RestoreSession::SelectAll(bool select) {
    if (context_.restore.RestoreMode != restore::kSelectedRestore) return;
    catalog::TreeList& tree = context_.tlMail;
    int selected = tree.Selected();
    for (int i = 1; i < tree.Count(); ++i) {
        if (tree.Mark(i) != (select ? 0 : 1)) continue;
        tree.SetSelected(i);
        tlMail_MarkClick();
    }
    tree.SetSelected(selected);
    if (view_.Host()) view_.RefreshItems();
}

uint16_t RestoreSession::Extract(const std::string& folder, const std::string& files) {
    zip_.ArchivePath = context_.restore.RestorePath;
    zip_.ExtractionFolder = StripTrailingBackslash(folder);
    zip_.FilesToProcess = files;
    zip_.MaxEntrySize = 0;
    zip_.SpanDisks = true;
    zip_.OverwriteMode = 2;
    ledger_.NewExtraction();
    return zip_.Extract();
}

void RestoreSession::OnRename(const std::string& origName, std::string& newName) {
    restore::EntryTarget target = restore::MapEntry(context_.tlMail, rules_, origName);
    if (target.refused) refusedEntries_.push_back(origName);
    newName = target.newName;
    if (!newName.empty() && !ledger_.Take(origName, newName)) return void(newName.clear());
    if (target.shown == "Windows Address Book" || !target.shown.empty())
        page_.ShowProgress(LoadText(IDS_RESTORE_RESTORING) + target.shown);
}

void RestoreSession::OnNewdisk(int disk) {
    std::string text = disk != 0 ? LoadText(IDS_RESTORE_DISK) + std::to_string(disk) + LoadText(IDS_RESTORE_DISK_SET)
                                 : LoadText(IDS_RESTORE_LAST_DISK);
    if (Message(text, MB_OKCANCEL) == IDOK) return;
    diskCancelled_ = true;
    zip_.SetAbort(true);
}

void RestoreSession::Run() {
    refusedEntries_.clear();
    ledger_ = {};
    withoutEntry_.clear();
    RestoreAddressBook();
    if (!diskCancelled_) RestoreMail();
    if (!diskCancelled_) RestoreNews();
    if (!diskCancelled_) RestoreFavorites();
    page_.HideProgress();
    if (!refusedEntries_.empty()) {
        std::string text = LoadText(IDS_RESTORE_ENTRIES_REFUSED);
        for (const auto& name : refusedEntries_) text += "\r\n" + name;
        Message(text);
    }
    auto listed = [this](int textNumber, const std::vector<std::string>& names) {
        if (names.empty()) return;
        std::string text = LoadText(textNumber);
        for (const auto& name : names) text += "\r\n" + name;
        Message(text);
    };
    listed(IDS_RESTORE_DOUBLED, ledger_.Doubled());
    listed(IDS_RESTORE_WITHOUT_ENTRY, withoutEntry_);
    if (!diskCancelled_) Message(LoadText(IDS_RESTORE_COMPLETE));
    page_.Close();
}

void RestoreSession::RestoreAddressBook() {
    int item = restore::FindItemOfType(context_.tlMail, catalog::kTypeAddressBook);
    if (item <= 0 || context_.tlMail.Mark(item) != 1 || wabPath_.empty()) return;
    size_t slash = wabPath_.find_last_of('\\');
    std::string folder = slash == std::string::npos ? std::string() : wabPath_.substr(0, slash);
    wabTargetName_ = ExpandSystemPlaceholders(LastPart(wabPath_), context_.store.WindowsFolder);
    rules_ = {wabTargetName_, ""};
    // The safety copy is a copy: the current address book stays in place
    // until the archive's has been extracted beside it and checked.
    std::string safety = restore::WabSafetyName(wabPath_);
    if (FileExists(wabPath_) && !CopyFileA(wabPath_.c_str(), safety.c_str(), FALSE)) {
        Message(LoadText(IDS_PLACE_WAB_NOT_KEPT, safety));
        return;
    }
    uint16_t result = Extract(folder, "*.wab");
    if (diskCancelled_) return;
    if (SawEveryEntry(result) && !ledger_.MetAny())
        withoutEntry_.push_back(restore::FirstColumn(context_.tlMail.Text(item)));
    if (!restore::ExtractionSucceeded(result)) Message(FailureText(IDS_RESTORE_WAB_FAILED, result));
}

void RestoreSession::RestoreMail() {
    const StoreContext& store = context_.store;
    catalog::TreeList& tree = context_.tlMail;
    bool full = context_.restore.RestoreMode == restore::kFullRestore;
    std::vector<std::string> files;
    for (int position : restore::MarkedMailItems(tree)) files.push_back(tree.TextValue(position, names::kMbxName));
    std::string fileList;
    auto add = [&fileList](const std::string& name) {
        if (!fileList.empty()) fileList += '\r';
        fileList += name;
    };
    // Where the files replaced in a full restore went.
    std::string asideFolder;
    std::vector<std::string> movedNames;
    if (full && store.bIsV5) {
        PlacementResult dated = MakeDatedBackupFolder(store.Oe5StoreFolder);
        if (!dated.ok) return void(Message(dated.message));
        PlacementResult moved = SetOldFilesAside(page_.Owner(), store.Oe5StoreFolder, dated.path, files);
        if (!moved.ok) return void(Message(moved.message));
        asideFolder = dated.path;
        movedNames = files;
        movedNames.insert(movedNames.begin(), "folders.dbx");
        add("folders.dbx");
    } else if (full) {
        PlacementResult aside = LinkFolderAside(store.Oe4.Oe4MailFolder);
        if (!aside.ok) return void(Message(aside.message));
        asideFolder = WithBackslash(aside.path);
        movedNames = files;
        movedNames.insert(movedNames.begin(), "folders.nch");
        add("folders.nch");
    }
    for (const auto& name : files) add(name);
    if (fileList.empty()) return;

    // The files this extraction may replace, as they are now.
    std::map<std::string, FileIdentity> before;
    for (int position : restore::MarkedMailItems(tree)) {
        std::string to = tree.TextValue(position, names::kRestoreToName);
        std::string path =
            restore::PathInFolder(store.MailFilesFolder, to.empty() ? tree.TextValue(position, names::kMbxName) : to);
        if (!path.empty()) before[path] = IdentityOf(path);
    }
    rules_ = {wabTargetName_, ""};
    uint16_t result = Extract(store.MailFilesFolder, fileList);
    if (SawEveryEntry(result) && !diskCancelled_) {
        if (!movedNames.empty() && !ledger_.Met(movedNames.front())) withoutEntry_.push_back(movedNames.front());
        for (int position : restore::MarkedMailItems(tree)) {
            std::string name = tree.TextValue(position, names::kMbxName);
            if (!ledger_.Met(name))
                withoutEntry_.push_back(restore::FirstColumn(tree.Text(position)) + " (" + name + ")");
        }
    }
    // A version-4 folder's index goes with the mail file it indexed, and only then.
    if (!store.bIsV5) {
        for (const auto& [path, was] : before) {
            FileIdentity now = IdentityOf(path);
            if (now.exists && !(now == was)) DeleteFileA(restore::IndexCompanion(path).c_str());
        }
    }
    // A full restore set the old files aside: where the archive's copy did
    // not arrive, the old one goes back rather than leave the store without
    // it, and an old file still in place (a second name was all that was set
    // aside) keeps no twin there that would change with it.
    if (!asideFolder.empty()) {
        for (const auto& name : movedNames) {
            std::string inStore = restore::PathInFolder(store.MailFilesFolder, name);
            std::string aside = restore::PathInFolder(asideFolder, name);
            if (inStore.empty() || aside.empty() || !FileExists(aside)) continue;
            if (FileExists(inStore)) {
                FileIdentity kept = IdentityOf(inStore);
                if (kept.exists && kept == IdentityOf(aside)) DeleteFileA(aside.c_str());
                continue;
            }
            PutBack(aside, inStore);
            if (!store.bIsV5) {
                std::string index = restore::IndexCompanion(aside);
                if (FileExists(index)) PutBack(index, restore::IndexCompanion(inStore));
            }
        }
    }
    if (!store.bIsV5 && !asideFolder.empty()) LeaveOnlyRestoredFiles(asideFolder, movedNames);
    if (!restore::ExtractionSucceeded(result) && !diskCancelled_) Message(FailureText(IDS_RESTORE_MAIL_FAILED, result));
}

// A version-4 full restore sets the whole mail folder aside; where only second
// names were made there, a file still the same as its set-aside twin was not
// replaced. One of the restore's own names (and its index) stays in the store,
// as a file put back would; any other leaves the store for the set-aside
// folder, as if the folder had been moved away whole.
void RestoreSession::LeaveOnlyRestoredFiles(const std::string& asideFolder, const std::vector<std::string>& names) {
    const std::string& mailFolder = context_.store.MailFilesFolder;
    auto ours = [&names](const std::string& file) {
        for (const auto& name : names)
            if (EqualsNoCase(file, name) || EqualsNoCase(file, LastPart(restore::IndexCompanion(name)))) return true;
        return false;
    };
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((WithBackslash(asideFolder) + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        std::string aside = WithBackslash(asideFolder) + found.cFileName;
        std::string inStore = restore::PathInFolder(mailFolder, found.cFileName);
        FileIdentity kept = IdentityOf(aside);
        if (inStore.empty() || !kept.exists || !(IdentityOf(inStore) == kept)) continue;
        DeleteFileA((ours(found.cFileName) ? aside : inStore).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void RestoreSession::RestoreNews() {
    catalog::TreeList& tree = context_.tlMail;
    const std::string& newsFolder = context_.store.Oe4.Oe4NewsFolder;
    for (int i = 1; i < tree.Count(); ++i) {
        if (tree.Mark(i) != 1 || tree.NumberValue(i, names::kType) != catalog::kTypeNewsAccount) continue;
        std::string account = tree.TextValue(i, names::kMbxName);
        PlacementResult aside = SetNewsAccountAside(newsFolder, account);
        if (!aside.ok) return void(Message(aside.message));
        rules_ = {wabTargetName_, ""};
        uint16_t result = Extract(newsFolder, account + "\\*.*");
        bool nothingCame = SawEveryEntry(result) && !ledger_.MetAny();
        if (restore::ExtractionSucceeded(result) && !diskCancelled_ && !nothingCame) continue;
        // The account's old folder goes back rather than stay aside with the
        // new one half restored, or empty where the archive had nothing for it.
        PlacementResult back = PutFolderBack(restore::PathInFolder(newsFolder, account), aside.path);
        if (!back.ok) Message(back.message);
        if (diskCancelled_) return;
        if (restore::ExtractionSucceeded(result)) {
            withoutEntry_.push_back(restore::FirstColumn(tree.Text(i)));
            continue;
        }
        return void(Message(FailureText(IDS_RESTORE_NEWS_FAILED, result)));
    }
}

void RestoreSession::RestoreFavorites() {
    catalog::TreeList& tree = context_.tlMail;
    int item = restore::FindItemOfType(tree, catalog::kTypeFavorites);
    if (favoritesFolder_.empty() || item <= 0 || tree.Mark(item) != 1) return;
    if (!FolderExists(favoritesFolder_)) MakePath(favoritesFolder_);
    rules_ = {wabTargetName_, StripTrailingBackslash(tree.TextValue(item, names::kMbxName)) + "\\"};
    uint16_t result = Extract(favoritesFolder_, rules_.favPrefix + "*.*");
    rules_.favPrefix.clear();
    if (diskCancelled_) return;
    if (SawEveryEntry(result) && !ledger_.MetAny()) withoutEntry_.push_back(restore::FirstColumn(tree.Text(item)));
    if (!restore::ExtractionSucceeded(result)) Message(FailureText(IDS_RESTORE_FAVS_FAILED, result));
}

}  // namespace corvane

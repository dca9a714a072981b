#include "corvane/operations/RestoreOperation.h"

#include "corvane/catalog/CatalogModel.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/environment/portable/OePaths.h"
#include "corvane/environment/portable/TextRules.h"
#include "corvane/restore/portable/ArchiveLog.h"
#include "corvane/restore/portable/RestoreMapping.h"
#include "corvane/zip/Win32FileSystem.h"
#include "corvane/zip/ZipEngine.h"
#include "corvane/zip/ZipResult.h"

#include <windows.h>

#include <map>
#include <memory>

namespace corvane::ops {
namespace {

namespace names = catalog::names;

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
    if (!text.empty() && !::ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr)) read = 0;
    text.resize(read);
    CloseHandle(file);
    return text;
}

// Calls `visit` with the name of each file (not folder) directly in `folder`.
template <typename Visit>
void ForEachFileIn(const std::string& folder, Visit visit) {
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((WithBackslash(folder) + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) visit(std::string(found.cFileName));
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// Whether the extraction went through the archive's whole directory, so that
// an entry it never named is not in the archive.
bool SawEveryEntry(uint16_t result) {
    namespace r = zip::result;
    return result < 60 || result == r::kCorruptEntry || result == r::kUnsupported || result == r::kHostileName ||
           result == r::kCannotCreateTarget || result == r::kTargetDiskFull || result == r::kCannotReplace ||
           result == r::kTruncated || result == r::kEntryTooLarge;
}

bool ContainsNoCase(const std::vector<std::string>& names, const std::string& name) {
    for (const auto& known : names)
        if (EqualsNoCase(known, name)) return true;
    return false;
}

// What extractions killed midway left beside targets of one folder:
// "<target>.~<n>.tmp" for a name in `targets`. Only names of exactly that
// pattern go; the targets themselves are never touched. One look at the
// folder serves every target.
void RemoveKilledLeftovers(const std::string& folder, const std::vector<std::string>& targets) {
    if (targets.empty()) return;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((WithBackslash(folder) + "*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        const size_t mark = name.rfind(".~");
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY || mark == std::string::npos ||
            name.size() <= mark + 2 + 4 || !EqualsNoCase(name.substr(name.size() - 4), ".tmp"))
            continue;
        const std::string digits = name.substr(mark + 2, name.size() - mark - 2 - 4);
        if (digits.find_first_not_of("0123456789") != std::string::npos ||
            !ContainsNoCase(targets, name.substr(0, mark)))
            continue;
        DeleteFileA((WithBackslash(folder) + name).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
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

// Disk prompts of a spanned set: a declined one cancels the whole restore.
class DiskPrompts : public zip::ZipEvents {
public:
    explicit DiskPrompts(IOperationEvents& events) : events_(events) {}
    bool Newdisk(int disk) override {
        if (events_.Stopping()) return false;
        if (events_.Ask({Question::RestoreDisk, disk, {}})) return true;
        declined_ = true;
        events_.StopFlag() = true;  // the whole restore ends here
        return false;
    }
    bool Declined() const { return declined_; }

protected:
    IOperationEvents& events_;
    bool declined_ = false;
};

// Only the archive's root entry of the log's name is read as its log.
class LogEntryOnly final : public DiskPrompts {
public:
    using DiskPrompts::DiskPrompts;
    void Rename(const std::string& origName, std::string& newName) override {
        if (!EqualsNoCase(origName, restore::kLogName)) newName.clear();
    }
};

class Restore final : public DiskPrompts {
public:
    Restore(const RestoreInput& input, IOperationEvents& events)
        : DiskPrompts(events), input_(input), tree_(input.items), fs_(zip::MakeWin32FileSystem()) {}

    RestoreOutcome Run() {
        RestoreAddressBook();
        if (!Stopped()) RestoreMail();
        if (!Stopped()) RestoreNews();
        if (!Stopped()) RestoreFavorites();
        outcome_.doubled = ledger_.Doubled();
        if (Stopped())
            outcome_.kind = Kind::Cancelled;
        else if (!outcome_.failures.empty())
            outcome_.kind = Kind::Failed;
        return outcome_;
    }

    void Rename(const std::string& origName, std::string& newName) override {
        restore::EntryTarget target = restore::MapEntry(tree_, rules_, origName);
        if (target.refused) outcome_.refusedEntries.push_back(origName);
        newName = target.newName;
        if (!newName.empty() && !ledger_.Take(origName, newName)) return void(newName.clear());
        if (!target.shown.empty()) events_.Progress({Activity::Restoring, target.shown, -1});
    }

private:
    bool Stopped() { return Declined() || events_.Stopping(); }

    void Fail(RestoreStep step, uint16_t zipResult) { outcome_.failures.push_back({step, zipResult, {}}); }
    void Fail(RestoreStep step, PlacementResult placement) {
        outcome_.failures.push_back({step, 0, std::move(placement)});
    }

    uint16_t Extract(const std::string& folder, const std::string& files) {
        zip::ZipSettings settings;
        settings.archivePath = input_.archivePath;
        settings.extractionFolder = StripTrailingBackslash(folder);
        settings.filesToProcess = files;
        settings.spanDisks = true;
        settings.overwriteMode = 2;
        ledger_.NewExtraction();
        return zip::Extract(settings, *fs_, *this, events_.StopFlag());
    }

    void RestoreAddressBook() {
        int item = restore::FindItemOfType(tree_, catalog::kTypeAddressBook);
        if (item <= 0 || tree_.Mark(item) != 1 || input_.wabPath.empty()) return;
        const std::string& wab = input_.wabPath;
        size_t slash = wab.find_last_of('\\');
        std::string folder = slash == std::string::npos ? std::string() : wab.substr(0, slash);
        wabTargetName_ = ExpandSystemPlaceholders(LastPart(wab), input_.windowsFolder);
        rules_ = {wabTargetName_, ""};
        // The current address book takes its safety name, a rename that needs
        // no room on the disk; where the archive's does not arrive whole, it
        // goes back under its own name.
        RemoveKilledLeftovers(folder, {wabTargetName_});
        PlacementResult kept = KeepWabSafetyCopy(wab);
        if (!kept.ok) return Fail(RestoreStep::AddressBook, kept);
        uint16_t result = Extract(folder, "*.wab");
        if (!FileExists(wab) && FileExists(kept.path)) MoveFileA(kept.path.c_str(), wab.c_str());
        if (Stopped()) return;
        if (SawEveryEntry(result) && !ledger_.MetAny())
            outcome_.withoutEntry.push_back(restore::FirstColumn(tree_.Text(item)));
        if (!zip::IsExtractSuccess(result)) Fail(RestoreStep::AddressBook, result);
    }

    void RestoreMail() {
        const std::string& mailFolder = input_.mailFilesFolder;
        std::vector<std::string> files;
        for (int position : restore::MarkedMailItems(tree_)) files.push_back(tree_.TextValue(position, names::kMbxName));
        std::string fileList;
        auto add = [&fileList](const std::string& name) {
            if (!fileList.empty()) fileList += '\r';
            fileList += name;
        };
        // Where the files replaced in a full restore went.
        std::string asideFolder;
        std::vector<std::string> movedNames;
        if (input_.full && input_.isV5) {
            PlacementResult dated = MakeDatedBackupFolder(input_.oe5StoreFolder);
            if (!dated.ok) return Fail(RestoreStep::Mail, dated);
            // A folder sent into another one replaces that one's file too: it
            // is set aside like the archive's own files.
            std::vector<std::string> replaced = files;
            for (int position : restore::MarkedMailItems(tree_)) {
                std::string to = tree_.TextValue(position, names::kRestoreToName);
                if (!to.empty() && !ContainsNoCase(replaced, to)) replaced.push_back(to);
            }
            PlacementResult moved = SetOldFilesAside(input_.oe5StoreFolder, dated.path, replaced);
            if (!moved.ok) return Fail(RestoreStep::Mail, moved);
            asideFolder = dated.path;
            movedNames = replaced;
            movedNames.insert(movedNames.begin(), "folders.dbx");
            add("folders.dbx");
        } else if (input_.full) {
            PlacementResult aside = LinkFolderAside(input_.oe4MailFolder);
            if (!aside.ok) return Fail(RestoreStep::Mail, aside);
            asideFolder = WithBackslash(aside.path);
            movedNames = files;
            movedNames.insert(movedNames.begin(), "folders.nch");
            add("folders.nch");
        }
        for (const auto& name : files) add(name);
        if (fileList.empty()) return;
        // Every file this extraction may write: the index, the folders and the folders they are sent into.
        std::vector<std::string> targets = files;
        if (!movedNames.empty()) targets.push_back(movedNames.front());
        for (int position : restore::MarkedMailItems(tree_))
            targets.push_back(tree_.TextValue(position, names::kRestoreToName));
        std::vector<std::string> plainTargets;
        for (const auto& name : targets)
            if (!restore::PathInFolder(mailFolder, name).empty()) plainTargets.push_back(name);
        RemoveKilledLeftovers(mailFolder, plainTargets);

        // Version 4: the files this extraction may replace, as they are now.
        std::map<std::string, FileIdentity> before;
        for (int position : restore::MarkedMailItems(tree_)) {
            if (input_.isV5) break;
            std::string to = tree_.TextValue(position, names::kRestoreToName);
            std::string path =
                restore::PathInFolder(mailFolder, to.empty() ? tree_.TextValue(position, names::kMbxName) : to);
            if (!path.empty()) before[path] = IdentityOf(path);
        }
        rules_ = {wabTargetName_, ""};
        uint16_t result = Extract(mailFolder, fileList);
        if (SawEveryEntry(result) && !Stopped()) {
            if (!movedNames.empty() && !ledger_.Met(movedNames.front()))
                outcome_.withoutEntry.push_back(movedNames.front());
            for (int position : restore::MarkedMailItems(tree_)) {
                std::string name = tree_.TextValue(position, names::kMbxName);
                if (!ledger_.Met(name))
                    outcome_.withoutEntry.push_back(restore::FirstColumn(tree_.Text(position)) + " (" + name + ")");
            }
        }
        // A version-4 folder's index goes with the mail file it indexed, and only then.
        if (!input_.isV5) {
            for (const auto& [path, was] : before) {
                FileIdentity now = IdentityOf(path);
                if (now.exists && !(now == was)) DeleteFileA(restore::IndexCompanion(path).c_str());
            }
        }
        const bool done = zip::IsExtractSuccess(result) && !Stopped();
        if (!asideFolder.empty()) PutBackWhatDidNotArrive(asideFolder, movedNames, done);
        // Only a version-4 full restore that went through leaves the store
        // with the restore's files alone; one that failed or was stopped
        // keeps every file of the mail folder, each the old one or the new.
        if (!input_.isV5 && !asideFolder.empty()) {
            if (done)
                LeaveOnlyRestoredFiles(asideFolder, movedNames);
            else
                TakeBackWholeFolder(asideFolder);
        }
        if (!zip::IsExtractSuccess(result) && !Stopped()) Fail(RestoreStep::Mail, result);
    }

    // A full restore set the old files aside: where the archive's copy did
    // not arrive, the old one goes back rather than leave the store without
    // it, and an old file still in place (a second name was all that was set
    // aside) keeps no twin there that would change with it. After an
    // extraction that was `done`, a file an entry was given holds the
    // archive's copy and its old one stays aside: nothing to look at.
    void PutBackWhatDidNotArrive(const std::string& asideFolder, const std::vector<std::string>& movedNames,
                                 bool done) {
        for (const auto& name : movedNames) {
            if (done && ledger_.Delivered(name)) continue;
            std::string inStore = restore::PathInFolder(input_.mailFilesFolder, name);
            std::string aside = restore::PathInFolder(asideFolder, name);
            if (inStore.empty() || aside.empty() || !FileExists(aside)) continue;
            if (FileExists(inStore)) {
                FileIdentity kept = IdentityOf(inStore);
                if (kept.exists && kept == IdentityOf(aside)) DeleteFileA(aside.c_str());
                continue;
            }
            PutBack(aside, inStore);
            if (!input_.isV5) {
                std::string index = restore::IndexCompanion(aside);
                if (FileExists(index)) PutBack(index, restore::IndexCompanion(inStore));
            }
        }
    }

    // A version-4 full restore sets the whole mail folder aside; where only
    // second names were made there, a file still the same as its set-aside
    // twin was not replaced. One of the restore's own names (and its index)
    // stays in the store, as a file put back would; any other leaves the
    // store for the set-aside folder, as if the folder had been moved away whole.
    void LeaveOnlyRestoredFiles(const std::string& asideFolder, const std::vector<std::string>& names) {
        const std::string& mailFolder = input_.mailFilesFolder;
        auto ours = [&names](const std::string& file) {
            for (const auto& name : names)
                if (EqualsNoCase(file, name) || EqualsNoCase(file, LastPart(restore::IndexCompanion(name))))
                    return true;
            return false;
        };
        ForEachFileIn(asideFolder, [&](const std::string& name) {
            std::string aside = WithBackslash(asideFolder) + name;
            std::string inStore = restore::PathInFolder(mailFolder, name);
            FileIdentity kept = IdentityOf(aside);
            if (inStore.empty() || !kept.exists || !(IdentityOf(inStore) == kept)) return;
            DeleteFileA((ours(name) ? aside : inStore).c_str());
        });
    }

    // A version-4 full restore that did not go through: every file set aside
    // that the store lacks comes back, and a set-aside twin of a file still
    // in the store goes, so the folder set aside keeps only what was replaced.
    void TakeBackWholeFolder(const std::string& asideFolder) {
        ForEachFileIn(asideFolder, [&](const std::string& name) {
            std::string aside = WithBackslash(asideFolder) + name;
            std::string inStore = restore::PathInFolder(input_.mailFilesFolder, name);
            if (inStore.empty()) return;
            if (!FileExists(inStore))
                PutBack(aside, inStore);
            else if (IdentityOf(inStore) == IdentityOf(aside))
                DeleteFileA(aside.c_str());
        });
        RemoveDirectoryA(StripTrailingBackslash(asideFolder).c_str());  // only when nothing is left in it
    }

    void RestoreNews() {
        const std::string& newsFolder = input_.oe4NewsFolder;
        for (int i = 1; i < tree_.Count(); ++i) {
            if (tree_.Mark(i) != 1 || tree_.NumberValue(i, names::kType) != catalog::kTypeNewsAccount) continue;
            std::string account = tree_.TextValue(i, names::kMbxName);
            PlacementResult aside = SetNewsAccountAside(newsFolder, account);
            if (!aside.ok) return Fail(RestoreStep::News, aside);
            rules_ = {wabTargetName_, ""};
            uint16_t result = Extract(newsFolder, account + "\\*.*");
            bool nothingCame = SawEveryEntry(result) && !ledger_.MetAny();
            if (zip::IsExtractSuccess(result) && !Stopped() && !nothingCame) continue;
            // The account's old folder goes back rather than stay aside with the
            // new one half restored, or empty where the archive had nothing for it.
            PlacementResult back = PutFolderBack(restore::PathInFolder(newsFolder, account), aside.path);
            if (!back.ok) Fail(RestoreStep::News, back);
            if (Stopped()) return;
            if (zip::IsExtractSuccess(result)) {
                outcome_.withoutEntry.push_back(restore::FirstColumn(tree_.Text(i)));
                continue;
            }
            return Fail(RestoreStep::News, result);
        }
    }

    void RestoreFavorites() {
        int item = restore::FindItemOfType(tree_, catalog::kTypeFavorites);
        const std::string& favorites = input_.favoritesFolder;
        if (favorites.empty() || item <= 0 || tree_.Mark(item) != 1) return;
        // The item names the Favorites folder as the backup found it: a path
        // of plain names, never empty and never a pattern.
        const std::string named = tree_.TextValue(item, names::kMbxName);
        if (!restore::IsSafeRelativeName(named)) return;
        if (!FolderExists(favorites)) MakePath(favorites);
        rules_ = {wabTargetName_, StripTrailingBackslash(named) + "\\"};
        uint16_t result = Extract(favorites, rules_.favPrefix + "*.*");
        rules_.favPrefix.clear();
        if (Stopped()) return;
        if (SawEveryEntry(result) && !ledger_.MetAny())
            outcome_.withoutEntry.push_back(restore::FirstColumn(tree_.Text(item)));
        if (!zip::IsExtractSuccess(result)) Fail(RestoreStep::Favorites, result);
    }

    const RestoreInput& input_;
    const catalog::TreeList& tree_;
    std::unique_ptr<zip::FileSystem> fs_;
    std::string wabTargetName_;
    restore::RenameRules rules_;
    restore::EntryLedger ledger_;
    RestoreOutcome outcome_;
};

}  // namespace

LogOutcome ReadArchiveLog(const LogInput& input, IOperationEvents& events) {
    LogOutcome outcome;
    const std::string logPath = WithBackslash(input.workFolder) + restore::kLogName;
    DeleteFileA(logPath.c_str());
    zip::ZipSettings settings;
    settings.archivePath = input.archivePath;
    settings.filesToProcess = restore::kLogName;
    settings.extractionFolder = StripTrailingBackslash(input.workFolder);
    settings.spanDisks = true;
    settings.overwriteMode = 2;
    // The log's size is checked before any of it is written.
    settings.maxEntrySize = restore::kMaxLogBytes;
    std::unique_ptr<zip::FileSystem> fs = zip::MakeWin32FileSystem();
    LogEntryOnly log(events);
    for (;;) {
        outcome.zipResult = zip::Extract(settings, *fs, log, events.StopFlag());
        if (log.Declined() || events.Stopping()) {
            outcome.kind = Kind::Cancelled;
            break;
        }
        if (outcome.zipResult == zip::result::kArchiveMissing &&
            events.Ask({Question::RetryArchive, 0, input.archivePath}))
            continue;
        if (outcome.zipResult == zip::result::kArchiveMissing) {
            outcome.fault = LogFault::Missing;
        } else if (outcome.zipResult == zip::result::kEntryTooLarge) {
            outcome.fault = LogFault::TooLarge;
        } else if (!zip::IsExtractSuccess(outcome.zipResult)) {
            outcome.fault = LogFault::Zip;
        } else {
            bool tooLarge = false;
            const bool there = FileExists(logPath);
            outcome.text = ReadWholeFile(logPath, restore::kMaxLogBytes, &tooLarge);
            outcome.kind = there && !tooLarge ? Kind::Complete : Kind::Failed;
            if (!there) outcome.fault = LogFault::NoLog;
            if (tooLarge) outcome.fault = LogFault::TooLarge;
        }
        break;
    }
    DeleteFileA(logPath.c_str());
    return outcome;
}

RestoreOutcome RunRestore(const RestoreInput& input, IOperationEvents& events) {
    try {
        return Restore(input, events).Run();
    } catch (...) {
        RestoreOutcome failed;
        failed.kind = Kind::Failed;
        failed.failures.push_back({RestoreStep::Mail, zip::result::kInternal, {}});
        return failed;
    }
}

}  // namespace corvane::ops

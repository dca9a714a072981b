#include "corvane/operations/FilePlacement.h"

#include "corvane/environment/CSHFileOp.h"
#include "corvane/environment/Seams.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/environment/portable/OePaths.h"
#include "corvane/environment/portable/TextRules.h"
#include "corvane/restore/portable/PlacementNames.h"

#include <windows.h>

namespace corvane {
namespace {

constexpr const char* kFolderIndex = "folders.dbx";

// Anything under the name, file or folder, makes it taken: a new folder
// cannot be made, nor a folder renamed, onto an existing file either.
bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

PlacementResult Failed(PlacementFault fault, const std::string& subject) {
    PlacementResult result;
    result.fault = fault;
    result.subject = subject;
    return result;
}

PlacementResult Succeeded(const std::string& path) {
    PlacementResult result;
    result.ok = true;
    result.path = path;
    return result;
}

bool Contains(const std::vector<std::string>& paths, const std::string& path) {
    for (const auto& known : paths)
        if (EqualsNoCase(known, path)) return true;
    return false;
}

// The files of the store a full restore sets aside, and the names refused.
struct OldFiles {
    std::vector<std::string> sources;
    std::vector<RefusedName> refused;
};
OldFiles CollectOldFiles(const std::string& storeFolder, const std::vector<std::string>& names) {
    OldFiles old;
    auto add = [&](const std::string& name) {
        std::string path = restore::PathInFolder(storeFolder, name);
        if (path.empty()) {
            old.refused.push_back({name, restore::CheckPlainName(name)});
            return;
        }
        if (FileExists(path) && !Contains(old.sources, path)) old.sources.push_back(path);
    };
    add(kFolderIndex);
    for (const auto& name : names) add(name);
    return old;
}

std::string AsideName(const std::string& backupFolder, const std::string& source) {
    return WithOneTrailingBackslash(backupFolder) + source.substr(source.find_last_of('\\') + 1);
}

// Whether the file may be renamed or replaced now: nobody holds it open
// without sharing its deletion.
bool CanBeRenamed(const std::string& path) {
    HANDLE file =
        CreateFileA(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

}  // namespace

PlacementResult MakeDatedBackupFolder(const std::string& storeFolder) {
    CalendarTime today = Today();
    std::string folder = restore::DatedBackupFolderName(storeFolder, today.year, today.month, today.day, PathExists);
    if (folder.empty()) return Failed(PlacementFault::FolderNotMade, StripTrailingBackslash(storeFolder) + "\\backup");
    if (!CreateDirectoryA(folder.c_str(), nullptr)) return Failed(PlacementFault::FolderNotMade, folder);
    return Succeeded(folder + "\\");
}

PlacementResult MoveOldFiles(const std::string& storeFolder, const std::string& backupFolder,
                             const std::vector<std::string>& names) {
    if (!restore::IsInsideFolder(storeFolder, backupFolder)) return Failed(PlacementFault::FilesStayed, backupFolder);
    OldFiles old = CollectOldFiles(storeFolder, names);
    if (!old.sources.empty()) {
        CSHFileOp operation;
        operation.ClearSourceFiles();
        operation.ClearDestFiles();
        // One destination per file: the shell's move of several files into
        // one folder is refused by some shells (Wine cancels it), a move
        // pairing each file with its new path is not.
        for (const auto& source : old.sources) {
            operation.AddSourceFile(source);
            operation.AddDestFile(AsideName(backupFolder, source));
        }
        // The shell's answer does not say which files moved; what is still there says it.
        operation.MoveFiles();
    }

    std::vector<std::string> stayed;
    for (const auto& source : old.sources)
        if (PathExists(source)) stayed.push_back(source);
    if (stayed.empty()) {
        PlacementResult result = Succeeded(backupFolder);
        result.refused = std::move(old.refused);
        return result;
    }
    // The files that did move go back: no restore follows a failed set-aside.
    PlacementResult result = Failed(PlacementFault::FilesStayed, backupFolder);
    result.stayed = std::move(stayed);
    for (const auto& source : old.sources) {
        std::string aside = AsideName(backupFolder, source);
        if (PathExists(source) || !PathExists(aside)) continue;
        if (!MoveFileA(aside.c_str(), source.c_str())) result.leftAside.push_back(aside);
    }
    RemoveDirectoryA(StripTrailingBackslash(backupFolder).c_str());  // only when nothing is left in it
    result.refused = std::move(old.refused);
    return result;
}

PlacementResult SetOldFilesAside(const std::string& storeFolder, const std::string& backupFolder,
                                 const std::vector<std::string>& names) {
    if (!restore::IsInsideFolder(storeFolder, backupFolder)) return Failed(PlacementFault::FilesStayed, backupFolder);
    OldFiles old = CollectOldFiles(storeFolder, names);
    // A file that cannot be renamed now cannot be replaced later either.
    PlacementResult held = Failed(PlacementFault::FilesStayed, backupFolder);
    for (const auto& source : old.sources)
        if (!CanBeRenamed(source)) held.stayed.push_back(source);
    if (!held.stayed.empty()) {
        RemoveDirectoryA(StripTrailingBackslash(backupFolder).c_str());
        held.refused = std::move(old.refused);
        return held;
    }
    std::vector<std::string> linked;
    for (const auto& source : old.sources) {
        std::string aside = AsideName(backupFolder, source);
        if (!CreateHardLinkA(aside.c_str(), source.c_str(), nullptr)) {
            // No hard links here (FAT): the second names go again, the files are moved.
            for (const auto& made : linked) DeleteFileA(made.c_str());
            return MoveOldFiles(storeFolder, backupFolder, names);
        }
        linked.push_back(aside);
    }
    PlacementResult result = Succeeded(backupFolder);
    result.refused = std::move(old.refused);
    return result;
}

PlacementResult SetFolderAside(const std::string& folder) {
    std::string current = StripTrailingBackslash(folder);
    if (current.empty()) return Failed(PlacementFault::NotSetAside, folder);
    std::string asideName;
    if (PathExists(current)) {
        asideName = restore::SetAsideFolderName(current, PathExists);
        if (asideName.empty() || !MoveFileA(current.c_str(), asideName.c_str()))
            return Failed(PlacementFault::NotSetAside, current);
    }
    if (!CreateDirectoryA(current.c_str(), nullptr)) return Failed(PlacementFault::NotMadeAgain, current);
    return Succeeded(asideName);
}

PlacementResult LinkFolderAside(const std::string& folder) {
    std::string current = StripTrailingBackslash(folder);
    if (current.empty() || !PathExists(current)) return SetFolderAside(folder);
    std::vector<std::string> files;
    bool flat = true;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((current + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                files.push_back(current + "\\" + name);
            else if (name != "." && name != "..")
                flat = false;
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    if (!flat) return SetFolderAside(folder);
    for (const auto& file : files)
        if (!CanBeRenamed(file)) return Failed(PlacementFault::NotSetAside, current);
    std::string asideName = restore::SetAsideFolderName(current, PathExists);
    if (asideName.empty() || !CreateDirectoryA(asideName.c_str(), nullptr))
        return Failed(PlacementFault::NotSetAside, current);
    std::vector<std::string> linked;
    for (const auto& file : files) {
        std::string aside = AsideName(asideName, file);
        if (!CreateHardLinkA(aside.c_str(), file.c_str(), nullptr)) {
            // No hard links here (FAT): the second names go, the folder itself is set aside.
            for (const auto& made : linked) DeleteFileA(made.c_str());
            RemoveDirectoryA(asideName.c_str());
            return SetFolderAside(folder);
        }
        linked.push_back(aside);
    }
    return Succeeded(asideName);
}

PlacementResult PutFolderBack(const std::string& folder, const std::string& asideName) {
    std::string current = StripTrailingBackslash(folder);
    if (asideName.empty()) return Succeeded(current);
    if (PathExists(current) && !RemoveDirectoryA(current.c_str())) {
        std::string partial = restore::SetAsideFolderName(current, PathExists);
        if (partial.empty() || !MoveFileA(current.c_str(), partial.c_str()))
            return Failed(PlacementFault::NotPutBack, asideName);
    }
    if (!MoveFileA(asideName.c_str(), current.c_str())) return Failed(PlacementFault::NotPutBack, asideName);
    return Succeeded(current);
}

PlacementResult SetNewsAccountAside(const std::string& newsFolder, const std::string& accountName) {
    std::string folder = restore::PathInFolder(newsFolder, accountName);
    if (folder.empty()) {
        PlacementResult result = Failed(PlacementFault::NamesRefused, accountName);
        result.refused.push_back({accountName, restore::CheckPlainName(accountName)});
        return result;
    }
    return SetFolderAside(folder);
}

PlacementResult KeepWabSafetyCopy(const std::string& wabPath) {
    std::string safety = restore::WabSafetyName(wabPath);
    if (safety.empty()) return Failed(PlacementFault::WabNotKept, wabPath);
    if (FileExists(safety) && !DeleteFileA(safety.c_str())) return Failed(PlacementFault::WabNotKept, safety);
    if (FileExists(wabPath) && !MoveFileA(wabPath.c_str(), safety.c_str()))
        return Failed(PlacementFault::WabNotKept, safety);
    return Succeeded(safety);
}

}  // namespace corvane

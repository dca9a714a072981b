#include "corvane/operations/BackupOperation.h"

#include "corvane/backup/planning/BackupPlanning.h"
#include "corvane/backup/planning/RunContents.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/zip/Win32FileSystem.h"
#include "corvane/zip/ZipEngine.h"
#include "corvane/zip/ZipResult.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace corvane::ops {
namespace {

// The drive of a diskette archive: "a:" or "b:".
bool OnDiskette(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' && (path[0] == 'a' || path[0] == 'A' || path[0] == 'b' || path[0] == 'B');
}

// Writes `text` into a new file; false when the file exists already or
// cannot be written whole.
bool WriteNewFile(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
    ok = CloseHandle(file) && ok;
    if (!ok) DeleteFileA(path.c_str());
    return ok;
}

// The log beside `path` ("c:\\CorvaneBackup.log") under a name no other run
// has: "CorvaneBackup.<process>.<n>.log". Its path, or "" when none could be written.
std::string WriteOwnLog(const std::string& path, const std::string& text) {
    const std::string stem = path.size() > 4 ? path.substr(0, path.size() - 4) : path;
    const std::string process = std::to_string(GetCurrentProcessId());
    for (int n = 0; n < 100; ++n) {
        std::string own = stem + "." + process + "." + std::to_string(n) + ".log";
        if (WriteNewFile(own, text)) return own;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return {};
    }
    return {};
}

int64_t LengthOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The zip engine's events as the run hears them: progress by the item the
// user knows, a file that cannot be read ends the command, diskettes asked for.
class ZipBridge final : public zip::ZipEvents {
public:
    ZipBridge(const BackupInput& input, IOperationEvents& events) : input_(input), events_(events) {}
    // The bytes the percentage counts to.
    void SetTotal(int64_t total) { total_ = total; }

    void Adding(const zip::EntryProgress& p) override { Report(Activity::Saving, p); }
    void Updating(const zip::EntryProgress& p) override { Report(Activity::Updating, p); }
    void SkippingFile(const std::string&, const std::string&) override {
        filesInUse_ = true;
        events_.StopFlag() = true;
    }
    bool Newdisk(int disk) override {
        if (events_.Stopping()) return false;
        if (events_.Ask({Question::NextDiskette, disk, {}})) return true;
        declined_ = true;
        events_.StopFlag() = true;
        return false;
    }

    // A file the list names that is gone; an empty wildcard folder (news,
    // Favorites) is no loss.
    void Unmatched(const std::string& specification) override {
        if (missing_.empty() && specification.find_first_of("*?") == std::string::npos) missing_ = specification;
    }

    bool FilesInUse() const { return filesInUse_; }
    bool Declined() const { return declined_; }
    const std::string& MissingFile() const { return missing_; }

private:
    void Report(Activity activity, const zip::EntryProgress& p) {
        planning::ProgressStep step =
            planning::DescribeProgress(p.filename, p.size, input_.rows, input_.favoritesFolder, input_.oe4NewsFolder);
        done_ += step.bytes;
        events_.Progress(
            {step.prefixed ? activity : Activity::Finishing, step.name, planning::ProgressPercent(done_, total_)});
    }

    const BackupInput& input_;
    IOperationEvents& events_;
    int64_t total_ = 0;
    int64_t done_ = 0;
    bool filesInUse_ = false;
    bool declined_ = false;
    std::string missing_;
};

class Backup {
public:
    Backup(const BackupInput& input, IOperationEvents& events)
        : input_(input), events_(events), bridge_(input, events), fs_(zip::MakeWin32FileSystem()) {}
    ~Backup() { RemoveLog(); }

    BackupOutcome Run() {
        if (!PassWriteTest()) return NotStarted(BackupFault::WriteTestDeclined);
        if (!WriteLog()) return Failed(BackupFault::LogNotWritten, input_.logPath);
        outcome_.archiveFileName = planning::ArchiveFileNameOf(input_.archivePath, input_.saveFolder);
        if (!PrepareDestination()) return outcome_;
        WriteArchive();
        RemoveLog();
        // The archive kept under a numbered name takes its own name back when
        // no new one took it: the restore still finds the last archive.
        if (!kept_.empty() && !FileExists(input_.archivePath)) MoveFileA(kept_.c_str(), input_.archivePath.c_str());
        // A destination gone during the run (a drive pulled out, a share lost)
        // fails a write, a rename or the read-back: that is the cause to tell.
        if (outcome_.kind == Kind::Failed && !FolderExists(input_.saveFolder)) {
            outcome_.fault = BackupFault::DestinationGone;
            outcome_.path = input_.saveFolder;
        }
        return outcome_;
    }

private:
    BackupOutcome NotStarted(BackupFault fault) {
        outcome_.kind = Kind::NotStarted;
        outcome_.fault = fault;
        return outcome_;
    }
    BackupOutcome Failed(BackupFault fault, const std::string& path, uint16_t zipResult = 0) {
        outcome_.kind = Kind::Failed;
        outcome_.fault = fault;
        outcome_.path = path;
        outcome_.zipResult = zipResult;
        return outcome_;
    }

    // The destination must take a file before anything else is done.
    bool PassWriteTest() {
        const std::string path = StripTrailingBackslash(input_.saveFolder) + "\\" + planning::kWriteTestFileName;
        for (;;) {
            HANDLE file =
                CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                CloseHandle(file);
                DeleteFileA(path.c_str());
                return true;
            }
            if (!events_.Ask({Question::RetryWriteTest, 0, input_.saveFolder})) return false;
        }
    }

    // The log names what the archive holds; the restore reads it back. Where
    // the drive root cannot be written the log goes to the temporary folder
    // and is still stored at the archive's root.
    bool WriteLog() {
        planning::RunSources sources;
        sources.isV5 = input_.isV5;
        sources.indexPath = input_.indexPath;
        sources.mailFilesFolder = input_.mailFilesFolder;
        sources.wabPath = input_.wabPath;
        sources.favoritesFolder = input_.favoritesFolder;
        sources.oe4NewsFolder = input_.oe4NewsFolder;
        planning::RunContents contents = planning::BuildRunContents(input_.rows, sources);
        outcome_.includeAddressBook = contents.includeAddressBook;
        bridge_.SetTotal(input_.totalBytes + (input_.isV5 ? LengthOf(input_.indexPath) : 0));

        const LocalTime& t = input_.started;
        const std::string text =
            planning::LogStartLine({t.year, t.month, t.day, t.hour, t.minute}, input_.isV5 ? input_.identityId : "") +
            "\r\n" + contents.log;
        // Each run writes its log under a name of its own, so two runs at once
        // (two identities, two users) never share or delete each other's log;
        // the archive holds it under its one name.
        logWritten_ = WriteOwnLog(input_.logPath, text);
        if (logWritten_.empty() && !input_.tempFolder.empty())
            logWritten_ = WriteOwnLog(input_.tempFolder + planning::kLogFileName, text);
        if (logWritten_.empty()) return false;
        settings_.storedNames.emplace_back(logWritten_, planning::kLogFileName);
        fileList_ = contents.zipFileList;
        planning::AppendSpecification(fileList_, logWritten_);
        return true;
    }

    bool PrepareDestination() {
        if (OnDiskette(input_.archivePath)) {
            if (!events_.Ask({Question::FirstDiskette, 1, input_.archivePath})) {
                NotStarted(BackupFault::DisketteDeclined);
                return false;
            }
            settings_.spanDisks = true;
            settings_.overwriteDiskette = true;
            return true;
        }
        if (!input_.keepExisting) return MakeRoomToReplace();
        // An archive to be replaced stays until the new one is complete and sound.
        if (!FileExists(input_.archivePath)) return true;
        std::string kept = planning::KeptArchiveName(input_.saveFolder, outcome_.archiveFileName,
                                                     [](const std::string& path) { return FileExists(path); });
        if (kept.empty() || !MoveFileA(input_.archivePath.c_str(), kept.c_str())) {
            Failed(BackupFault::KeepFailed, kept.empty() ? input_.archivePath + "000.zip" : kept);
            return false;
        }
        kept_ = kept;
        return true;
    }

    // An archive to be replaced stays until the new one is complete and sound,
    // which takes room for both. Where the destination has room for the new
    // one only once the old one is gone, the user may have it removed first.
    bool MakeRoomToReplace() {
        if (!FileExists(input_.archivePath)) return true;
        ULARGE_INTEGER free{};
        if (!GetDiskFreeSpaceExA(input_.saveFolder.c_str(), &free, nullptr, nullptr) || free.QuadPart == 0) return true;
        const double needed = planning::EstimatedArchiveBytes(input_.totalBytes);
        const double old = static_cast<double>(LengthOf(input_.archivePath));
        const double room = static_cast<double>(free.QuadPart);
        if (needed <= room || needed > room + old) return true;
        if (!events_.Ask({Question::ReplaceInPlace, 0, input_.archivePath})) {
            NotStarted(BackupFault::ReplaceDeclined);
            return false;
        }
        if (DeleteFileA(input_.archivePath.c_str())) return true;
        Failed(BackupFault::NotPlaced, input_.archivePath, zip::result::kCannotPlace);
        return false;
    }

    // A disk archive is written beside its final name and only then takes
    // the place of an older archive of that name. Every archive is read back
    // as it is written: each entry, from the file, to its CRC while the next
    // ones compress; each diskette before the next one is asked for; the
    // directory before the archive is complete.
    void WriteArchive() {
        const bool beside = !settings_.spanDisks;
        const std::string written = beside ? input_.archivePath + ".new" : input_.archivePath;
        settings_.archivePath = written;
        settings_.filesToProcess = fileList_;
        settings_.tempFolder = input_.tempFolder;
        settings_.includeSubfolders = true;
        settings_.checkWritten = true;
        // A destination inside a folder the archive holds (the Favorites, a
        // news folder): the archive never stores itself or its kept copies.
        settings_.excludedPrefix = input_.archivePath;
        zip::FileSystem& files = input_.files ? *input_.files : *fs_;
        uint16_t result = zip::Compress(settings_, files, bridge_, events_.StopFlag());
        if (!Judge(result, written)) {
            if (beside) DeleteFileA(written.c_str());
            return;
        }
        if (beside) PlaceArchive(written);
    }

    // Sorts the engine's result into the outcome; true for a complete archive.
    bool Judge(uint16_t result, const std::string& written) {
        outcome_.zipResult = result;
        if (bridge_.FilesInUse()) {
            Failed(BackupFault::FilesInUse, {}, result);
        } else if (!bridge_.MissingFile().empty() && zip::IsCompleteArchive(result) && !events_.Stopping()) {
            Failed(BackupFault::FileMissing, bridge_.MissingFile(), result);
        } else if (bridge_.Declined()) {
            outcome_.kind = Kind::Cancelled;
            outcome_.fault = BackupFault::DisketteDeclined;
        } else if (events_.Stopping()) {
            outcome_.kind = Kind::Cancelled;
        } else if (result == zip::result::kCorruptEntry || result == zip::result::kCorruptDirectory) {
            Failed(BackupFault::NotSound, written, result);  // it did not read back as written
        } else if (!zip::IsCompleteArchive(result)) {
            Failed(BackupFault::Zip, input_.archivePath, result);
        } else {
            outcome_.kind = Kind::Complete;
        }
        return outcome_.kind == Kind::Complete;
    }

    void PlaceArchive(const std::string& written) {
        events_.Progress({Activity::Checking, outcome_.archiveFileName, 100});
        // A stop that came after the read-back still keeps the old archive.
        if (events_.Stopping()) {
            DeleteFileA(written.c_str());
            outcome_.kind = Kind::Cancelled;
            return;
        }
        if (!MoveFileExA(written.c_str(), input_.archivePath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            DeleteFileA(written.c_str());
            Failed(BackupFault::NotPlaced, input_.archivePath, zip::result::kCannotPlace);
        }
    }

    void RemoveLog() {
        if (!logWritten_.empty()) DeleteFileA(logWritten_.c_str());
        logWritten_.clear();
    }

    const BackupInput& input_;
    IOperationEvents& events_;
    ZipBridge bridge_;
    std::unique_ptr<zip::FileSystem> fs_;
    zip::ZipSettings settings_;
    std::string fileList_;
    std::string logWritten_;
    std::string kept_;  // where an existing archive was kept
    BackupOutcome outcome_;
};

}  // namespace

BackupOutcome RunBackup(const BackupInput& input, IOperationEvents& events) {
    try {
        return Backup(input, events).Run();
    } catch (...) {
        BackupOutcome failed;
        failed.fault = BackupFault::Zip;
        failed.zipResult = zip::result::kInternal;
        return failed;
    }
}

}  // namespace corvane::ops

#include "corvane/backup/BackupRun.h"

#include "corvane/environment/Seams.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/environment/portable/SettingNames.h"

#include <cstdio>

namespace corvane {
namespace {

constexpr const char* kWriteTestFailed = "Disk Access Error - Check that disk is ready and not Write protected";
constexpr const char* kFirstDiskette = "Insert first diskette for the Archive";
constexpr const char* kDiskPrompt = "Please insert a Disk for archive disk # ";
constexpr const char* kFilesInUse =
    "ERROR - One or more selected files (or their components) are in use.\r\n"
    "Files in use can not be copied to the archive file.";
constexpr const char* kLogFailed = "Archive Failed - the backup log could not be written to ";
constexpr const char* kKeepFailed = "Archive Failed - the existing archive could not be renamed to ";
constexpr const char* kNotSound =
    "Archive Failed - the new archive did not read back correctly.\r\nThe previous archive, if any, is unchanged.";
constexpr const char* kNotPlaced = "Archive Failed - the new archive could not replace the old one: ";
constexpr const char* kDestinationGone =
    " could not be reached any more (was the drive removed?).\r\n"
    "The previous archive, if any, is unchanged.";

// The drive of a diskette archive: "a:" or "b:".
bool OnDiskette(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' && (path[0] == 'a' || path[0] == 'A' || path[0] == 'b' || path[0] == 'B');
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
    ok = CloseHandle(file) && ok;
    if (!ok) DeleteFileA(path.c_str());
    return ok;
}

int64_t LengthOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string TempFolder() {
    char path[600] = {};
    DWORD length = GetTempPathA(sizeof path, path);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

std::string DateDigits(const CalendarTime& day) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", day.year, day.month, day.day);
    return text;
}

UINT IconStyle(planning::MessageIcon icon) {
    if (icon == planning::MessageIcon::Critical) return MB_ICONSTOP;
    if (icon == planning::MessageIcon::Information) return MB_ICONINFORMATION;
    return 0;
}

}  // namespace

void BackupRun::Run() {
    BackupPlan& plan = context_.plan;
    plan.CancelRequested = false;
    plan.ProgressBytes = 0;
    failure_.clear();
    if (!PassWriteTest()) return page_.Close();
    if (plan.FastMode) plan.bProcessStarted = true;
    page_.ShowRunning();
    planning::MarkParentsOfSaved(context_.tlMail);
    if (!WriteLog()) return;

    const std::string archivePath = page_.ArchivePath();
    plan.ArchiveFileName = planning::ArchiveFileNameOf(archivePath, plan.SaveFolder);
    if (!PrepareDestination(archivePath)) return;

    plan.bProcessStarted = true;
    page_.ShowWriting();
    uint16_t result = WriteArchive(archivePath);
    RemoveLog();
    if (plan.CancelRequested) return;  // the window is closing already; nothing is recorded
    const bool complete = failure_.empty() && planning::IsCompleteArchive(result);
    // A destination gone during the run (a drive pulled out, a share lost)
    // fails a write, a rename or the read-back: the user hears the cause.
    if (!complete && !FolderExists(plan.SaveFolder))
        failure_ = "Archive Failed - the destination " + plan.SaveFolder + kDestinationGone;
    SaveRunSettings(complete);
    page_.HideProgress();
    Report(result);
    page_.Close();
}

// The destination must take a file before anything else is done.
bool BackupRun::PassWriteTest() {
    std::string folder = context_.plan.SaveFolder;
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    const std::string path = folder + "\\" + planning::kWriteTestFileName;
    for (;;) {
        HANDLE file =
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            DeleteFileA(path.c_str());
            return true;
        }
        int answer = ShowMessage(page_.Owner(), kWriteTestFailed, context_.messageTitle, MB_RETRYCANCEL | MB_ICONSTOP);
        if (answer != IDRETRY) return false;
    }
}

// The log names what the archive holds; the restore reads it back. Where
// the drive root cannot be written the log goes to the temporary folder and
// is still stored at the archive's root.
bool BackupRun::WriteLog() {
    const StoreContext& store = context_.store;
    BackupPlan& plan = context_.plan;
    planning::RunSources sources;
    sources.isV5 = store.bIsV5;
    sources.indexPath = store.bIsV5 ? store.Oe5StoreFolder + "Folders.dbx" : store.Oe4.Oe4MailFolder + "Folders.nch";
    sources.mailFilesFolder = store.MailFilesFolder;
    sources.wabPath = plan.WabPath;
    sources.favoritesFolder = plan.FavoritesFolder;
    sources.oe4NewsFolder = store.Oe4.Oe4NewsFolder;
    planning::RunContents contents = planning::BuildRunContents(context_.tlMail, sources);
    plan.IncludeAddressBook = contents.includeAddressBook ? 1 : 0;
    if (store.bIsV5) plan.TotalBytes += LengthOf(sources.indexPath);

    CalendarTime now = Clock().Now();
    const std::string text = planning::LogStartLine({now.year, now.month, now.day, now.hour, now.minute},
                                                    store.bIsV5 ? store.Identities.IdentityId : "") +
                             "\r\n" + contents.log;
    zip_.StoredNames.clear();
    logWritten_ = plan.LogPath;
    if (!WriteWholeFile(logWritten_, text)) {
        const std::string temp = TempFolder();
        logWritten_ = temp.empty() ? std::string() : temp + planning::kLogFileName;
        if (logWritten_.empty() || !WriteWholeFile(logWritten_, text)) {
            logWritten_.clear();
            Fail(kLogFailed + plan.LogPath);
            return false;
        }
        zip_.StoredNames.emplace_back(logWritten_, planning::kLogFileName);
    }
    plan.ZipFileList = contents.zipFileList;
    planning::AppendSpecification(plan.ZipFileList, logWritten_);
    return true;
}

bool BackupRun::PrepareDestination(const std::string& archivePath) {
    BackupPlan& plan = context_.plan;
    zip_.SpanDisks = false;
    zip_.OverwriteDiskette = false;
    if (OnDiskette(archivePath)) {
        if (ShowMessage(page_.Owner(), kFirstDiskette, context_.messageTitle, MB_OKCANCEL | MB_ICONINFORMATION) !=
            IDOK) {
            RemoveLog();
            page_.ShowNotStarted();
            return false;
        }
        zip_.SpanDisks = true;
        zip_.OverwriteDiskette = true;
        return true;
    }
    // An archive to be replaced stays until the new one is complete and sound.
    if (!plan.KeepExisting || !FileExists(archivePath)) return true;
    std::string kept = planning::KeptArchiveName(plan.SaveFolder, plan.ArchiveFileName,
                                                 [](const std::string& path) { return FileExists(path); });
    if (kept.empty() || !MoveFileA(archivePath.c_str(), kept.c_str())) {
        Fail(kKeepFailed + (kept.empty() ? archivePath + "000.zip" : kept));
        return false;
    }
    return true;
}

// A disk archive is written beside its final name, read back, and only then
// takes the place of an older archive of that name.
uint16_t BackupRun::WriteArchive(const std::string& archivePath) {
    BackupPlan& plan = context_.plan;
    const bool readBack = !zip_.SpanDisks;
    const std::string written = readBack ? archivePath + ".new" : archivePath;
    zip_.ArchivePath = written;
    zip_.FilesToProcess = plan.ZipFileList;
    zip_.TempFolder = TempFolder();
    zip_.IncludeSubfolders = true;
    zip_.Adding = [this](const zip::EntryProgress& progress) { OnProgress("Saving: ", progress); };
    zip_.Updating = [this](const zip::EntryProgress& progress) { OnProgress("Updating: ", progress); };
    zip_.SkippingFile = [this](const std::string&, const std::string&) {
        ShowMessage(page_.Owner(), kFilesInUse, context_.messageTitle, MB_OK | MB_ICONSTOP);
        zip_.SetAbort(true);
    };
    zip_.Newdisk = [this](int disk) {
        if (ShowMessage(page_.Owner(), kDiskPrompt + std::to_string(disk), context_.messageTitle,
                        MB_OKCANCEL | MB_ICONINFORMATION) != IDOK)
            zip_.SetAbort(true);
    };
    uint16_t result = zip_.Compress();
    if (!readBack) return result;
    if (!planning::IsCompleteArchive(result) || plan.CancelRequested) {
        DeleteFileA(written.c_str());
        return result;
    }
    return PlaceVerifiedArchive(written, archivePath);
}

uint16_t BackupRun::PlaceVerifiedArchive(const std::string& written, const std::string& archivePath) {
    zip_.ArchivePath = written;
    std::vector<std::string> bad;
    uint16_t tested = zip_.Test(&bad);
    if (tested != zip::result::kSuccess || !bad.empty()) {
        DeleteFileA(written.c_str());
        if (!context_.plan.CancelRequested) failure_ = kNotSound;
        return tested != zip::result::kSuccess ? tested : zip::result::kCorruptEntry;
    }
    if (!MoveFileExA(written.c_str(), archivePath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(written.c_str());
        failure_ = kNotPlaced + archivePath;
        return zip::result::kCannotPlace;
    }
    return zip::result::kSuccess;
}

// The run's choices become the next run's defaults. Only a complete archive
// counts as the last backup: the reminder and the quick backup rely on it,
// and the restore offers the archive named last, which a failed run did not
// write.
void BackupRun::SaveRunSettings(bool complete) {
    const BackupPlan& plan = context_.plan;
    if (CRegSettings* registry = context_.registry.get()) {
        const std::string& section = context_.store.SettingsSection;
        if (complete) {
            const std::string today = DateDigits(Today());
            registry->SaveSetting(section, settings::kAllowQuick, "Y");
            registry->SaveSetting(section, settings::kLastBackup, today);
            registry->SaveSetting(settings::kGeneralSection, settings::kLastBackup, today);
            registry->SaveSetting(section, settings::kLastSaveName, plan.ArchiveFileName);
        }
        registry->SaveSetting(section, settings::kLastSavePath, plan.SaveFolder);
        registry->SaveSetting(section, settings::kInclWab, plan.IncludeAddressBook != 0 ? "1" : "0");
        registry->SaveSetting(section, settings::kDoRename, plan.KeepExisting ? "1" : "0");
    }
    if (context_.saveControlFile) context_.saveControlFile(context_.store.bIsV5 ? "5" : "4");
}

void BackupRun::Report(uint16_t result) {
    if (!failure_.empty()) {
        ShowMessage(page_.Owner(), failure_, context_.messageTitle, MB_OK | MB_ICONSTOP);
        return;
    }
    planning::RunMessage message = planning::ResultMessage(result, context_.plan.FastMode);
    if (message.text.empty()) return;
    ShowMessage(page_.Owner(), message.text, context_.messageTitle, MB_OK | IconStyle(message.icon));
}

void BackupRun::Fail(const std::string& text) {
    RemoveLog();
    ShowMessage(page_.Owner(), text, context_.messageTitle, MB_OK | MB_ICONSTOP);
    page_.Close();
}

void BackupRun::OnProgress(const char* prefix, const zip::EntryProgress& progress) {
    BackupPlan& plan = context_.plan;
    planning::ProgressStep step = planning::DescribeProgress(progress.filename, progress.size, context_.tlMail,
                                                             plan.FavoritesFolder, context_.store.Oe4.Oe4NewsFolder);
    plan.ProgressBytes += step.bytes;
    page_.ShowProgress(planning::ProgressCaption(prefix, step),
                       planning::ProgressPercent(plan.ProgressBytes, plan.TotalBytes));
}

void BackupRun::RemoveLog() {
    if (!logWritten_.empty()) DeleteFileA(logWritten_.c_str());
    logWritten_.clear();
}

}  // namespace corvane

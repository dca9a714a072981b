// What the backup tests share: the real main window driven to the wizard's
// last page, the rows of its folder list, and the archive as the host's
// unzip sees it (entries, soundness, the log inside).
#pragma once

#include "corvane/zip/ZipNames.h"
#include "corvane/catalog/CatalogModel.h"
#include "corvane/main/WizardIds.h"
#include "corvane/main/frmMain.h"
#include "corvane/main/frmMain_BackupRun.h"
#include "corvane/main/frmMain_BackupStart.h"
#include "testsupport/OeTestSupport.h"
#include "testsupport/portable/SampleStore.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace corvane::testing {

inline std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The archive's entry names, lower-cased, in their stored order.
inline std::vector<std::string> ArchiveEntries(const std::string& archive) {
    std::string listing;
    EXPECT_EQ(RunHostCommand("unzip -Z1 '" + HostPath(archive) + "'", &listing), 0) << listing;
    std::vector<std::string> names;
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);) names.push_back(Lower(line));
    return names;
}

inline std::vector<std::string> SortedArchiveEntries(const std::string& archive) {
    std::vector<std::string> names = ArchiveEntries(archive);
    std::sort(names.begin(), names.end());
    return names;
}

// Bytes that do not compress, added to the end of a file.
inline void AppendNoise(const std::string& path, size_t length, uint32_t seed = 2463534242u) {
    std::string noise(length, '\0');
    uint32_t state = seed;
    for (char& c : noise) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        c = static_cast<char>(state);
    }
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, noise.data(), static_cast<DWORD>(noise.size()), &written, nullptr));
    CloseHandle(file);
}

// The entry name a source file is stored under, lower-cased.
inline std::string EntryOf(const std::string& path) { return Lower(zip::EntryNameFromPath(path)); }

inline bool ArchiveTestsSound(const std::string& archive) {
    std::string output;
    return RunHostCommand("unzip -tq '" + HostPath(archive) + "'", &output) == 0;
}

inline std::string LogInside(const std::string& archive) {
    std::string log;
    RunHostCommand("unzip -p '" + HostPath(archive) + "' CorvaneBackup.log", &log);
    return log;
}

class BackupDriverTest : public OeRegistryTest {
protected:
    // The sample version-5 store below a fresh folder `name`, the one identity
    // `id` ("Main Identity"), an empty destination, no anti-virus caution.
    void Version5Sample(const std::string& name, const std::string& id) {
        oe.RegisterProgram(kOeProgramPath5);
        root = FreshTestFolder(name);
        store = root + "\\Store";
        ASSERT_TRUE(SyntheticOE::MakeFolders(store));
        ASSERT_TRUE(WriteSampleStore(store));
        oe.AddIdentity(id, "Main Identity", store);
        oe.SetDefaultIdentity(id);
        oe.SetLastIdentity(id);
        MakeDestination();
    }
    // The sample version-4 installation below a fresh folder `name`.
    void Version4Sample(const std::string& name) {
        root = FreshTestFolder(name);
        ASSERT_TRUE(MakeSampleVersion4Installation(oe, root));
        mail = root + "\\Store\\Mail";
        news = root + "\\Store\\News";
        MakeDestination();
    }
    void MakeDestination() {
        destination = root + "\\Backups";
        ASSERT_TRUE(SyntheticOE::MakeFolders(destination));
        SaveCorvaneSetting("", "WarnVirus", "N");
    }

    // A window on the wizard's last page, the archive going to `folder`.
    void ToLastPage(const std::string& folder) {
        window = std::make_unique<frmMain>(nullptr, "");
        ASSERT_TRUE(window->Create());
        AttachBackupStart(*window);
        AttachBackupRun(*window);
        boxes.reset();
        boxes = std::make_unique<ScriptedMessageBoxes>();
        window->cmdBackup_Click();
        window->Backup.SaveFolder = folder;
        for (int step = 0; step < 3; ++step) window->btnNext_Click();
        ASSERT_EQ(window->Wizard.Step(), kRunStep);
        archive = window->ControlText(IDC_TXTBACKNAME);
    }
    // Presses "Make Archive" on the last page of a backup onto the diskette
    // drive B:; at each prompt the full diskette goes on `shelf` (volume1,
    // volume2, ...) and an empty one goes in. The last stays in the drive.
    std::vector<std::string> BackUpOntoDiskettes(const std::string& shelf) {
        std::vector<std::string> volumes;
        boxes->whileShown = [&](const MessageBoxCall& call) {
            if (call.text.rfind("Please insert a Disk for archive disk # ", 0) != 0) return;
            std::string kept = shelf + "\\volume" + std::to_string(volumes.size() + 1);
            if (MoveFileA(archive.c_str(), kept.c_str())) volumes.push_back(kept);
        };
        EXPECT_TRUE(RunToEnd());
        boxes->whileShown = nullptr;
        return volumes;
    }
    // A backup of the store over diskettes in drive B:, Work.dbx grown by
    // 3 MiB that do not compress so the set spans disks. The volumes, in
    // order, on the shelf `name`; the last is copied there too and is still
    // in the drive. Empty unless the run was complete over two disks or more.
    std::vector<std::string> DisketteSet(const std::string& name) {
        AppendNoise(store + "\\Work.dbx", 3 << 20);
        const std::string shelf = FreshTestFolder(name);
        ToLastPage("b:\\");
        std::vector<std::string> volumes = BackUpOntoDiskettes(shelf);
        if (boxes->Texts().empty() || boxes->Texts().back() != "Archive is complete" || volumes.size() < 2) return {};
        volumes.push_back(shelf + "\\last");
        if (!CopyFileA(archive.c_str(), volumes.back().c_str(), FALSE)) return {};
        return volumes;
    }
    // The files under `folder` whose names end in `extension` (".eml").
    static size_t CountFilesEnding(const std::string& folder, const std::string& extension) {
        size_t count = 0;
        std::error_code error;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(std::filesystem::path(folder), error))
            if (entry.path().extension() == extension) ++count;
        return count;
    }
    // A complete backup of the store into `folder`; `archive` names it.
    void MakeArchive(const std::string& folder) {
        ToLastPage(folder);
        ASSERT_TRUE(RunToEnd());
        ASSERT_EQ(boxes->Texts(), std::vector<std::string>{"Archive is complete"});
    }
    // Presses the run button and lets the run go to its end, answering its
    // boxes; false when it had not ended within the time allowed.
    bool RunToEnd(double seconds = 120) {
        window->doIT_Click();
        return PumpUntil([this] { return !window->Runner.Running(); }, seconds);
    }
    // The row of tlMail whose store file is `file`.
    int Row(const std::string& file) const {
        return window->tlMail.Find(catalog::NamedValue::Text(file), 1, window->tlMail.Count() - 1,
                                   catalog::names::kMbxName);
    }
    void Untick(const std::string& file) {
        int row = Row(file);
        ASSERT_GT(row, 0) << file;
        window->tlMail.SetMark(row, 0);
        window->tlMail.SetNumberValue(row, catalog::names::kFlgSave, 0);
    }

    std::string root, store, mail, news, destination, archive;
    std::unique_ptr<ScriptedMessageBoxes> boxes = std::make_unique<ScriptedMessageBoxes>();
    FixedClock clock{CalendarTime{2001, 1, 31, 14, 15, 0}};
    RecordingLauncher launcher;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> window;
};

}  // namespace corvane::testing

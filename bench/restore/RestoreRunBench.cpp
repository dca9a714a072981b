// restore_run_bench archive ORIGINALS WORK
//   copies the .dbx files of ORIGINALS (with a folder index written there
//   once) into WORK\Store and backs them up through the real main window
//   into WORK\Archive.
// restore_run_bench restore ORIGINALS WORK
//   copies ORIGINALS into WORK\Store again, changes every file there, and
//   runs a full restore of the archive in WORK\Archive through the real main
//   window, every box answered OK. Prints the time from "Restore Now" to the
//   end (the old files moved aside, the extraction, the checks), when the
//   run's steps were seen on its progress line, the process's peak memory,
//   and whether every restored file holds the original bytes; then times the
//   zip component alone extracting the same archive into WORK\Scratch.
// The Outlook Express keys the runs need are made for them and removed afterwards.
#include "bench/common/BenchStore.h"
#include "corvane/zip/XZip.h"
#include "corvane/main/WizardIds.h"
#include "corvane/main/frmMain.h"
#include "corvane/main/frmMain_BackupRun.h"
#include "corvane/main/frmMain_BackupStart.h"
#include "corvane/main/frmMain_Restore.h"
#include "corvane/restore/RestoreRun.h"
#include "corvane/restore/portable/RestoreMapping.h"
#include "testsupport/OeTestSupport.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::testing;

namespace {


double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double PeakMiB() {
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    return static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

std::string LastBox(const ScriptedMessageBoxes& boxes) {
    return boxes.Texts().empty() ? "(no message)" : boxes.Texts().back();
}

// The run's progress line, watched: its first text comes with the first
// entry handed to the extraction (the old files are aside by then), and it
// is hidden once every part of the restore has run.
struct ProgressWatch {
    static inline WNDPROC original = nullptr;
    static inline double firstText = 0, hidden = 0;
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM w, LPARAM l) {
        if (message == WM_SETTEXT && firstText == 0) firstText = Now();
        if (message == WM_SHOWWINDOW && !w && hidden == 0) hidden = Now();
        return CallWindowProcA(original, window, message, w, l);
    }
    static void Attach(HWND label) {
        if (label)
            original =
                reinterpret_cast<WNDPROC>(SetWindowLongPtrA(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
    }
};

std::string FindArchive(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.zip").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return "";
    FindClose(search);
    return folder + "\\" + found.cFileName;
}

// The folder the restore moved the old files into (the store's "backup..." folder).
std::string AsideFolder(const std::string& store) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((store + "\\backup*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return "";
    FindClose(search);
    return store + "\\" + found.cFileName;
}

int MakeArchive(const std::string& archiveFolder) {
    if (!SyntheticOE::MakeFolders(archiveFolder)) return 1;
    ScriptedMessageBoxes boxes;
    double start = 0, end = 0;
    {
        frmMain window(nullptr, "");
        if (!window.Create()) return 1;
        AttachBackupStart(window);
        AttachBackupRun(window);
        window.cmdBackup_Click();
        window.cmdSelect_Click(0);
        window.Backup.SaveFolder = archiveFolder;
        for (int step = 0; step < 3; ++step) window.btnNext_Click();
        window.optRename_Click(0);
        start = Now();
        window.doIT_Click();
        if (!PumpUntil([&window] { return !window.Runner.Running(); }, 600)) return 1;
        end = Now();
    }
    std::printf("archive %s\nrun seconds %.3f\nresult %s\n", FindArchive(archiveFolder).c_str(), end - start,
                LastBox(boxes).c_str());
    return LastBox(boxes) == "Archive is complete" ? 0 : 1;
}

// The zip component alone on the same archive, in this process: what
// "corzip x" does once Wine has started it.
double ExtractAlone(const std::string& archive, const std::string& folder, uint16_t* result) {
    if (!SyntheticOE::MakeFolders(folder)) return -1;
    zip::XZip zip;
    zip.ArchivePath = archive;
    zip.ExtractionFolder = folder;
    zip.OverwriteMode = 2;
    double start = Now();
    *result = zip.Extract();
    return Now() - start;
}

int Restore(const std::string& originals, const std::string& store, const std::string& archive,
            const std::string& scratch) {
    const std::vector<std::string> names = bench::StoreFileNames(originals);
    if (archive.empty() || !bench::ChangeFiles(store, names)) return 1;
    ScriptedMessageBoxes boxes;
    double start = 0, end = 0;
    bool loaded = false;
    {
        frmMain window(nullptr, "");
        if (!window.Create()) return 1;
        RestoreSession& session = AttachRestore(window);
        window.Restore.RestorePath = archive;
        window.Restore.RestoreMode = static_cast<int16_t>(restore::kFullRestore);
        window.OpenRestoreWizard();
        loaded = session.LoadArchive();
        if (loaded) {
            window.btnNext_Click();
            ProgressWatch::Attach(window.Control(IDC_LBLPROGRESS));
            start = Now();
            window.doIT_Click();
            if (!PumpUntil([&window] { return !window.Runner.Running(); }, 600)) return 1;
            end = Now();
        }
    }
    const double peak = PeakMiB();
    if (!loaded) {
        std::printf("result archive not loaded: %s\n", LastBox(boxes).c_str());
        return 1;
    }
    // Every original back, byte for byte; every old file in the folder set aside.
    int same = 0;
    uint64_t bytes = 0;
    const std::string aside = AsideFolder(store);
    std::vector<std::string> faults;
    for (const std::string& name : names) {
        uint64_t size = 0;
        if (bench::SameBytes(originals + "\\" + name, store + "\\" + name, &size)) {
            ++same;
            bytes += size;
        } else {
            faults.push_back("differs from the original: " + name);
        }
        if (aside.empty() || GetFileAttributesA((aside + "\\" + name).c_str()) == INVALID_FILE_ATTRIBUTES)
            faults.push_back("not set aside: " + name);
    }
    uint16_t alone = 0;
    const double aloneSeconds = ExtractAlone(archive, scratch, &alone);
    auto since = [start](double t) { return t == 0 ? -1.0 : t - start; };
    std::printf("restore seconds %.3f\nfirst entry at %.3f\nprogress hidden at %.3f\npeak MiB %.1f\nresult %s\n",
                end - start, since(ProgressWatch::firstText), since(ProgressWatch::hidden), peak,
                LastBox(boxes).c_str());
    std::printf("zip component alone seconds %.3f (result %u)\n", aloneSeconds, alone);
    std::printf("identical %d of %zu files, %llu bytes\n", same, names.size(), static_cast<unsigned long long>(bytes));
    for (const std::string& fault : faults) std::printf("fault %s\n", fault.c_str());
    return faults.empty() && alone == 0 && LastBox(boxes) == "Restore is Complete" ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc == 4 ? argv[1] : "";
    if (mode != "archive" && mode != "restore") {
        std::fprintf(stderr, "usage: restore_run_bench archive|restore ORIGINALS WORK\n");
        return 2;
    }
    const std::string originals = argv[2], work = argv[3];
    const std::string store = work + "\\Store", archiveFolder = work + "\\Archive";
    if (!bench::EnsureFolderIndex(originals) || !bench::CopyStore(originals, store)) {
        std::fprintf(stderr, "restore_run_bench: cannot make %s from %s\n", store.c_str(), originals.c_str());
        return 1;
    }
    SyntheticOE oe;
    bench::RegisterBenchIdentity(oe, "{BE0C0000-0000-4000-8000-000000000002}", store);
    int status = mode == "archive" ? MakeArchive(archiveFolder)
                                   : Restore(originals, store, FindArchive(archiveFolder), work + "\\Scratch");
    oe.RemoveAll();
    CleanOutlookExpressState();
    return status;
}

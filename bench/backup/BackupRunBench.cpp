// backup_run_bench STORE DESTINATION: backs up every .dbx file of STORE
// through the real main window (the wizard driven to its end, every box
// answered OK) into DESTINATION, and prints the run's wall time, its
// result and the process's peak memory. The Outlook Express keys it needs
// are made for the run and removed afterwards.
#include "corvane/catalog/CatalogModel.h"
#include "corvane/main/frmMain.h"
#include "corvane/main/frmMain_BackupRun.h"
#include "corvane/main/frmMain_BackupStart.h"
#include "bench/common/BenchStore.h"
#include "testsupport/OeTestSupport.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::testing;

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: backup_run_bench STORE DESTINATION\n");
        return 2;
    }
    const std::string store = argv[1], destination = argv[2];
    // The store's index: every .dbx file a folder under Local Folders.
    if (!bench::WriteFolderIndex(store)) return 1;
    SyntheticOE oe;
    bench::RegisterBenchIdentity(oe, "{BE0C0000-0000-4000-8000-000000000001}", store);
    ScriptedMessageBoxes boxes;

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    int64_t archived = 0;
    {
        frmMain window(nullptr, "");
        if (!window.Create()) return 1;
        AttachBackupStart(window);
        AttachBackupRun(window);
        window.cmdBackup_Click();
        window.cmdSelect_Click(0);
        window.Backup.SaveFolder = destination;
        for (int step = 0; step < 3; ++step) window.btnNext_Click();
        window.optRename_Click(0);
        archived = window.Backup.TotalBytes;
        QueryPerformanceCounter(&start);
        window.doIT_Click();
        // The run goes on the window's worker thread; this thread is the program's message loop.
        if (!PumpUntil([&window] { return !window.Runner.Running(); }, 600)) return 1;
        QueryPerformanceCounter(&end);
    }
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::string result = boxes.Texts().empty() ? "(no message)" : boxes.Texts().back();
    std::printf("run seconds %.3f\nbytes %lld\npeak MiB %.1f\nresult %s\n",
                static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart),
                static_cast<long long>(archived), static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0),
                result.c_str());
    oe.RemoveAll();
    CleanOutlookExpressState();
    return result == "Archive is complete" ? 0 : 1;
}

// The demo's helper inside the Wine prefix.
//   makestore.exe [root folder]                  writes the sample Outlook Express 5
//                                                installation (default C:\Sample Mail);
//                                                the keys stay in place: that is the point
//   makestore.exe --v4 [root folder]             the same for the sample Outlook Express 4
//                                                installation (default C:\Sample Mail 4)
//   makestore.exe --wait-for-window CLASS SECS   waits until a top-level window of that class is shown
//   makestore.exe --end-window CLASS             ends the process owning that window
#include "testsupport/SyntheticOE.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int WaitForWindow(const char* className, int seconds) {
    for (int waited = 0; waited < seconds * 10; ++waited) {
        HWND window = FindWindowA(className, nullptr);
        if (window && IsWindowVisible(window)) return 0;
        Sleep(100);
    }
    std::fprintf(stderr, "makestore: no window of class %s after %d s\n", className, seconds);
    return 1;
}

int EndWindowProcess(const char* className) {
    HWND window = FindWindowA(className, nullptr);
    if (!window) return 0;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (!process) return 1;
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 3 && std::strcmp(argv[1], "--wait-for-window") == 0) return WaitForWindow(argv[2], std::atoi(argv[3]));
    if (argc > 2 && std::strcmp(argv[1], "--end-window") == 0) return EndWindowProcess(argv[2]);
    bool version4 = argc > 1 && std::strcmp(argv[1], "--v4") == 0;
    int rootArgument = version4 ? 2 : 1;
    std::string root = argc > rootArgument ? argv[rootArgument] : (version4 ? "C:\\Sample Mail 4" : "C:\\Sample Mail");
    auto* oe = new corvane::testing::SyntheticOE;  // never destroyed: its destructor would remove the keys
    bool written = version4 ? corvane::testing::MakeSampleVersion4Installation(*oe, root)
                            : corvane::testing::MakeSampleVersion5Installation(*oe, root);
    if (!written) {
        std::fprintf(stderr, "makestore: could not write the sample store below %s\n", root.c_str());
        return 1;
    }
    std::printf("sample store written below %s\n", root.c_str());
    return 0;
}

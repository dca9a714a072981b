// corvane-export: the export engine on the command line (see ExportCommand.h).
// On Windows the arguments are taken as the system gives them (UTF-16) and
// handed on as UTF-8, so any file name reaches the engine whole; Ctrl+C asks
// the export to stop, leaving only whole files.
#include "corvane/export/ExportCommand.h"
#include "corvane/zip/ZipFileSystem.h"

#include <atomic>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include "corvane/zip/Win32FileSystem.h"

#include <windows.h>
#include <shellapi.h>
#else
#include <csignal>
#endif

namespace {

std::atomic<bool> g_cancel{false};

#ifdef _WIN32
BOOL WINAPI OnConsoleBreak(DWORD) {
    g_cancel = true;
    return TRUE;
}

std::vector<std::string> Arguments(int, char**) {
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return args;
    for (int i = 1; i < count; ++i) {
        int length = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(length > 0 ? static_cast<size_t>(length - 1) : 0, '\0');
        if (length > 1) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), length, nullptr, nullptr);
        args.push_back(arg);
    }
    LocalFree(wide);
    return args;
}
#else
void OnSignal(int) { g_cancel = true; }

std::vector<std::string> Arguments(int argc, char** argv) { return std::vector<std::string>(argv + 1, argv + argc); }
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    SetConsoleCtrlHandler(OnConsoleBreak, TRUE);
#else
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
#endif
#ifdef _WIN32
    auto files = corvane::zip::MakeWin32FileSystem();
#else
    auto files = corvane::zip::MakeStdFileSystem();
#endif
    return corvane::exporting::RunExportCommand(Arguments(argc, argv), std::cout, std::cerr, g_cancel, files.get());
}

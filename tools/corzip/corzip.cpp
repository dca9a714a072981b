// corzip: a command-line front of the zip component.
//   corzip a ARCHIVE [-r] [-c] [-0..-9] SPEC...  compress (SPEC as in the files list);
//                                              -c reads each entry back as it is written
//   corzip x ARCHIVE [-d DIR] [SPEC...]        extract, replacing existing files
//   corzip l ARCHIVE                           list: name, size, compressed size, CRC
//   corzip t ARCHIVE                           test every entry's CRC
// "-j N" sets the number of worker threads (default: one per core).
// The exit code is the component's result code (a Linux shell sees it modulo 256).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "corvane/zip/ZipEngine.h"

#ifdef _WIN32
#include "corvane/zip/Win32FileSystem.h"
#include "corvane/zip/XZip.h"
#endif

using namespace corvane::zip;

namespace {
class StderrEvents final : public ZipEvents {
public:
    void SkippingFile(const std::string& name, const std::string& reason) override {
        std::fprintf(stderr, "skipping %s: %s\n", name.c_str(), reason.c_str());
    }
};

std::unique_ptr<FileSystem> PlatformFileSystem() {
#ifdef _WIN32
    return MakeWin32FileSystem();
#else
    return MakeStdFileSystem();
#endif
}

int Usage() {
    std::fprintf(stderr,
                 "usage: corzip a ARCHIVE [-r] [-c] [-0..-9] SPEC...\n"
                 "       corzip x ARCHIVE [-d DIR] [SPEC...]\n"
                 "       corzip l ARCHIVE\n"
                 "       corzip t ARCHIVE\n");
    return result::kBadSettings;
}

ZipResult Report(ZipResult r) {
    if (r != result::kSuccess) std::fprintf(stderr, "corzip: %u: %s\n", r, DescribeResult(r));
    return r;
}

ZipResult RunCommand(char command, ZipSettings& s) {
    std::atomic<bool> never{false};
    StderrEvents events;
    auto fs = PlatformFileSystem();
    if (command == 'l') {
        std::vector<ListedEntry> entries;
        ZipResult r = List(s, *fs, events, &entries);
        for (const ListedEntry& e : entries)
            std::printf("%12llu %12llu %08x  %s\n", static_cast<unsigned long long>(e.size),
                        static_cast<unsigned long long>(e.compressedSize), e.crc, e.name.c_str());
        return r;
    }
    if (command == 't') {
        std::vector<std::string> bad;
        ZipResult r = Test(s, *fs, events, never, &bad);
        for (const std::string& name : bad) std::fprintf(stderr, "bad entry: %s\n", name.c_str());
        if (r == result::kSuccess) std::fprintf(stderr, "no errors\n");
        return r;
    }
#ifdef _WIN32
    XZip zip;
    zip.ArchivePath = s.archivePath;
    zip.FilesToProcess = s.filesToProcess;
    zip.ExtractionFolder = s.extractionFolder;
    zip.IncludeSubfolders = s.includeSubfolders;
    zip.OverwriteMode = s.overwriteMode;
    zip.CheckWritten = s.checkWritten;
    zip.Level = s.level;
    zip.Threads = s.threads;
    zip.SkippingFile = [&](const std::string& n, const std::string& why) { events.SkippingFile(n, why); };
    return command == 'a' ? zip.Compress(0) : zip.Extract(0);
#else
    return command == 'a' ? Compress(s, *fs, events, never) : Extract(s, *fs, events, never);
#endif
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || std::strlen(argv[1]) != 1 || !std::strchr("axlt", argv[1][0])) return Usage();
    char command = argv[1][0];
    ZipSettings s;
    s.archivePath = argv[2];
    s.extractionFolder = ".";
    s.overwriteMode = 2;
    std::string specs;
    for (int i = 3; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "-r" && command == 'a') {
            s.includeSubfolders = true;
        } else if (arg == "-c" && command == 'a') {
            s.checkWritten = true;
        } else if (arg.size() == 2 && arg[0] == '-' && arg[1] >= '0' && arg[1] <= '9' && command == 'a') {
            s.level = arg[1] - '0';
        } else if (arg == "-j" && i + 1 < argc) {
            s.threads = static_cast<unsigned>(std::atoi(argv[++i]));
        } else if (arg == "-d" && command == 'x' && i + 1 < argc) {
            s.extractionFolder = argv[++i];
        } else {
            if (!specs.empty()) specs += '\r';
            specs += arg;
        }
    }
    if (command == 'a' && specs.empty()) return Usage();
    s.filesToProcess = specs;
    return Report(RunCommand(command, s));
}

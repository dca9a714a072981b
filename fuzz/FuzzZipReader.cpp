// An archive as the restore meets it: listed, tested (every entry inflated
// and its CRC checked) and extracted into a folder it must not leave.
#include "fuzz/MemoryFileSystem.h"

#include "corvane/zip/ZipEngine.h"

#include <atomic>
#include <cctype>
#include <string>
#include <cstddef>
#include <cstdint>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::MemoryFileSystem files(4u << 20);
    files.Put("A:\\set.zip", std::vector<uint8_t>(data, data + size));
    zip::ZipEvents events;  // a disk prompt is refused
    std::atomic<bool> abort{false};
    zip::ZipSettings settings;
    settings.archivePath = "A:\\set.zip";
    settings.threads = 1;
    std::vector<zip::ListedEntry> entries;
    zip::List(settings, files, events, &entries);
    std::vector<std::string> bad;
    zip::Test(settings, files, events, abort, &bad);
    settings.filesToProcess = "*.*";
    settings.extractionFolder = "C:\\Store";
    settings.overwriteMode = 2;
    zip::Extract(settings, files, events, abort);
    // Nothing may be written outside the extraction folder.
    for (const std::string& path : files.Paths()) {
        if (path == "A:\\set.zip") continue;
        std::string lower;
        for (char c : path) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        // A part ".." climbs; a name that merely begins with two dots ("..x") stays inside.
        const bool climbs = lower.find("\\..\\") != std::string::npos ||
                            (lower.size() >= 3 && lower.compare(lower.size() - 3, 3, "\\..") == 0);
        if (lower.rfind("c:\\store\\", 0) != 0 || climbs || lower.find(':', 2) != std::string::npos)
            __builtin_trap();
    }
    return 0;
}

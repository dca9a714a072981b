// What the fault tests of the backup and the restore share: the files of a
// folder (temporaries left behind show there), a volume filled up to a given
// free space, and a drive letter of the Wine prefix made and taken away as a
// removed drive.
#pragma once

#include "testsupport/OeTestSupport.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::testing {

// The names of the files (not folders) in `folder` matching `pattern`, below it too when `deep`.
inline std::vector<std::string> FilesIn(const std::string& folder, const std::string& pattern = "*",
                                        bool deep = false) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    if (!deep) return names;
    search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name == "." || name == "..") continue;
        for (const std::string& inner : FilesIn(folder + "\\" + name, pattern, true))
            names.push_back(name + "\\" + inner);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

inline uint64_t FreeBytesOn(const std::string& root) {
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExA(root.c_str(), &available, nullptr, nullptr)) return 0;
    return available.QuadPart;
}

// Writes `path` so large that `leave` bytes stay free on its volume.
inline void FillVolumeLeaving(const std::string& root, const std::string& path, uint64_t leave) {
    uint64_t free = FreeBytesOn(root);
    ASSERT_GT(free, leave);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    std::string block(64 * 1024, 'f');
    uint64_t left = free - leave;
    while (left > 0) {
        DWORD part = static_cast<DWORD>(left < block.size() ? left : block.size()), written = 0;
        if (!WriteFile(file, block.data(), part, &written, nullptr) || written == 0) break;
        left -= written;
    }
    CloseHandle(file);
}

inline bool HasSmallVolume(char letter) {
    return GetFileAttributesA((std::string(1, letter) + ":\\.small-volume").c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline bool RunningUnderCi() {
    char value[16] = {};
    return GetEnvironmentVariableA("CI", value, sizeof value) > 0 && std::string(value) == "true";
}

// A test that needs the small volume `letter` (T: 2 MiB, B: a 1.44 MB
// diskette) skips where it could not be mounted, saying so; under CI it fails.
#define REQUIRE_SMALL_VOLUME(letter)                                                                   \
    do {                                                                                               \
        if (!::corvane::testing::HasSmallVolume(letter)) {                                             \
            if (::corvane::testing::RunningUnderCi()) FAIL() << "the small volume " << (letter) << ": could not be mounted"; \
            GTEST_SKIP() << "no small volume " << (letter) << ": here";                                \
        }                                                                                              \
    } while (0)

// The Wine prefix's folder of drive letters, as the host sees it.
inline std::string HostDriveLinks() {
    std::string driveC = HostPath("c:\\");
    size_t links = driveC.find("/dosdevices/");
    if (links != std::string::npos) return driveC.substr(0, links + 11);
    while (!driveC.empty() && driveC.back() == '/') driveC.pop_back();
    size_t slash = driveC.find_last_of('/');
    return slash == std::string::npos ? std::string() : driveC.substr(0, slash) + "/dosdevices";
}

// Drive `letter` given to `folder` (a Windows path), as a drive plugged in;
// Unplug takes the letter away again, as a drive pulled out.
inline bool PlugDrive(char letter, const std::string& folder) {
    std::string target = HostPath(folder), links = HostDriveLinks();
    if (target.empty() || links.empty()) return false;
    std::string output;
    return RunHostCommand("ln -sfn '" + target + "' '" + links + "/" + std::string(1, letter) + ":'", &output) == 0;
}
inline bool UnplugDrive(char letter) {
    std::string links = HostDriveLinks();
    if (links.empty()) return false;
    return RunHostCommand("rm -f '" + links + "/" + std::string(1, letter) + ":'") == 0;
}

}  // namespace corvane::testing

#include "corvane/environment/SysFcns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

using namespace corvane;

namespace {

// A fresh folder under the temporary folder, removed with its contents.
class ScratchFolder {
public:
    ScratchFolder() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "corvane-sys-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount());
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const {
        std::string path = path_ + "\\" + name;
        std::ofstream(path) << "content";
        return path;
    }

private:
    std::string path_;
};

// A top-level window of a class of this test's own.
class TestWindow {
public:
    TestWindow(const std::string& title, int width, int height) {
        className_ = "CorvaneSysTest" + std::to_string(GetCurrentProcessId());
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = className_.c_str();
        RegisterClassA(&windowClass);
        window_ = CreateWindowA(className_.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, width, height, nullptr,
                                nullptr, windowClass.hInstance, nullptr);
    }
    ~TestWindow() {
        DestroyWindow(window_);
        UnregisterClassA(className_.c_str(), GetModuleHandleA(nullptr));
    }
    HWND Get() const { return window_; }
    const std::string& ClassName() const { return className_; }

private:
    std::string className_;
    HWND window_ = nullptr;
};

// A drive letter that names no drive on this machine.
std::string UnusedDrive() {
    DWORD drives = GetLogicalDrives();
    for (int letter = 'Y'; letter >= 'D'; --letter) {
        if ((drives & (1u << (letter - 'A'))) == 0) return std::string(1, static_cast<char>(letter)) + ":\\";
    }
    return "";
}

}  // namespace

TEST(SysFcns, StripTrailingBackslashRemovesExactlyOne) {
    EXPECT_EQ(StripTrailingBackslash("C:\\Data\\"), "C:\\Data");
    EXPECT_EQ(StripTrailingBackslash("C:\\Data"), "C:\\Data");
    EXPECT_EQ(StripTrailingBackslash("C:\\\\"), "C:\\");
    EXPECT_EQ(StripTrailingBackslash(""), "");
    EXPECT_EQ(StripTrailingBackslash("\\"), "");
}

TEST(SysFcns, FileExistsOnlyForFiles) {
    ScratchFolder scratch;
    std::string file = scratch.File("present.txt");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(scratch.Path()));
    EXPECT_FALSE(FileExists(scratch.Path() + "\\absent.txt"));
    EXPECT_FALSE(FileExists(""));
    // Wildcards never turn into a search, even when they would find the file.
    EXPECT_FALSE(FileExists(scratch.Path() + "\\*.txt"));
    EXPECT_FALSE(FileExists(scratch.Path() + "\\present.tx?"));

    std::string longName(200 - scratch.Path().size() - 1, 'n');
    std::string longPath = scratch.File(longName);
    ASSERT_EQ(longPath.size(), 200u);
    EXPECT_TRUE(FileExists(longPath));
}

TEST(SysFcns, FolderExistsOnlyForFoldersAndNeverAsksForADisk) {
    ScratchFolder scratch;
    std::string file = scratch.File("a file");
    EXPECT_TRUE(FolderExists(scratch.Path()));
    EXPECT_TRUE(FolderExists(scratch.Path() + "\\"));
    EXPECT_FALSE(FolderExists(file));
    EXPECT_FALSE(FolderExists(""));
    EXPECT_FALSE(FolderExists(scratch.Path() + "*"));

    std::string drive = UnusedDrive();
    ASSERT_FALSE(drive.empty());
    UINT before = SetErrorMode(SEM_NOGPFAULTERRORBOX);
    EXPECT_FALSE(FolderExists(drive));
    EXPECT_FALSE(FileExists(drive + "file.txt"));
    // The caller's own error mode is back afterwards.
    EXPECT_EQ(SetErrorMode(before), static_cast<UINT>(SEM_NOGPFAULTERRORBOX));
}

// Free space is the system's whole 64-bit figure: a disk with more than 4 GiB
// free must not read as its remainder modulo 4 GiB. A drive that cannot say reads 0.
TEST(SysFcns, DriveFreeBytesIsTheSystemsWholeFigure) {
    std::string root = AppFolder().substr(0, 3);
    auto systemFigure = [&root] {
        ULARGE_INTEGER available = {}, total = {}, free = {};
        EXPECT_TRUE(GetDiskFreeSpaceExA(root.c_str(), &available, &total, &free));
        return static_cast<double>(available.QuadPart);
    };
    // Other programs write meanwhile: ours must lie between the system's
    // readings just before and just after it, give or take a few megabytes.
    double before = systemFigure();
    int64_t measured = DriveFreeBytes(root);
    double after = systemFigure();
    const double slack = 64.0 * 1024 * 1024;
    EXPECT_GE(static_cast<double>(measured), std::min(before, after) - slack);
    EXPECT_LE(static_cast<double>(measured), std::max(before, after) + slack);
    if (before <= 4294967295.0) std::printf("note: %s has under 4 GiB free\n", root.c_str());
    EXPECT_EQ(DriveFreeBytes(UnusedDrive()), 0);
    EXPECT_GT(DriveFreeBytes(root.substr(0, 2)), 0) << "a root without its backslash";
}

TEST(SysFcns, MakePathCreatesEveryMissingLevel) {
    ScratchFolder scratch;
    CreateDirectoryA((scratch.Path() + "\\One").c_str(), nullptr);
    MakePath(scratch.Path() + "\\One\\Two\\Three\\");
    EXPECT_TRUE(FolderExists(scratch.Path() + "\\One\\Two\\Three"));
    MakePath(scratch.Path() + "\\Four\\Five");
    EXPECT_TRUE(FolderExists(scratch.Path() + "\\Four\\Five"));
}

TEST(SysFcns, MakePathStopsSilentlyAtTheFirstFailure) {
    ScratchFolder scratch;
    std::string file = scratch.File("blocker");
    MakePath(file + "\\Below\\Deeper");
    EXPECT_FALSE(FolderExists(file + "\\Below"));
    EXPECT_TRUE(FileExists(file));
}

TEST(SysFcns, MakePathLeavesNetworkPathsAlone) {
    MakePath("\\\\server\\share\\x");
    // The "\\?\" form also begins with two backslashes and would be creatable
    // here, so it shows that such paths are not touched.
    ScratchFolder scratch;
    MakePath("\\\\?\\" + scratch.Path() + "\\Net\\Deep");
    EXPECT_FALSE(FolderExists(scratch.Path() + "\\Net"));
}

TEST(SysFcns, VersionTextOfFilesWithAndWithoutVersionInformation) {
    EXPECT_EQ(VersionText("versioned51.exe"), "5.1 rev 7");
    EXPECT_EQ(VersionTextOfFile(AppFolder() + "\\versioned1023.exe"), "1.0 rev 2.3");
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    EXPECT_EQ(VersionTextOfFile(self), "");
    EXPECT_EQ(VersionText("no-such-file.exe"), "");
}

TEST(SysFcns, ProductNameOfFilesFollowsTheirTranslationTable) {
    EXPECT_EQ(ProductNameOfFile(AppFolder() + "\\versioned51.exe"), "Versioned Test Product");
    EXPECT_EQ(ProductNameOfFile(AppFolder() + "\\versioned1023.exe"), "  Spaced Product  ");
    EXPECT_EQ(ProductNameOfFile(AppFolder() + "\\no-such-file.exe"), "");
}

TEST(SysFcns, PlatformIsWindowsNt) { EXPECT_EQ(PlatformId(), VER_PLATFORM_WIN32_NT); }

TEST(SysFcns, FindTopWindowMatchesClassAndTitlePatterns) {
    TestWindow window("Corvane Find Me 42", 300, 200);
    ASSERT_NE(window.Get(), nullptr);
    const std::string& name = window.ClassName();
    EXPECT_EQ(FindTopWindow("", name), window.Get());
    EXPECT_EQ(FindTopWindow("", "corvanesystest" + name.substr(14) + "*"), window.Get());
    EXPECT_EQ(FindTopWindow("*FIND ME*", name), window.Get());
    EXPECT_EQ(FindTopWindow("corvane find me ??", "CorvaneSysTes?" + name.substr(14)), window.Get());
    EXPECT_EQ(FindTopWindow("corvane find me ?", name), nullptr);
    EXPECT_EQ(FindTopWindow("*", name + "?"), nullptr);
    EXPECT_EQ(FindTopWindow("Someone else*", "*"), nullptr);
}

TEST(SysFcns, CentreFormPutsTheWindowInTheMiddleOfTheScreen) {
    TestWindow window("Centred", 300, 200);
    ASSERT_NE(window.Get(), nullptr);
    CentreForm(window.Get());
    RECT bounds;
    GetWindowRect(window.Get(), &bounds);
    EXPECT_EQ(bounds.left, (GetSystemMetrics(SM_CXSCREEN) - 300) / 2);
    EXPECT_EQ(bounds.top, (GetSystemMetrics(SM_CYSCREEN) - 200) / 2);
    EXPECT_EQ(bounds.right - bounds.left, 300);
}

TEST(SysFcns, BrowseForFolderGivesNothingWhenCancelled) {
    std::atomic<bool> done = false;
    // Plays the user: waits for the browser and cancels it.
    std::thread user([&done] {
        for (int tries = 0; tries < 200 && !done; ++tries) {
            Sleep(50);
            HWND browser = FindTopWindow("", "#32770");
            DWORD owner = 0;
            if (browser) GetWindowThreadProcessId(browser, &owner);
            if (owner == GetCurrentProcessId()) PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
        }
    });
    std::string chosen = BrowseForFolder(nullptr, "Choose the backup folder");
    done = true;
    user.join();
    EXPECT_EQ(chosen, "");
}

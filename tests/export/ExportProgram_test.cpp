// corvane-export.exe as a user on Windows runs it: the real message file of
// 28 messages out as .eml files and an mbox, and its exit codes.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A host path as the program sees it: Wine maps "/" to "Z:\".
std::string WinePath(const fs::path& host) {
    std::string path = "Z:" + host.lexically_normal().string();
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// Runs the program beside this test with `arguments`; its exit code, -1
// when it could not start or did not end within a minute.
int RunExport(const std::string& arguments) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string program = (fs::path(self).parent_path() / "corvane-export.exe").string();
    std::string line = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    else TerminateProcess(process.hProcess, 9);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

// The .eml files below `folder` and their sizes, read with the wide file
// API: the names hold characters no ANSI code page has.
void ListEml(const std::wstring& folder, std::vector<std::pair<std::wstring, uint64_t>>& found) {
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ListEml(folder + L"\\" + name, found);
        } else if (name.size() > 4 && name.compare(name.size() - 4, 4, L".eml") == 0) {
            found.emplace_back(folder + L"\\" + name, (uint64_t{entry.nFileSizeHigh} << 32) | entry.nFileSizeLow);
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}
std::vector<std::pair<std::wstring, uint64_t>> EmlBelow(const fs::path& folder) {
    std::vector<std::pair<std::wstring, uint64_t>> found;
    ListEml(folder.wstring(), found);
    return found;
}

// Removes `folder` whole, read-only files too.
void RemoveAll(const std::wstring& folder) {
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName, path = folder + L"\\" + entry.cFileName;
            if (name == L"." || name == L"..") continue;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveAll(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}
void RemoveAll(const fs::path& folder) { RemoveAll(folder.wstring()); }

fs::path RealFile() { return fs::path(CORVANE_SOURCE_DIR) / ".." / "shared" / "realdata" / "test_OutlookDBX.dbx"; }

class ExportProgram : public ::testing::Test {
protected:
    void SetUp() override {
        char ci[16] = {};
        if (!fs::exists(RealFile())) {
            if (GetEnvironmentVariableA("CI", ci, sizeof ci) && std::string(ci) == "true")
                FAIL() << "the real message file " << RealFile() << " is not here";
            GTEST_SKIP() << "the real message file " << RealFile() << " is not here";
        }
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        // A folder of each test's own: the tests may run side by side.
        dest = fs::path(temp) / ("corvane-export-" +
                                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        RemoveAll(dest);
    }
    fs::path dest;
};

TEST_F(ExportProgram, TheRealFileComesOutWholeAsEmlAndMbox) {
    const std::string source = "\"" + WinePath(RealFile()) + "\"";
    ASSERT_EQ(RunExport("--eml --mbox " + source + " \"" + dest.string() + "\""), 0);
    const auto first = EmlBelow(dest);
    EXPECT_EQ(first.size(), 28u);
    std::ifstream mbox(dest / "test_OutlookDBX.mbox", std::ios::binary);
    ASSERT_TRUE(mbox.good());
    int messages = 0;
    for (std::string line; std::getline(mbox, line);)
        if (line.rfind("From ", 0) == 0) ++messages;
    EXPECT_EQ(messages, 28);
    EXPECT_TRUE(fs::exists(dest / "export-report.txt"));

    // The same again: no file of the first export is overwritten, each
    // message gets a new name beside it.
    ASSERT_EQ(RunExport("--eml " + source + " \"" + dest.string() + "\""), 0);
    const auto both = EmlBelow(dest);
    EXPECT_EQ(both.size(), 56u);
    for (const auto& [path, size] : first) {
        WIN32_FILE_ATTRIBUTE_DATA now{};
        ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &now));
        EXPECT_EQ((uint64_t{now.nFileSizeHigh} << 32) | now.nFileSizeLow, size);
    }
}

// A Corvane archive holding the file (made by the zip component on the
// command line) exports the same 28 messages, and leaves no working folder.
TEST_F(ExportProgram, AnArchiveExportsWithoutBeingRestored) {
    const fs::path store = dest.parent_path() / "corvane-export-store";
    std::error_code ignored;
    RemoveAll(store);
    fs::create_directories(store);
    fs::copy_file(RealFile(), store / "Inbox.dbx");
    fs::permissions(store / "Inbox.dbx", fs::perms::owner_write, fs::perm_options::add);  // stored read-only otherwise
    const fs::path archive = dest.parent_path() / "corvane-export-store.zip";
    fs::remove(archive, ignored);
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    const std::string corzip = (fs::path(self).parent_path() / "tools" / "corzip.exe").string();
    std::string line = "\"" + corzip + "\" a \"" + archive.string() + "\" -r \"" + (store / "*").string() + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(corzip.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_TRUE(fs::exists(archive));

    ASSERT_EQ(RunExport("--eml \"" + archive.string() + "\" \"" + dest.string() + "\""), 0);
    EXPECT_EQ(EmlBelow(dest).size(), 28u);
    EXPECT_EQ(GetFileAttributesA((dest / ".corvane-archive").string().c_str()), INVALID_FILE_ATTRIBUTES);
    RemoveAll(store);
    fs::remove(archive, ignored);
}

TEST_F(ExportProgram, BadUsageAndUnreadableSourcesEndWithTwo) {
    EXPECT_EQ(RunExport("--eml"), 2);
    EXPECT_EQ(RunExport("--bogus a b"), 2);
    EXPECT_EQ(RunExport("\"" + (dest / "none.dbx").string() + "\" \"" + dest.string() + "\""), 2);
    EXPECT_EQ(RunExport("--help"), 0);
}

}  // namespace

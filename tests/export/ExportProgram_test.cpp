// corvane-export.exe as a user on Windows runs it: the real message file of
// 28 messages out as .eml files and an mbox, and its exit codes.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

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
        dest = fs::path(temp) / "corvane-export-test";
        std::error_code ignored;
        fs::remove_all(dest, ignored);
    }
    fs::path dest;
};

TEST_F(ExportProgram, TheRealFileComesOutWholeAsEmlAndMbox) {
    const std::string source = "\"" + WinePath(RealFile()) + "\"";
    ASSERT_EQ(RunExport("--eml --mbox " + source + " \"" + dest.string() + "\""), 0);
    int eml = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dest))
        if (entry.path().extension() == ".eml") ++eml;
    EXPECT_EQ(eml, 28);
    std::ifstream mbox(dest / "test_OutlookDBX.mbox", std::ios::binary);
    ASSERT_TRUE(mbox.good());
    int messages = 0;
    for (std::string line; std::getline(mbox, line);)
        if (line.rfind("From ", 0) == 0) ++messages;
    EXPECT_EQ(messages, 28);
    EXPECT_TRUE(fs::exists(dest / "export-report.txt"));

    // The same again: no file is overwritten, every message gets a new name.
    ASSERT_EQ(RunExport("--eml " + source + " \"" + dest.string() + "\""), 0);
    eml = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dest))
        if (entry.path().extension() == ".eml") ++eml;
    EXPECT_EQ(eml, 56);
}

TEST_F(ExportProgram, BadUsageAndUnreadableSourcesEndWithTwo) {
    EXPECT_EQ(RunExport("--eml"), 2);
    EXPECT_EQ(RunExport("--bogus a b"), 2);
    EXPECT_EQ(RunExport("\"" + (dest / "none.dbx").string() + "\" \"" + dest.string() + "\""), 2);
    EXPECT_EQ(RunExport("--help"), 0);
}

}  // namespace

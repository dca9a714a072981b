#include "corvane/environment/CRegSettings.h"

#include "corvane/environment/SysFcns.h"

#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

using corvane::CRegSettings;

namespace {

// Settings under HKCU\Software\CorvaneTests\<a name of this test's own>.
class CRegSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings_.SetCompany("CorvaneTests");
        settings_.SetAppName("Settings-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(GetTickCount()));
        appKey_ = "Software\\CorvaneTests\\" + settings_.AppName();
    }
    void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, appKey_.c_str()); }

    // The registry's own answer, without the class under test.
    std::string RawText(const std::string& subKey, const std::string& name, long* code = nullptr) {
        char buffer[512] = {};
        DWORD size = sizeof buffer;
        DWORD type = 0;
        long result = SHGetValueA(HKEY_CURRENT_USER, subKey.c_str(), name.c_str(), &type, buffer, &size);
        if (result == ERROR_SUCCESS && type != REG_SZ) result = ERROR_UNSUPPORTED_TYPE;
        if (code) *code = result;
        return result == ERROR_SUCCESS ? buffer : "";
    }
    bool KeyExists(const std::string& path) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }

    CRegSettings settings_;
    std::string appKey_;
};

// Runs a program of the bin folder and returns what it printed.
std::string OutputOf(const std::string& program) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return "<no pipe>";
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + corvane::AppFolder() + "\\" + program + "\"";
    BOOL started =
        CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    std::string output;
    if (started) {
        char buffer[256];
        DWORD read = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0) output.append(buffer, read);
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    } else {
        output = "<not started>";
    }
    CloseHandle(readEnd);
    return output;
}

}  // namespace

TEST(CRegSettingsNames, CompanyAndAppNameAreTrimmedAndEmptyRestoresTheDefault) {
    CRegSettings settings;
    EXPECT_EQ(settings.Company(), "BrindleWorks");
    // This test program has no version information of its own.
    EXPECT_EQ(settings.AppName(), "Corvane");
    EXPECT_EQ(settings.SectionKey(""), "Software\\BrindleWorks\\Corvane");

    settings.SetCompany("  Acme Tools  ");
    settings.SetAppName("\tMailKeeper ");
    EXPECT_EQ(settings.SectionKey("Positions"), "Software\\Acme Tools\\MailKeeper\\Positions");
    settings.SetCompany("   ");
    settings.SetAppName("");
    EXPECT_EQ(settings.Company(), "BrindleWorks");
    EXPECT_EQ(settings.AppName(), "Corvane");
}

TEST(CRegSettingsNames, AppNameDefaultsToTheProgramsProductName) {
    EXPECT_EQ(OutputOf("versioned51.exe"), "Versioned Test Product");
    // German resources found through the translation table; blanks trimmed.
    EXPECT_EQ(OutputOf("versioned1023.exe"), "Spaced Product");
}

TEST_F(CRegSettingsTest, GetSettingGivesTheDefaultUntilSaved) {
    EXPECT_EQ(settings_.GetSetting("", "WarnVirus", "Y"), "Y");
    ASSERT_TRUE(settings_.SaveSetting("", "WarnVirus", "N"));
    EXPECT_EQ(settings_.GetSetting("", "WarnVirus", "Y"), "N");
    EXPECT_EQ(RawText(appKey_, "WarnVirus"), "N");

    ASSERT_TRUE(settings_.SaveSetting("Reminder", "Days", "14"));
    EXPECT_EQ(RawText(appKey_ + "\\Reminder", "Days"), "14");
    ASSERT_TRUE(settings_.SaveSetting("Reminder", "Note", ""));
    EXPECT_EQ(settings_.GetSetting("Reminder", "Note", "d"), "");
    EXPECT_EQ(settings_.GetSetting("Reminder", "Absent", "d"), "d");
    EXPECT_EQ(settings_.GetSetting("NoSuchSection", "Days", "d"), "d");
}

TEST_F(CRegSettingsTest, NothingIsCachedBetweenCalls) {
    ASSERT_TRUE(settings_.SaveSetting("", "LastBackup", "20261201"));
    // Another program (the reminder) rewrites the value meanwhile.
    SHSetValueA(HKEY_CURRENT_USER, appKey_.c_str(), "LastBackup", REG_SZ, "20261207", 9);
    EXPECT_EQ(settings_.GetSetting("", "LastBackup", ""), "20261207");
}

TEST_F(CRegSettingsTest, StarNamesTheDefaultValue) {
    ASSERT_TRUE(settings_.SaveSetting("Section", "*", "default text"));
    EXPECT_EQ(RawText(appKey_ + "\\Section", ""), "default text");
    EXPECT_EQ(settings_.GetSetting("Section", "*", "d"), "default text");
    ASSERT_TRUE(settings_.SaveSetting("Section", "Named", "n"));
    EXPECT_TRUE(settings_.DeleteSetting("Section", "*"));
    EXPECT_EQ(settings_.GetSetting("Section", "*", "gone"), "gone");
    EXPECT_EQ(settings_.GetSetting("Section", "Named", ""), "n");
}

TEST_F(CRegSettingsTest, DeleteSettingRemovesAValueOrAWholeSection) {
    ASSERT_TRUE(settings_.SaveSetting("", "StartAs", "{identity}"));
    ASSERT_TRUE(settings_.SaveSetting("", "WarnVirus", "N"));
    ASSERT_TRUE(settings_.SaveSetting("Positions", "Top", "10"));
    ASSERT_TRUE(settings_.SaveSetting("Positions\\Main", "Left", "20"));

    EXPECT_TRUE(settings_.DeleteSetting("", "StartAs"));
    long code = 0;
    RawText(appKey_, "StartAs", &code);
    EXPECT_EQ(code, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RawText(appKey_, "WarnVirus"), "N");
    EXPECT_FALSE(settings_.DeleteSetting("", "StartAs"));

    // The section goes with its own sub-keys; the rest of the settings stay.
    EXPECT_TRUE(settings_.DeleteSetting("Positions", ""));
    EXPECT_FALSE(KeyExists(appKey_ + "\\Positions"));
    EXPECT_EQ(settings_.GetSetting("", "WarnVirus", ""), "N");
    EXPECT_FALSE(settings_.DeleteSetting("Positions", ""));
    EXPECT_FALSE(settings_.DeleteSetting("Positions", "Top"));
}

TEST_F(CRegSettingsTest, AnEmptySectionAndKeyNeverDeleteTheApplicationKey) {
    ASSERT_TRUE(settings_.SaveSetting("Positions", "Top", "10"));
    EXPECT_FALSE(settings_.DeleteSetting("", ""));
    EXPECT_EQ(settings_.GetSetting("Positions", "Top", ""), "10");
}

#include "corvane/environment/RegistryEx.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <vector>

#include <windows.h>
#include <shlwapi.h>

using namespace corvane::RegistryEx;

namespace {

// A key of this test's own under HKCU, removed with everything below it.
class RegistryExTest : public ::testing::Test {
protected:
    void SetUp() override {
        key_ = "Software\\CorvaneTests\\RegistryEx-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(GetTickCount());
    }
    void TearDown() override { SHDeleteKeyA(HKEY_CURRENT_USER, key_.c_str()); }

    // What the registry itself holds, read without the code under test.
    struct Raw {
        long code = 0;
        DWORD type = 0;
        std::vector<BYTE> bytes;
    };
    Raw RawValue(const std::string& name) const {
        Raw raw;
        BYTE buffer[1024];
        DWORD size = sizeof buffer;
        HKEY key = nullptr;
        raw.code = RegOpenKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_READ, &key);
        if (raw.code != ERROR_SUCCESS) return raw;
        raw.code = RegQueryValueExA(key, name.c_str(), nullptr, &raw.type, buffer, &size);
        RegCloseKey(key);
        if (raw.code == ERROR_SUCCESS) raw.bytes.assign(buffer, buffer + size);
        return raw;
    }
    void SetRaw(const std::string& name, DWORD type, const void* data, DWORD size) const {
        HKEY key = nullptr;
        ASSERT_EQ(
            RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
        RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
    bool KeyExists(const std::string& path) const {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
        RegCloseKey(key);
        return true;
    }

    std::string key_;
};

// Works in a fresh folder of its own as the current folder, so files named
// like hives never meet another test's.
class ScratchCurrentFolder {
public:
    ScratchCurrentFolder() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "corvane-ini-" + std::to_string(GetCurrentProcessId()) + "-" +
                  std::to_string(GetTickCount());
        CreateDirectoryA(folder_.c_str(), nullptr);
        GetCurrentDirectoryA(MAX_PATH, previous_);
        SetCurrentDirectoryA(folder_.c_str());
    }
    ~ScratchCurrentFolder() {
        SetCurrentDirectoryA(previous_);
        for (const char* name : {"HKXX", "settings.ini"}) DeleteFileA((folder_ + "\\" + name).c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
    char previous_[MAX_PATH] = {};
};

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST_F(RegistryExTest, HiveNamesIgnoreCaseAndUnknownNamesGiveNoHive) {
    EXPECT_EQ(HiveFromName("hkcu"), HKEY_CURRENT_USER);
    EXPECT_EQ(HiveFromName("HkLm"), HKEY_LOCAL_MACHINE);
    EXPECT_EQ(HiveFromName("hkcr"), HKEY_CLASSES_ROOT);
    EXPECT_EQ(HiveFromName("HKU"), HKEY_USERS);
    EXPECT_EQ(HiveFromName("hkcc"), HKEY_CURRENT_CONFIG);
    EXPECT_EQ(HiveFromName("HKDD"), HKEY_DYN_DATA);
    EXPECT_EQ(HiveFromName(""), nullptr);
    EXPECT_EQ(HiveFromName("HKEY_CURRENT_USER"), nullptr);

    ASSERT_EQ(WriteValue("hkcu", key_, "Flag", 's', "Y"), kStatusOk);
    std::string value;
    EXPECT_EQ(ReadValue("HKCU", key_, "Flag", 'S', "", value), kStatusOk);
    EXPECT_EQ(value, "Y");
}

TEST_F(RegistryExTest, UnknownHiveIsAnIniFileOnlyWhenSuchAFileExists) {
    ScratchCurrentFolder scratch;
    std::string value = "stale";
    EXPECT_EQ(ReadValue("HKXX", "Main", "Entry", 'S', "dflt", value), kStatusBadHive);
    EXPECT_EQ(value, "dflt");
    EXPECT_EQ(WriteValue("HKXX", "Main", "Entry", 'S', "x"), kStatusBadHive);

    std::ofstream(scratch.Folder() + "\\HKXX") << "[Main]\r\nEntry=from the file\r\n";
    EXPECT_EQ(HiveFromName("HKXX"), kIniFileHive);
    EXPECT_EQ(ReadValue("HKXX", "Main", "Entry", 'S', "dflt", value), kStatusOk);
    EXPECT_EQ(value, "from the file");
    EXPECT_EQ(ReadValue("HKXX", "Main", "Absent", 'S', "dflt", value), kStatusOk);
    EXPECT_EQ(value, "dflt");
    EXPECT_EQ(ReadValue("HKXX", "Main", "Entry", 'D', "7", value), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(value, "7");

    // A bare name means the file in the current folder, not one in the Windows folder.
    EXPECT_EQ(WriteValue("HKXX", "Main", "Added", 'S', "written"), kStatusOk);
    EXPECT_NE(FileText(scratch.Folder() + "\\HKXX").find("Added=written"), std::string::npos);
    EXPECT_EQ(ReadText("HKXX", "Main", "Added"), "written");
}

TEST_F(RegistryExTest, LongIniEntriesAreReadWhole) {
    ScratchCurrentFolder scratch;
    std::string path = scratch.Folder() + "\\settings.ini";
    std::string longText(1000, 'q');
    std::ofstream(path) << "[S]\r\nLong=" << longText << "\r\n";
    EXPECT_EQ(ReadText(path, "S", "Long"), longText);
}

TEST_F(RegistryExTest, MissingValuesAndKeysGiveTheSystemCodeAndTheDefault) {
    std::string value = "stale";
    EXPECT_EQ(ReadValue("HKCU", key_, "Absent", 'S', "", value), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(value, "");
    ASSERT_EQ(WriteValue("HKCU", key_, "Present", 'S', "here"), kStatusOk);
    EXPECT_EQ(ReadValue("HKCU", key_, "Absent", 'S', "fallback", value), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(value, "fallback");
    EXPECT_EQ(ReadValue("HKCU", key_, "Absent", 'D', "5", value), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(value, "5");
    EXPECT_EQ(ReadText("HKCU", key_, "Absent", "d"), "d");
}

TEST_F(RegistryExTest, TextValuesRoundTripWithoutTheirNul) {
    ASSERT_EQ(WriteValue("HKCU", key_, "One", 'S', "Y"), kStatusOk);
    ASSERT_EQ(WriteValue("HKCU", key_, "Empty", 'S', ""), kStatusOk);
    std::string longText(5000, 'x');
    ASSERT_EQ(WriteValue("HKCU", key_, "Long", 'S', longText), kStatusOk);

    Raw raw = RawValue("One");
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw.bytes, (std::vector<BYTE>{'Y', 0}));

    std::string value = "stale";
    EXPECT_EQ(ReadValue("HKCU", key_, "One", 'S', "", value), kStatusOk);
    EXPECT_EQ(value, "Y");
    EXPECT_EQ(ReadValue("HKCU", key_, "Empty", 'S', "d", value), kStatusOk);
    EXPECT_EQ(value, "");
    EXPECT_EQ(ReadText("HKCU", key_, "Long"), longText);

    // Another program may store text without a terminating NUL; no character is lost.
    SetRaw("Bare", REG_SZ, "abc", 3);
    EXPECT_EQ(ReadText("HKCU", key_, "Bare"), "abc");
}

TEST_F(RegistryExTest, BooleansAreTwoBytesOfMinusOneOrZero) {
    ASSERT_EQ(WriteValue("HKCU", key_, "On", 'B', "True"), kStatusOk);
    ASSERT_EQ(WriteValue("HKCU", key_, "Off", 'b', "0"), kStatusOk);
    ASSERT_EQ(WriteValue("HKCU", key_, "Minus", 'B', "-1"), kStatusOk);
    Raw on = RawValue("On");
    EXPECT_EQ(on.type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(on.bytes, (std::vector<BYTE>{0xFF, 0xFF}));
    EXPECT_EQ(RawValue("Off").bytes, (std::vector<BYTE>{0, 0}));

    std::string value;
    EXPECT_EQ(ReadValue("HKCU", key_, "On", 'B', "", value), kStatusOk);
    EXPECT_EQ(value, "True");
    EXPECT_EQ(ReadValue("HKCU", key_, "Off", 'B', "", value), kStatusOk);
    EXPECT_EQ(value, "False");
    EXPECT_EQ(ReadValue("HKCU", key_, "Minus", 'B', "", value), kStatusOk);
    EXPECT_EQ(value, "True");

    // Text that is no boolean is refused and the stored value stays.
    EXPECT_EQ(WriteValue("HKCU", key_, "On", 'B', "perhaps"), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RawValue("On").bytes, (std::vector<BYTE>{0xFF, 0xFF}));
}

TEST_F(RegistryExTest, DwordsAreWrittenFromSixteenBitsSignExtended) {
    ASSERT_EQ(WriteValue("HKCU", key_, "Minus", 'D', "-1"), kStatusOk);
    ASSERT_EQ(WriteValue("HKCU", key_, "Low", 'd', "-32768"), kStatusOk);
    ASSERT_EQ(WriteValue("HKCU", key_, "High", 'D', "32767"), kStatusOk);
    Raw minus = RawValue("Minus");
    EXPECT_EQ(minus.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(minus.bytes, (std::vector<BYTE>{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(RawValue("Low").bytes, (std::vector<BYTE>{0x00, 0x80, 0xFF, 0xFF}));

    std::string value;
    EXPECT_EQ(ReadValue("HKCU", key_, "Minus", 'D', "", value), kStatusOk);
    EXPECT_EQ(value, "-1");
    EXPECT_EQ(ReadValue("HKCU", key_, "High", 'D', "", value), kStatusOk);
    EXPECT_EQ(value, "32767");

    // Values beyond 16 bits would be cut to a different number: refused, nothing written.
    EXPECT_EQ(WriteValue("HKCU", key_, "High", 'D', "40000"), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(WriteValue("HKCU", key_, "High", 'D', "12abc"), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(ReadValue("HKCU", key_, "High", 'D', "", value), kStatusOk);
    EXPECT_EQ(value, "32767");

    // A full 32-bit value written by someone else reads back whole.
    int32_t big = 0x7FFFFFFF;
    SetRaw("Big", REG_DWORD, &big, sizeof big);
    EXPECT_EQ(ReadValue("HKCU", key_, "Big", 'D', "", value), kStatusOk);
    EXPECT_EQ(value, "2147483647");
}

TEST_F(RegistryExTest, UnknownTypeLettersTouchNothing) {
    EXPECT_EQ(WriteValue("HKCU", key_, "X", 'X', "1"), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(KeyExists(key_));
    ASSERT_EQ(WriteValue("HKCU", key_, "X", 'S', "text"), kStatusOk);
    std::string value;
    EXPECT_EQ(ReadValue("HKCU", key_, "X", 'Q', "d", value), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(value, "d");
}

TEST_F(RegistryExTest, ListSubKeysAppendsNamesEachWithNulThenOneMore) {
    std::string list = "before";
    EXPECT_EQ(ListSubKeys("HKCU", key_, list), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(list, "before");

    ASSERT_EQ(WriteValue("HKCU", key_, "Value", 'S', "not a key"), kStatusOk);
    list.clear();
    EXPECT_EQ(ListSubKeys("HKCU", key_, list), kStatusOk);
    EXPECT_EQ(list, std::string("\0", 1));

    ASSERT_EQ(WriteValue("HKCU", key_ + "\\Beta", "v", 'S', "1"), kStatusOk);
    ASSERT_EQ(WriteValue("HKCU", key_ + "\\A much longer sub-key name", "v", 'S', "1"), kStatusOk);
    ASSERT_EQ(WriteValue("HKCU", key_ + "\\Beta\\Nested", "v", 'S', "1"), kStatusOk);
    list = "x";
    EXPECT_EQ(ListSubKeys("hkcu", key_, list), kStatusOk);
    EXPECT_EQ(list, std::string("xA much longer sub-key name\0Beta\0\0", 34));
}

// On 64-bit Windows a key under HKLM\SOFTWARE that only the other kind of
// program's view holds (Outlook Express's, for our 32-bit program) is still read.
TEST(RegistryExViews, HklmKeyMissingFromTheProgramsViewIsReadFromTheOther) {
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    REGSAM other = sizeof(void*) == 8 ? KEY_WOW64_32KEY : wow64 ? KEY_WOW64_64KEY : 0;
    if (other == 0) GTEST_SKIP() << "32-bit Windows has one registry view";

    const std::string name = "CorvaneViewTest" + std::to_string(GetTickCount());
    const std::string key = "SOFTWARE\\" + name;
    HKEY made = nullptr, sub = nullptr;
    ASSERT_EQ(
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE | other, nullptr, &made, nullptr),
        ERROR_SUCCESS);
    RegSetValueExA(made, "DLLPath", 0, REG_SZ, reinterpret_cast<const BYTE*>("msoe.dll"), 9);
    RegCreateKeyExA(made, "Mail", 0, nullptr, 0, KEY_WRITE, nullptr, &sub, nullptr);
    RegCloseKey(sub);
    RegCloseKey(made);
    HKEY probe = nullptr;
    bool inOwnView = RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &probe) == ERROR_SUCCESS;
    if (probe) RegCloseKey(probe);

    std::string list;
    EXPECT_EQ(corvane::RegistryEx::ReadText("HKLM", key, "DLLPath"), "msoe.dll");
    EXPECT_EQ(corvane::RegistryEx::ListSubKeys("HKLM", key, list), 0);
    EXPECT_EQ(list, std::string("Mail\0\0", 6));

    HKEY software = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_ALL_ACCESS | other, &software) == ERROR_SUCCESS) {
        SHDeleteKeyA(software, name.c_str());
        RegCloseKey(software);
    }
    EXPECT_FALSE(inOwnView) << "the two views are one here: nothing was shown";
}

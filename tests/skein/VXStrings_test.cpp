// The real skein.dll, loaded by its full path through VXStrings.
#include "corvane/environment/VXStrings.h"

#include "corvane/environment/SysFcns.h"
#include "corvane/environment/portable/ListFcns.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

using namespace corvane;
using namespace std::string_literals;
namespace vx = corvane::VXStrings;

namespace {

// Restores the default library after each test, whatever it pointed at.
class SkeinDll : public ::testing::Test {
protected:
    void SetUp() override { vx::SetLibraryPathForTesting(""); }
    void TearDown() override { vx::SetLibraryPathForTesting(""); }
};

std::string ScratchFolder(const char* name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

}  // namespace

TEST_F(SkeinDll, LoadsFromTheProgramFolderWithVersionInformation) {
    EXPECT_EQ(vx::LibraryPath(), AppFolder() + "\\skein.dll");
    EXPECT_EQ(vx::BindAll(), SkeinStatus::Ok);
    EXPECT_EQ(VersionTextOfFile(vx::LibraryPath()), "1.0 rev 1");
    EXPECT_EQ(ProductNameOfFile(vx::LibraryPath()), "Corvane");
}

// Basic declares each function by its plain name and calls it __stdcall: the
// exports carry no "@n" decoration (which a 32-bit __stdcall build adds).
TEST_F(SkeinDll, ExportsArePlainNamesOnly) {
    HMODULE library = LoadLibraryA(vx::LibraryPath().c_str());
    ASSERT_NE(library, nullptr);
    for (const char* name : {"DS_GetField", "DS_CountFields", "US_Trim", "SS_StoreAll", "SS_FetchItem"})
        EXPECT_NE(GetProcAddress(library, name), nullptr) << name;
    for (const char* name : {"DS_GetField@12", "DS_CountFields@8", "_DS_GetField@12"})
        EXPECT_EQ(GetProcAddress(library, name), nullptr) << name;
    FreeLibrary(library);
}

TEST_F(SkeinDll, FieldFunctions) {
    EXPECT_EQ(vx::DS_GetField("a,b,c", ",", 2).value(), "b");
    EXPECT_EQ(vx::DS_PutField("a,b", ",", 4, "x").value(), "a,b,,x");
    EXPECT_EQ(vx::DS_RemoveField(",,b", ",", 2).value(), "b");
    EXPECT_EQ(vx::DS_FindField("Inbox,Outbox", ",", 1, "outbox", 5).value(), 2);
    EXPECT_EQ(vx::DS_TellField("ab,cd", ",", 3).value(), -1);
    EXPECT_EQ(vx::DS_CountFields("a,b,", ",").value(), 3);
    EXPECT_EQ(vx::DS_CountDlms("aaa", "aa").value(), 1);
    EXPECT_EQ(vx::DS_ReplaceDlms("a,b,c", ",", "; ").value(), "a; b; c");
    EXPECT_EQ(vx::DS_FindDlm("a,b,c", ",", 2).value(), 4);
}

TEST_F(SkeinDll, InsertWritesTheChosenFieldBack) {
    int32_t field = -1;
    EXPECT_EQ(vx::DS_InsertField("b,d", ",", field, "c").value(), "b,c,d");
    EXPECT_EQ(field, 2);
    field = -1;
    EXPECT_EQ(vx::DS_InsertField("b,d", ",", field, "d").value(), "");
    EXPECT_EQ(field, -2);
    field = 3;
    EXPECT_EQ(vx::DS_InsertField("b,d", ",", field, "e").value(), "b,d,e");
    EXPECT_EQ(field, 3);  // a positive number is left alone
}

TEST_F(SkeinDll, CountedStringsCarryNulBytesAndLongResults) {
    std::string identities = "Main\0Work\0Home"s;
    EXPECT_EQ(vx::DS_GetField(identities, "\0"s, 2).value(), "Work");
    EXPECT_EQ(vx::DS_CountFields(identities, "\0"s).value(), 3);
    EXPECT_EQ(vx::US_Reverse("a\0b"s).value(), "b\0a"s);
    std::string big(70000, 'f');
    auto put = vx::DS_PutField("x", "\x02", 3, big);
    ASSERT_TRUE(put.ok());
    EXPECT_EQ(put.value().size(), 3u + 70000u);
    EXPECT_EQ(vx::DS_GetField(put.value(), "\x02", 3).value(), big);
}

TEST_F(SkeinDll, EmptyResultIsTheNullHandle) {
    HMODULE module = LoadLibraryExA(vx::LibraryPath().c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    ASSERT_NE(module, nullptr);
    using GetField = BSTR(__stdcall*)(BSTR*, BSTR*, int32_t*);
    auto get = reinterpret_cast<GetField>(reinterpret_cast<void*>(GetProcAddress(module, "DS_GetField")));
    ASSERT_NE(get, nullptr);
    SkeinString text("a,,c"), delim(",");
    int32_t two = 2, one = 1;
    EXPECT_EQ(get(text.handle(), delim.handle(), &two), nullptr);
    SkeinString first = SkeinString::Adopt(get(text.handle(), delim.handle(), &one));
    EXPECT_EQ(SysStringByteLen(first.get()), 1u);
    FreeLibrary(module);
}

TEST_F(SkeinDll, StringUtilities) {
    EXPECT_EQ(vx::US_Trim("  a  b ").value(), "a b");
    EXPECT_EQ(vx::US_Proper("ANNA-MARIA smith").value(), "Anna-maria Smith");
    EXPECT_EQ(vx::US_CJustify("ab", 5, "-").value(), "-ab--");
    EXPECT_EQ(vx::US_RJustify("12345", -3, "").value(), "345");
    EXPECT_EQ(vx::US_LJustify("12345", 3, "").value(), "123");
    EXPECT_EQ(vx::US_StripOut("a-b", "-").value(), "ab");
    EXPECT_EQ(vx::US_LeaveOnly("a1b2", "12").value(), "12");
    EXPECT_EQ(vx::US_Translate("abc", "abc", "xy").value(), "");
    EXPECT_EQ(vx::US_Translate("abc", "ab", "xy").value(), "xyc");
}

TEST_F(SkeinDll, StructuredStrings) {
    const char* layout = "R2A3%,A5$";
    EXPECT_EQ(vx::SS_ItemCount(layout).value(), 11);
    EXPECT_EQ(vx::SS_PieceCount(layout).value(), 3);
    EXPECT_EQ(vx::SS_PieceItemNo(layout, 3).value(), 7);
    EXPECT_EQ(vx::SS_PieceSize(layout, 3).value(), 5);
    EXPECT_EQ(vx::SS_ItemType(layout, 8).value(), "$");
    EXPECT_EQ(vx::SS_IsIndex("X$", 1).value(), 1);
    EXPECT_EQ(vx::SS_LenType(layout).value(), 32);

    const char* record_layout = "&$";
    int32_t number = -123456;
    std::string bytes(reinterpret_cast<const char*>(&number), 4);
    std::string record = vx::SS_StoreItem("", record_layout, 1, "&", bytes).value();
    record = vx::SS_StoreItem(record, record_layout, 2, "$", "Inbox").value();
    std::string target;
    EXPECT_EQ(vx::SS_FetchItem(record, record_layout, 1, "&", target).value(), 0);
    int32_t back = 0;
    ASSERT_EQ(target.size(), 4u);
    std::memcpy(&back, target.data(), 4);
    EXPECT_EQ(back, -123456);
    EXPECT_EQ(vx::SS_FetchItem(record, record_layout, 2, "$", target).value(), 0);
    EXPECT_EQ(target, "Inbox");
    EXPECT_EQ(vx::SS_FetchItem(record, record_layout, 1, "$", target).value(), -2);
    EXPECT_EQ(vx::SS_FetchItem(record.substr(0, 3), record_layout, 2, "$", target).value(), 502);

    std::string structure;
    EXPECT_EQ(vx::SS_FetchAll(record, record_layout, structure).value(), 0);
    EXPECT_EQ(structure, bytes + "\x05\0\0\0Inbox"s);
    std::string rebuilt = "old";
    EXPECT_EQ(vx::SS_StoreAll(structure, record_layout, rebuilt).value(), 0);
    EXPECT_EQ(rebuilt, record);
    EXPECT_EQ(vx::SS_StoreAll(structure, "", rebuilt).value(), -1);
    EXPECT_EQ(rebuilt, record);  // a failed call leaves the caller's record alone
}

TEST_F(SkeinDll, MissingFileIsReported) {
    vx::SetLibraryPathForTesting(AppFolder() + "\\no-such-skein.dll");
    auto result = vx::DS_GetField("a,b", ",", 1);
    EXPECT_EQ(result.status(), SkeinStatus::FileNotFound);
    EXPECT_EQ(result.value(), "");
    EXPECT_EQ(vx::DS_CountFields("a,b", ",").status(), SkeinStatus::FileNotFound);
}

TEST_F(SkeinDll, FileThatIsNotALibraryFailsToLoad) {
    std::string path = ScratchFolder("skein-notdll") + "\\skein.dll";
    std::ofstream(path, std::ios::binary) << "this is not a library";
    vx::SetLibraryPathForTesting(path);
    EXPECT_EQ(vx::DS_GetField("a,b", ",", 1).status(), SkeinStatus::LoadFailed);
    EXPECT_EQ(vx::BindAll(), SkeinStatus::LoadFailed);
    DeleteFileA(path.c_str());
}

TEST_F(SkeinDll, LibraryWithoutTheEntryIsReported) {
    vx::SetLibraryPathForTesting(AppFolder() + "\\skein_noexports.dll");
    EXPECT_EQ(vx::DS_FindDlm("a,b", ",", 1).status(), SkeinStatus::MissingEntry);
    EXPECT_EQ(vx::US_Trim(" a ").status(), SkeinStatus::MissingEntry);
    vx::SetLibraryPathForTesting("");
    EXPECT_EQ(vx::DS_FindDlm("a,b", ",", 1).value(), 2);  // the real library binds again
}

// A skein.dll planted in the current folder must not be the one loaded.
TEST_F(SkeinDll, PlantedLibraryInTheCurrentFolderIsIgnored) {
    std::string folder = ScratchFolder("skein-planted");
    std::string planted = folder + "\\skein.dll";
    ASSERT_TRUE(CopyFileA((AppFolder() + "\\skein_noexports.dll").c_str(), planted.c_str(), FALSE));
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    auto result = vx::DS_GetField("a,b", ",", 2);
    // With no library at the expected path, the planted one is still not taken.
    vx::SetLibraryPathForTesting(ScratchFolder("skein-empty") + "\\skein.dll");
    SkeinStatus absent = vx::DS_GetField("a,b", ",", 2).status();
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(absent, SkeinStatus::FileNotFound);
    vx::SetLibraryPathForTesting("");
    EXPECT_EQ(result.status(), SkeinStatus::Ok);
    EXPECT_EQ(result.value(), "b");
    ASSERT_EQ(vx::DS_GetField("a,b", ",", 2).value(), "b");
    HMODULE loaded = GetModuleHandleA("skein.dll");
    ASSERT_NE(loaded, nullptr);
    char name[MAX_PATH];
    GetModuleFileNameA(loaded, name, MAX_PATH);
    EXPECT_EQ(_stricmp(name, (AppFolder() + "\\skein.dll").c_str()), 0) << name;
    vx::SetLibraryPathForTesting("");
    DeleteFileA(planted.c_str());
}

// What the lists see when the library cannot be used: nothing, and the
// caller's list is left as it was.
TEST_F(SkeinDll, MissingLibraryReadsAsEmptyAndIsReported) {
    const char p = PrimaryDelimiter();
    SkeinStatus why = SkeinStatus::Ok;
    EXPECT_TRUE(SkeinAvailable(&why));
    EXPECT_EQ(why, SkeinStatus::Ok);
    VXStrings::SetLibraryPathForTesting(AppFolder() + "\\missing\\skein.dll");
    EXPECT_FALSE(SkeinAvailable(&why));
    EXPECT_EQ(why, SkeinStatus::FileNotFound);
    EXPECT_EQ(ListCount("a\x02"
                        "b",
                        p),
              0);
    EXPECT_EQ(ListGet("a\x02"
                      "b",
                      p, 1),
              "");
    EXPECT_EQ(ListPut("a\x02"
                      "b",
                      p, 1, "x"),
              "a\x02"
              "b");  // the caller's list survives
    VXStrings::SetLibraryPathForTesting(AppFolder() + "\\skein_noexports.dll");
    EXPECT_FALSE(SkeinAvailable(&why));
    EXPECT_EQ(why, SkeinStatus::MissingEntry);
}

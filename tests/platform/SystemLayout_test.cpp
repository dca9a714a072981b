// The system structures the programs hand to Windows have the 32-bit layout.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstddef>

#ifdef _WIN64
// The 64-bit build only runs the tests where 32-bit programs cannot run.
#define SKIP_IN_64_BIT_BUILD() GTEST_SKIP() << "the shipped programs are 32-bit"
#else
#define SKIP_IN_64_BIT_BUILD() (void)0
#endif

TEST(SystemLayout, TheProgramsAre32BitX86) {
    SKIP_IN_64_BIT_BUILD();
    EXPECT_EQ(sizeof(void*), 4u);
    EXPECT_EQ(sizeof(HWND), 4u);
}

// The shell's file operation: 30 bytes packed, with the aborted flag at an odd
// offset that the operation reads back.
TEST(SystemLayout, ShellFileOperationIsThirtyPackedBytes) {
    SKIP_IN_64_BIT_BUILD();
    EXPECT_EQ(sizeof(SHFILEOPSTRUCTA), 30u);
    EXPECT_EQ(offsetof(SHFILEOPSTRUCTA, hwnd), 0u);
    EXPECT_EQ(offsetof(SHFILEOPSTRUCTA, wFunc), 4u);
    EXPECT_EQ(offsetof(SHFILEOPSTRUCTA, pFrom), 8u);
    EXPECT_EQ(offsetof(SHFILEOPSTRUCTA, pTo), 12u);
    EXPECT_EQ(offsetof(SHFILEOPSTRUCTA, fFlags), 16u);
    EXPECT_EQ(offsetof(SHFILEOPSTRUCTA, fAnyOperationsAborted), 18u);
    EXPECT_EQ(offsetof(SHFILEOPSTRUCTA, hNameMappings), 22u);
    EXPECT_EQ(offsetof(SHFILEOPSTRUCTA, lpszProgressTitle), 26u);
}

// Windows XP as the prefix is set up: 5.1 Service Pack 3 (XP x64, 5.2, for
// the 64-bit test build), the NT platform.
TEST(SystemLayout, TestsRunOnWindowsXp) {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(info.dwMajorVersion, 5u);
    EXPECT_EQ(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
#ifdef _WIN64
    EXPECT_EQ(info.dwMinorVersion, 2u);
#else
    EXPECT_EQ(info.dwMinorVersion, 1u);
    EXPECT_STREQ(info.szCSDVersion, "Service Pack 3");
#endif
}

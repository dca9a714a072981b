#include "xpcompat/TickCount.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#endif

using corvane::xpcompat::ExtendTickCount;

TEST(TickCount, FollowsTheCounterAndCarriesEachWrap) {
    EXPECT_EQ(ExtendTickCount(0, 5000), 5000u);
    EXPECT_EQ(ExtendTickCount(5000, 5000), 5000u);
    // The 32-bit counter runs over after 49.7 days.
    EXPECT_EQ(ExtendTickCount(0xFFFFFFF0u, 0x10), 0x100000010u);
    EXPECT_EQ(ExtendTickCount(0x1FFFFFFFFu, 0), 0x200000000u);
    // A later reading within one lap keeps the laps counted so far.
    EXPECT_EQ(ExtendTickCount(0x300000010u, 0x20), 0x300000020u);
    EXPECT_EQ(ExtendTickCount(0x300000010u, 0xFFFFFFFFu), 0x3FFFFFFFFu);
}

#ifdef _WIN32
TEST(TickCount, FallbackKeepsPaceWithTheSystemCounter) {
    uint64_t before = corvane::xpcompat::FallbackTickCount64();
    Sleep(50);
    uint64_t after = corvane::xpcompat::FallbackTickCount64();
    EXPECT_GE(after, before + 30);
    EXPECT_LT(after - GetTickCount(), 1000u);  // the same lap as GetTickCount
}

// The threads library times its waits with GetTickCount64, which this build
// answers itself: a timed wait still ends on time.
TEST(TickCount, TimedWaitsOfTheThreadsLibraryEndOnTime) {
    std::mutex mutex;
    std::condition_variable never;
    std::unique_lock<std::mutex> lock(mutex);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(never.wait_for(lock, std::chrono::milliseconds(100)), std::cv_status::timeout);
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(80));
    EXPECT_LT(waited, std::chrono::seconds(5));
}
#endif

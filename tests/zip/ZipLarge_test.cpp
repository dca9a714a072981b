// One real ZIP64 archive: an entry over 4 GiB (a sparse file) followed by a
// small one whose offset lies beyond 4 GiB. Labelled slow.
#include <gtest/gtest.h>

#include "corvane/zip/ZipEngine.h"
#include "tests/zip/ZipTestSupport.h"

namespace corvane::zip {
namespace {
using namespace ziptest;

TEST(ZipLarge, EntryOverFourGigabytes) {
    ScratchFolder dir;
    constexpr uint64_t kSize = (4ull << 30) + 123457;
    fs::create_directories(dir / "src");
    {
        std::ofstream big(dir / "src/a-big.dbx", std::ios::binary);
        big << "start of the store";
    }
    fs::resize_file(dir / "src/a-big.dbx", kSize);  // sparse: no disk space used
    WriteBytes(dir / "src/b-small.txt", MailText(5000, 1));

    auto native = MakeStdFileSystem();
    RecordingEvents events;
    std::atomic<bool> abort{false};
    ZipSettings s;
    s.archivePath = dir / "big.zip";
    s.filesToProcess = dir / "src/*";
    s.level = 1;
    s.threads = 2;
    ASSERT_EQ(Compress(s, *native, events, abort), result::kSuccess);

    std::vector<ListedEntry> listed;
    ASSERT_EQ(List(s, *native, events, &listed), result::kSuccess);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].size, kSize);
    std::vector<std::string> bad;
    EXPECT_EQ(zip::Test(s, *native, events, abort, &bad), result::kSuccess);

    s.filesToProcess = "b-small.txt";
    s.extractionFolder = dir / "out";
    ASSERT_EQ(Extract(s, *native, events, abort), result::kSuccess);
    EXPECT_EQ(ReadBytes(dir / "out/b-small.txt"), ReadBytes(dir / "src/b-small.txt"));

    if (!ToolAvailable("unzip")) GTEST_SKIP() << "unzip not installed: its ZIP64 check skipped";
    EXPECT_TRUE(RunQuietly("unzip -t '" + s.archivePath + "'"));
}

}  // namespace
}  // namespace corvane::zip

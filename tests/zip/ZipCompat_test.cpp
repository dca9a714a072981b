// Compatibility with the usual tools: archives we write pass their tests, and
// archives they write extract right. Each case is skipped where its tool is missing.
#include <gtest/gtest.h>

#include "corvane/zip/ZipEngine.h"
#include "tests/zip/ZipTestSupport.h"

namespace corvane::zip {
namespace {
using namespace ziptest;

class ZipCompat : public ::testing::Test {
protected:
    void SetUp() override {
        WriteBytes(dir / "src/empty.txt", "");
        WriteBytes(dir / "src/with space.eml", MailText(20000, 1));
        WriteBytes(dir / "src/Mail/Inbox.mbx", MailText(2 * 1024 * 1024 + 999, 2));  // three blocks
        WriteBytes(dir / "src/Mail/photo.jpg", RandomBytes(300000, 3));
        fs::create_directories(dir / "src/Empty Folder");
    }
    ZipResult OurZip(const std::string& archive) {
        ZipSettings s;
        s.archivePath = archive;
        s.filesToProcess = dir / "src/*";
        s.includeSubfolders = true;
        s.threads = 2;
        return Compress(s, *native, events, abort);
    }
    ZipResult OurUnzip(const std::string& archive, const std::string& to) {
        ZipSettings s;
        s.archivePath = archive;
        s.filesToProcess = "src\\*";
        s.extractionFolder = to;
        s.overwriteMode = 2;
        return Extract(s, *native, events, abort);
    }
    std::string Quote(const std::string& p) { return "'" + p + "'"; }

    ScratchFolder dir;
    std::unique_ptr<FileSystem> native = MakeStdFileSystem();
    RecordingEvents events;
    std::atomic<bool> abort{false};
};

TEST_F(ZipCompat, OurArchivesPassTheToolsTests) {
    std::string archive = dir / "ours.zip";
    ASSERT_EQ(OurZip(archive), result::kSuccess);
    int checked = 0;
    if (ToolAvailable("unzip")) {
        EXPECT_TRUE(RunQuietly("unzip -t " + Quote(archive)));
        ++checked;
    }
    if (ToolAvailable("7z")) {
        EXPECT_TRUE(RunQuietly("7z t " + Quote(archive)));
        ++checked;
    }
    if (ToolAvailable("python3")) {
        EXPECT_TRUE(RunQuietly("python3 -m zipfile -t " + Quote(archive)));
        ++checked;
    }
    if (ToolAvailable("unzip")) {
        // And what unzip writes out is what went in.
        ASSERT_TRUE(RunQuietly("cd " + Quote(dir.Path()) + " && mkdir u && cd u && unzip -q ../ours.zip"));
        std::string root = fs::path(dir.Path()).relative_path().string();
        EXPECT_EQ(Tree(dir / ("u/" + root + "/src")), Tree(dir / "src"));
    }
    if (checked == 0) GTEST_SKIP() << "none of unzip, 7z, python3 installed";
}

TEST_F(ZipCompat, InfoZipArchivesExtractRight) {
    if (!ToolAvailable("zip")) GTEST_SKIP() << "Info-ZIP zip not installed";
    for (const char* options : {"-q -r", "-q -r -0", "-q -r -fz"}) {  // deflate, stored, forced ZIP64
        SCOPED_TRACE(options);
        fs::remove_all(dir / "out");
        fs::remove(dir / "info.zip");
        ASSERT_TRUE(RunQuietly("cd " + Quote(dir.Path()) + " && zip " + options + " info.zip src"));
        ASSERT_EQ(OurUnzip(dir / "info.zip", dir / "out"), result::kSuccess);
        EXPECT_EQ(Tree(dir / "out/src"), Tree(dir / "src"));
    }
}

TEST_F(ZipCompat, SevenZipArchivesExtractRight) {
    if (!ToolAvailable("7z")) GTEST_SKIP() << "7z (p7zip-full) not installed";
    for (const char* options : {"-mx5 -mmt2", "-mx0"}) {
        SCOPED_TRACE(options);
        fs::remove_all(dir / "out");
        fs::remove(dir / "seven.zip");
        ASSERT_TRUE(RunQuietly("cd " + Quote(dir.Path()) + " && 7z a -tzip " + options + " seven.zip src"));
        ASSERT_EQ(OurUnzip(dir / "seven.zip", dir / "out"), result::kSuccess);
        EXPECT_EQ(Tree(dir / "out/src"), Tree(dir / "src"));
    }
}

}  // namespace
}  // namespace corvane::zip

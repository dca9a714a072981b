// Failures inside the engine: memory running out on the calling thread or on
// a worker thread ends the command with an internal error (never a crash),
// and leaves no temporary file and no damaged target behind.
#include <gtest/gtest.h>

#include <new>

#include "corvane/backup/zip/ZipEngine.h"
#include "tests/zip/ZipTestSupport.h"

namespace corvane::zip {
namespace {
using namespace ziptest;

// Throws std::bad_alloc from the calls it is told to, as a real call does
// when memory runs out inside it.
class ExhaustedFileSystem : public SimulatedFileSystem {
public:
    using SimulatedFileSystem::SimulatedFileSystem;
    std::string failOpenOf;     // OpenRead of this path throws
    bool failCreate = false;    // every Create throws

    std::unique_ptr<ReadFile> OpenRead(const std::string& path, FileError* error) override {
        if (path == failOpenOf) throw std::bad_alloc();
        return SimulatedFileSystem::OpenRead(path, error);
    }
    std::unique_ptr<WriteFile> Create(const std::string& path, FileError* error) override {
        if (failCreate) throw std::bad_alloc();
        return SimulatedFileSystem::Create(path, error);
    }
};

class ZipFailures : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 6; ++i) WriteBytes(dir / ("src/f" + std::to_string(i) + ".txt"), MailText(300000, i));
        settings.archivePath = dir / "archive.zip";
        settings.filesToProcess = dir / "src/*";
        settings.extractionFolder = dir / "out";
        settings.overwriteMode = 2;
    }

    ScratchFolder dir;
    std::unique_ptr<FileSystem> native = MakeStdFileSystem();
    ExhaustedFileSystem exhausted{*native};
    RecordingEvents events;
    std::atomic<bool> abort{false};
    ZipSettings settings;
};

TEST_F(ZipFailures, OutOfMemoryWhileCompressingIsAnInternalError) {
    WriteBytes(settings.archivePath, "the earlier archive");
    exhausted.failOpenOf = dir / "src/f3.txt";
    for (unsigned threads : {1u, 2u}) {
        settings.threads = threads;
        EXPECT_EQ(Compress(settings, exhausted, events, abort), result::kInternal);
        EXPECT_EQ(ReadBytes(settings.archivePath), "the earlier archive");
        EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
    }
}

TEST_F(ZipFailures, OutOfMemoryOnAnExtractionThreadIsAnInternalError) {
    ASSERT_EQ(Compress(settings, *native, events, abort), result::kSuccess);
    WriteBytes(dir / "out/src/f2.txt", "the user's file");
    settings.filesToProcess = "src\\*";
    exhausted.failCreate = true;
    for (unsigned threads : {1u, 2u, 4u}) {
        SCOPED_TRACE(threads);
        settings.threads = threads;
        EXPECT_EQ(Extract(settings, exhausted, events, abort), result::kInternal);
        EXPECT_EQ(ReadBytes(dir / "out/src/f2.txt"), "the user's file");
        EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
    }

    // A Rename handler that runs out of memory ends the command the same way.
    events.onRename = [](const std::string&, std::string&) { throw std::bad_alloc(); };
    settings.threads = 2;
    EXPECT_EQ(Extract(settings, *native, events, abort), result::kInternal);
    EXPECT_EQ(ReadBytes(dir / "out/src/f2.txt"), "the user's file");
}

}  // namespace
}  // namespace corvane::zip

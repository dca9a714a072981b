// Failures inside the engine: memory running out on the calling thread or on
// a worker thread ends the command with an internal error (never a crash),
// and leaves no temporary file and no damaged target behind; temporary files
// never take the place of a file that another program made.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <new>

#include "corvane/zip/ZipEngine.h"
#include "tests/zip/ZipTestSupport.h"

namespace corvane::zip {
namespace {
using namespace ziptest;

// Throws std::bad_alloc from the calls it is told to, as a real call does
// when memory runs out inside it.
class ExhaustedFileSystem : public SimulatedFileSystem {
public:
    using SimulatedFileSystem::SimulatedFileSystem;
    std::string failOpenOf;   // OpenRead of this path throws
    bool failCreate = false;  // every CreateNew throws

    std::unique_ptr<ReadFile> OpenRead(const std::string& path, FileError* error) override {
        if (path == failOpenOf) throw std::bad_alloc();
        return SimulatedFileSystem::OpenRead(path, error);
    }
    std::unique_ptr<WriteFile> CreateNew(const std::string& path, FileError* error) override {
        if (failCreate) throw std::bad_alloc();
        return SimulatedFileSystem::CreateNew(path, error);
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

// Never sees temporary names: as if another program created each one just
// after the engine looked.
class BlindFileSystem : public SimulatedFileSystem {
public:
    using SimulatedFileSystem::SimulatedFileSystem;
    bool Stat(const std::string& path, FileInfo* info) override {
        if (path.ends_with(".tmp")) return false;
        return SimulatedFileSystem::Stat(path, info);
    }
};

TEST_F(ZipFailures, TemporaryNameTakenMeanwhileIsLeftAlone) {
    BlindFileSystem blind(*native);
    settings.filesToProcess = dir / "src/f1.txt";
    WriteBytes(settings.archivePath + ".~0.tmp", "another program's file");
    ASSERT_EQ(Compress(settings, blind, events, abort), result::kSuccess);
    EXPECT_EQ(ReadBytes(settings.archivePath + ".~0.tmp"), "another program's file");

    settings.filesToProcess = "f1.txt";
    WriteBytes(dir / "out/f1.txt.~0.tmp", "another program's file");
    ASSERT_EQ(Extract(settings, blind, events, abort), result::kSuccess);
    EXPECT_EQ(ReadBytes(dir / "out/f1.txt.~0.tmp"), "another program's file");
    EXPECT_EQ(ReadBytes(dir / "out/f1.txt"), ReadBytes(dir / "src/f1.txt"));
}

// Records, in order, which files were flushed to the disk and which renamed.
class JournalFileSystem : public SimulatedFileSystem {
public:
    using SimulatedFileSystem::SimulatedFileSystem;
    std::vector<std::string> journal;

    // Extraction threads write at the same time.
    void Log(const std::string& line, bool unlessLast = false) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!unlessLast || journal.empty() || journal.back() != line) journal.push_back(line);
    }

    std::unique_ptr<WriteFile> CreateNew(const std::string& path, FileError* error) override {
        std::unique_ptr<WriteFile> file = SimulatedFileSystem::CreateNew(path, error);
        if (!file) return file;
        return std::make_unique<Journaled>(std::move(file), path, *this);
    }
    bool Rename(const std::string& from, const std::string& to) override {
        Log("rename " + from);
        return SimulatedFileSystem::Rename(from, to);
    }
    // Every rename preceded by a flush of the same file since it was last written.
    bool FlushedBeforeEachRename() const {
        for (size_t i = 0; i < journal.size(); ++i) {
            if (!journal[i].starts_with("rename ")) continue;
            std::string flush = "flush " + journal[i].substr(7);
            bool flushed = false;
            for (size_t j = i; j-- > 0 && journal[j] != "write " + journal[i].substr(7);)
                flushed = flushed || journal[j] == flush;
            if (!flushed) return false;
        }
        return true;
    }

private:
    class Journaled : public WriteFile {
    public:
        Journaled(std::unique_ptr<WriteFile> f, std::string path, JournalFileSystem& owner)
            : f_(std::move(f)), path_(std::move(path)), owner_(owner) {}
        FileError Write(const void* d, size_t n) override {
            owner_.Log("write " + path_, true);
            return f_->Write(d, n);
        }
        FileError WriteAt(uint64_t o, const void* d, size_t n) override {
            owner_.Log("write " + path_);
            return f_->WriteAt(o, d, n);
        }
        bool Truncate(uint64_t size) override { return f_->Truncate(size); }
        FileError Flush() override {
            owner_.Log("flush " + path_);
            return f_->Flush();
        }
        FileError Close() override { return f_->Close(); }

    private:
        std::unique_ptr<WriteFile> f_;
        std::string path_;
        JournalFileSystem& owner_;
    };
    std::mutex mutex_;
};

TEST_F(ZipFailures, DataReachesTheDiskBeforeItTakesTheFinalName) {
    JournalFileSystem journaled(*native);
    ASSERT_EQ(Compress(settings, journaled, events, abort), result::kSuccess);
    settings.filesToProcess = "src\\*";
    settings.threads = 2;
    ASSERT_EQ(Extract(settings, journaled, events, abort), result::kSuccess);
    EXPECT_EQ(std::count_if(journaled.journal.begin(), journaled.journal.end(),
                            [](const std::string& line) { return line.starts_with("rename "); }),
              7);
    EXPECT_TRUE(journaled.FlushedBeforeEachRename());
}

// The one reading of results that every caller shares: a compress result is
// a complete archive for 0, 10 and 30 only; an extraction is done for the
// results that leave entries as they were (10 to 50 in tens) and no others near them.
TEST(ZipResults, CompleteArchiveAndDoneExtraction) {
    for (ZipResult r : {0, 10, 30}) EXPECT_TRUE(IsCompleteArchive(r)) << r;
    for (ZipResult r : {5, 20, 40, 140, 150, 190, 350}) EXPECT_FALSE(IsCompleteArchive(r)) << r;
    for (ZipResult r : {0, 10, 20, 30, 40, 50}) EXPECT_TRUE(IsExtractSuccess(r)) << r;
    for (ZipResult r : {5, 51, 60, 190, 430, 470, 510}) EXPECT_FALSE(IsExtractSuccess(r)) << r;
}

}  // namespace
}  // namespace corvane::zip

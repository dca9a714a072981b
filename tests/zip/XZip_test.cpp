// The zip component under Wine: events on the calling thread, abort from a handler, skipped files held by another program, full
// volumes, cancelled disk prompts and the writable rename.
#include "corvane/zip/XZip.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "corvane/zip/Win32FileSystem.h"
#include "tests/zip/ZipTestSupport.h"

namespace corvane::zip {
namespace {
using namespace ziptest;

FileSystem& Win32() {
    static std::unique_ptr<FileSystem> fs = MakeWin32FileSystem();
    return *fs;
}

class XZipTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 6; ++i) WriteBytes(dir / ("src/f" + std::to_string(i) + ".txt"), MailText(40000 + i, i));
        zip.ArchivePath = dir / "out.zip";
        zip.FilesToProcess = dir / "src\\*";
        zip.IncludeSubfolders = true;
    }
    std::vector<ListedEntry> Listed() {
        ZipSettings s;
        s.archivePath = zip.ArchivePath;
        ZipEvents none;
        std::vector<ListedEntry> out;
        List(s, Win32(), none, &out);
        return out;
    }
    std::shared_ptr<SimulatedFileSystem> Volumes(uint64_t capacity) {
        auto sim = std::make_shared<SimulatedFileSystem>(Win32());
        fs::create_directories(dir / "drive");
        sim->capacity[fs::path(dir / "drive").lexically_normal().string()] = capacity;
        return sim;
    }

    ScratchFolder dir;
    XZip zip;
};

TEST_F(XZipTest, EventsArriveOnTheCallingThread) {
    DWORD self = GetCurrentThreadId();
    std::vector<DWORD> threads;
    zip.Adding = [&](const EntryProgress&) { threads.push_back(GetCurrentThreadId()); };
    EXPECT_EQ(zip.Compress(0), result::kSuccess);
    ASSERT_EQ(threads.size(), 6u);
    for (DWORD t : threads) EXPECT_EQ(t, self);
}

TEST_F(XZipTest, AbortFromAHandlerEndsPromptlyAndLeavesNoArchive) {
    int added = 0;
    zip.Adding = [&](const EntryProgress&) {
        ++added;
        zip.SetAbort(true);
    };
    EXPECT_EQ(zip.Compress(0), result::kStopped);
    EXPECT_EQ(added, 1);
    EXPECT_FALSE(fs::exists(zip.ArchivePath));
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
    zip.Adding = nullptr;
    EXPECT_EQ(zip.Compress(0), result::kSuccess);  // the next command starts without the old abort
}

TEST_F(XZipTest, FileHeldByAnotherProgramIsSkipped) {
    std::string held = dir / "src\\f2.txt";
    HANDLE h = CreateFileA(held.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    std::vector<std::string> skipped;
    zip.SkippingFile = [&](const std::string& name, const std::string& reason) {
        skipped.push_back(name + " / " + reason);
    };
    EXPECT_EQ(zip.Compress(0), result::kSkippedInUse);
    ASSERT_EQ(skipped.size(), 1u);
    EXPECT_NE(skipped[0].find("f2.txt"), std::string::npos);
    EXPECT_NE(skipped[0].find("in use"), std::string::npos);
    EXPECT_EQ(Listed().size(), 5u);

    // The backup's handler stops the run at the first skip.
    zip.SkippingFile = [&](const std::string&, const std::string&) { zip.SetAbort(true); };
    EXPECT_EQ(zip.Compress(0), result::kStopped);
    CloseHandle(h);
}

TEST_F(XZipTest, FullVolumeAndCancelledDiskPrompt) {
    zip.ArchivePath = dir / "drive\\set.zip";
    zip.SetFileSystem(Volumes(30000));
    EXPECT_EQ(zip.Compress(0), result::kDiskFull);
    EXPECT_FALSE(fs::exists(zip.ArchivePath));

    zip.SpanDisks = true;
    zip.OverwriteDiskette = true;
    std::vector<int> disks;
    zip.Newdisk = [&](int n) {
        disks.push_back(n);
        zip.SetAbort(true);  // the user pressed Cancel
    };
    EXPECT_EQ(zip.Compress(0), result::kStopped);
    EXPECT_EQ(disks, std::vector<int>{2});
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
}

TEST_F(XZipTest, ExtractionWithWritableRename) {
    ASSERT_EQ(zip.Compress(0), result::kSuccess);
    zip.FilesToProcess = "f1.txt\rf3.txt";
    zip.ExtractionFolder = dir / "mail";
    zip.OverwriteMode = 2;
    std::vector<std::string> names;
    zip.Rename = [&](const std::string& orig, std::string& newName) {
        names.push_back(orig);
        if (orig == "f1.txt") newName = "Renamed.txt";
    };
    EXPECT_EQ(zip.Extract(0), result::kSuccess);
    EXPECT_EQ(names, (std::vector<std::string>{"f1.txt", "f3.txt"}));
    EXPECT_EQ(ReadBytes(dir / "mail\\Renamed.txt"), ReadBytes(dir / "src\\f1.txt"));
    EXPECT_EQ(ReadBytes(dir / "mail\\f3.txt"), ReadBytes(dir / "src\\f3.txt"));
}

TEST_F(XZipTest, RoundTripOfAnsiNamesEmptyFilesAndFolders) {
    WriteBytes(dir / "src\\caf\xe9 r\xe9sum\xe9.txt", MailText(3 * 1024 * 1024, 9));
    WriteBytes(dir / "src\\sub folder\\empty.dbx", "");
    fs::create_directories(dir / "src\\empty folder");
    ASSERT_EQ(zip.Compress(0), result::kSuccess);
    zip.FilesToProcess = "src\\*";
    zip.ExtractionFolder = dir / "back";
    ASSERT_EQ(zip.Extract(0), result::kSuccess);
    EXPECT_EQ(Tree(dir / "back\\src"), Tree(dir / "src"));
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
}

// Creates nothing: every CreateNew runs out of memory.
class ExhaustedFileSystem : public SimulatedFileSystem {
public:
    using SimulatedFileSystem::SimulatedFileSystem;
    std::unique_ptr<WriteFile> CreateNew(const std::string&, FileError*) override { throw std::bad_alloc(); }
};

TEST_F(XZipTest, ExceptionsEndTheCommandWithAnInternalError) {
    zip.SetFileSystem(std::make_shared<ExhaustedFileSystem>(Win32()));
    EXPECT_EQ(zip.Compress(0), result::kInternal);
    EXPECT_FALSE(fs::exists(zip.ArchivePath));

    zip.SetFileSystem(MakeWin32FileSystem());
    zip.Adding = [](const EntryProgress&) { throw std::runtime_error("a handler's own failure"); };
    EXPECT_EQ(zip.Compress(0), result::kInternal);
    EXPECT_FALSE(fs::exists(zip.ArchivePath));
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
    zip.Adding = nullptr;
    EXPECT_EQ(zip.Compress(0), result::kSuccess);
}

TEST(Win32FileSystemTest, TargetThatCannotBeReplacedStaysAsItWas) {
    ScratchFolder dir;
    std::string target = dir / "Inbox.dbx", temp = dir / "Inbox.dbx.~0.tmp";
    WriteBytes(target, "the current mail");
    WriteBytes(temp, "restored mail");
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    // Another program holds the target open and lets nobody delete it.
    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(Win32().Rename(temp, target));
    CloseHandle(held);
    EXPECT_EQ(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY, DWORD(FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(ReadBytes(target), "the current mail");

    // A new file is never made over an existing one.
    FileError error = FileError::kNone;
    EXPECT_EQ(Win32().CreateNew(temp, &error), nullptr);
    EXPECT_EQ(error, FileError::kExists);
    EXPECT_EQ(ReadBytes(temp), "restored mail");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(XZipTest, OutputThatCannotBeCreatedAndNestedCalls) {
    zip.ArchivePath = dir / "missing folder\\out.zip";
    EXPECT_EQ(zip.Compress(0), result::kCannotCreate);
    zip.ArchivePath = dir / "out.zip";
    uint16_t nested = 0;
    zip.Adding = [&](const EntryProgress&) {
        if (!nested) nested = zip.Compress(0);
    };
    EXPECT_EQ(zip.Compress(0), result::kSuccess);
    EXPECT_EQ(nested, result::kBusy);
    zip.ArchivePath = dir / "nothing.zip";
    zip.ExtractionFolder = dir.Path();
    EXPECT_EQ(zip.Extract(0), result::kArchiveMissing);
}

}  // namespace
}  // namespace corvane::zip

// The archive read back while it is written: bytes that change on the disk
// after they were written, in an entry's header or data, in the directory or
// in a volume of a spanned set, fail the command before the archive takes
// its name (or the next diskette is asked for).
#include <gtest/gtest.h>

#include "corvane/zip/ZipEngine.h"
#include "corvane/zip/ZipNames.h"
#include "tests/zip/ZipTestSupport.h"

namespace corvane::zip {
namespace {
using namespace ziptest;

class ZipWriteCheck : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 4; ++i) WriteBytes(dir / ("src/f" + std::to_string(i) + ".txt"), MailText(1500000, i));
        settings.archivePath = dir / "out/archive.zip";
        settings.filesToProcess = dir / "src/*";
        settings.threads = 2;
        settings.checkWritten = true;
        fs::create_directories(dir / "out");
    }
    ScratchFolder dir;
    std::unique_ptr<FileSystem> native = MakeStdFileSystem();
    DamagingFileSystem damaging{*native};
    RecordingEvents events;
    std::atomic<bool> abort{false};
    ZipSettings settings;
};

TEST_F(ZipWriteCheck, BytesChangedOnTheDiskAfterTheyWereWrittenFailTheCommand) {
    // Where each part of the archive lies, from an undamaged one.
    ASSERT_EQ(Compress(settings, damaging, events, abort), result::kSuccess);
    const std::string bytes = ReadBytes(settings.archivePath);
    const std::string name = EntryNameFromPath(dir / "src/f2.txt");
    const size_t header = bytes.find(name) - 30;
    const size_t data = header + 30 + name.size() + (static_cast<unsigned char>(bytes[header + 28]) |
                                                     static_cast<unsigned char>(bytes[header + 29]) << 8);
    const size_t central = bytes.rfind(name) - 46;
    ASSERT_LT(data, central);
    WriteBytes(settings.archivePath, "the earlier archive");

    struct Case {
        const char* where;
        uint64_t offset;
        ZipResult expected;
    };
    for (const Case& c : {Case{"local header", header + 30, result::kCorruptEntry},
                          Case{"entry data", data + 200000, result::kCorruptEntry},
                          Case{"central record", central + 16, result::kCorruptDirectory},
                          Case{"end record", bytes.size() - 12, result::kCorruptDirectory}}) {
        SCOPED_TRACE(c.where);
        damaging.damageAt = c.offset;
        damaging.damaged = 0;
        EXPECT_EQ(Compress(settings, damaging, events, abort), c.expected);
        EXPECT_EQ(damaging.damaged, 1);
        EXPECT_TRUE(ReadBytes(settings.archivePath) == "the earlier archive");
        EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
    }
}

// A volume of a spanned set is read back before the next diskette is asked for.
TEST_F(ZipWriteCheck, DamagedVolumeFailsBeforeTheNextDiskIsAskedFor) {
    fs::create_directories(dir / "drive");
    damaging.capacity[fs::path(dir / "drive").lexically_normal().string()] = 60000;
    settings.archivePath = dir / "drive/set.zip";
    settings.filesToProcess = dir / "src/f0.txt";
    settings.spanDisks = true;
    settings.overwriteDiskette = true;
    damaging.damageAt = 30000;
    events.onNewdisk = [](int) { return true; };
    EXPECT_EQ(Compress(settings, damaging, events, abort), result::kCorruptEntry);
    EXPECT_EQ(damaging.damaged, 1);
    EXPECT_TRUE(events.disks.empty());
    EXPECT_TRUE(fs::is_empty(dir / "drive"));
}

}  // namespace
}  // namespace corvane::zip

// Spanned archives over small simulated volumes: a plain folder stands for the
// diskette drive, and the Newdisk handlers swap volume files in and out of it.
#include <gtest/gtest.h>

#include "corvane/zip/ZipEngine.h"
#include "tests/zip/ZipTestSupport.h"

namespace corvane::zip {
namespace {
using namespace ziptest;

class ZipSpanned : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir / "drive");
        fs::create_directories(dir / "shelf");
        sim.capacity[fs::path(dir / "drive").lexically_normal().string()] = 60000;
        for (int i = 0; i < 4; ++i) WriteBytes(dir / ("src/f" + std::to_string(i) + ".bin"), RandomBytes(40000, i));
        WriteBytes(dir / "src/text.txt", MailText(30000, 7));
    }
    ZipSettings Settings() {
        ZipSettings s;
        s.archivePath = dir / "drive/set.zip";
        s.filesToProcess = dir / "src/*";
        s.extractionFolder = dir / "out";
        s.spanDisks = true;
        s.overwriteDiskette = true;
        s.overwriteMode = 2;
        s.threads = 2;
        s.checkWritten = true;
        return s;
    }
    ZipSettings ExtractSettings() {
        ZipSettings s = Settings();
        s.filesToProcess = "src\\*";
        return s;
    }
    std::string Shelf(int index) { return dir / ("shelf/" + shelfName + std::to_string(index) + ".zip"); }
    // Takes the finished volume out of the drive, as a user swapping diskettes.
    bool PutAway(int) {
        fs::rename(dir / "drive/set.zip", Shelf(volumes++));
        return true;
    }
    int WriteSet() {
        events.onNewdisk = [this](int d) { return PutAway(d); };
        EXPECT_EQ(Compress(Settings(), sim, events, abort), result::kSuccess);
        PutAway(0);
        return volumes;
    }

    ScratchFolder dir;
    std::unique_ptr<FileSystem> native = MakeStdFileSystem();
    SimulatedFileSystem sim{*native};
    RecordingEvents events;
    std::atomic<bool> abort{false};
    int volumes = 0;
    std::string shelfName = "vol";
};

TEST_F(ZipSpanned, SetSpansVolumesAndExtractsWithDiskPrompts) {
    int count = WriteSet();
    ASSERT_GE(count, 3);
    EXPECT_EQ(events.disks.front(), 2);  // the first volume is asked for by the caller
    EXPECT_EQ(static_cast<int>(events.disks.size()), count - 1);
    EXPECT_EQ(ReadBytes(Shelf(0)).substr(0, 4), std::string("PK\x07\x08", 4));
    for (int i = 0; i < count; ++i) EXPECT_LE(fs::file_size(Shelf(i)), 60000u);

    // The user inserts some disk; the engine asks for the last one, then for the others.
    fs::copy_file(Shelf(0), dir / "drive/set.zip");
    events.disks.clear();
    events.onNewdisk = [&](int d) {
        fs::copy_file(Shelf(d == 0 ? count - 1 : d - 1), dir / "drive/set.zip", fs::copy_options::overwrite_existing);
        return true;
    };
    ASSERT_EQ(Extract(ExtractSettings(), sim, events, abort), result::kSuccess);
    EXPECT_EQ(events.disks.front(), 0);
    EXPECT_EQ(Tree(dir / "out/src"), Tree(dir / "src"));

    if (!ToolAvailable("zip") || !ToolAvailable("unzip")) GTEST_SKIP() << "zip/unzip not installed: join check skipped";
    fs::create_directories(dir / "join");
    for (int i = 0; i + 1 < count; ++i) {
        char ext[16];
        std::snprintf(ext, sizeof ext, "z%02d", i + 1);
        fs::copy_file(Shelf(i), dir / ("join/set." + std::string(ext)));
    }
    fs::copy_file(Shelf(count - 1), dir / "join/set.zip");
    ASSERT_TRUE(RunQuietly("cd '" + dir / "join" + "' && zip -s 0 set.zip --out joined.zip"));
    EXPECT_TRUE(RunQuietly("unzip -t '" + dir / "join/joined.zip" + "'"));
}

TEST_F(ZipSpanned, WrongVolumeIsAskedForAgain) {
    int count = WriteSet();
    fs::copy_file(Shelf(count - 1), dir / "drive/set.zip");
    events.disks.clear();
    int wrongOnce = 1;
    events.onNewdisk = [&](int d) {
        int index = d == 0 ? count - 1 : d - 1;
        if (d == 1 && wrongOnce-- > 0) index = 1;  // the second disk instead of the first
        fs::copy_file(Shelf(index), dir / "drive/set.zip", fs::copy_options::overwrite_existing);
        return true;
    };
    ASSERT_EQ(Extract(ExtractSettings(), sim, events, abort), result::kSuccess);
    EXPECT_EQ(events.disks[0], 1);
    EXPECT_EQ(events.disks[1], 1);
}

// The user answers OK with the full disk still in the drive, later puts an
// earlier disk back: neither is overwritten, the same disk is asked for again.
TEST_F(ZipSpanned, DiskStillHoldingTheSetIsAskedForAgain) {
    int prompt = 0;
    events.onNewdisk = [&](int d) {
        ++prompt;
        if (prompt == 1) return true;
        if (prompt == 3) {
            PutAway(d);
            fs::copy_file(Shelf(0), dir / "drive/set.zip");
            return true;
        }
        if (prompt == 4) return fs::remove(dir / "drive/set.zip");
        return PutAway(d);
    };
    ASSERT_EQ(Compress(Settings(), sim, events, abort), result::kSuccess);
    PutAway(0);
    ASSERT_GE(events.disks.size(), 4u);
    EXPECT_EQ(std::vector<int>(events.disks.begin(), events.disks.begin() + 4), (std::vector<int>{2, 2, 3, 3}));

    int count = volumes;
    fs::copy_file(Shelf(count - 1), dir / "drive/set.zip");
    events.onNewdisk = [&](int d) {
        fs::copy_file(Shelf(d == 0 ? count - 1 : d - 1), dir / "drive/set.zip", fs::copy_options::overwrite_existing);
        return true;
    };
    ASSERT_EQ(Extract(ExtractSettings(), sim, events, abort), result::kSuccess);
    EXPECT_EQ(Tree(dir / "out/src"), Tree(dir / "src"));
}

TEST_F(ZipSpanned, RunThatGetsNoFreshDiskFailsAndKeepsTheVolume) {
    events.onNewdisk = [](int) { return true; };  // OK, never a new disk
    EXPECT_EQ(Compress(Settings(), sim, events, abort), result::kVolumeHoldsArchive);
    EXPECT_EQ(events.disks, std::vector<int>(100, 2));
    std::string first = ReadBytes(dir / "drive/set.zip");
    EXPECT_EQ(first.substr(0, 4), std::string("PK\x07\x08", 4));
    EXPECT_GT(first.size(), 50000u);
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
}

// Volumes of a second set of the same shape, for wrong disks that look right.
class ZipSpannedTwoSets : public ZipSpanned {
protected:
    void SetUp() override {
        ZipSpanned::SetUp();
        for (int i = 0; i < 4; ++i)
            WriteBytes(dir / ("src/f" + std::to_string(i) + ".bin"), RandomBytes(40000, 50 + i));
        shelfName = "other";
        otherCount = WriteSet();
        for (int i = 0; i < 4; ++i) WriteBytes(dir / ("src/f" + std::to_string(i) + ".bin"), RandomBytes(40000, i));
        shelfName = "vol";
        volumes = 0;
        count = WriteSet();
        ASSERT_GE(count, 3);
        ASSERT_EQ(otherCount, count);
        events.disks.clear();
    }
    std::string Other(int index) { return dir / ("shelf/other" + std::to_string(index) + ".zip"); }
    void Insert(const std::string& volume) {
        fs::copy_file(volume, dir / "drive/set.zip", fs::copy_options::overwrite_existing);
    }
    int count = 0;
    int otherCount = 0;
};

TEST_F(ZipSpannedTwoSets, WrongMiddleVolumeIsAskedForAgain) {
    Insert(Shelf(count - 1));
    int wrong = 0;
    events.onNewdisk = [&](int d) {
        if (d == 2 && wrong == 0)
            Insert(Other(1));  // disk 2 of another set
        else if (d == 2 && wrong == 1)
            Insert(Shelf(0));  // disk 1 of this set
        else
            Insert(Shelf(d == 0 ? count - 1 : d - 1));
        if (d == 2) ++wrong;
        return true;
    };
    ASSERT_EQ(Extract(ExtractSettings(), sim, events, abort), result::kSuccess);
    EXPECT_EQ(wrong, 3);
    EXPECT_EQ(Tree(dir / "out/src"), Tree(dir / "src"));
}

TEST_F(ZipSpannedTwoSets, MiddleVolumeGivenFirstAsksForTheLast) {
    Insert(Shelf(1));
    events.onNewdisk = [&](int d) {
        Insert(Shelf(d == 0 ? count - 1 : d - 1));
        return true;
    };
    ASSERT_EQ(Extract(ExtractSettings(), sim, events, abort), result::kSuccess);
    EXPECT_EQ(events.disks.front(), 0);
    EXPECT_EQ(Tree(dir / "out/src"), Tree(dir / "src"));
}

TEST_F(ZipSpannedTwoSets, NoFileComesFromAVolumeOfAnotherSet) {
    Insert(Shelf(count - 1));
    events.onNewdisk = [&](int d) {
        Insert(d == 2 ? Other(1) : Shelf(d == 0 ? count - 1 : d - 1));
        return true;
    };
    EXPECT_EQ(Extract(ExtractSettings(), sim, events, abort), result::kWrongVolume);
    std::map<std::string, std::string> restored = Tree(dir / "out/src"), original = Tree(dir / "src");
    EXPECT_LT(restored.size(), original.size());
    for (const auto& [name, data] : restored) EXPECT_EQ(data, original[name]) << name;
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
}

TEST_F(ZipSpanned, VolumeNeverSuppliedEndsTheCommand) {
    int count = WriteSet();
    fs::copy_file(Shelf(count - 1), dir / "drive/set.zip");
    events.onNewdisk = [](int) { return true; };  // "OK" without changing the disk
    EXPECT_EQ(Extract(ExtractSettings(), sim, events, abort), result::kWrongVolume);
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
}

TEST_F(ZipSpanned, CancelledDiskPromptStopsBothWays) {
    events.onNewdisk = [](int) { return false; };
    EXPECT_EQ(Compress(Settings(), sim, events, abort), result::kStopped);
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());

    fs::remove(dir / "drive/set.zip");
    int count = WriteSet();
    fs::copy_file(Shelf(count - 1), dir / "drive/set.zip");
    events.onNewdisk = [](int) { return false; };
    EXPECT_EQ(Extract(ExtractSettings(), sim, events, abort), result::kStopped);
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
}

TEST_F(ZipSpanned, OverwriteDisketteReplacesOnlyTheArchive) {
    WriteBytes(dir / "drive/set.zip", "old archive");
    WriteBytes(dir / "drive/letter.txt", "the user's file");
    ZipSettings s = Settings();
    s.overwriteDiskette = false;
    EXPECT_EQ(Compress(s, sim, events, abort), result::kVolumeHoldsArchive);
    EXPECT_EQ(ReadBytes(dir / "drive/set.zip"), "old archive");
    WriteSet();
    EXPECT_EQ(ReadBytes(dir / "drive/letter.txt"), "the user's file");
}

TEST_F(ZipSpanned, FullFollowingVolume) {
    // The "new" diskette is the same full one: the finished volume stays in the drive.
    events.onNewdisk = [&](int) {
        fs::copy_file(dir / "drive/set.zip", dir / "drive/copy.zip");
        fs::rename(dir / "drive/set.zip", dir / "shelf/v.zip");
        return true;
    };
    EXPECT_EQ(Compress(Settings(), sim, events, abort), result::kVolumeFull);
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
}

TEST_F(ZipSpanned, SetThatFitsOneVolumeIsAnOrdinaryArchive) {
    sim.capacity[fs::path(dir / "drive").lexically_normal().string()] = 10'000'000;
    ASSERT_EQ(Compress(Settings(), sim, events, abort), result::kSuccess);
    EXPECT_TRUE(events.disks.empty());
    EXPECT_EQ(ReadBytes(dir / "drive/set.zip").substr(0, 4), "PK00");
    ASSERT_EQ(Extract(ExtractSettings(), sim, events, abort), result::kSuccess);
    EXPECT_EQ(Tree(dir / "out/src"), Tree(dir / "src"));
    if (!ToolAvailable("unzip")) GTEST_SKIP() << "unzip not installed";
    EXPECT_TRUE(RunQuietly("unzip -t '" + dir / "drive/set.zip" + "'"));
}

}  // namespace
}  // namespace corvane::zip

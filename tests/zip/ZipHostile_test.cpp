// Hostile and damaged archives under the sanitizers: nothing may be written
// outside the extraction folder, no damaged entry may replace a file, and no
// claim in the archive may make the reader misbehave.
#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "corvane/zip/ZipBytes.h"
#include "corvane/zip/ZipEngine.h"
#include "tests/zip/ZipTestSupport.h"

namespace corvane::zip {
namespace {
using namespace ziptest;

struct RawEntry {
    std::string name;
    std::string data;
};

// A stored-method archive written field by field, so names and sizes can lie.
std::string StoredZip(const std::vector<RawEntry>& entries, uint32_t sizeClaim = 0) {
    ByteWriter body, cd;
    for (const RawEntry& e : entries) {
        uint32_t crc = static_cast<uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(e.data.data()), static_cast<uInt>(e.data.size())));
        uint32_t offset = static_cast<uint32_t>(body.Size());
        uint32_t size = sizeClaim ? sizeClaim : static_cast<uint32_t>(e.data.size());
        body.U32(0x04034b50);
        body.U16(20);
        body.U16(0);
        body.U16(0);
        body.U16(0);
        body.U16(0x21);
        body.U32(crc);
        body.U32(size);
        body.U32(size);
        body.U16(static_cast<uint32_t>(e.name.size()));
        body.U16(0);
        body.Bytes(e.name);
        body.Bytes(e.data);
        cd.U32(0x02014b50);
        cd.U16(20);
        cd.U16(20);
        cd.U16(0);
        cd.U16(0);
        cd.U16(0);
        cd.U16(0x21);
        cd.U32(crc);
        cd.U32(size);
        cd.U32(size);
        cd.U16(static_cast<uint32_t>(e.name.size()));
        cd.U16(0);
        cd.U16(0);
        cd.U16(0);
        cd.U16(0);
        cd.U32(0x20);
        cd.U32(offset);
        cd.Bytes(e.name);
    }
    ByteWriter end;
    end.U32(0x06054b50);
    end.U16(0);
    end.U16(0);
    end.U16(static_cast<uint32_t>(entries.size()));
    end.U16(static_cast<uint32_t>(entries.size()));
    end.U32(static_cast<uint32_t>(cd.Size()));
    end.U32(static_cast<uint32_t>(body.Size()));
    end.U16(0);
    std::string out(body.Data().begin(), body.Data().end());
    out.append(cd.Data().begin(), cd.Data().end());
    out.append(end.Data().begin(), end.Data().end());
    return out;
}

class ZipHostile : public ::testing::Test {
protected:
    ZipResult ExtractAll(const std::string& archive, const std::string& spec = "*") {
        WriteBytes(dir / "in/a.zip", archive);
        ZipSettings s;
        s.archivePath = dir / "in/a.zip";
        s.filesToProcess = spec;
        s.extractionFolder = dir / "box/out";
        s.overwriteMode = 2;
        s.maxEntrySize = maxEntrySize;
        s.threads = 2;
        fs::create_directories(dir / "box/out");
        return Extract(s, *native, events, abort);
    }
    // Everything the extraction created, relative to box/ (only "out" and what lies below may be there).
    std::vector<std::string> OutsideOut() {
        std::vector<std::string> out;
        for (auto& e : fs::recursive_directory_iterator(dir / "box")) {
            std::string rel = fs::relative(e.path(), dir / "box").generic_string();
            if (rel != "out" && !rel.starts_with("out/")) out.push_back(rel);
        }
        return out;
    }

    ScratchFolder dir;
    std::unique_ptr<FileSystem> native = MakeStdFileSystem();
    RecordingEvents events;
    std::atomic<bool> abort{false};
    uint64_t maxEntrySize = 0;
};

TEST_F(ZipHostile, NamesThatLeaveTheFolderAreRefused) {
    for (const char* name :
         {"../evil.txt", "a/../../evil.txt", "/tmp/evil.txt", "\\\\server\\share\\evil.txt", "C:\\evil.txt",
          "c:evil.txt", "CON", "sub/aux.txt", "a:b", "file.txt:stream", "..\\evil.txt"}) {
        SCOPED_TRACE(name);
        events.skipped.clear();
        EXPECT_EQ(ExtractAll(StoredZip({{name, "bad"}, {"good.txt", "good"}})), result::kHostileName);
        EXPECT_EQ(ReadBytes(dir / "box/out/good.txt"), "good");
        EXPECT_TRUE(OutsideOut().empty());
        EXPECT_FALSE(fs::exists(dir / "evil.txt"));
        EXPECT_EQ(events.skipped.size(), 1u);
    }
}

TEST_F(ZipHostile, RenameCannotSendAnEntryOutside) {
    events.onRename = [](const std::string&, std::string& newName) { newName = "..\\..\\escaped.txt"; };
    EXPECT_EQ(ExtractAll(StoredZip({{"ok.txt", "x"}})), result::kHostileName);
    EXPECT_TRUE(OutsideOut().empty());
    EXPECT_FALSE(fs::exists(dir / "escaped.txt"));
}

// A caller's size limit refuses a larger entry before a byte of it is
// written; entries up to the limit are extracted.
TEST_F(ZipHostile, EntriesLargerThanTheCallersLimitAreNotWritten) {
    maxEntrySize = 4;
    EXPECT_EQ(ExtractAll(StoredZip({{"big.txt", "12345"}, {"fits.txt", "1234"}})), result::kEntryTooLarge);
    EXPECT_FALSE(fs::exists(dir / "box/out/big.txt"));
    EXPECT_EQ(ReadBytes(dir / "box/out/fits.txt"), "1234");
    ASSERT_EQ(events.skipped.size(), 1u);
    maxEntrySize = 0;
    EXPECT_EQ(ExtractAll(StoredZip({{"big.txt", "12345"}})), result::kSuccess);
    EXPECT_EQ(ReadBytes(dir / "box/out/big.txt"), "12345");
}

TEST_F(ZipHostile, LyingClaimsGiveTheirResults) {
    // Sizes far beyond the data.
    // 4 GiB claimed: refused as damage, or as too big for the disk, and nothing allocated for it.
    ZipResult huge = ExtractAll(StoredZip({{"big.txt", "tiny"}}, 0xFFFFFFF0u));
    EXPECT_TRUE(huge == result::kCorruptEntry || huge == result::kTargetDiskFull) << huge;
    EXPECT_EQ(ExtractAll(StoredZip({{"big.txt", "tiny"}}, 5000)), result::kCorruptEntry);
    EXPECT_FALSE(fs::exists(dir / "box/out/big.txt"));

    // An end record that claims more entries or a larger directory than there is.
    std::string zip = StoredZip({{"a.txt", "aaa"}});
    std::string manyEntries = zip;
    manyEntries[zip.size() - 12] = '\x50';  // total entries
    manyEntries[zip.size() - 14] = '\x50';
    EXPECT_EQ(ExtractAll(manyEntries), result::kCorruptDirectory);
    std::string bigDirectory = zip;
    bigDirectory[zip.size() - 9] = '\x7f';  // directory size high byte
    EXPECT_EQ(ExtractAll(bigDirectory), result::kCorruptDirectory);

    // A truncated central directory: the end record survives, the records do not.
    std::string cut = zip.substr(0, zip.size() - 22 - 10) + zip.substr(zip.size() - 22);
    EXPECT_NE(ExtractAll(cut), result::kSuccess);
    EXPECT_TRUE(IsExtractSuccess(ExtractAll(zip)));
    EXPECT_EQ(ExtractAll(zip.substr(0, zip.size() - 3)), result::kNotAZip);
    EXPECT_EQ(ExtractAll(""), result::kNotAZip);
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
}

void Put(std::string& bytes, size_t at, uint64_t value, int width) {
    for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

// Memory this process holds now (Linux); 0 where it cannot be told.
uint64_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    uint64_t size = 0, resident = 0;
    if (!(statm >> size >> resident)) return 0;
    return resident * 4096;
}

// An end record of a spanned set (of 22 bytes, nothing else) claims a
// directory of 256 MiB: nothing is allocated for it before the volumes hold it.
TEST_F(ZipHostile, SpannedEndRecordCannotMakeTheReaderAllocate) {
    if (ResidentBytes() == 0) GTEST_SKIP() << "no /proc/self/statm";
    ByteWriter end;
    end.U32(0x06054b50);
    end.U16(1);
    end.U16(0);
    end.U16(1);
    end.U16(1);
    end.U32(0x0FFFFFFF);
    end.U32(0);
    end.U16(0);
    std::string record(end.Data().begin(), end.Data().end());
    uint64_t before = ResidentBytes(), atPrompt = 0;
    events.onNewdisk = [&](int) {
        atPrompt = ResidentBytes();
        return false;
    };
    EXPECT_EQ(ExtractAll(record), result::kStopped);
    ASSERT_NE(atPrompt, 0u);
    EXPECT_LT(atPrompt, before + (64u << 20));

    // The directory on the last volume itself cannot be longer than what precedes its end.
    Put(record, 6, 1, 2);
    events.disks.clear();
    EXPECT_EQ(ExtractAll(record), result::kCorruptDirectory);
    EXPECT_TRUE(events.disks.empty());
}

// A real ZIP64 archive (thresholds lowered) whose records the cases falsify.
class ZipHostileZip64 : public ZipHostile {
protected:
    void SetUp() override {
        WriteBytes(dir / "src/a.txt", MailText(3000, 1));
        ZipSettings s;
        s.archivePath = dir / "z64.zip";
        s.filesToProcess = dir / "src/a.txt";
        s.zip64.sizeLimit = 1000;
        s.zip64.entryLimit = 0;
        ASSERT_EQ(Compress(s, *native, events, abort), result::kSuccess);
        good = ReadBytes(s.archivePath);
        end64 = good.find("PK\x06\x06");
        locator = good.find("PK\x06\x07");
        central = good.find("PK\x01\x02");
        ASSERT_NE(end64, std::string::npos);
        ASSERT_NE(locator, std::string::npos);
        ASSERT_NE(central, std::string::npos);
        uint16_t nameLength = static_cast<uint8_t>(good[central + 28]) | static_cast<uint8_t>(good[central + 29]) << 8;
        extra = central + 46 + nameLength;
        ASSERT_EQ(good.substr(extra, 2), std::string("\x01\x00", 2));
        ASSERT_TRUE(IsExtractSuccess(ExtractAll(good)));
        fs::remove_all(dir / "box");
    }
    std::string With(size_t at, uint64_t value, int width) {
        std::string bytes = good;
        Put(bytes, at, value, width);
        return bytes;
    }
    std::string good;
    size_t end64 = 0, locator = 0, central = 0, extra = 0;
};

TEST_F(ZipHostileZip64, EndRecordAndLocatorClaimsAreChecked) {
    EXPECT_EQ(ExtractAll(With(end64 + 32, 1ull << 40, 8)), result::kCorruptDirectory);  // entries
    EXPECT_EQ(ExtractAll(With(end64 + 40, 1ull << 62, 8)), result::kCorruptDirectory);  // directory size
    EXPECT_EQ(ExtractAll(With(end64 + 48, 1ull << 63, 8)), result::kCorruptDirectory);  // directory offset
    EXPECT_EQ(ExtractAll(With(end64 + 20, 7, 4)), result::kCorruptDirectory);           // directory's disk
    EXPECT_EQ(ExtractAll(With(locator + 8, UINT64_MAX - 8, 8)), result::kNotAZip);      // record beyond the file
    EXPECT_EQ(ExtractAll(With(locator + 8, locator - 8, 8)), result::kNotAZip);         // record inside its locator
    // A single file whose ZIP64 end record calls itself disk 4,294,967,280 of a one-disk set.
    EXPECT_EQ(ExtractAll(With(end64 + 16, 0xFFFFFFF0u, 4)), result::kNotAZip);
    EXPECT_TRUE(events.disks.empty());
    EXPECT_FALSE(fs::exists(dir / "box/out/src/a.txt"));
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
}

TEST_F(ZipHostileZip64, ExtraFieldThatLacksItsValuesIsDamage) {
    EXPECT_EQ(ExtractAll(With(extra + 2, 8, 2)), result::kCorruptDirectory);  // sizes claimed, one given
    EXPECT_EQ(ExtractAll(With(extra + 2, 0, 2)), result::kCorruptDirectory);  // sizes claimed, none given
    // The entry's disk deferred to the field, which names a disk the archive does not have.
    std::string disk = With(central + 34, 0xFFFF, 2);
    Put(disk, extra + 2, 20, 2);
    Put(disk, extra + 20, 3, 4);
    EXPECT_EQ(ExtractAll(disk), result::kCorruptDirectory);
    EXPECT_FALSE(fs::exists(dir / "box/out/src/a.txt"));
}

TEST_F(ZipHostile, EncryptedAndUnknownMethodsAreUnsupported) {
    std::string zip = StoredZip({{"a.txt", "aaa"}});
    size_t cd = zip.find("PK\x01\x02");
    std::string encrypted = zip;
    encrypted[cd + 8] = 1;
    EXPECT_EQ(ExtractAll(encrypted), result::kUnsupported);
    std::string bzip = zip;
    bzip[cd + 10] = 12;
    EXPECT_EQ(ExtractAll(bzip), result::kUnsupported);
}

// Random damage to a real archive: whatever comes out must be byte-identical
// to an original file, nothing may land outside, no temporary file may stay.
TEST_F(ZipHostile, RandomDamageNeverYieldsWrongFiles) {
    std::map<std::string, std::string> originals;
    for (int i = 0; i < 5; ++i) {
        std::string name = "f" + std::to_string(i) + ".txt";
        originals[name] = MailText(2000 + 3000 * i, i);
        WriteBytes(dir / ("src/" + name), originals[name]);
    }
    ZipSettings s;
    s.archivePath = dir / "good.zip";
    s.filesToProcess = dir / "src/*";
    ASSERT_EQ(Compress(s, *native, events, abort), result::kSuccess);
    std::string good = ReadBytes(s.archivePath);

    std::mt19937 rng(4242);
    for (int round = 0; round < 250; ++round) {
        std::string bad = good;
        int flips = 1 + static_cast<int>(rng() % 4);
        for (int f = 0; f < flips; ++f) bad[rng() % bad.size()] ^= static_cast<char>(1 + rng() % 255);
        if (rng() % 8 == 0) bad.resize(rng() % bad.size());
        fs::remove_all(dir / "box");
        ExtractAll(bad, "src\\*");
        ASSERT_TRUE(OutsideOut().empty()) << "round " << round;
        ASSERT_TRUE(TempLeftovers(dir / "box").empty()) << "round " << round;
        if (!fs::exists(dir / "box/out/src")) continue;
        for (auto& e : fs::directory_iterator(dir / "box/out/src")) {
            auto it = originals.find(e.path().filename().string());
            if (it == originals.end()) continue;
            ASSERT_EQ(ReadBytes(e.path().string()), it->second) << "round " << round;
        }
    }
}

}  // namespace
}  // namespace corvane::zip

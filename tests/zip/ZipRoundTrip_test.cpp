// Compress and extract through the engine on the native file system.
#include <gtest/gtest.h>

#include "corvane/zip/ZipEngine.h"
#include "corvane/zip/ZipNames.h"
#include "tests/zip/ZipTestSupport.h"

namespace corvane::zip {
namespace {
using namespace ziptest;

class ZipRoundTrip : public ::testing::Test {
protected:
    ZipSettings CompressSettings(const std::string& spec) {
        ZipSettings s;
        s.archivePath = dir / "out/archive.zip";
        s.filesToProcess = spec;
        s.includeSubfolders = true;
        s.threads = 2;
        s.checkWritten = true;
        fs::create_directories(dir / "out");
        return s;
    }
    ZipSettings ExtractSettings(const std::string& spec, const std::string& folder) {
        ZipSettings s;
        s.archivePath = dir / "out/archive.zip";
        s.filesToProcess = spec;
        s.extractionFolder = folder;
        s.overwriteMode = 2;
        s.threads = 2;
        return s;
    }
    ZipResult Zip(const ZipSettings& s) { return Compress(s, *native, events, abort); }
    ZipResult Unzip(const ZipSettings& s) { return Extract(s, *native, events, abort); }

    ScratchFolder dir;
    std::unique_ptr<FileSystem> native = MakeStdFileSystem();
    RecordingEvents events;
    std::atomic<bool> abort{false};
};

TEST_F(ZipRoundTrip, FolderTreeComesBackExactly) {
    WriteBytes(dir / "src/empty.txt", "");
    WriteBytes(dir / "src/with space.txt", "hello");
    WriteBytes(dir / "src/caf\xe9 \xfc.dbx", MailText(5000, 1));
    WriteBytes(dir / "src/sub/deeper/mail.mbx", MailText(3 * 1024 * 1024 + 17, 2));  // several blocks
    WriteBytes(dir / "src/sub/photo.jpg", RandomBytes(1500 * 1024, 3));
    fs::create_directories(dir / "src/empty folder");

    ASSERT_EQ(Zip(CompressSettings(dir / "src/*")), result::kSuccess);
    EXPECT_EQ(events.added.size(), 8u);  // five files and three subfolders
    ASSERT_EQ(Unzip(ExtractSettings("src\\*", dir / "restored")), result::kSuccess);
    EXPECT_EQ(Tree(dir / "restored/src"), Tree(dir / "src"));
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
}

TEST_F(ZipRoundTrip, ListAndTestSeeEveryEntry) {
    WriteBytes(dir / "src/a.txt", MailText(100000, 4));
    WriteBytes(dir / "src/b.bin", RandomBytes(70000, 5));
    ASSERT_EQ(Zip(CompressSettings(dir / "src/*")), result::kSuccess);
    std::vector<ListedEntry> listed;
    ASSERT_EQ(List(ExtractSettings("", ""), *native, events, &listed), result::kSuccess);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].size, 100000u);
    EXPECT_LT(listed[0].compressedSize, 50000u);
    std::vector<std::string> bad;
    EXPECT_EQ(zip::Test(ExtractSettings("", ""), *native, events, abort, &bad), result::kSuccess);
    EXPECT_TRUE(bad.empty());
}

TEST_F(ZipRoundTrip, FilesStoredUnderTheNameTheCallerGives) {
    WriteBytes(dir / "tmp/deep/CorvaneBackup.log", "log");
    WriteBytes(dir / "src/a.txt", "a");
    ZipSettings s = CompressSettings(dir / "src/a.txt\r" + (dir / "tmp/deep/CorvaneBackup.log"));
    s.storedNames = {{(dir / "TMP/deep/corvanebackup.log"), "CorvaneBackup.log"},
                     {(dir / "src/a.txt"), "../escape.txt"}};  // refused: stays under its own name
    ASSERT_EQ(Zip(s), result::kSuccess);
    std::vector<ListedEntry> listed;
    ASSERT_EQ(List(ExtractSettings("", ""), *native, events, &listed), result::kSuccess);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].name, EntryNameFromPath((dir / "src/a.txt")));
    EXPECT_EQ(listed[1].name, "CorvaneBackup.log");
}

TEST_F(ZipRoundTrip, Zip64RecordsThroughLoweredThresholds) {
    for (int i = 0; i < 6; ++i) WriteBytes(dir / ("src/f" + std::to_string(i) + ".txt"), MailText(3000 + i, i));
    ZipSettings s = CompressSettings(dir / "src/*");
    s.zip64.sizeLimit = 1000;  // every file, offset and the directory need ZIP64 fields
    s.zip64.entryLimit = 3;    // and the entry count needs the ZIP64 end record
    ASSERT_EQ(Zip(s), result::kSuccess);
    std::string bytes = ReadBytes(s.archivePath);
    EXPECT_NE(bytes.find(std::string("PK\x06\x06", 4)), std::string::npos);
    EXPECT_NE(bytes.find(std::string("PK\x06\x07", 4)), std::string::npos);
    ASSERT_EQ(Unzip(ExtractSettings("src\\*", dir / "restored")), result::kSuccess);
    EXPECT_EQ(Tree(dir / "restored/src"), Tree(dir / "src"));
    if (!ToolAvailable("python3")) GTEST_SKIP() << "python3 not installed: ZIP64 check by zipfile skipped";
    EXPECT_TRUE(RunQuietly("python3 -m zipfile -t '" + s.archivePath + "'"));
}

TEST_F(ZipRoundTrip, OrdinaryArchivesCarryNoZip64Records) {
    WriteBytes(dir / "src/a.txt", MailText(4000, 1));
    ZipSettings s = CompressSettings(dir / "src/a.txt");
    ASSERT_EQ(Zip(s), result::kSuccess);
    std::string bytes = ReadBytes(s.archivePath);
    EXPECT_EQ(bytes.find(std::string("PK\x06\x06", 4)), std::string::npos);
    EXPECT_EQ(bytes.find(std::string("\x01\x00\x10\x00", 4)), std::string::npos);  // no ZIP64 extra field
}

TEST_F(ZipRoundTrip, RenameGetsTheMatchedTailAndMayRedirect) {
    WriteBytes(dir / "src/Outlook Express/Inbox.dbx", "inbox");
    WriteBytes(dir / "src/Outlook Express/Sent.dbx", "sent");
    WriteBytes(dir / "src/ab/u.wab", "book");
    ASSERT_EQ(Zip(CompressSettings(dir / "src/*")), result::kSuccess);

    events.onRename = [](const std::string& orig, std::string& newName) {
        if (orig == "Inbox.dbx") newName = "Renamed.dbx";
    };
    ASSERT_EQ(Unzip(ExtractSettings("Inbox.dbx\rSent.dbx", dir / "mail")), result::kSuccess);
    EXPECT_EQ(events.renamed, (std::vector<std::string>{"Inbox.dbx", "Sent.dbx"}));
    EXPECT_EQ(ReadBytes(dir / "mail/Renamed.dbx"), "inbox");
    EXPECT_EQ(ReadBytes(dir / "mail/Sent.dbx"), "sent");

    events.renamed.clear();
    events.onRename = [](const std::string&, std::string& newName) { newName = "current.wab"; };
    ASSERT_EQ(Unzip(ExtractSettings("*.wab", dir / "wab")), result::kSuccess);
    ASSERT_EQ(events.renamed.size(), 1u);
    EXPECT_TRUE(events.renamed[0].ends_with("src\\ab\\u.wab")) << events.renamed[0];
    EXPECT_EQ(ReadBytes(dir / "wab/current.wab"), "book");
}

// The restore asks for "account\*.*": names without a dot, files of
// sub-folders and empty folders all belong to the account.
TEST_F(ZipRoundTrip, StarDotStarTakesInTheWholeFolder) {
    WriteBytes(dir / "src/News/acct/group.dat", "group");
    WriteBytes(dir / "src/News/acct/NEWSRC", "no dot");
    WriteBytes(dir / "src/News/acct/sub/deep.txt", "deep");
    fs::create_directories(dir / "src/News/acct/empty folder");
    WriteBytes(dir / "src/News/acct2/other", "another account");
    ASSERT_EQ(Zip(CompressSettings(dir / "src/*")), result::kSuccess);
    ASSERT_EQ(Unzip(ExtractSettings("acct\\*.*", dir / "news")), result::kSuccess);
    EXPECT_EQ(Tree(dir / "news/acct"), Tree(dir / "src/News/acct"));
    EXPECT_FALSE(fs::exists(dir / "news/acct2"));
}

// Two archive folders restored into one alternate folder: the entries meet
// at one target. The result must not depend on the number of threads.
TEST_F(ZipRoundTrip, EntriesWithOneTargetAreWrittenInArchiveOrder) {
    WriteBytes(dir / "src/one/Inbox.dbx", MailText(8 * 1024 * 1024, 1));  // slow to write
    WriteBytes(dir / "src/two/Inbox.dbx", "the later entry");
    ASSERT_EQ(Zip(CompressSettings(dir / "src/*")), result::kSuccess);
    events.onRename = [](const std::string&, std::string& newName) { newName = "Inbox.dbx"; };
    for (unsigned threads : {1u, 2u, 4u}) {
        SCOPED_TRACE(threads);
        ZipSettings s = ExtractSettings("src\\*.dbx", dir / ("t" + std::to_string(threads)));
        s.threads = threads;
        ASSERT_EQ(Unzip(s), result::kSuccess);
        EXPECT_EQ(ReadBytes(dir / ("t" + std::to_string(threads) + "/Inbox.dbx")), "the later entry");

        s.extractionFolder = dir / ("k" + std::to_string(threads));
        s.overwriteMode = 0;
        EXPECT_EQ(Unzip(s), result::kKeptExisting);
        EXPECT_EQ(ReadBytes(dir / ("k" + std::to_string(threads) + "/Inbox.dbx")),
                  ReadBytes(dir / "src/one/Inbox.dbx"));
        EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
    }
}

TEST_F(ZipRoundTrip, ResultsOfPartialExtractions) {
    WriteBytes(dir / "src/a.txt", "new a");
    WriteBytes(dir / "src/b.txt", "new b");
    ASSERT_EQ(Zip(CompressSettings(dir / "src/*")), result::kSuccess);
    EXPECT_EQ(Unzip(ExtractSettings("nothing.here", dir / "x")), result::kNothingToDo);
    EXPECT_EQ(Unzip(ExtractSettings("a.txt\rnothing.here", dir / "x")), result::kSomeSpecsNoEntry);

    // "*.txt" matches at the stored path's first component, so the whole path comes out.
    WriteBytes(dir / "y/src/b.txt", "old b");
    ZipSettings keep = ExtractSettings("src\\*.txt", dir / "y");
    keep.overwriteMode = 0;
    EXPECT_EQ(Unzip(keep), result::kKeptExisting);
    EXPECT_EQ(ReadBytes(dir / "y/src/b.txt"), "old b");
    EXPECT_EQ(ReadBytes(dir / "y/src/a.txt"), "new a");
    EXPECT_EQ(Unzip(ExtractSettings("src\\*.txt", dir / "y")), result::kSuccess);
    EXPECT_EQ(ReadBytes(dir / "y/src/b.txt"), "new b");

    events.onRename = [](const std::string& orig, std::string& newName) {
        if (orig == "src\\a.txt") newName.clear();
    };
    EXPECT_EQ(Unzip(ExtractSettings("src\\*.txt", dir / "z")), result::kRenamedAway);
    EXPECT_FALSE(fs::exists(dir / "z/src/a.txt"));
    EXPECT_TRUE(fs::exists(dir / "z/src/b.txt"));

    events.onRename = nullptr;
    fs::create_directories(dir / "w/src/a.txt");  // a folder where the file should go
    EXPECT_EQ(Unzip(ExtractSettings("src\\a.txt", dir / "w")), result::kCannotReplace);
    WriteBytes(dir / "v/src", "a file where the folder should go");
    EXPECT_EQ(Unzip(ExtractSettings("src\\a.txt", dir / "v")), result::kCannotCreateTarget);
}

TEST_F(ZipRoundTrip, CompressResultsForSkipsAndMissingSpecifications) {
    WriteBytes(dir / "src/a.txt", MailText(50000, 1));
    WriteBytes(dir / "src/held.dbx", MailText(50000, 2));
    WriteBytes(dir / "src/broken.dbx", MailText(3 * 1024 * 1024, 3));
    SimulatedFileSystem sim(*native);
    sim.inUse.insert(dir / "src/held.dbx");
    ZipSettings s = CompressSettings(dir / "src/a.txt\r" + dir / "src/held.dbx\r" + dir / "src/none.txt");
    EXPECT_EQ(Compress(s, sim, events, abort), result::kSkippedInUse);
    ASSERT_EQ(events.skipped.size(), 1u);
    EXPECT_NE(events.skipped[0].find("in use"), std::string::npos);

    // A read error after two blocks went out takes the entry back out; the archive stays valid.
    sim.failAfter[dir / "src/broken.dbx"] = 2 * 1024 * 1024 + 5;
    s.filesToProcess = dir / "src/a.txt\r" + dir / "src/broken.dbx\r" + dir / "src/none.txt";
    EXPECT_EQ(Compress(s, sim, events, abort), result::kSkippedReadError);
    std::vector<ListedEntry> listed;
    ASSERT_EQ(List(s, *native, events, &listed), result::kSuccess);
    ASSERT_EQ(listed.size(), 1u);
    std::vector<std::string> bad;
    EXPECT_EQ(zip::Test(s, *native, events, abort, &bad), result::kSuccess);

    // A named file that is gone: the archive holds the rest, and the caller
    // hears which one, to judge whether that is a loss.
    s.filesToProcess = dir / "src/a.txt\r" + dir / "src/none.txt\r" + dir / "empty/*.*";
    fs::create_directories(dir / "empty");
    events.unmatched.clear();
    EXPECT_EQ(Compress(s, sim, events, abort), result::kSomeSpecsUnmatched);
    EXPECT_EQ(events.unmatched, (std::vector<std::string>{dir / "src/none.txt", dir / "empty/*.*"}));
    s.filesToProcess = dir / "src/none.txt";
    EXPECT_EQ(Compress(s, sim, events, abort), result::kNothingToDo);
    s.filesToProcess = "";
    EXPECT_EQ(Compress(s, sim, events, abort), result::kBadSettings);
}

TEST_F(ZipRoundTrip, AbortOrFailureLeavesTheEarlierArchiveUntouched) {
    WriteBytes(dir / "src/a.txt", MailText(2 * 1024 * 1024, 1));
    WriteBytes(dir / "src/b.txt", MailText(2 * 1024 * 1024, 2));
    ZipSettings s = CompressSettings(dir / "src/*");
    WriteBytes(s.archivePath, "the earlier archive");
    events.onAdding = [&](const EntryProgress& p) {
        if (p.filename.ends_with("b.txt")) abort = true;
    };
    EXPECT_EQ(Zip(s), result::kStopped);
    EXPECT_EQ(ReadBytes(s.archivePath), "the earlier archive");
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());

    abort = false;
    events.onAdding = nullptr;
    SimulatedFileSystem sim(*native);
    sim.capacity[dir / "out"] = 100000;  // the earlier archive plus a little
    EXPECT_EQ(Compress(s, sim, events, abort), result::kDiskFull);
    EXPECT_EQ(ReadBytes(s.archivePath), "the earlier archive");
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());

    s.archivePath = dir / "no such folder/archive.zip";
    EXPECT_EQ(Zip(s), result::kCannotCreate);
}

TEST_F(ZipRoundTrip, ArchiveInsideTheStoredFolderIsNotStoredInItself) {
    WriteBytes(dir / "out/a.txt", "a");
    ZipSettings s = CompressSettings(dir / "out/*");
    WriteBytes(s.archivePath, "an older archive");
    ASSERT_EQ(Zip(s), result::kSuccess);
    std::vector<ListedEntry> listed;
    ASSERT_EQ(List(s, *native, events, &listed), result::kSuccess);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_TRUE(listed[0].name.ends_with("out/a.txt"));
}

TEST_F(ZipRoundTrip, CorruptEntryLeavesTargetAsItWas) {
    WriteBytes(dir / "src/a.txt", MailText(200000, 1));
    ZipSettings s = CompressSettings(dir / "src/a.txt");
    ASSERT_EQ(Zip(s), result::kSuccess);
    std::string bytes = ReadBytes(s.archivePath);
    bytes[bytes.size() / 3] ^= 0x55;  // inside the deflate data
    WriteBytes(s.archivePath, bytes);
    WriteBytes(dir / "live/a.txt", "the user's current file");
    EXPECT_EQ(Unzip(ExtractSettings("a.txt", dir / "live")), result::kCorruptEntry);
    EXPECT_EQ(ReadBytes(dir / "live/a.txt"), "the user's current file");
    EXPECT_TRUE(TempLeftovers(dir.Path()).empty());
}

TEST_F(ZipRoundTrip, ArchiveMissingOrNotAZip) {
    EXPECT_EQ(Unzip(ExtractSettings("*", dir / "x")), result::kArchiveMissing);
    WriteBytes(dir / "out/archive.zip", MailText(70000, 9));
    EXPECT_EQ(Unzip(ExtractSettings("*", dir / "x")), result::kNotAZip);
}

}  // namespace
}  // namespace corvane::zip

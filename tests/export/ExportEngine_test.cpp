#include "corvane/export/ExportCommand.h"
#include "corvane/export/ExportEngine.h"
#include "corvane/export/ExportFromArchive.h"
#include "corvane/zip/ZipResult.h"

#include "corvane/export/HeaderFields.h"
#include "corvane/export/MailDate.h"
#include "corvane/export/SafeNames.h"
#include "corvane/export/TextEncoding.h"
#include "tests/export/ExportFixture.h"
#include "testsupport/portable/DbxWriter.h"
#include "testsupport/portable/NchWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <sstream>

namespace corvane::exporting {
namespace {

using testing::BuildDbxMessageFile;
using testing::BuildMbxFile;
using testing::DbxFolder;
using testing::DbxMessageLayout;
using testing::PutLe32;

// Python's mailbox module reads the mbox back (bounded by `timeout`): the
// count, then "address<TAB>Date" per message.
std::vector<std::string> ReadMboxWithPython(const fs::path& mbox) {
    std::string command = "timeout 60 python3 '" + std::string(CORVANE_SOURCE_DIR) + "/tests/export/read_mbox.py' '" +
                          mbox.string() + "'";
    std::vector<std::string> lines;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return lines;
    std::string output;
    char buffer[4096];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    EXPECT_EQ(::pclose(pipe), 0) << "python3 could not read " << mbox;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<fs::path> FilesIn(const fs::path& folder, const std::string& extension) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().extension() == extension) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// What Outlook Express keeps of a UTF-8 subject in its ANSI record: the
// Windows-1252 characters, '?' for each UTF-16 unit of any other.
std::string AsOutlookStoresIt(const std::string& utf8) {
    static const std::u32string kCp1252High = U"\u20ac\u201a\u0192\u201e\u2026\u2020\u2021\u02c6\u2030\u0160"
                                              U"\u2039\u0152\u017d\u2018\u2019\u201c\u201d\u2022\u2013\u2014"
                                              U"\u02dc\u2122\u0161\u203a\u0153\u017e\u0178";
    std::string out;
    for (size_t at = 0; at < utf8.size();) {
        auto lead = static_cast<uint8_t>(utf8[at]);
        size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t i = 1; i < length; ++i) code = (code << 6) | (static_cast<uint8_t>(utf8[at + i]) & 0x3F);
        at += length;
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF) || kCp1252High.find(static_cast<char32_t>(code)) != std::u32string::npos) {
            AppendUtf8(out, code);
        } else {
            out += code > 0xFFFF ? "??" : "?";
        }
    }
    return out;
}

ExportResult Export(const fs::path& source, const fs::path& dest, bool recover = false) {
    ExportOptions options;
    options.source = source;
    options.dest = dest;
    options.recover = recover;
    std::atomic<bool> cancel{false};
    return RunExport(options, {}, cancel);
}

TEST(ExportEngine, RealFileExportsAllTwentyEightMessagesAsTheirRecordsDescribeThem) {
    REQUIRE_REAL_FILE();
    std::unique_ptr<SourceFile> file = OpenSourceFile(RealFile());
    ASSERT_TRUE(file);
    CollectingVisitor read;
    read.outcome = ReadStoreMessages(*file, {}, read);
    ASSERT_EQ(read.messages.size(), 28u);
    std::map<std::string, MessageFacts> byText;
    for (const ReadMessage& message : read.messages) byText[message.text] = message.facts;
    ASSERT_EQ(byText.size(), 28u);

    TempFolder dest;
    ExportResult result = Export(RealFile(), dest.Path());
    EXPECT_EQ(result.status, ExportStatus::Complete) << result.error;
    std::vector<fs::path> emls = FilesIn(dest.Path() / "test_OutlookDBX", ".eml");
    ASSERT_EQ(emls.size(), 28u);
    for (const fs::path& eml : emls) {
        SCOPED_TRACE(eml.filename().string());
        auto found = byText.find(ReadWhole(eml));  // the stored text, byte for byte
        ASSERT_NE(found, byText.end());
        const MessageFacts& facts = found->second;
        HeaderFacts header = ReadHeaderFacts(ReadWhole(eml));
        EXPECT_EQ(AsOutlookStoresIt(header.subject), facts.subject);
        ASSERT_TRUE(facts.date && header.date);
        EXPECT_EQ(*header.date, *facts.date);
        EXPECT_EQ(eml.filename().string().substr(0, 15), EmlStem(facts).substr(0, 15));
        auto stamp = std::chrono::file_clock::to_sys(fs::last_write_time(eml));
        EXPECT_EQ(std::chrono::duration_cast<std::chrono::seconds>(stamp.time_since_epoch()).count(), *facts.date);
        byText.erase(found);
    }
    std::vector<std::string> lines = ReadMboxWithPython(dest.Path() / "test_OutlookDBX.mbox");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "28");
    for (size_t i = 1; i < lines.size(); ++i) {
        size_t tab = lines[i].find('\t');
        ASSERT_NE(tab, std::string::npos);
        EXPECT_EQ(lines[i].substr(0, tab), read.messages[i - 1].facts.senderAddress);
        EXPECT_EQ(ParseMailDate(lines[i].substr(tab + 1)), read.messages[i - 1].facts.date);
    }
    EXPECT_NE(ReadWhole(dest.Path() / kReportFileName).find("exported: 28"), std::string::npos);
}

// A store folder: the folder index names and nests the output; a message
// file it does not list goes under Unlisted; files of other kinds are noted.
TEST(ExportEngine, StoreFolderIsNamedAfterItsIndexAndUnlistedFilesAreSetApart) {
    TempFolder store, dest;
    WriteWhole(store.Path() / "folders.dbx",
               testing::BuildFolderIndex({DbxFolder::Root("Main Identity"), DbxFolder::NoFile(1, 0, "Local Folders"),
                                          DbxFolder::Mail(2, 1, "Inbox", "Inbox.dbx"),
                                          DbxFolder::Mail(3, 2, "Mail: 2024/25", "Old.dbx")}));
    WriteWhole(store.Path() / "Inbox.dbx", BuildDbxMessageFile(Samples(3)));
    WriteWhole(store.Path() / "Old.dbx", BuildDbxMessageFile(Samples(2)));
    WriteWhole(store.Path() / "Stray.dbx", BuildDbxMessageFile(Samples(1)));
    std::vector<uint8_t> uidls = testing::StoreFileBytes(0);
    uidls[4] = 0xC7;  // the signature of Pop3uidl.dbx: a store file, not of messages
    WriteWhole(store.Path() / "Pop3uidl.dbx", uidls);
    ExportResult result = Export(store.Path(), dest.Path());
    EXPECT_EQ(result.status, ExportStatus::Complete) << result.error;
    EXPECT_EQ(FilesIn(dest.Path() / "Local Folders" / "Inbox", ".eml").size(), 5u);  // its own 3, and 2 below
    EXPECT_EQ(FilesIn(dest.Path() / "Local Folders" / "Inbox" / "Mail_ 2024_25", ".eml").size(), 2u);
    EXPECT_EQ(FilesIn(dest.Path() / "Unlisted" / "Stray", ".eml").size(), 1u);
    for (const char* mbox : {"Local Folders/Inbox.mbox", "Local Folders/Inbox/Mail_ 2024_25.mbox", "Unlisted/Stray.mbox"}) {
        EXPECT_TRUE(fs::exists(dest.Path() / mbox)) << mbox;
    }
    EXPECT_EQ(ReadMboxWithPython(dest.Path() / "Local Folders" / "Inbox.mbox").at(0), "3");
    EXPECT_NE(ReadWhole(result.reportPath).find("not an Outlook Express message file"), std::string::npos);
    EXPECT_TRUE(FilesIn(dest.Path(), ".part").empty());
}

// A Corvane archive of the store (as the backup writes it, the paths of the
// store files inside and the log beside): the store files come out into a
// working folder under DEST, are exported from there, and the working folder goes.
TEST(ExportEngine, AnArchiveIsExportedWithoutRestoringIt) {
    TempFolder store, dest;
    WriteWhole(store.Path() / "folders.dbx",
               testing::BuildFolderIndex({DbxFolder::Root("Main Identity"), DbxFolder::NoFile(1, 0, "Local Folders"),
                                          DbxFolder::Mail(2, 1, "Inbox", "Inbox.dbx")}));
    WriteWhole(store.Path() / "Inbox.dbx", BuildDbxMessageFile(Samples(4)));
    WriteWhole(store.Path() / "CorvaneBackup.log", std::vector<uint8_t>{'V', '5'});
    const fs::path archive = dest.Path().parent_path() / (dest.Path().filename().string() + ".zip");
    auto files = zip::MakeStdFileSystem();
    zip::ZipSettings settings;
    settings.archivePath = archive.string();
    settings.filesToProcess = (store.Path() / "*").string();
    zip::ZipEvents quiet;
    std::atomic<bool> never{false};
    ASSERT_EQ(zip::Compress(settings, *files, quiet, never), zip::result::kSuccess);

    ASSERT_TRUE(IsZipArchive(archive));
    ExportOptions options{archive, dest.Path()};
    ExportResult result = RunArchiveExport(options, {}, never, *files, nullptr);
    fs::remove(archive);
    EXPECT_EQ(result.status, ExportStatus::Complete) << result.error;
    EXPECT_EQ(FilesIn(dest.Path() / "Local Folders" / "Inbox", ".eml").size(), 4u);
    EXPECT_TRUE(fs::exists(dest.Path() / "Local Folders" / "Inbox.mbox"));
    for (const auto& entry : fs::directory_iterator(dest.Path()))
        EXPECT_EQ(entry.path().filename().string().rfind(".corvane-archive", 0), std::string::npos) << entry.path();
    EXPECT_FALSE(IsZipArchive(store.Path() / "Inbox.dbx"));
}

TEST(ExportEngine, VersionFourFolderFollowsFoldersNch) {
    TempFolder store, dest;
    WriteWhole(store.Path() / "folders.nch",
               testing::BuildFolderNch({{1, 0, "Inbox", "Inbox", 1}, {2, 1, "Family", "Fam", -1}}));
    WriteWhole(store.Path() / "Inbox.mbx", BuildMbxFile({Sample(1).text, Sample(2).text}));
    WriteWhole(store.Path() / "Fam.mbx", BuildMbxFile({Sample(3).text}));
    ExportOptions options;
    options.source = store.Path();
    options.dest = dest.Path();
    options.mbox = false;
    std::atomic<bool> cancel{false};
    ExportResult result = RunExport(options, {}, cancel);
    EXPECT_EQ(result.status, ExportStatus::Complete) << result.error;
    EXPECT_EQ(FilesIn(dest.Path() / "Inbox" / "Family", ".eml").size(), 1u);
    EXPECT_EQ(FilesIn(dest.Path() / "Inbox", ".eml").size(), 3u);
    EXPECT_TRUE(FilesIn(dest.Path(), ".mbox").empty());
}

TEST(ExportEngine, DamagedFileExportsTheRestAndReportsOffsetsAndRecovery) {
    TempFolder store, dest;
    DbxMessageLayout layout;
    std::vector<uint8_t> bytes = BuildDbxMessageFile(Samples(5, 2), &layout);
    PutLe32(bytes, layout.blocks[2][1] + 12, layout.blocks[2][0]);  // message 2 loops
    WriteWhole(store.Path() / "Inbox.dbx", bytes);
    std::ostringstream out, err;
    std::atomic<bool> cancel{false};
    std::string source = (store.Path() / "Inbox.dbx").string();
    EXPECT_EQ(RunExportCommand({"--eml", source, (dest.Path() / "a").string()}, out, err, cancel), 1);
    EXPECT_EQ(FilesIn(dest.Path() / "a", ".eml").size(), 4u);
    EXPECT_TRUE(FilesIn(dest.Path() / "a", ".mbox").empty());
    std::string report = ReadWhole(dest.Path() / "a" / kReportFileName);
    EXPECT_NE(report.find("unreadable: 1"), std::string::npos) << report;
    char offset[16];
    std::snprintf(offset, sizeof offset, "0x%08X", static_cast<unsigned>(layout.records[2]));
    EXPECT_NE(report.find(offset), std::string::npos) << report;
    EXPECT_NE(err.str().find(offset), std::string::npos);

    PutLe32(bytes, 0xE4, 0);  // and now the tree is gone too
    WriteWhole(store.Path() / "Inbox.dbx", bytes);
    ExportResult recovered = Export(store.Path() / "Inbox.dbx", dest.Path() / "b", true);
    ASSERT_EQ(recovered.folders.size(), 1u);
    EXPECT_EQ(recovered.folders[0].recovered, 4);
    EXPECT_EQ(FilesIn(dest.Path() / "b" / "Recovered" / "Inbox", ".eml").size(), 4u);
    EXPECT_EQ(ReadMboxWithPython(dest.Path() / "b" / "Recovered" / "Inbox.mbox").at(0), "4");
}

TEST(ExportEngine, ExistingFilesAreNeverOverwritten) {
    TempFolder store, dest;
    std::vector<testing::StoredMessage> messages = Samples(1);
    WriteWhole(store.Path() / "Inbox.dbx", BuildDbxMessageFile(messages));
    ASSERT_EQ(Export(store.Path() / "Inbox.dbx", dest.Path()).status, ExportStatus::Complete);
    std::vector<fs::path> first = FilesIn(dest.Path(), ".eml");
    ASSERT_EQ(first.size(), 1u);
    std::ofstream(first[0], std::ios::trunc) << "mine";
    ASSERT_EQ(Export(store.Path() / "Inbox.dbx", dest.Path()).status, ExportStatus::Complete);
    EXPECT_EQ(ReadWhole(first[0]), "mine");
    EXPECT_EQ(FilesIn(dest.Path(), ".eml").size(), 2u);
    EXPECT_TRUE(fs::exists(dest.Path() / "Inbox (2).mbox"));
    EXPECT_TRUE(fs::exists(dest.Path() / "export-report (2).txt"));
}

// DEST holding the source folder is allowed, but no output folder may lead
// back into the source, whatever the index calls its folders.
TEST(ExportEngine, AFolderNamedLikeTheSourceNeverLeadsBackIntoIt) {
    TempFolder dest;
    const fs::path store = dest.Path() / "Mail";
    fs::create_directories(store);
    WriteWhole(store / "folders.dbx", testing::BuildFolderIndex({DbxFolder::Mail(2, 0, "Mail", "Inbox.dbx")}));
    WriteWhole(store / "Inbox.dbx", BuildDbxMessageFile(Samples(2)));
    ExportResult result = Export(store, dest.Path());
    EXPECT_EQ(result.status, ExportStatus::WriteFailed);
    EXPECT_NE(result.error.find("inside the source folder"), std::string::npos) << result.error;
    EXPECT_TRUE(FilesIn(store, ".eml").empty());
    EXPECT_TRUE(FilesIn(dest.Path(), ".mbox").empty());
}

TEST(ExportEngine, CancelLeavesOnlyWholeFiles) {
    TempFolder store, dest;
    WriteWhole(store.Path() / "Inbox.dbx", BuildDbxMessageFile(Samples(400, 3)));
    ExportOptions options;
    options.source = store.Path() / "Inbox.dbx";
    options.dest = dest.Path();
    std::atomic<bool> cancel{false};
    ExportEvents events;
    events.onProgress = [&](int percent) {
        if (percent >= 30) cancel = true;
    };
    ExportResult result = RunExport(options, events, cancel);
    EXPECT_EQ(result.status, ExportStatus::Cancelled);
    EXPECT_EQ(ExitCode(result), 1);
    EXPECT_TRUE(FilesIn(dest.Path(), ".part").empty());
    EXPECT_TRUE(FilesIn(dest.Path(), ".mbox").empty());  // the folder's mbox was not whole
    std::set<std::string> texts;
    for (const testing::StoredMessage& message : Samples(400, 3)) texts.insert(message.text);
    std::vector<fs::path> emls = FilesIn(dest.Path(), ".eml");
    EXPECT_LT(emls.size(), 400u);
    for (const fs::path& eml : emls) EXPECT_EQ(texts.count(ReadWhole(eml)), 1u) << eml;
}

TEST(ExportEngine, BadUsageBadSourcesAndDestinationsInsideTheSourceExitWithTwo) {
    TempFolder store;
    WriteWhole(store.Path() / "Inbox.dbx", BuildDbxMessageFile(Samples(1)));
    WriteWhole(store.Path() / "notes.mbx", {'t', 'e', 'x', 't'});
    std::atomic<bool> cancel{false};
    auto run = [&](std::vector<std::string> args) {
        std::ostringstream out, err;
        return RunExportCommand(args, out, err, cancel);
    };
    const std::string dbx = (store.Path() / "Inbox.dbx").string();
    EXPECT_EQ(run({}), 2);
    EXPECT_EQ(run({"--bogus", dbx, "/tmp/x"}), 2);
    EXPECT_EQ(run({dbx}), 2);
    EXPECT_EQ(run({(store.Path() / "missing.dbx").string(), (store.Path() / "out").string() + "-x"}), 2);
    EXPECT_EQ(run({(store.Path() / "notes.mbx").string(), store.Path().string() + "-out"}), 2);
    EXPECT_EQ(run({dbx, (store.Path() / "out").string()}), 2);  // inside the source's folder
    EXPECT_EQ(run({store.Path().string(), store.Path().string()}), 2);
    EXPECT_FALSE(fs::exists(store.Path() / "out"));
    EXPECT_EQ(run({"--help"}), 0);
    CommandLine line;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"--mbox", "s", "d"}, line, error));
    EXPECT_TRUE(line.options.mbox);
    EXPECT_FALSE(line.options.eml);
    ASSERT_TRUE(ParseCommandLine({"s", "d", "--recover"}, line, error));
    EXPECT_TRUE(line.options.eml && line.options.mbox && line.options.recover);
    fs::remove_all(store.Path().string() + "-out");
}

}  // namespace
}  // namespace corvane::exporting

// The export operation as the export window runs it: from the store of an
// identity, from an archive the real backup made (on disk and over
// diskettes), and stopped midway. The store is the wizard's sample, whose
// message files hold real messages.
#include "corvane/operations/ExportOperation.h"
#include "tests/main/BackupDriver.h"
#include "tests/main/FaultSupport.h"
#include "tests/operations/BoundedRun.h"

#include <filesystem>
#include <set>

using namespace corvane;
using namespace corvane::testing;

namespace {

namespace fs = std::filesystem;

const std::string kId = "{D4D4D4D4-0000-4000-8000-000000000028}";
constexpr int64_t kSampleMessages = 975;  // every message of the sample's message files

class ExportOperation : public BackupDriverTest {
protected:
    void SetUp() override {
        BackupDriverTest::SetUp();
        Version5Sample("export-operation", kId);
        out = root + "\\Exported";
    }
    ops::ExportOutcome Run(const std::string& source, std::function<bool(const QuestionCall&)> answer = nullptr) {
        ops::ExportInput input;
        input.source = fs::path(source);
        input.dest = fs::path(out);
        events.answer = [&, answer](const QuestionCall& call) {
            asked.push_back(call);
            return answer ? answer(call) : false;
        };
        events.progress = [&](const ProgressReport& report) {
            reports.push_back(report);
            if (stopAt && report.activity == Activity::Exporting && report.item == stopAt) events.StopFlag() = true;
        };
        ops::ExportOutcome outcome;
        RunWithin(120, [&] { outcome = ops::RunExport(input, events); });
        return outcome;
    }
    std::set<std::string> FoldersReported() const {
        std::set<std::string> folders;
        for (const ProgressReport& report : reports)
            if (report.activity == Activity::Exporting && !report.item.empty()) folders.insert(report.item);
        return folders;
    }

    std::string out;
    InlineEvents events;
    std::vector<QuestionCall> asked;
    std::vector<ProgressReport> reports;
    const char* stopAt = nullptr;
};

TEST_F(ExportOperation, TheStoreOfAnIdentityComesOutFolderByFolderWithItsProgress) {
    ops::ExportOutcome outcome = Run(store);
    ASSERT_EQ(outcome.kind, ops::Kind::Complete) << outcome.result.error;
    EXPECT_FALSE(outcome.fromArchive);
    EXPECT_EQ(outcome.result.status, exporting::ExportStatus::Complete);
    EXPECT_EQ(outcome.Exported(), kSampleMessages);
    EXPECT_EQ(outcome.Unreadable(), 0);
    EXPECT_EQ(CountFilesEnding(out + "\\Local Folders\\Inbox", ".eml"), 42u);
    EXPECT_EQ(CountFilesEnding(out + "\\Local Folders\\Work\\Projects", ".eml"), 16u);
    EXPECT_EQ(CountFilesEnding(out, ".eml"), static_cast<size_t>(kSampleMessages));
    EXPECT_TRUE(fs::exists(fs::path(out + "\\news.example.com\\comp.lang.c++.mbox")));
    // The window hears each folder as it begins, and the percentage ends at 100.
    const std::set<std::string> folders = FoldersReported();
    for (const char* folder : {"Local Folders/Inbox", "Local Folders/Work/Projects", "news.example.com/alt.test"})
        EXPECT_EQ(folders.count(folder), 1u) << folder;
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back().percent, 100);
    EXPECT_TRUE(asked.empty());
}

TEST_F(ExportOperation, AnArchiveOfTheBackupExportsWithoutTouchingTheStore) {
    MakeArchive(destination);
    const std::string before = LogInside(archive);
    ops::ExportOutcome outcome = Run(archive);
    ASSERT_EQ(outcome.kind, ops::Kind::Complete) << outcome.result.error;
    EXPECT_TRUE(outcome.fromArchive);
    EXPECT_EQ(outcome.Exported(), kSampleMessages);
    EXPECT_EQ(CountFilesEnding(out + "\\Local Folders\\Family", ".eml"), 35u);
    // Nothing of the archive's reading stays behind, and the archive is as it was.
    for (const auto& entry : fs::directory_iterator(fs::path(out)))
        EXPECT_NE(entry.path().filename().string().rfind(".corvane-archive", 0), 0u) << entry.path();
    EXPECT_EQ(LogInside(archive), before);
    EXPECT_TRUE(ArchiveTestsSound(archive));
}

TEST_F(ExportOperation, ASetOfDiskettesAsksForItsDisksAndADeclinedDiskStopsWithNothingHalfDone) {
    REQUIRE_SMALL_VOLUME('b');
    std::vector<std::string> volumes = DisketteSet("export-diskettes");
    ASSERT_GE(volumes.size(), 3u);

    // Each disk asked for goes into the drive.
    ops::ExportOutcome outcome = Run(archive, [&](const QuestionCall& call) {
        EXPECT_EQ(call.question, Question::RestoreDisk);
        const std::string& volume = call.number == 0 ? volumes.back() : volumes.at(call.number - 1);
        return CopyFileA(volume.c_str(), archive.c_str(), FALSE) != 0;
    });
    ASSERT_EQ(outcome.kind, ops::Kind::Complete) << outcome.result.error;
    EXPECT_EQ(outcome.Exported(), kSampleMessages);
    EXPECT_FALSE(asked.empty());

    // A disk not given ends the export before a message is written.
    fs::remove_all(fs::path(out));
    CopyFileA(volumes.back().c_str(), archive.c_str(), FALSE);
    asked.clear();
    outcome = Run(archive, [](const QuestionCall& call) { return call.number == 0; });
    EXPECT_EQ(outcome.kind, ops::Kind::Cancelled);
    EXPECT_FALSE(asked.empty());
    EXPECT_EQ(CountFilesEnding(out, ".eml") + CountFilesEnding(out, ".mbox") + CountFilesEnding(out, ".dbx"), 0u);
}

TEST_F(ExportOperation, StoppedMidwayItKeepsWhatIsWholeAndSaysSo) {
    stopAt = "Local Folders/Work";
    ops::ExportOutcome outcome = Run(store);
    EXPECT_EQ(outcome.kind, ops::Kind::Cancelled);
    EXPECT_EQ(outcome.result.status, exporting::ExportStatus::Cancelled);
    EXPECT_LT(outcome.Exported(), kSampleMessages);
    // Every file there is a whole message: what was counted is what is there.
    EXPECT_EQ(static_cast<int64_t>(CountFilesEnding(out, ".eml")), outcome.Exported());
    EXPECT_EQ(CountFilesEnding(out, ".tmp"), 0u);
    EXPECT_FALSE(outcome.result.reportPath.empty());
}

}  // namespace

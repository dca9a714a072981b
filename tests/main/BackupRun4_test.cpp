// A version-4 store backed up end to end on the real main window: the
// sample store's folders, sub-folders and news accounts go through the
// wizard into an archive that the host's unzip lists and tests.
#include "corvane/backup/zip/ZipNames.h"
#include "corvane/catalog/CatalogModel.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/main/WizardIds.h"
#include "corvane/main/frmMain.h"
#include "corvane/main/frmMain_BackupRun.h"
#include "corvane/main/frmMain_BackupStart.h"
#include "testsupport/OeTestSupport.h"

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::testing;

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

class BackupRunV4 : public OeRegistryTest {
protected:
    void SetUp() override {
        OeRegistryTest::SetUp();
        root = FreshTestFolder("run4");
        ASSERT_TRUE(MakeSampleVersion4Installation(oe, root));
        mail = root + "\\Store\\Mail";
        news = root + "\\Store\\News";
        destination = root + "\\Backups";
        ASSERT_TRUE(SyntheticOE::MakeFolders(destination));
        SaveCorvaneSetting("", "WarnVirus", "N");
    }
    void ToLastPage() {
        window = std::make_unique<frmMain>(nullptr, "");
        ASSERT_TRUE(window->Create());
        AttachBackupStart(*window);
        AttachBackupRun(*window);
        boxes.reset();
        boxes = std::make_unique<ScriptedMessageBoxes>();
        window->cmdBackup_Click();
        window->Backup.SaveFolder = destination;
        for (int step = 0; step < 3; ++step) window->btnNext_Click();
        ASSERT_EQ(window->WizardStep, 3);
        archive = window->ControlText(IDC_TXTBACKNAME);
    }
    int Row(const std::string& file) const {
        return window->tlMail.Find(catalog::NamedValue::Text(file), 1, window->tlMail.Count() - 1,
                                   catalog::names::kMbxName);
    }
    void Untick(const std::string& file) {
        int row = Row(file);
        ASSERT_GT(row, 0) << file;
        window->tlMail.SetMark(row, 0);
        window->tlMail.SetNumberValue(row, catalog::names::kFlgSave, 0);
    }
    // The archive's entries in their stored order.
    std::vector<std::string> Entries() const {
        std::string listing;
        EXPECT_EQ(RunHostCommand("unzip -Z1 '" + HostPath(archive) + "'", &listing), 0) << listing;
        std::vector<std::string> names;
        std::istringstream lines(listing);
        for (std::string line; std::getline(lines, line);) names.push_back(Lower(line));
        return names;
    }
    std::string EntryOf(const std::string& path) const { return Lower(zip::EntryNameFromPath(path)); }

    std::string root, mail, news, destination, archive;
    std::unique_ptr<ScriptedMessageBoxes> boxes = std::make_unique<ScriptedMessageBoxes>();
    FixedClock clock{CalendarTime{2001, 1, 31, 14, 15, 0}};
    RecordingLauncher launcher;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> window;
};

TEST_F(BackupRunV4, ArchiveHoldsTheIndexFirstTheMailFilesTheNewsFoldersAndTheLog) {
    ToLastPage();
    EXPECT_EQ(archive, destination + "\\CorvaneBackup.2001-01-31.zip");
    Untick("Family.mbx");  // Receipts beneath stays ticked: Family is logged as its parent only
    Untick("corpnews");
    const std::string family = std::to_string(Row("Family.mbx"));
    const std::string newsRow = std::to_string(Row("news.example.com"));
    const std::string controlFile = window->Store.ControlFilePath;
    window->doIT_Click();

    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{"Archive is complete"});
    EXPECT_FALSE(window->IsLoaded());
    std::vector<std::string> entries = Entries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.front(), EntryOf(mail + "\\Folders.nch"));
    std::vector<std::string> expected = {EntryOf(mail + "\\Folders.nch"), "corvanebackup.log"};
    for (const char* file :
         {"Inbox", "Outbox", "Sent Items", "Deleted Items", "Drafts", "Receipts", "Work", "Projects", "Archive 2001"})
        expected.push_back(EntryOf(mail + "\\" + file + ".mbx"));
    for (const char* file : {"comp.lang.c++.nws", "alt.test.nws", "grouplst.dat"})
        expected.push_back(EntryOf(news + "\\news.example.com\\" + file));
    std::vector<std::string> stored = entries;
    stored.erase(std::remove_if(stored.begin(), stored.end(),
                                [&](const std::string& name) {
                                    // The address book and the Favorites are not what this test is about.
                                    return name.find(".wab") != std::string::npos ||
                                           name.find("favorites/") != std::string::npos;
                                }),
                 stored.end());
    std::sort(stored.begin(), stored.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(stored, expected);
    std::string output;
    EXPECT_EQ(RunHostCommand("unzip -tq '" + HostPath(archive) + "'", &output), 0) << output;

    std::string log;
    RunHostCommand("unzip -p '" + HostPath(archive) + "' CorvaneBackup.log", &log);
    EXPECT_EQ(log.substr(0, log.find("\r\n")), "V5 - Corvane Backup started: Wed Jan 31, 2001 @ 02:15 PM  ");
    EXPECT_NE(log.find("\r\nNCH\tFolders.nch\r\n"), std::string::npos);
    EXPECT_NE(log.find("\r\nMBX\t\tMail Folders\t1\t0\t2\t0\t0\r\n"), std::string::npos);
    EXPECT_NE(log.find("\r\nMBX\tFamily.mbx\tFamily\t" + family + "\t1\t2\t35\t2\r\n"), std::string::npos);
    EXPECT_NE(log.find("\r\nNEWS\tnews.example.com\tnews.example.com\t" + newsRow + "\t0\t1\t0\t20\r\n"),
              std::string::npos);
    EXPECT_EQ(log.find("corpnews"), std::string::npos);

    EXPECT_EQ(CorvaneSetting("Parms", "LastBackup"), "20010131");
    EXPECT_EQ(CorvaneSetting("Parms", "LastSaveName"), "CorvaneBackup.2001-01-31.zip");
    const std::string control = ReadFileText(controlFile);
    EXPECT_NE(controlFile.find("brind4.ctl"), std::string::npos);
    EXPECT_NE(control.find("\x03Inbox.mbx\x03"), std::string::npos);
    EXPECT_NE(control.find("\x03"
                           "corpnews\x03"),
              std::string::npos);

    // The next start remembers what was left out.
    ToLastPage();
    EXPECT_EQ(window->tlMail.Mark(Row("Family.mbx")), 0);
    EXPECT_EQ(window->tlMail.Mark(Row("corpnews")), 0);
    EXPECT_EQ(window->tlMail.Mark(Row("Receipts.mbx")), 1);
}

}  // namespace

// The export window as a user works it, over the real main window: opened
// from the welcome page and the File menu, refusing what cannot work,
// running the export with its progress, stopped by Cancel, summed up.
#include "corvane/main/frmExportIds.h"
#include "tests/main/BackupDriver.h"
#include "testsupport/portable/MessageFileWriter.h"
#include "testsupport/portable/DbxWriter.h"

#include <filesystem>

using namespace corvane;
using namespace corvane::testing;

namespace {

namespace fs = std::filesystem;

const std::string kId = "{D4D4D4D4-0000-4000-8000-000000000029}";

class ExportWindow : public BackupDriverTest {
protected:
    void SetUp() override {
        BackupDriverTest::SetUp();
        Version5Sample("export-window", kId);
        out = root + "\\Exported";
        window = std::make_unique<frmMain>(nullptr, "");
        ASSERT_TRUE(window->Create());
    }
    // Whether the page showing holds control `id` (the dialog itself may not be shown yet).
    static bool Shows(HWND dialog, int id) { return (GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0; }
    // Ends the dialog when a failed step left it open, so the test ends.
    struct CloseWhenDone {
        HWND dialog;
        ~CloseWhenDone() {
            if (IsWindow(dialog)) EndDialog(dialog, IDCANCEL);
        }
    };
    // Clicks and lets the dialog handle it (and any box it shows).
    static void Press(HWND dialog, int id) {
        ClickButton(dialog, id);
        PumpUntil([] { return true; }, 1);
    }
    static bool Pump(const std::function<bool()>& done, double seconds = 60) { return PumpUntil(done, seconds); }

    std::string out;
};

TEST_F(ExportWindow, RefusesWhatCannotWorkThenExportsTheStoreAndSumsUp) {
    std::vector<std::string> seen;
    dialogs.Then([&](HWND dialog) {
        CloseWhenDone closer{dialog};
        // The store of this identity is offered first, its place fixed.
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_EXP_SRC_STORE), BST_CHECKED);
        EXPECT_EQ(ControlText(dialog, IDC_EXP_SRC_PATH), window->Store.MailFilesFolder);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_EXP_SRC_BROWSE)));

        Press(dialog, IDC_EXP_SRC_FOLDER);
        SetText(dialog, IDC_EXP_SRC_PATH, root + "\\Nothing here");
        Press(dialog, IDC_EXP_NEXT);
        EXPECT_TRUE(Shows(dialog, IDC_EXP_SRC_PATH));
        SetText(dialog, IDC_EXP_SRC_PATH, store);
        Press(dialog, IDC_EXP_NEXT);
        ASSERT_TRUE(Shows(dialog, IDC_EXP_DEST_PATH));

        SetText(dialog, IDC_EXP_DEST_PATH, store + "\\Exported");
        Press(dialog, IDC_EXP_NEXT);
        EXPECT_TRUE(Shows(dialog, IDC_EXP_DEST_PATH));
        SetText(dialog, IDC_EXP_DEST_PATH, out);
        Press(dialog, IDC_EXP_NEXT);
        ASSERT_TRUE(Shows(dialog, IDC_EXP_EML));
        EXPECT_EQ(ControlText(dialog, IDC_EXP_NEXT), "&Export");

        SetCheck(dialog, IDC_EXP_EML, false);
        SetCheck(dialog, IDC_EXP_MBOX, false);
        Press(dialog, IDC_EXP_NEXT);
        EXPECT_TRUE(Shows(dialog, IDC_EXP_EML));
        SetCheck(dialog, IDC_EXP_MBOX, true);
        Press(dialog, IDC_EXP_NEXT);
        ASSERT_TRUE(Pump([&] { return Shows(dialog, IDC_EXP_SUMMARY); }));
        seen.push_back(ControlText(dialog, IDC_EXP_SUMMARY));
        EXPECT_EQ(ControlText(dialog, IDC_EXP_NEXT), "&Finish");
        Press(dialog, IDC_EXP_OPEN_FOLDER);
        Press(dialog, IDC_EXP_NEXT);
    });
    SendMessageA(window->Handle(), WM_COMMAND, IDC_CMDEXPORT, 0);

    ASSERT_EQ(dialogs.Opened(), std::vector<int>{IDD_EXPORT});
    EXPECT_EQ(boxes->Texts(), (std::vector<std::string>{
                                  root + "\\Nothing here cannot be found, or is not of the kind chosen above.",
                                  "The messages cannot be written into the folder they are read from, or into a "
                                  "folder inside it. Choose another folder.",
                                  "Tick .eml files, mbox files or both."}));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].rfind("975 messages were exported into " + out + ".", 0), 0u) << seen[0];
    EXPECT_NE(seen[0].find("export-report.txt"), std::string::npos) << seen[0];
    ASSERT_EQ(launcher.Launched().size(), 1u);
    EXPECT_EQ(launcher.Launched()[0].file, out);
    // mbox only, as ticked; nothing was written into the store.
    EXPECT_EQ(CountFilesEnding(out, ".eml"), 0u);
    EXPECT_TRUE(fs::exists(fs::path(out + "\\Local Folders\\Inbox.mbox")));
    EXPECT_FALSE(fs::exists(fs::path(store + "\\Exported")));
}

TEST_F(ExportWindow, CancelDuringTheRunAsksThenStopsAndEveryFileIsWhole) {
    // One folder file large enough to be stopped in.
    std::vector<StoredMessage> messages;
    for (int i = 0; i < 20000; ++i) {
        StoredMessage message;
        message.text = MessageText("<a" + std::to_string(i) + "@example.com>", "Message " + std::to_string(i),
                                   "1 Mar 2003 10:00:00 +0000", std::string(600, 'x') + "\r\n");
        messages.push_back(std::move(message));
    }
    const std::string big = root + "\\Big";
    fs::create_directories(fs::path(big));
    ASSERT_TRUE(WriteBytes(big + "\\Big.dbx", BuildDbxMessageFile(messages)));

    std::string summary;
    boxes->Answer(IDNO);   // the first Cancel: go on
    boxes->Answer(IDYES);  // the second: stop
    dialogs.Then([&](HWND dialog) {
        CloseWhenDone closer{dialog};
        Press(dialog, IDC_EXP_SRC_FOLDER);
        SetText(dialog, IDC_EXP_SRC_PATH, big);
        Press(dialog, IDC_EXP_NEXT);
        SetText(dialog, IDC_EXP_DEST_PATH, out);
        Press(dialog, IDC_EXP_NEXT);
        Press(dialog, IDC_EXP_NEXT);
        ASSERT_TRUE(Pump([&] { return !ControlText(dialog, IDC_EXP_PROGRESS_TEXT).empty(); }));
        EXPECT_EQ(ControlText(dialog, IDC_EXP_PROGRESS_TEXT), "Exporting: Big");
        Press(dialog, IDCANCEL);
        EXPECT_TRUE(Shows(dialog, IDC_EXP_METER));  // "No": the run goes on
        Press(dialog, IDCANCEL);
        ASSERT_TRUE(Pump([&] { return Shows(dialog, IDC_EXP_SUMMARY); }));
        summary = ControlText(dialog, IDC_EXP_SUMMARY);
        Press(dialog, IDC_EXP_NEXT);
    });
    window->mFunction_Click(2);  // File > Export Messages...

    ASSERT_EQ(dialogs.Opened(), std::vector<int>{IDD_EXPORT});
    const std::string stop =
        "The messages are being exported. Do you want to stop? The files written so far stay, each of them whole.";
    EXPECT_EQ(boxes->Texts(), (std::vector<std::string>{stop, stop}));
    ASSERT_EQ(summary.rfind("The export was stopped. ", 0), 0u) << summary;
    // The count the summary gives is the count of files there, each whole.
    const size_t written = std::stoul(summary.substr(std::string("The export was stopped. ").size()));
    EXPECT_LT(written, messages.size());
    EXPECT_EQ(CountFilesEnding(out, ".eml"), written);
    EXPECT_EQ(CountFilesEnding(out, ".tmp"), 0u);
}

}  // namespace

// The archive choice with its real controls and the system's real open
// dialog under Wine, worked through the dialog seam as a user would.
#include "corvane/restore/frmGetLocn.h"

#include "corvane/restore/CDialog.h"
#include "corvane/restore/RestoreIds.h"
#include "testsupport/OeTestSupport.h"
#include "tests/restore/RestoreTestFiles.h"

#include <gtest/gtest.h>
#include <commdlg.h>
#include <dlgs.h>

#include <cctype>
#include <deque>
#include <vector>
#include <functional>

namespace corvane {
namespace {

using testing::ClickButton;
using testing::ControlText;
using testing::ScriptedDialogs;
using testing::ScriptedMessageBoxes;
using testing::WriteFile;

constexpr int kOk = IDC_GETLOCN_CMD + 0;
constexpr int kCancel = IDC_GETLOCN_CMD + 1;
constexpr int kPath = IDC_GETLOCN_TXTBACKUPLOCN;
constexpr int kNote = IDC_GETLOCN_LBL + 8;
constexpr int kLastDisk = IDC_GETLOCN_LBL + 4;

// Runs steps on a live dialog one after another, each once the messages the
// one before posted are handled and no dialog of its own is open over it.
class Steps {
public:
    using Step = std::function<void(HWND)>;
    static void Run(HWND dialog, std::deque<Step> steps) {
        current = {dialog, std::move(steps)};
        timer = SetTimer(nullptr, 0, 40, Tick);
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (!IsWindow(current.dialog) || current.steps.empty()) {
            KillTimer(nullptr, timer);
            return;
        }
        if (!IsWindowEnabled(current.dialog)) return;
        Step step = std::move(current.steps.front());
        current.steps.pop_front();
        step(current.dialog);
    }
    struct Chain {
        HWND dialog;
        std::deque<Step> steps;
    };
    static inline Chain current{nullptr, {}};
    static inline UINT_PTR timer = 0;
};

void ChooseType(HWND dialog, int index) {
    int id = IDC_GETLOCN_OPTTYPE + index;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Paths compared as Windows compares them (case, a trailing "\").
bool EqualsFolder(std::string a, std::string b) {
    for (auto* text : {&a, &b}) {
        if (text->size() > 3 && text->back() == '\\') text->pop_back();
        for (char& c : *text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    }
    return a == b;
}

bool Visible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

// What the system's open dialog showed when it came up.
struct FileDialogSeen {
    std::string title, folder, name, filter;
};

std::string FileNameControlText(HWND dialog) {
    HWND name = GetDlgItem(dialog, cmb13);
    if (!name) name = GetDlgItem(dialog, edt1);
    return WindowText(name);
}

// Notes what the open dialog shows, then chooses `choice` (Cancel when empty).
ScriptedDialogs::Action AnswerFileDialog(FileDialogSeen& seen, std::string choice) {
    return [&seen, choice](HWND dialog) {
        seen.title = WindowText(dialog);
        char folder[MAX_PATH] = {};
        SendMessageA(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
        seen.folder = folder;
        seen.name = FileNameControlText(dialog);
        seen.filter = WindowText(GetDlgItem(dialog, cmb1));
        if (choice.empty()) {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return;
        }
        HWND name = GetDlgItem(dialog, cmb13);
        SetDlgItemTextA(dialog, name ? cmb13 : edt1, choice.c_str());
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
}

class frmGetLocnTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testing::FreshTestFolder("getlocn");
        archive = folder + "\\Corvane5Backup.zip";
        other = folder + "\\Corvane5Backup_2.zip";
        WriteFile(archive, "PK");
        WriteFile(other, "PK");
    }
    // Shows the dialog with `preset` and works it through `steps`.
    // `fileDialog` answers the system's open dialog when a step browses.
    void Show(const std::string& preset, std::deque<Steps::Step> steps,
              std::vector<ScriptedDialogs::Action> fileDialogs = {}) {
        state.RestorePath = preset;
        dialogs.Then([steps](HWND dialog) mutable { Steps::Run(dialog, std::move(steps)); });
        for (auto& answer : fileDialogs) dialogs.Then(std::move(answer));
        frmGetLocn(state, "Corvane5Backup", "Corvane").Show(nullptr);
    }

    std::string folder, archive, other;
    RestoreState state;
    ScriptedDialogs dialogs;
    ScriptedMessageBoxes boxes;
};

TEST_F(frmGetLocnTest, OpensWithItsTextsTheArchiveShownAndOkDisabled) {
    std::string caption, path, presetDuring = "<unread>";
    bool okEnabled = true, noteShown = true, lastDiskShown = true;
    Show(archive, {[&](HWND dialog) {
             caption = WindowText(dialog);
             path = ControlText(dialog, kPath);
             presetDuring = state.RestorePath;
             okEnabled = Enabled(dialog, kOk);
             noteShown = Visible(dialog, kNote);
             lastDiskShown = Visible(dialog, kLastDisk);
             EXPECT_EQ(ControlText(dialog, IDC_GETLOCN_LBL + 0), "Select Type of Restore:");
             EXPECT_EQ(ControlText(dialog, IDC_GETLOCN_LBL + 3),
                       "The last archive was saved at the location shown. Select \"Browse\" if you wish to "
                       "restore from a  different archive file.");
             EXPECT_EQ(ControlText(dialog, IDC_GETLOCN_OPTTYPE + 2),
                       "&B.  Do a Full Restore of All Mail Folders from the Archive");
             EXPECT_EQ(GetWindowContextHelpId(dialog), 1002u);
             EXPECT_NE(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0), 0);
             ClickButton(dialog, kCancel);
         }});
    EXPECT_EQ(caption, "Select Archive File...");
    EXPECT_EQ(path, archive);
    EXPECT_EQ(presetDuring, "");  // cleared when the dialog opens
    EXPECT_FALSE(okEnabled);
    EXPECT_FALSE(noteShown);
    EXPECT_FALSE(lastDiskShown);
    EXPECT_EQ(state.RestorePath, "");
}

TEST_F(frmGetLocnTest, TheTypeChosenShowsItsNoteAndOkTakesAnExistingArchive) {
    for (int type : {2, 0}) {
        std::string note;
        Show(archive, {[&](HWND dialog) { ChooseType(dialog, type); },
                       [&](HWND dialog) {
                           note = ControlText(dialog, kNote);
                           EXPECT_TRUE(Visible(dialog, kNote));
                           EXPECT_TRUE(Enabled(dialog, kOk));
                           ClickButton(dialog, kOk);
                       }});
        EXPECT_EQ(state.RestorePath, archive);
        EXPECT_EQ(state.RestoreMode, type);
        EXPECT_EQ(note, type == 2 ? "All current mail folders will be replaced with the mail folders from the archive"
                                  : "Selected mail folders from the archive can be restored to existing folders.  You "
                                    "may, however, restore mail folders to a folder of a different name.");
    }
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(frmGetLocnTest, AMissingArchiveOffersRetryAndCancel) {
    boxes.Answer(IDRETRY);
    boxes.Answer(IDCANCEL);
    Show(folder + "\\missing.zip",
         {[](HWND dialog) { ChooseType(dialog, 0); }, [](HWND dialog) { ClickButton(dialog, kOk); },
          [](HWND dialog) { ClickButton(dialog, kOk); }});
    ASSERT_EQ(boxes.Shown().size(), 2u);  // Retry kept the dialog open for the second OK
    EXPECT_EQ(boxes.Shown()[0].text, "Archive file not found");
    EXPECT_EQ(boxes.Shown()[0].title, "Corvane");
    EXPECT_EQ(boxes.Shown()[0].style, static_cast<UINT>(MB_RETRYCANCEL | MB_ICONINFORMATION));
    EXPECT_EQ(state.RestorePath, "");

    boxes.Answer(IDRETRY);
    Show(folder + "\\missing.zip",
         {[](HWND dialog) { ChooseType(dialog, 2); }, [](HWND dialog) { ClickButton(dialog, kOk); },
          [&](HWND dialog) {
              testing::SetText(dialog, kPath, archive);
              ClickButton(dialog, kOk);
          }});
    EXPECT_EQ(state.RestorePath, archive);
}

TEST_F(frmGetLocnTest, BrowseStartsAtTheArchiveAndCancelAfterwardsLeavesNoPath) {
    FileDialogSeen seen;
    std::string shown;
    bool lastDisk = true;
    Show(archive,
         {[](HWND dialog) { ChooseType(dialog, 2); }, [](HWND dialog) { ClickButton(dialog, IDC_GETLOCN_CMDBRWSE); },
          [&](HWND dialog) {
              shown = ControlText(dialog, kPath);
              lastDisk = Visible(dialog, kLastDisk);
              ClickButton(dialog, kCancel);
          }},
         {AnswerFileDialog(seen, other)});
    EXPECT_EQ(dialogs.Opened(), (std::vector<int>{IDD_GETLOCN, CDialog::kObserverId}));
    EXPECT_EQ(seen.title, "Select Archive File to Restore");
    EXPECT_TRUE(EqualsFolder(seen.folder, folder)) << seen.folder;
    EXPECT_EQ(seen.name, "Corvane5Backup.zip");
    EXPECT_NE(seen.filter.find("Outlook Express Backups"), std::string::npos) << seen.filter;
    EXPECT_TRUE(EqualsFolder(shown, other)) << shown;
    EXPECT_FALSE(lastDisk);
    EXPECT_EQ(state.RestorePath, "");  // Cancel after a successful browse
}

TEST_F(frmGetLocnTest, BrowseWithoutAFolderOrFromDriveAStartsWithNoName) {
    FileDialogSeen seen;
    std::string shown;
    auto browseThenOk = [&](std::deque<Steps::Step>& steps) {
        steps = {[](HWND dialog) { ChooseType(dialog, 0); },
                 [](HWND dialog) { ClickButton(dialog, IDC_GETLOCN_CMDBRWSE); },
                 [&](HWND dialog) {
                     shown = ControlText(dialog, kPath);
                     ClickButton(dialog, kOk);
                 }};
    };
    std::deque<Steps::Step> steps;
    browseThenOk(steps);
    boxes.Answer(IDCANCEL);  // OK finds no such file: the box is answered Cancel
    Show("NoArchiveHere.zip", steps, {AnswerFileDialog(seen, "")});
    ASSERT_EQ(boxes.Texts(), std::vector<std::string>{"Archive file not found"});
    EXPECT_EQ(seen.name, "");
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_TRUE(EqualsFolder(seen.folder, current)) << seen.folder;
    EXPECT_EQ(shown, "NoArchiveHere.zip");  // Cancel in the file dialog leaves the text
    EXPECT_EQ(state.RestorePath, "");       // ... and OK finds no such file

    browseThenOk(steps);
    Show("a:\\Corvane5Backup.zip", steps, {AnswerFileDialog(seen, archive)});
    EXPECT_EQ(seen.name, "");
    EXPECT_TRUE(EqualsFolder(seen.folder, "c:\\")) << seen.folder;
    EXPECT_EQ(state.RestorePath, archive);
    EXPECT_EQ(boxes.Shown().size(), 1u);  // the archive chosen is there: no box
}

TEST_F(frmGetLocnTest, AnArchiveBrowsedOnADisketteShowsTheLastDiskNote) {
    const std::string onDiskette = "a:\\Corvane5Backup.zip";
    WriteFile(onDiskette, "PK");
    ASSERT_NE(GetFileAttributesA(onDiskette.c_str()), INVALID_FILE_ATTRIBUTES);
    FileDialogSeen seen;
    bool lastDisk = false;
    Show(archive,
         {[](HWND dialog) { ChooseType(dialog, 2); }, [](HWND dialog) { ClickButton(dialog, IDC_GETLOCN_CMDBRWSE); },
          [&](HWND dialog) {
              lastDisk = Visible(dialog, kLastDisk);
              ClickButton(dialog, kOk);
          }},
         {AnswerFileDialog(seen, onDiskette)});
    DeleteFileA(onDiskette.c_str());
    EXPECT_TRUE(lastDisk);
    EXPECT_TRUE(EqualsFolder(state.RestorePath, onDiskette)) << state.RestorePath;
}

}  // namespace
}  // namespace corvane

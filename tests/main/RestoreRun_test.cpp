// The restore end to end on the real main window: the sample store is
// archived by the backup run, changed, and restored from the archive; files
// are compared byte for byte with the originals.
#include "corvane/catalog/CatalogModel.h"
#include "corvane/environment/SysFcns.h"
#include "corvane/main/WizardIds.h"
#include "corvane/main/frmMain.h"
#include "corvane/main/frmMain_BackupRun.h"
#include "corvane/main/frmMain_BackupStart.h"
#include "corvane/main/frmMain_Restore.h"
#include "corvane/main/frmMain_RestoreStart.h"
#include "corvane/main/resource.h"
#include "corvane/restore/RestoreIds.h"
#include "corvane/restore/RestoreRun.h"
#include "corvane/restore/portable/RestoreMapping.h"
#include "tests/main/FaultSupport.h"
#include "tests/main/RestoreDriver.h"
#include "testsupport/OeTestSupport.h"
#include "tests/main/TreeViewItems.h"
#include "testsupport/portable/SampleStore.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace corvane;
using namespace corvane::testing;

namespace {

const std::string kId = "{D4D4D4D4-0000-4000-8000-00000000000E}";
const std::string kComplete = "Restore is Complete";
const char* const kMail[] = {"Inbox.dbx",  "Outbox.dbx", "Sent Items.dbx", "Deleted Items.dbx",
                             "Drafts.dbx", "Family.dbx", "Projects.dbx",   "Work.dbx"};

// Chooses the current folder `name` in the open chooser and presses `button`.
void Choose(HWND dialog, const std::string& name, int button) {
    HWND tree = TreeIn(dialog);
    ASSERT_NE(tree, nullptr);
    HTREEITEM item = FindTreeItem(tree, TreeView_GetRoot(tree), name);
    ASSERT_NE(item, nullptr) << name;
    TreeView_SelectItem(tree, item);
    ClickButton(dialog, button);
}
void RightClick(HWND dialog, const std::string& name) {
    HWND tree = TreeIn(dialog);
    HTREEITEM item = FindTreeItem(tree, TreeView_GetRoot(tree), name);
    ASSERT_NE(item, nullptr) << name;
    RECT rect{};
    TreeView_GetItemRect(tree, item, &rect, TRUE);
    SendMessageA(tree, WM_RBUTTONDOWN, MK_RBUTTON,
                 MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
}

// The row of `tree` whose first column is `text` (-1 when none).
int TextRow(const catalog::TreeList& tree, const std::string& text) {
    for (int i = 0; i < tree.Count(); ++i)
        if (restore::FirstColumn(tree.Text(i)) == text) return i;
    return -1;
}

// The store folder's file names, lower-cased, to see that nothing was left half-written.
std::vector<std::string> LowerFilesIn(const std::string& folder) {
    std::vector<std::string> names = FilesIn(folder);
    for (std::string& name : names) name = Lower(name);
    std::sort(names.begin(), names.end());
    return names;
}

class RestoreRun : public RestoreDriverTest {
protected:
    void SetUp() override {
        RestoreDriverTest::SetUp();
        Version5Sample("restore", kId);
        ASSERT_TRUE(SyntheticOE::WriteFile(root + "\\Main.wab", std::string(2000, 'w')));
        oe.SetAddressBook(root + "\\Main.wab");
        oe.SetFavorites(root + "\\Favorites");
        ASSERT_TRUE(SyntheticOE::WriteFile(root + "\\Favorites\\Debian.url", "[InternetShortcut]\r\n"));
        ASSERT_TRUE(
            SyntheticOE::WriteFile(root + "\\Favorites\\Links\\News.url", "[InternetShortcut]\r\nURL=news:\r\n"));
        ASSERT_TRUE(SyntheticOE::WriteFile(root + "\\Favorites\\Links\\README", "no extension"));
        MakeArchive(destination);
        for (const char* file : kMail) original[file] = ReadFileText(store + "\\" + file);
        original["Folders.dbx"] = ReadFileText(store + "\\Folders.dbx");
    }
    // The restore started with the button: the archive and the type chosen in
    // the archive choice, then whatever the caution (when it comes) is answered.
    void StartWithButton(int mode, std::function<void(HWND)> caution) {
        window = std::make_unique<frmMain>(nullptr, "");
        ASSERT_TRUE(window->Create());
        AttachRestoreStart(*window);
        session = &AttachRestore(*window);
        boxes.reset();
        boxes = std::make_unique<ScriptedMessageBoxes>();
        opened = dialogs.Opened().size();
        dialogs.Then([this, mode](HWND dialog) {
            SetText(dialog, IDC_GETLOCN_TXTBACKUPLOCN, archive);
            const int type = IDC_GETLOCN_OPTTYPE + mode;
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(type, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, type)));
            ClickButton(dialog, IDC_GETLOCN_CMD + 0);
        });
        if (caution) dialogs.Then(caution);
        window->cmdRestore_Click();
    }
    std::vector<int> OpenedSinceStart() const {
        return std::vector<int>(dialogs.Opened().begin() + static_cast<long>(opened), dialogs.Opened().end());
    }
    void RunRestore() {
        window->btnNext_Click();
        ASSERT_TRUE(RunToEnd());
    }
    void Spoil(const std::string& file) { ASSERT_TRUE(SyntheticOE::WriteFile(store + "\\" + file, "changed")); }
    std::string Stored(const std::string& file) const { return ReadFileText(store + "\\" + file); }

    size_t opened = 0;
};

TEST_F(RestoreRun, SelectedRestoreReplacesOnlyTheMarkedFolderAndAnAlternateTarget) {
    Spoil("Inbox.dbx");
    Spoil("Family.dbx");
    Spoil("Drafts.dbx");
    OpenArchive(0, archive);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(window->Caption().rfind("Restoring from: ", 0), 0u) << window->Caption();
    EXPECT_EQ(window->tlMail.Text(0), "Outlook Express");
    Click("Inbox.dbx");
    EXPECT_EQ(window->tlMail.Text(Row("Inbox.dbx")), "Inbox\t>>> Inbox");
    // The archive's Family goes into the current Drafts.
    window->tlMail.SetSelected(Row("Family.dbx"));
    ASSERT_TRUE(session->SendSelectedTo("Drafts.dbx", "Drafts", 3));
    EXPECT_FALSE(session->SendSelectedTo("..\\..\\victim.dbx", "x", 3));
    RunRestore();
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{kComplete});
    EXPECT_FALSE(window->IsLoaded());
    EXPECT_EQ(Stored("Inbox.dbx"), original["Inbox.dbx"]);
    EXPECT_EQ(Stored("Drafts.dbx"), original["Family.dbx"]);
    EXPECT_EQ(Stored("Family.dbx"), "changed");  // not marked under its own name
    EXPECT_EQ(Stored("Work.dbx"), original["Work.dbx"]);
}

// The right button on an archive item tells what the archive holds of it:
// its messages, and no size (the archive holds it compressed).
TEST_F(RestoreRun, RightClickOnAnArchiveItemTellsWhatTheArchiveHoldsOfIt) {
    OpenArchive(0, archive);
    ASSERT_TRUE(loaded);
    HWND tree = TreeIn(window->Handle());
    ASSERT_NE(tree, nullptr);
    HTREEITEM inbox = FindTreeItem(tree, TreeView_GetRoot(tree), "Inbox");
    ASSERT_NE(inbox, nullptr);
    RECT rect{};
    TreeView_GetItemRect(tree, inbox, &rect, TRUE);
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMessageA(tree, WM_RBUTTONDOWN, MK_RBUTTON, at);
    SendMessageA(tree, WM_RBUTTONUP, 0, at);
    ASSERT_EQ(boxes->Shown().size(), 1u);
    EXPECT_EQ(boxes->Shown()[0].text, "Folder : Inbox" + std::string(14, ' ') + "\r\nMessage Count: 42");
    EXPECT_EQ(window->tlMail.Selected(), Row("Inbox.dbx"));
    EXPECT_EQ(window->tlMail.Mark(Row("Inbox.dbx")), 0);  // telling is not ticking
}

// A folder without a file of its own is in the log but not in the archive:
// it cannot be marked.
TEST_F(RestoreRun, AFolderWithoutAFileCannotBeMarked) {
    OpenArchive(0, archive);
    ASSERT_TRUE(loaded);
    const int folder = TextRow(window->tlMail, "Archive 2001");
    ASSERT_GT(folder, 0);
    EXPECT_EQ(window->tlMail.Mark(folder), 2);
    EXPECT_EQ(window->tlMail.TextColour(folder), catalog::kGreyText);
    window->tlMail.SetSelected(folder);
    session->tlMail_MarkClick();
    EXPECT_EQ(window->tlMail.Mark(folder), 2);
}

TEST_F(RestoreRun, FullRestoreMovesTheOldFilesAsideAndRestoresEveryFolder) {
    for (const char* file : kMail) Spoil(file);
    Spoil("Folders.dbx");
    OpenArchive(2, archive);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(window->ControlText(IDC_LBL_RESTORE_FIRST),
              "For a \"Full Restore\", all Mail Folders in the archive will be restored.");
    EXPECT_EQ(window->tlMail.Mark(Row("Inbox.dbx")), 1);
    Click("Inbox.dbx");  // stays marked in a full restore
    EXPECT_EQ(window->tlMail.Mark(Row("Inbox.dbx")), 1);
    RunRestore();
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{kComplete});
    EXPECT_EQ(Stored("Folders.dbx"), original["Folders.dbx"]);
    for (const char* file : {"Inbox.dbx", "Family.dbx", "Projects.dbx"})
        EXPECT_EQ(Stored(file), original[file]) << file;
    const std::string dated = store + "\\backup2001-01-31";
    EXPECT_EQ(ReadFileText(dated + "\\Folders.dbx"), "changed");
    EXPECT_EQ(ReadFileText(dated + "\\Inbox.dbx"), "changed");

    // The same day again: the numbered folder.
    OpenArchive(2, archive);
    RunRestore();
    EXPECT_TRUE(FolderExists(dated + "_001"));
}

// An archive with no mail folder at all: a full restore still sets the
// folder index aside and restores it, and leaves the mail files alone.
TEST_F(RestoreRun, FullRestoreOfAnArchiveWithoutMailFoldersRestoresTheIndex) {
    const std::string folder = FreshTestFolder("restore-index-only");
    ToLastPage(folder);
    window->cmdSelect_Click(1);  // Clear All
    ASSERT_TRUE(RunToEnd());
    ASSERT_EQ(boxes->Texts(), std::vector<std::string>{"Archive is complete"});
    Spoil("Folders.dbx");
    Spoil("Inbox.dbx");
    OpenArchive(2, archive);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(restore::MarkedMailItems(window->tlMail).empty());
    RunRestore();
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{kComplete});
    EXPECT_EQ(Stored("Folders.dbx"), original["Folders.dbx"]);
    EXPECT_EQ(ReadFileText(store + "\\backup2001-01-31\\Folders.dbx"), "changed");
    EXPECT_EQ(Stored("Inbox.dbx"), "changed");
}

// A byte flipped in an entry's data: the current file stays as it was.
TEST_F(RestoreRun, CorruptEntryLeavesTheCurrentFileAndFullRestorePutsTheOldOneBack) {
    const std::string spoiled = destination + "\\spoiled.zip";
    ASSERT_TRUE(SyntheticOE::WriteFile(spoiled, WithEntryDamaged(ReadFileText(archive), "/inbox.dbx")));
    Spoil("Inbox.dbx");

    OpenArchive(0, spoiled);
    ASSERT_TRUE(loaded);
    Click("Inbox.dbx");
    RunRestore();
    // The failure is the last word: no "complete" follows it.
    ASSERT_EQ(boxes->Texts().size(), 1u);
    EXPECT_EQ(boxes->Texts()[0].rfind("Mail Folder Restore Failed - internal error ", 0), 0u) << boxes->Texts()[0];
    EXPECT_EQ(Stored("Inbox.dbx"), "changed");

    OpenArchive(2, spoiled);
    RunRestore();
    EXPECT_EQ(Stored("Inbox.dbx"), "changed");  // put back from the dated folder
    EXPECT_EQ(Stored("Family.dbx"), original["Family.dbx"]);
}

// The archive's Family restored into the current Drafts, chosen in the
// chooser of current folders; the chooser keeps its list between choices.
TEST_F(RestoreRun, AlternateFolderChosenInTheCurrentFolderList) {
    Spoil("Drafts.dbx");
    CountingSounds sounds;
    OpenArchive(0, archive);
    ASSERT_TRUE(loaded);
    ASSERT_TRUE(session->CurFoldersLoaded());
    // A current folder whose file is gone is shown grey.
    const catalog::TreeList& current = session->tlCurrent();
    ASSERT_GT(TextRow(current, "Old Mail"), 0);
    EXPECT_EQ(current.TextColour(TextRow(current, "Old Mail")), catalog::kGreyText);
    EXPECT_NE(current.TextColour(TextRow(current, "Drafts")), catalog::kGreyText);
    const int family = Row("Family.dbx");
    window->tlMail.SetSelected(family);
    // Cancel, and a folder whose file is gone: nothing changes.
    dialogs.Then([](HWND dialog) {
        EXPECT_EQ(WindowText(dialog), "Select Alternate Restore Folder");
        EXPECT_EQ(ControlText(dialog, IDC_SELFOLDER_LBL + 0), "Select current mail folder to use for the restore.");
        Choose(dialog, "Drafts", IDC_SELFOLDER_CMD + 1);
    });
    session->tlMail_DblClick();
    dialogs.Then([](HWND dialog) { Choose(dialog, "Old Mail", IDC_SELFOLDER_CMD + 0); });
    session->tlMail_DblClick();
    EXPECT_EQ(sounds.beeps, 1);
    EXPECT_EQ(window->tlMail.Mark(family), 0);
    EXPECT_EQ(window->tlMail.Text(family), "Family");

    // The right button tells a folder's message count; OK takes the selected one.
    dialogs.Then([](HWND dialog) {
        RightClick(dialog, "Inbox");
        Choose(dialog, "Drafts", IDC_SELFOLDER_CMD + 0);
    });
    session->tlMail_DblClick();
    ASSERT_EQ(boxes->Texts(),
              std::vector<std::string>{"Folder : Inbox" + std::string(14, ' ') + "\r\nMessage Count: 42"});
    EXPECT_EQ(window->tlMail.Text(family), "Family\t>>> Drafts");
    EXPECT_EQ(window->tlMail.Mark(family), 1);
    EXPECT_EQ(window->tlMail.TextValue(family, catalog::names::kRestoreToName), "Drafts.dbx");
    // Opened again, the chooser still has Drafts selected: OK alone keeps it.
    dialogs.Then([](HWND dialog) { ClickButton(dialog, IDC_SELFOLDER_CMD + 0); });
    session->tlMail_DblClick();
    EXPECT_EQ(window->tlMail.Text(family), "Family\t>>> Drafts");

    RunRestore();
    EXPECT_EQ(boxes->Texts().back(), kComplete);
    EXPECT_EQ(Stored("Drafts.dbx"), original["Family.dbx"]);
    EXPECT_EQ(Stored("Family.dbx"), original["Family.dbx"]);
}

// The address book comes back under the current one's name with the old one
// kept beside it; the Favorites come back with their sub-folders and files
// without an extension, into a Favorites folder that had gone.
TEST_F(RestoreRun, AddressBookAndFavorites) {
    const std::string wab = ReadFileText(root + "\\Main.wab");
    ASSERT_TRUE(SyntheticOE::WriteFile(root + "\\Main.wab", "current book"));
    oe.SetAddressBook(root + "\\Current.wab");
    ASSERT_TRUE(SyntheticOE::WriteFile(root + "\\Current.wab", "current book"));
    const std::string favorites = root + "\\Favorites";
    for (const char* file : {"\\Debian.url", "\\Links\\News.url", "\\Links\\README"})
        ASSERT_TRUE(DeleteFileA((favorites + file).c_str())) << file;
    ASSERT_TRUE(RemoveDirectoryA((favorites + "\\Links").c_str()) && RemoveDirectoryA(favorites.c_str()));
    OpenArchive(0, archive);
    ASSERT_TRUE(loaded);
    for (int type : {catalog::kTypeAddressBook, catalog::kTypeFavorites}) {
        int item = restore::FindItemOfType(window->tlMail, type);
        ASSERT_GT(item, 0) << type;
        window->tlMail.SetSelected(item);
        session->tlMail_MarkClick();
        EXPECT_EQ(window->tlMail.Mark(item), 1) << type;
    }
    RunRestore();
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{kComplete});
    EXPECT_EQ(ReadFileText(root + "\\Current.wab"), wab);
    EXPECT_EQ(ReadFileText(root + "\\Current.wax"), "current book");
    EXPECT_EQ(ReadFileText(root + "\\Main.wab"), "current book");  // not the current address book
    EXPECT_EQ(ReadFileText(root + "\\Favorites\\Debian.url"), "[InternetShortcut]\r\n");
    EXPECT_EQ(ReadFileText(root + "\\Favorites\\Links\\News.url"), "[InternetShortcut]\r\nURL=news:\r\n");
    EXPECT_EQ(ReadFileText(root + "\\Favorites\\Links\\README"), "no extension");
    EXPECT_EQ(Stored("Inbox.dbx"), original["Inbox.dbx"]);  // no mail folder was marked
}

// An archive whose log has the older layout (no "V5" banner): every row is
// taken as saved, the address book stands at the top under its own caption,
// and marked items restore as from a current log.
TEST_F(RestoreRun, OlderLayoutLogRestoresItsItems) {
    const std::string older = destination + "\\older.zip";
    const std::string script = destination + "\\older.py";
    ASSERT_TRUE(
        SyntheticOE::WriteFile(script,
                               "import sys, zipfile\n"
                               "with zipfile.ZipFile(sys.argv[1]) as z, zipfile.ZipFile(sys.argv[2], 'w') as out:\n"
                               "    for info in z.infolist():\n"
                               "        data = z.read(info)\n"
                               "        if info.filename.lower().endswith('corvanebackup.log'):\n"
                               "            data = data.replace(b'V5 - ', b'', 1)\n"
                               "        out.writestr(info, data)\n"));
    std::string output;
    ASSERT_EQ(RunHostCommand("python3 '" + HostPath(script) + "' '" + HostPath(archive) + "' '" + HostPath(older) + "'",
                             &output),
              0)
        << output;
    const std::string wab = ReadFileText(root + "\\Main.wab");
    ASSERT_TRUE(SyntheticOE::WriteFile(root + "\\Main.wab", "current book"));
    Spoil("Inbox.dbx");
    OpenArchive(0, older);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(window->Caption().rfind("Restoring from: ", 0), 0u) << window->Caption();
    const int book = restore::FindItemOfType(window->tlMail, catalog::kTypeAddressBook);
    ASSERT_GT(book, 0);
    EXPECT_EQ(window->tlMail.Text(book), "Windows Address Book (WAB)");
    EXPECT_EQ(window->tlMail.ParentPosition(book), 0);
    window->tlMail.SetSelected(book);
    session->tlMail_MarkClick();
    Click("Inbox.dbx");
    RunRestore();
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{kComplete});
    EXPECT_EQ(Stored("Inbox.dbx"), original["Inbox.dbx"]);
    EXPECT_EQ(ReadFileText(root + "\\Main.wab"), wab);
    EXPECT_EQ(Stored("Family.dbx"), original["Family.dbx"]);
}

// A restore from a set of diskettes (the 1.44 MB volume B:) where the user
// gives up at a disk prompt: the folder whose entry runs over the disks
// keeps its current file, nothing half-written stays in the store, and a
// full restore puts back what it had moved aside.
TEST_F(RestoreRun, CancelledDiskPromptLeavesTheCurrentFiles) {
    REQUIRE_SMALL_VOLUME('b');
    std::vector<std::string> volumes = DisketteSet("restore-diskettes");
    ASSERT_GE(volumes.size(), 3u);
    Spoil("Work.dbx");
    const std::vector<std::string> before = LowerFilesIn(store);

    // Each prompt is answered with the disk asked for, until disk 2: Cancel.
    auto diskettes = [&] {
        boxes->whileShown = [&](const MessageBoxCall& call) {
            const std::string prompt = "Please insert disk #";
            if (call.text == "Please insert the last disk of the archive set") {
                CopyFileA(volumes.back().c_str(), archive.c_str(), FALSE);
            } else if (call.text.rfind(prompt, 0) == 0) {
                size_t disk = std::stoul(call.text.substr(prompt.size()));
                if (disk == 2) return boxes->Answer(IDCANCEL);
                ASSERT_LE(disk, volumes.size());
                CopyFileA(volumes[disk - 1].c_str(), archive.c_str(), FALSE);
            }
        };
    };
    OpenArchive(0, archive);
    ASSERT_TRUE(loaded);
    diskettes();
    Click("Work.dbx");
    RunRestore();
    ASSERT_FALSE(boxes->Texts().empty());
    EXPECT_EQ(boxes->Texts().back(), "Please insert disk #2 of the archive set");
    EXPECT_EQ(Stored("Work.dbx"), "changed");
    EXPECT_EQ(LowerFilesIn(store), before);

    CopyFileA(volumes.back().c_str(), archive.c_str(), FALSE);
    OpenArchive(2, archive);
    ASSERT_TRUE(loaded);
    diskettes();
    RunRestore();
    EXPECT_EQ(boxes->Texts().back(), "Please insert disk #2 of the archive set");
    EXPECT_EQ(Stored("Work.dbx"), "changed");
    EXPECT_EQ(LowerFilesIn(store), before);
    for (const char* file : kMail) {
        std::string now = Stored(file);
        EXPECT_TRUE(now == original[file] || (std::string(file) == "Work.dbx" && now == "changed")) << file;
    }
}

// A log far larger than any the backup writes is refused before a byte of it
// is extracted.
TEST_F(RestoreRun, OversizedLogIsRefusedUnread) {
    const std::string huge = destination + "\\huge.zip";
    // 200 MiB of log, deflated to a few hundred kilobytes.
    const std::string script = destination + "\\huge.py";
    ASSERT_TRUE(SyntheticOE::WriteFile(script,
                                       "import sys, zipfile\n"
                                       "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:\n"
                                       "    z.writestr('CorvaneBackup.log', 'V5 - x\\r\\n' + 'x' * (200 << 20))\n"));
    std::string output;
    ASSERT_EQ(RunHostCommand("python3 '" + HostPath(script) + "' '" + HostPath(huge) + "'", &output), 0) << output;
    OpenArchive(0, huge);
    EXPECT_FALSE(loaded);
    EXPECT_EQ(boxes->Texts(), std::vector<std::string>{"The backup log in this archive is far larger than any log "
                                                       "Corvane writes, so the archive is not read."});
    EXPECT_FALSE(window->IsLoaded());
    EXPECT_FALSE(FileExists(window->Store.AppFolder + "\\CorvaneBackup.log"));
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    EXPECT_FALSE(FileExists(std::string(temp) + "CorvaneBackup.log"));
}

// A restore of selected folders first cautions that messages may be
// replaced, until told not to; a full restore never does.
TEST_F(RestoreRun, CautionBeforeASelectedRestoreUntilSilenced) {
    std::string caution;
    StartWithButton(0, [&caution](HWND dialog) {
        caution = ControlText(dialog, IDC_GENMSG_LABEL1);
        ClickButton(dialog, IDC_GENMSG_CMD + 1);  // No
    });
    EXPECT_EQ(OpenedSinceStart(), (std::vector<int>{IDD_GETLOCN, IDD_GENMSG}));
    EXPECT_EQ(caution,
              "CAUTION - You may replace existing mail messages with this option. Would you like additional Help on "
              "retaining existing messages?");
    EXPECT_TRUE(launcher.Launched().empty());
    EXPECT_EQ(CorvaneSetting(kId, "WarnOverWrite"), "Y");
    EXPECT_GT(Row("Inbox.dbx"), 0);  // the restore page follows

    // Yes opens the help on keeping messages; the ticked box silences it.
    StartWithButton(0, [](HWND dialog) {
        SetCheck(dialog, IDC_GENMSG_CHECK1, true);
        ClickButton(dialog, IDC_GENMSG_CMD + 0);
    });
    ASSERT_EQ(launcher.Launched().size(), 1u);
    EXPECT_NE(launcher.Launched()[0].file.find("1007.html"), std::string::npos) << launcher.Launched()[0].file;
    EXPECT_EQ(CorvaneSetting(kId, "WarnOverWrite"), "N");

    StartWithButton(0, nullptr);
    EXPECT_EQ(OpenedSinceStart(), std::vector<int>{IDD_GETLOCN});
    SaveCorvaneSetting(kId, "WarnOverWrite", "y");
    StartWithButton(2, nullptr);
    EXPECT_EQ(OpenedSinceStart(), std::vector<int>{IDD_GETLOCN});
    EXPECT_EQ(window->tlMail.Mark(Row("Inbox.dbx")), 1);  // the full restore's page
}

// Without the store's folder index no chooser opens; marking still works.
TEST_F(RestoreRun, NoFolderIndexMeansNoAlternateFolder) {
    ASSERT_TRUE(DeleteFileA((store + "\\Folders.dbx").c_str()));
    OpenArchive(0, archive);
    ASSERT_TRUE(loaded);
    EXPECT_FALSE(session->CurFoldersLoaded());
    window->tlMail.SetSelected(Row("Family.dbx"));
    const size_t opened = dialogs.Opened().size();
    session->tlMail_DblClick();
    EXPECT_EQ(dialogs.Opened().size(), opened);
    EXPECT_EQ(boxes->Texts(),
              std::vector<std::string>{
                  "The mail index file  is not available. You may only restore to a folder of the same name."});
    Click("Family.dbx");
    EXPECT_EQ(window->tlMail.Mark(Row("Family.dbx")), 1);
}

}  // namespace

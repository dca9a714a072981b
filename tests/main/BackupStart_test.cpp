// The backup wizard's start on the real main window: the anti-virus caution,
// the store read into tlMail, the tree view on the wizard page and the counts.
#include "corvane/catalog/Dbx5Reader.h"
#include "corvane/catalog/Selection.h"
#include "corvane/catalog/Win32Catalog.h"
#include "corvane/environment/OEGenFcns.h"
#include "corvane/main/ControlFileSave.h"
#include "corvane/main/WizardIds.h"
#include "corvane/main/frmMain.h"
#include "corvane/main/frmMain_BackupStart.h"
#include "corvane/main/resource.h"
#include "testsupport/portable/DbxWriter.h"
#include "testsupport/portable/NchWriter.h"
#include "testsupport/portable/SampleStore.h"
#include "testsupport/OeTestSupport.h"

#include <commctrl.h>

#include <memory>
#include <string>

using namespace corvane;
using namespace corvane::testing;

namespace {

const std::string kId = "{C3C3C3C3-0000-4000-8000-00000000000C}";

class BackupStart : public OeRegistryTest {
protected:
    // A version-5 identity whose store holds the sample folders (or no index at all).
    void Version5(bool withStore) {
        oe.RegisterProgram(kOeProgramPath5);
        store = FreshTestFolder("bstart") + "\\A";
        ASSERT_TRUE(SyntheticOE::MakeFolders(store));
        if (withStore) {
            ASSERT_TRUE(WriteSampleStore(store));
        }
        oe.AddIdentity(kId, "Main Identity", store);
        oe.SetDefaultIdentity(kId);
        oe.SetLastIdentity(kId);
    }
    // A version-4 store root whose Mail folder holds no index yet.
    std::string Version4() {
        oe.RegisterProgram(kOeProgramPath4);
        std::string root = FreshTestFolder("bstart4");
        CreateDirectoryA((root + "\\Mail").c_str(), nullptr);
        oe.SetVersion4StoreRoot(root);
        return root;
    }
    void Start() {
        window = std::make_unique<frmMain>(nullptr, "");
        ASSERT_TRUE(window->Create());
        AttachBackupStart(*window);
        boxes.reset();  // forget the start's boxes; the old script goes first
        boxes = std::make_unique<ScriptedMessageBoxes>();
    }
    // Answers the caution with its box ticked or not.
    void AnswerCaution(bool notAgain) {
        dialogs.Then([notAgain](HWND dialog) {
            caution = WindowTextOf(GetDlgItem(dialog, IDC_GENMSG_LABEL1));
            SetCheck(dialog, IDC_GENMSG_CHECK1, notAgain);
            ClickButton(dialog, IDC_GENMSG_CMD + 1);
        });
    }
    static std::string WindowTextOf(HWND control) {
        char text[512] = {};
        if (control) GetWindowTextA(control, text, sizeof text);
        return text;
    }
    std::string Text(int id) const { return WindowTextOf(window->Control(id)); }
    static bool Visible(HWND control) { return control && (GetWindowLongPtrA(control, GWL_STYLE) & WS_VISIBLE) != 0; }
    // The sample store's backup start without the caution; its tree view.
    HWND StartBackupOfTheSample() {
        Version5(true);
        SaveCorvaneSetting("", "WarnVirus", "N");
        Start();
        window->cmdBackup_Click();
        return TreeView();
    }
    // The TreeView inside the view's host, which carries the tree's id.
    HWND TreeView() const {
        HWND host = window->Control(IDC_TLMAIL);
        return host ? FindWindowExA(host, nullptr, WC_TREEVIEWA, nullptr) : nullptr;
    }

    std::string store;  // the version-5 store folder
    catalog::CatalogTotals totals;
    inline static std::string caution;
    std::unique_ptr<ScriptedMessageBoxes> boxes = std::make_unique<ScriptedMessageBoxes>();
    FixedClock clock{2001, 1, 31};
    RecordingLauncher launcher;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> window;
};

TEST_F(BackupStart, Version5StoreFillsTheTreeAndTheCounts) {
    Version5(true);
    Start();
    AnswerCaution(true);
    window->cmdBackup_Click();

    EXPECT_EQ(dialogs.Opened(), std::vector<int>{IDD_GENMSG});
    EXPECT_EQ(
        caution,
        "\r\nIt is a good idea to run your Anti Virus Software\r\nprior to making a backup of your email folders.");
    EXPECT_EQ(CorvaneSetting("", "WarnVirus"), "N");
    EXPECT_TRUE(boxes->Shown().empty());
    EXPECT_EQ(window->Wizard.Mode(), WizardMode::Backup);
    EXPECT_TRUE(Visible(window->picPage(1)));
    EXPECT_FALSE(Visible(window->picPage(0)));

    const int items = SampleStoreItemCount();
    ASSERT_EQ(window->tlMail.Count() - 1, items);
    EXPECT_EQ(window->Backup.ItemCount, items);
    EXPECT_EQ(Text(IDC_TXTCOUNT),
              std::to_string(window->Backup.SelectedCount) + " of " + std::to_string(items) + " Items");
    EXPECT_GT(window->Backup.SelectedCount, 0);  // nothing remembered: every folder with data is ticked
    EXPECT_NE(Text(IDC_TXTTOTALSIZE).find(" KBytes"), std::string::npos);

    // The view took the placeholder's place and shows every item of the list.
    HWND tree = TreeView();
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(static_cast<int>(TreeView_GetCount(tree)), window->tlMail.Count());
    EXPECT_EQ(Text(IDC_LBL_ITEMS_CAPTION), "Items to Save:");
    EXPECT_EQ(Text(IDC_LBL_DATA_CAPTION), "Total Data to Save:");
    EXPECT_EQ(Text(IDC_LBL_ESTIMATE_CAPTION), "Estimated Archive Size:");
    EXPECT_EQ(Text(IDC_CMD_SELECT_ALL), "&Select All");
    EXPECT_EQ(Text(IDC_TXTLOAD), "Click on the Check box to select items to copy to the archive.");

    // The select buttons act on the list and the counts follow.
    window->cmdSelect_Click(1);
    EXPECT_EQ(Text(IDC_TXTCOUNT), "0 of " + std::to_string(items) + " Items");
    EXPECT_EQ(Text(IDC_TXTTOTALSIZE), "0 KBytes");
    for (int position = 1; position < window->tlMail.Count(); ++position)
        EXPECT_NE(window->tlMail.Mark(position), 1) << position;
    window->cmdSelect_Click(0);
    EXPECT_EQ(Text(IDC_TXTCOUNT), std::to_string(items) + " of " + std::to_string(items) + " Items");
    EXPECT_GT(window->Backup.TotalBytes, 0);
}

// A point of the item's row where the TreeView reports the wanted part
// (its picture or its state image), left of the text.
POINT PartOf(HWND tree, HTREEITEM item, UINT part) {
    RECT text = {};
    TreeView_GetItemRect(tree, item, &text, TRUE);
    for (int x = 0; x < text.left; ++x) {
        TVHITTESTINFO hit{};
        hit.pt = {x, (text.top + text.bottom) / 2};
        if (TreeView_HitTest(tree, &hit) == item && (hit.flags & part) != 0) return hit.pt;
    }
    return {-1, -1};
}

void Click(HWND tree, POINT at, UINT down, UINT up) {
    SendMessageA(tree, down, 0, MAKELPARAM(at.x, at.y));
    SendMessageA(tree, up, 0, MAKELPARAM(at.x, at.y));
}

// Every item of the view, shown or folded away.
std::vector<HTREEITEM> AllItems(HWND tree, HTREEITEM first) {
    std::vector<HTREEITEM> items;
    for (HTREEITEM item = first; item != nullptr; item = TreeView_GetNextSibling(tree, item)) {
        items.push_back(item);
        std::vector<HTREEITEM> beneath = AllItems(tree, TreeView_GetChild(tree, item));
        items.insert(items.end(), beneath.begin(), beneath.end());
    }
    return items;
}

int PositionOf(HWND tree, HTREEITEM item) {
    TVITEMA data{};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    return item && TreeView_GetItem(tree, &data) ? static_cast<int>(data.lParam) : -1;
}

TEST_F(BackupStart, EachRowShowsOneBoxWhoseClickTicksTheItemAndThoseBeneath) {
    HWND tree = StartBackupOfTheSample();
    ASSERT_NE(tree, nullptr);
    std::vector<HTREEITEM> rows = AllItems(tree, TreeView_GetRoot(tree));
    ASSERT_EQ(static_cast<int>(rows.size()), window->tlMail.Count());
    // The mark is the item's state, not a second box beside the picture.
    int rowsWithStateImages = 0;
    for (HTREEITEM item : rows) {
        if (TreeView_GetItemState(tree, item, TVIS_STATEIMAGEMASK) != 0) ++rowsWithStateImages;
    }
    EXPECT_EQ(rowsWithStateImages, 0);
    HTREEITEM first = TreeView_GetChild(tree, TreeView_GetRoot(tree));  // the container "Local Folders"
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(PartOf(tree, first, TVHT_ONITEMSTATEICON).x, -1);

    window->cmdSelect_Click(1);
    const int items = window->Backup.ItemCount;
    const catalog::TreeList& list = window->tlMail;
    const int position = PositionOf(tree, first);
    const int beneath = list.CountBeneath(position);
    ASSERT_GT(beneath, 0);
    auto expectBranch = [&](int mark) {
        EXPECT_EQ(list.Mark(position), mark);
        for (int j = position; j <= position + beneath; ++j) {
            if (list.Mark(j) != 2) {
                EXPECT_EQ(list.Mark(j), mark) << list.Text(j);
            }
            EXPECT_EQ(list.Picture(j), list.Mark(j)) << list.Text(j);
        }
    };

    // The box ticks the container and every selectable folder beneath it.
    POINT picture = PartOf(tree, first, TVHT_ONITEMICON);
    ASSERT_GE(picture.x, 0);
    Click(tree, picture, WM_LBUTTONDOWN, WM_LBUTTONUP);
    EXPECT_EQ(list.Selected(), position);
    expectBranch(1);
    EXPECT_GT(window->Backup.SelectedCount, 1);
    EXPECT_EQ(Text(IDC_TXTCOUNT),
              std::to_string(window->Backup.SelectedCount) + " of " + std::to_string(items) + " Items");

    // Space is the same click: the branch is unticked again.
    SendMessageA(tree, WM_KEYDOWN, VK_SPACE, 0);
    expectBranch(0);
    EXPECT_EQ(window->Backup.SelectedCount, 0);
    EXPECT_EQ(Text(IDC_TXTCOUNT), "0 of " + std::to_string(items) + " Items");
}

TEST_F(BackupStart, RightClickHighlightsTheItemShowsItsDetailsAndSpaceActsOnIt) {
    HWND tree = StartBackupOfTheSample();
    ASSERT_NE(tree, nullptr);
    HTREEITEM local = TreeView_GetChild(tree, TreeView_GetRoot(tree));  // "Local Folders"
    HTREEITEM inbox = TreeView_GetChild(tree, local);
    HTREEITEM news = TreeView_GetNextSibling(tree, local);  // "news.example.com"
    ASSERT_NE(inbox, nullptr);
    ASSERT_NE(news, nullptr);
    const catalog::TreeList& list = window->tlMail;
    const int inboxAt = PositionOf(tree, inbox);
    const int newsAt = PositionOf(tree, news);
    const int inboxMark = list.Mark(inboxAt);
    ASSERT_EQ(list.Mark(newsAt), 0);

    // The Inbox is highlighted first; then the right button on the news server.
    ASSERT_TRUE(TreeView_SelectItem(tree, inbox));
    POINT onNews = PartOf(tree, news, TVHT_ONITEMICON);
    ASSERT_GE(onNews.x, 0);
    Click(tree, onNews, WM_RBUTTONDOWN, WM_RBUTTONUP);
    ASSERT_EQ(boxes->Shown().size(), 1u);
    EXPECT_EQ(boxes->Shown()[0].text, catalog::DetailsText(list, newsAt, true, catalog::LocaleThousandSeparator()));
    EXPECT_EQ(TreeView_GetSelection(tree), news);
    EXPECT_EQ(list.Selected(), newsAt);

    // Space acts on the highlighted item, not on the Inbox.
    SendMessageA(tree, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(list.Mark(newsAt), 1);
    EXPECT_EQ(list.Mark(inboxAt), inboxMark);

    // Off the items the right button tells nothing and keeps the highlight.
    RECT client = {};
    GetClientRect(tree, &client);
    Click(tree, {client.right - 2, client.bottom - 2}, WM_RBUTTONDOWN, WM_RBUTTONUP);
    EXPECT_EQ(boxes->Shown().size(), 1u);
    EXPECT_EQ(TreeView_GetSelection(tree), news);
}

TEST_F(BackupStart, CautionFollowsItsSettingAndAStartAgainRebuildsTheList) {
    Version5(true);
    SaveCorvaneSetting("", "WarnVirus", "N");
    Start();
    window->cmdBackup_Click();
    EXPECT_TRUE(dialogs.Opened().empty());
    const int count = window->tlMail.Count();
    EXPECT_GT(count, 1);

    // A second start (the page is open) neither doubles the list nor the view.
    SaveCorvaneSetting("", "WarnVirus", "Y");
    AnswerCaution(false);
    window->cmdBackup_Click();
    EXPECT_EQ(dialogs.Opened().size(), 1u);
    EXPECT_EQ(CorvaneSetting("", "WarnVirus"), "Y");
    EXPECT_EQ(window->tlMail.Count(), count);
    EXPECT_EQ(static_cast<int>(TreeView_GetCount(TreeView())), count);
}

TEST_F(BackupStart, MissingIndexKeepsTheWelcomePage) {
    Version5(false);
    Start();
    AnswerCaution(false);
    window->cmdBackup_Click();
    ASSERT_EQ(boxes->Shown().size(), 1u);
    EXPECT_EQ(boxes->Shown()[0].text, "Unable to find Index File (\"folders.dbx\")");
    EXPECT_EQ(boxes->Shown()[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_TRUE(Visible(window->picPage(0)));
    EXPECT_FALSE(Visible(window->picPage(1)));
    EXPECT_EQ(window->tlMail.Count(), 0);
}

TEST_F(BackupStart, AnIndexWithoutFoldersShowsNoneOfNoItems) {
    Version5(false);
    ASSERT_TRUE(WriteBytes(store + "\\folders.dbx", BuildFolderIndex({DbxFolder::Root("Main Identity")})));
    SaveCorvaneSetting("", "WarnVirus", "N");
    Start();
    window->cmdBackup_Click();
    EXPECT_TRUE(boxes->Shown().empty());
    EXPECT_TRUE(Visible(window->picPage(1)));
    EXPECT_EQ(Text(IDC_TXTCOUNT), "0 of 0 Items");
    window->cmdSelect_Click(0);
    EXPECT_EQ(Text(IDC_TXTCOUNT), "0 of 0 Items");
}

TEST_F(BackupStart, Version4StoreWithoutIndexKeepsTheWelcomePage) {
    Version4();
    SaveCorvaneSetting("", "WarnVirus", "N");
    Start();
    window->cmdBackup_Click();
    ASSERT_EQ(boxes->Shown().size(), 1u);
    EXPECT_EQ(boxes->Shown()[0].text, "Unable to find Index File (\"folders.nch\")");
    EXPECT_EQ(boxes->Shown()[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_TRUE(Visible(window->picPage(0)));
    EXPECT_EQ(window->tlMail.Count(), 0);
}

TEST_F(BackupStart, Version4StoreShowsItsFoldersUnderMailFoldersAndItsNewsAccounts) {
    ASSERT_TRUE(MakeSampleVersion4Installation(oe, FreshTestFolder("bstart4sample")));
    oe.SetFavorites("");
    SaveCorvaneSetting("", "WarnVirus", "N");
    Start();
    window->cmdBackup_Click();
    EXPECT_TRUE(boxes->Shown().empty());
    ASSERT_TRUE(Visible(window->picPage(1)));

    const catalog::TreeList& list = window->tlMail;
    std::vector<std::string> outline;
    for (int i = 0; i < list.Count(); ++i) outline.push_back(std::string(2 * list.Depth(i), ' ') + list.Text(i));
    EXPECT_EQ(outline,
              (std::vector<std::string>{"Outlook Express", "  Mail Folders", "    Inbox", "    Outbox",
                                        "    Sent Items", "    Deleted Items", "    Drafts", "    Family",
                                        "      Receipts", "    Work", "      Projects", "        Archive 2001",
                                        "  Corporate News", "  news.example.com", "  Windows Address Book (WAB)"}));
    const int items = SampleVersion4ItemCount() + 1;  // and the address book
    EXPECT_EQ(window->Backup.ItemCount, items);
    // Nothing remembered: everything but the group item is ticked, news included.
    EXPECT_EQ(list.Mark(1), 0);
    EXPECT_EQ(Text(IDC_TXTCOUNT), std::to_string(items - 1) + " of " + std::to_string(items) + " Items");
    int work = list.Find(catalog::NamedValue::Text("Work.mbx"), 1, list.Count() - 1, catalog::names::kMbxName);
    ASSERT_GT(work, 0);
    EXPECT_EQ(list.NumberValue(work, catalog::names::kMbxCounts), 240);
    EXPECT_EQ(list.NumberValue(work, catalog::names::kFileSize), 1'310'720);
    int news =
        list.Find(catalog::NamedValue::Number(catalog::kTypeNewsAccount), 1, list.Count() - 1, catalog::names::kType);
    ASSERT_GT(news, 0);
    EXPECT_EQ(list.Mark(news), 1);
    EXPECT_GT(list.NumberValue(news, catalog::names::kFileSize), 0);

    HWND tree = TreeView();
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(static_cast<int>(TreeView_GetCount(tree)), list.Count());
    // Select All counts the news folders' bytes as well.
    window->cmdSelect_Click(1);
    EXPECT_EQ(window->Backup.TotalBytes, 0);
    window->cmdSelect_Click(0);
    int64_t sum = 0;
    for (int i = 1; i < list.Count(); ++i) sum += list.NumberValue(i, catalog::names::kFileSize);
    EXPECT_EQ(window->Backup.TotalBytes, sum);
}

TEST_F(BackupStart, RunningOutlookExpressRefusesBeforeTheCaution) {
    Version5(true);
    Start();
    FakeOutlook book("WABBrowseView", "Address Book - Main Identity");
    ASSERT_TRUE(book.Window());
    window->cmdBackup_Click();
    EXPECT_TRUE(dialogs.Opened().empty());
    ASSERT_EQ(boxes->Shown().size(), 1u);
    EXPECT_EQ(boxes->Shown()[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_TRUE(window->Backup.AbortRequested);
    EXPECT_EQ(window->tlMail.Count(), 0);
    EXPECT_TRUE(Visible(window->picPage(0)));

    // The restore is refused the same way, and sets the same request.
    window->Backup.AbortRequested = false;
    int restoreStarts = 0;
    window->StartRestoreWizard = [&] { ++restoreStarts; };
    window->cmdRestore_Click();
    EXPECT_EQ(restoreStarts, 0);
    EXPECT_EQ(boxes->Shown().size(), 2u);
    EXPECT_TRUE(window->Backup.AbortRequested);
}

// The row of tlMail whose iType is `type`; -1 when none.
int RowOfType(const catalog::TreeList& list, int type) {
    for (int i = 1; i < list.Count(); ++i)
        if (list.NumberValue(i, catalog::names::kType) == type) return i;
    return -1;
}

HTREEITEM ItemAtPosition(HWND tree, int position) {
    for (HTREEITEM item : AllItems(tree, TreeView_GetRoot(tree)))
        if (PositionOf(tree, item) == position) return item;
    return nullptr;
}

TEST_F(BackupStart, AddressBookAndFavoritesJoinTheListWithTheirSizes) {
    Version5(true);
    // The book named with the system's placeholder, as Outlook Express writes it.
    const std::string wab = WindowsFolderPath() + "\\CorvaneTest.wab";
    ASSERT_TRUE(SyntheticOE::WriteFile(wab, std::string(3000, 'w')));
    oe.SetAddressBook("%SYSTEMROOT%\\CorvaneTest.wab");
    const std::string favorites = FreshTestFolder("favorites");
    ASSERT_TRUE(SyntheticOE::WriteFile(favorites + "\\Debian.url", std::string(100, 'u')));
    ASSERT_TRUE(SyntheticOE::WriteFile(favorites + "\\Links\\Weather", std::string(20, 'u')));
    ASSERT_TRUE(SyntheticOE::WriteFile(favorites + "\\Links\\Deep\\News.url", std::string(3, 'u')));
    oe.SetFavorites(favorites);
    SaveCorvaneSetting("", "WarnVirus", "N");
    Start();
    window->cmdBackup_Click();
    DeleteFileA(wab.c_str());

    const catalog::TreeList& list = window->tlMail;
    const int items = SampleStoreItemCount() + 2;
    EXPECT_EQ(window->Backup.ItemCount, items);
    const int book = RowOfType(list, catalog::kTypeAddressBook);
    const int favs = RowOfType(list, catalog::kTypeFavorites);
    ASSERT_EQ(book, list.Count() - 2);  // after the store's folders, then the Favorites
    ASSERT_EQ(favs, list.Count() - 1);
    EXPECT_EQ(list.Text(book), "Windows Address Book (WAB)");
    EXPECT_EQ(list.TextValue(book, catalog::names::kMbxName), wab);
    EXPECT_EQ(list.NumberValue(book, catalog::names::kFileSize), 3000);
    EXPECT_EQ(list.Mark(book), 1);
    EXPECT_EQ(list.BackColour(book), catalog::kAddressBookBack);
    EXPECT_EQ(list.Text(favs), "IE Favorites");
    EXPECT_EQ(list.NumberValue(favs, catalog::names::kFileSize), 123);
    EXPECT_EQ(list.NumberValue(favs, catalog::names::kMbxCounts), 3);
    EXPECT_EQ(list.Mark(favs), 1);
    EXPECT_EQ(list.BackColour(favs), catalog::kFavoritesBack);
    EXPECT_EQ(window->Backup.WabPath, wab);
    EXPECT_EQ(window->Backup.FavoritesFolder, favorites);
    EXPECT_FALSE(Visible(window->Control(IDC_LBL_WAB_CAUTION)));
    EXPECT_TRUE(dialogs.Opened().empty());  // Outlook Express uses this very book

    // Both are counted in Select All's figure and in the page's counts.
    window->cmdSelect_Click(0);
    EXPECT_EQ(Text(IDC_TXTCOUNT), std::to_string(items) + " of " + std::to_string(items) + " Items");
    int64_t sum = 0;
    for (int i = 1; i < list.Count(); ++i) sum += list.NumberValue(i, catalog::names::kFileSize);
    EXPECT_EQ(window->Backup.TotalBytes, sum);
}

TEST_F(BackupStart, AddressBookLeftOutOrMissing) {
    // No "WAB File Name": no item.
    Version5(true);
    SaveCorvaneSetting("", "WarnVirus", "N");
    Start();
    window->cmdBackup_Click();
    EXPECT_EQ(RowOfType(window->tlMail, catalog::kTypeAddressBook), -1);
    EXPECT_EQ(window->Backup.ItemCount, SampleStoreItemCount());

    // Registered but not there: listed, grey, cannot be ticked.
    oe.SetAddressBook(store + "\\gone.wab", 1);
    Start();
    window->cmdBackup_Click();
    int book = RowOfType(window->tlMail, catalog::kTypeAddressBook);
    ASSERT_GT(book, 0);
    EXPECT_EQ(window->tlMail.Mark(book), 2);
    EXPECT_EQ(window->tlMail.TextColour(book), catalog::kGreyText);
    EXPECT_EQ(window->Backup.ItemCount, SampleStoreItemCount() + 1);
    EXPECT_FALSE(Visible(window->Control(IDC_LBL_WAB_CAUTION)));
    EXPECT_TRUE(dialogs.Opened().empty());

    // Present but left out by the last backup's setting: unticked, the caution shows.
    ASSERT_TRUE(SyntheticOE::WriteFile(store + "\\gone.wab", "book"));
    const std::string section = window->Store.SettingsSection;
    SaveCorvaneSetting(section, "InclWab", "0");
    Start();
    window->cmdBackup_Click();
    book = RowOfType(window->tlMail, catalog::kTypeAddressBook);
    EXPECT_EQ(window->tlMail.Mark(book), 0);
    EXPECT_TRUE(Visible(window->Control(IDC_LBL_WAB_CAUTION)));
    EXPECT_EQ(Text(IDC_LBL_WAB_CAUTION), "WARNING! - You have not included the Windows Address Book.");
    EXPECT_TRUE(dialogs.Opened().empty());  // not ticked, so not checked
}

TEST_F(BackupStart, AddressBookCheckComesBackAtEachTickUntilSilenced) {
    Version5(true);
    ASSERT_TRUE(SyntheticOE::WriteFile(store + "\\Main.wab", "book"));
    oe.SetAddressBook(store + "\\Main.wab", 1);  // Outlook Express keeps its own
    SaveCorvaneSetting("", "WarnVirus", "N");
    Start();
    static std::string shown, title;
    auto answer = [this](bool notAgain) {
        dialogs.Then([notAgain](HWND dialog) {
            shown = WindowTextOf(GetDlgItem(dialog, IDC_GENMSG_LABEL1));
            title = WindowTextOf(dialog);
            ClickButton(dialog, IDC_GENMSG_CMD + 1);  // Help: the caution stays
            SetCheck(dialog, IDC_GENMSG_CHECK1, notAgain);
            ClickButton(dialog, IDC_GENMSG_CMD + 0);
        });
    };
    answer(false);
    window->cmdBackup_Click();
    ASSERT_EQ(dialogs.Opened(), std::vector<int>{IDD_GENMSG});
    EXPECT_EQ(shown,
              "CAUTION - your WAB file is NOT currently the Address Book in use by Outlook Express. \r\n\r\n"
              "Choose \"Help\" for more information.");
    EXPECT_EQ(title, "Corvane");
    ASSERT_FALSE(launcher.Launched().empty());
    EXPECT_NE(launcher.Launched().back().file.find("1050.html"), std::string::npos);
    EXPECT_EQ(CorvaneSetting("Parms", "WarnAboutWAB"), "Y");

    HWND tree = TreeView();
    const int book = RowOfType(window->tlMail, catalog::kTypeAddressBook);
    HTREEITEM item = ItemAtPosition(tree, book);
    ASSERT_NE(item, nullptr);
    POINT box = PartOf(tree, item, TVHT_ONITEMICON);
    ASSERT_GE(box.x, 0);
    // Unticked: the caution label; ticked again: the check again, now silenced.
    Click(tree, box, WM_LBUTTONDOWN, WM_LBUTTONUP);
    EXPECT_EQ(window->tlMail.Mark(book), 0);
    EXPECT_TRUE(Visible(window->Control(IDC_LBL_WAB_CAUTION)));
    answer(true);
    Click(tree, box, WM_LBUTTONDOWN, WM_LBUTTONUP);
    EXPECT_EQ(window->tlMail.Mark(book), 1);
    EXPECT_FALSE(Visible(window->Control(IDC_LBL_WAB_CAUTION)));
    EXPECT_EQ(dialogs.Opened().size(), 2u);
    EXPECT_EQ(CorvaneSetting("Parms", "WarnAboutWAB"), "N");
    Click(tree, box, WM_LBUTTONDOWN, WM_LBUTTONUP);
    Click(tree, box, WM_LBUTTONDOWN, WM_LBUTTONUP);
    EXPECT_EQ(window->tlMail.Mark(book), 1);
    EXPECT_EQ(dialogs.Opened().size(), 2u);
}

TEST_F(BackupStart, Version4NewsAccountsWithTheirFoldersOnly) {
    oe.RegisterProgram(kOeProgramPath4);
    const std::string root = FreshTestFolder("bstart4news");
    ASSERT_TRUE(SyntheticOE::MakeFolders(root + "\\Mail"));
    ASSERT_TRUE(WriteBytes(root + "\\Mail\\folders.nch", BuildFolderNch({})));
    oe.SetVersion4StoreRoot(root);
    // Sixteen accounts, 00000000 to 0000000f; the eleventh's folder is gone.
    for (int i = 0; i < 16; ++i) {
        const std::string directory = "acct" + std::to_string(i);
        if (i != 10) {
            ASSERT_TRUE(SyntheticOE::WriteFile(root + "\\News\\" + directory + "\\group.nws", std::string(i + 1, 'n')));
        }
        oe.AddNewsAccount("Server " + std::string(1, static_cast<char>('A' + 15 - i)), directory);
    }
    SaveCorvaneSetting("", "WarnVirus", "N");
    Start();
    window->cmdBackup_Click();

    const catalog::TreeList& list = window->tlMail;
    ASSERT_EQ(list.Count(), 2 + 15);  // the root, the empty group "Mail Folders", the accounts
    EXPECT_EQ(list.Text(1), "Mail Folders");
    for (int i = 2; i < list.Count(); ++i) {
        EXPECT_EQ(list.NumberValue(i, catalog::names::kType), catalog::kTypeNewsAccount);
        if (i > 2) {
            EXPECT_LT(list.Text(i - 1), list.Text(i));  // in the order of their names
        }
    }
    EXPECT_EQ(list.Text(2), "Server A");  // account 0000000f
    EXPECT_EQ(list.TextValue(2, catalog::names::kMbxName), "acct15");
    EXPECT_EQ(list.NumberValue(2, catalog::names::kFileSize), 16);
    for (int i = 2; i < list.Count(); ++i) EXPECT_NE(list.Text(i), "Server F");  // account 0000000a
}

TEST_F(BackupStart, Version4StoreWithoutNewsFolderListsNoAccounts) {
    const std::string root = Version4();
    ASSERT_TRUE(WriteBytes(root + "\\Mail\\folders.nch", BuildFolderNch({})));
    // The account's directory exists where the program runs, not in a news folder.
    char here[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof here, here);
    const std::string stray = std::string(here) + "\\v4-stray-news";
    ASSERT_TRUE(SyntheticOE::WriteFile(stray + "\\group.nws", "n"));
    oe.AddNewsAccount("Stray", "v4-stray-news");
    SaveCorvaneSetting("", "WarnVirus", "N");
    Start();
    window->cmdBackup_Click();
    DeleteFileA((stray + "\\group.nws").c_str());
    RemoveDirectoryA(stray.c_str());
    EXPECT_EQ(window->Store.Oe4.Oe4NewsFolder, "");
    ASSERT_EQ(window->tlMail.Count(), 2);  // the root and the group item
}

TEST_F(BackupStart, SavedSelectionIsPreselectedAtTheNextStart) {
    HWND tree = StartBackupOfTheSample();
    ASSERT_NE(tree, nullptr);
    catalog::TreeList& list = window->tlMail;
    // Untick every other folder that has a file.
    std::vector<std::pair<std::string, int>> expected;
    bool untick = true;
    for (int i = 1; i < list.Count(); ++i) {
        if (list.TextValue(i, catalog::names::kMbxName).empty() || list.Mark(i) == 2) continue;
        if (untick) catalog::MarkClick(list, i, totals);
        untick = !untick;
        expected.emplace_back(list.TextValue(i, catalog::names::kMbxName), list.Mark(i));
    }
    ASSERT_GE(expected.size(), 2u);
    ASSERT_TRUE(SaveCtrl(window->Store, list, "5"));

    Start();
    window->cmdBackup_Click();
    for (const auto& [file, mark] : expected) {
        int row = window->tlMail.Find(catalog::NamedValue::Text(file), 1, window->tlMail.Count() - 1,
                                      catalog::names::kMbxName);
        ASSERT_GT(row, 0) << file;
        EXPECT_EQ(window->tlMail.Mark(row), mark) << file;
    }
}

}  // namespace

#include "corvane/catalog/CatalogModel.h"
#include "corvane/main/portable/ControlFileText.h"
#include "corvane/main/portable/QuickList.h"

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::catalog;

namespace {

const std::string E(1, kControlDelimiter);
const std::string kId = "{A1A1A1A1-0000-4000-8000-00000000000A}";

int AddRow(TreeList& list, int parent, int type, const std::string& display, const std::string& file, int flag) {
    int at = list.AddItem(display, parent);
    list.SetNumberValue(at, names::kType, type);
    list.SetTextValue(at, names::kDisplay, display);
    list.SetTextValue(at, names::kMbxName, file);
    list.SetNumberValue(at, names::kFlgSave, flag);
    return at;
}

// Root; Local Folders (no file) holding Inbox and Work (under which Old);
// the address book; a news account folder without a file.
TreeList SampleFolders() {
    TreeList list;
    list.AddItem("Main Identity");
    int local = AddRow(list, 0, kTypeLocalRoot, "Local Folders", "", 2);
    AddRow(list, local, kTypeMailFolder, "Inbox", "Inbox.dbx", 1);
    int work = AddRow(list, local, kTypeMailFolder, "Work Mail", "Work Mail.dbx", 0);
    AddRow(list, work, kTypeMailFolder, "Old", "Old.dbx", -1);
    AddRow(list, 0, kTypeAddressBook, "Address Book", "Main.wab", 1);
    AddRow(list, 0, kTypeNewsAccount, "news.example.com", "", 1);
    return list;
}

}  // namespace

TEST(SavedControlFile, HeaderOfEachStoreKind) {
    TreeList rootOnly;
    rootOnly.AddItem("Main Identity");
    EXPECT_EQ(SavedControlFile("5", "Main Identity", kId, rootOnly), "Corvane - OE5 - {Main Identity} " + kId + "\r\n");
    EXPECT_EQ(SavedControlFile("4", "Main Identity", kId, rootOnly), "Corvane - OE4\r\n");
    EXPECT_EQ(SavedControlFile("4", "", "", TreeList()), "Corvane - OE4\r\n");
}

TEST(SavedControlFile, OneLinePerRowWithPositionsAndEmptyFileOfContainers) {
    std::string text = SavedControlFile("5", "Anna Berg", kId, SampleFolders());
    EXPECT_EQ(text, "Corvane - OE5 - {Anna Berg} " + kId + "\r\n" +                             //
                        "1" + E + "Local Folders" + E + "" + E + "1" + E + "0" + E + "2\r\n" +  //
                        "2" + E + "Inbox" + E + "Inbox.dbx" + E + "2" + E + "1" + E + "1\r\n" + "2" + E + "Work Mail" +
                        E + "Work Mail.dbx" + E + "3" + E + "1" + E + "0\r\n" + "2" + E + "Old" + E + "Old.dbx" + E +
                        "4" + E + "3" + E + "-1\r\n" + "10" + E + "Address Book" + E + "Main.wab" + E + "5" + E + "0" +
                        E + "1\r\n" + "20" + E + "news.example.com" + E + "" + E + "6" + E + "0" + E + "1\r\n");
}

TEST(SavedControlFile, ReadBackGivesTheSameSelectionAndQuickTree) {
    ControlFileContent read = ParseControlFile(SavedControlFile("5", "Anna Berg", kId, SampleFolders()));
    EXPECT_EQ(read.header, "Corvane - OE5 - {Anna Berg} " + kId);
    ASSERT_EQ(read.lines.size(), 5u);  // the address book is found afresh
    EXPECT_EQ(read.lines[3].display, "Old");
    EXPECT_EQ(read.lines[3].folderNo, 4);
    EXPECT_EQ(read.lines[3].parentNo, 3);
    EXPECT_EQ(read.lines[3].flag, 1);
    SavedSelection saved = SavedSelectionOf(read.lines);
    const std::string P(1, kPrimaryListDelimiter);
    EXPECT_EQ(saved.names, "Inbox.dbx" + P + "Work Mail.dbx" + P + "Old.dbx");
    EXPECT_EQ(saved.flags, "1" + P + "0" + P + "1");

    // A quick backup rebuilds the same tree from the file alone.
    TreeList rebuilt;
    RebuildQuickList(rebuilt, read.lines);
    ASSERT_EQ(rebuilt.Count(), 6);
    auto parentText = [&rebuilt](int position) { return rebuilt.Text(rebuilt.ParentPosition(position)); };
    EXPECT_EQ(parentText(1), "xxxxxxxx");
    EXPECT_EQ(parentText(2), "Local Folders");
    EXPECT_EQ(parentText(3), "Local Folders");
    EXPECT_EQ(rebuilt.Text(4), "Old");
    EXPECT_EQ(parentText(4), "Work Mail");
    EXPECT_EQ(parentText(5), "xxxxxxxx");
}

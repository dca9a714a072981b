// The placement steps of a restore on real folders under Wine: the dated and
// numbered names, the shell's move of the old files, the address book's
// safety name, and what each does when it cannot protect a file.
#include "corvane/operations/FilePlacement.h"
#include "corvane/restore/RestoreMessages.h"

#include "testsupport/OeTestSupport.h"
#include "tests/restore/RestoreTestFiles.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::Exists;
using testing::FixedClock;
using testing::IsFolder;
using testing::LockedFile;
using testing::ReadFileText;
using testing::WriteFile;

class FilePlacementTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = testing::FreshTestFolder("placement");
        store = root + "\\Store\\";
        CreateDirectoryA(store.c_str(), nullptr);
        WriteFile(store + "folders.dbx", "index");
        WriteFile(store + "Inbox.dbx", "inbox");
        WriteFile(store + "Sent Items.dbx", "sent");
    }
    std::string root;
    std::string store;
    FixedClock clock{2001, 3, 5};
};

TEST_F(FilePlacementTest, DatedFoldersCountUpOnTheSameDay) {
    const char* expected[] = {"backup2001-03-05\\", "backup2001-03-05_001\\", "backup2001-03-05_002\\"};
    for (const char* name : expected) {
        PlacementResult made = MakeDatedBackupFolder(store);
        ASSERT_TRUE(made.ok) << PlacementText(made);
        EXPECT_EQ(made.path, store + name);
        EXPECT_TRUE(IsFolder(made.path));
    }
    // A file of the name takes it as well as a folder does.
    clock.Set({2001, 3, 6, 9, 0, 0});
    WriteFile(store + "backup2001-03-06", "");
    EXPECT_EQ(MakeDatedBackupFolder(store).path, store + "backup2001-03-06_001\\");
}

TEST_F(FilePlacementTest, AFolderThatCannotBeMadeIsNamed) {
    PlacementResult made = MakeDatedBackupFolder(root + "\\NoSuchStore\\");
    EXPECT_FALSE(made.ok);
    EXPECT_NE(PlacementText(made).find(root + "\\NoSuchStore\\backup2001-03-05"), std::string::npos) << PlacementText(made);
}

TEST_F(FilePlacementTest, OldFilesMoveIntoTheDatedFolder) {
    std::string dated = MakeDatedBackupFolder(store).path;
    PlacementResult moved = MoveOldFiles(store, dated, {"Inbox.dbx", "Sent Items.dbx", "Gone.dbx"});
    ASSERT_TRUE(moved.ok) << PlacementText(moved);
    EXPECT_TRUE(moved.refused.empty());
    EXPECT_FALSE(Exists(store + "folders.dbx"));
    EXPECT_FALSE(Exists(store + "Inbox.dbx"));
    EXPECT_EQ(ReadFileText(dated + "folders.dbx"), "index");
    EXPECT_EQ(ReadFileText(dated + "Inbox.dbx"), "inbox");
    EXPECT_EQ(ReadFileText(dated + "Sent Items.dbx"), "sent");
}

TEST_F(FilePlacementTest, NamesReachingOutOfTheStoreAreNeitherMovedNorTouched) {
    WriteFile(root + "\\victim.dbx", "not ours");
    std::string dated = MakeDatedBackupFolder(store).path;
    PlacementResult moved =
        MoveOldFiles(store, dated,
                     {"..\\victim.dbx", root + "\\victim.dbx", "Inbox.dbx:stream", "NUL", "*.dbx", "Inbox.dbx"});
    EXPECT_TRUE(moved.ok) << PlacementText(moved);
    ASSERT_EQ(moved.refused.size(), 5u);
    EXPECT_EQ(moved.refused[0].name, "..\\victim.dbx");
    EXPECT_EQ(moved.refused[3].fault, restore::NameFault::DeviceName);
    EXPECT_EQ(ReadFileText(root + "\\victim.dbx"), "not ours");
    EXPECT_EQ(ReadFileText(store + "Sent Items.dbx"), "sent");  // no wildcard moved it
    EXPECT_EQ(ReadFileText(dated + "Inbox.dbx"), "inbox");
    std::string text = RefusedNamesText(moved.refused);
    EXPECT_NE(text.find("\"..\\victim.dbx\""), std::string::npos) << text;

    // The dated folder itself must lie in the store.
    EXPECT_FALSE(MoveOldFiles(store, root + "\\", {"Sent Items.dbx"}).ok);
    EXPECT_TRUE(Exists(store + "Sent Items.dbx"));
}

TEST_F(FilePlacementTest, AFileThatStaysInPlaceFailsTheMoveAndIsNamed) {
    std::string dated = MakeDatedBackupFolder(store).path;
    LockedFile held(store + "Inbox.dbx");
    ASSERT_TRUE(held.Held());
    PlacementResult moved = MoveOldFiles(store, dated, {"Inbox.dbx", "Sent Items.dbx"});
    EXPECT_FALSE(moved.ok);
    EXPECT_NE(PlacementText(moved).find(store + "Inbox.dbx"), std::string::npos) << PlacementText(moved);
    EXPECT_EQ(PlacementText(moved).find(store + "Sent Items.dbx"), std::string::npos) << PlacementText(moved);
    EXPECT_TRUE(Exists(store + "Inbox.dbx"));
}

TEST_F(FilePlacementTest, FoldersAreSetAsideUnderNumberedNamesAndMadeAgain) {
    std::string mail = root + "\\Mail\\";
    CreateDirectoryA(mail.c_str(), nullptr);
    WriteFile(mail + "Inbox.mbx", "first");
    PlacementResult aside = SetFolderAside(mail);
    ASSERT_TRUE(aside.ok) << PlacementText(aside);
    EXPECT_EQ(aside.path, root + "\\Mail_001");  // numbered from the first time
    EXPECT_EQ(ReadFileText(root + "\\Mail_001\\Inbox.mbx"), "first");
    EXPECT_TRUE(IsFolder(mail));
    EXPECT_FALSE(Exists(mail + "Inbox.mbx"));

    WriteFile(mail + "Inbox.mbx", "second");
    EXPECT_EQ(SetFolderAside(mail).path, root + "\\Mail_002");
    EXPECT_EQ(ReadFileText(root + "\\Mail_002\\Inbox.mbx"), "second");

    // A folder that is not there is only made.
    PlacementResult made = SetFolderAside(root + "\\New\\");
    EXPECT_TRUE(made.ok);
    EXPECT_EQ(made.path, "");
    EXPECT_TRUE(IsFolder(root + "\\New"));
}

TEST_F(FilePlacementTest, ANewsAccountNameMustBeOneFolderOfTheNewsFolder) {
    std::string news = root + "\\News\\";
    CreateDirectoryA(news.c_str(), nullptr);
    CreateDirectoryA((news + "msnews").c_str(), nullptr);
    WriteFile(news + "msnews\\group.nws", "news");
    CreateDirectoryA((root + "\\Outside").c_str(), nullptr);
    WriteFile(root + "\\Outside\\keep.txt", "keep");

    PlacementResult aside = SetNewsAccountAside(news, "msnews");
    ASSERT_TRUE(aside.ok) << PlacementText(aside);
    EXPECT_EQ(ReadFileText(news + "msnews_001\\group.nws"), "news");

    for (const char* name : {"..\\Outside", "..", "C:\\Windows", ""}) {
        PlacementResult refused = SetNewsAccountAside(news, name);
        EXPECT_FALSE(refused.ok) << name;
        EXPECT_EQ(refused.refused.size(), 1u) << name;
    }
    EXPECT_EQ(ReadFileText(root + "\\Outside\\keep.txt"), "keep");
    EXPECT_FALSE(Exists(root + "\\Outside_001"));
}

TEST_F(FilePlacementTest, TheAddressBookTakesItsSafetyNameReplacingAnOlderOne) {
    std::string wab = root + "\\Main.wab";
    WriteFile(wab, "book");
    WriteFile(root + "\\Main.wax", "older copy");
    PlacementResult kept = KeepWabSafetyCopy(wab);
    ASSERT_TRUE(kept.ok) << PlacementText(kept);
    EXPECT_EQ(kept.path, root + "\\Main.wax");
    EXPECT_EQ(ReadFileText(root + "\\Main.wax"), "book");
    EXPECT_FALSE(Exists(wab));
    // With no address book, nothing is renamed and the step succeeds.
    EXPECT_TRUE(KeepWabSafetyCopy(wab).ok);
}

TEST_F(FilePlacementTest, AnAddressBookThatCannotBeKeptFailsTheStep) {
    std::string wab = root + "\\Main.wab";
    WriteFile(wab, "book");
    LockedFile held(wab);
    ASSERT_TRUE(held.Held());
    PlacementResult kept = KeepWabSafetyCopy(wab);
    EXPECT_FALSE(kept.ok);
    EXPECT_NE(PlacementText(kept).find(root + "\\Main.wax"), std::string::npos) << PlacementText(kept);
    EXPECT_TRUE(Exists(wab));
}

}  // namespace
}  // namespace corvane

#include "corvane/catalog/StoreCatalog.h"

#include "tests/catalog/CatalogFixture.h"

#include <gtest/gtest.h>

namespace corvane::catalog {
namespace {

using testing::DbxFolder;

// Display texts of the tree with their depth, "  " per level.
std::vector<std::string> Outline(const TreeList& tree) {
    std::vector<std::string> lines;
    for (int i = 0; i < tree.Count(); ++i) lines.push_back(std::string(2 * tree.Depth(i), ' ') + tree.Text(i));
    return lines;
}

class TreeBuilderTest : public ::testing::Test {
protected:
    void Build(const std::vector<DbxFolder>& folders, bool removeContainers = false) {
        store.Folders(folders);
        ASSERT_TRUE(ReadV5Index(kStore, store.files, work, tree, removeContainers));
    }
    MemoryStore store;
    TreeList work, tree;
};

TEST_F(TreeBuilderTest, PlacesFoldersUnderParentsWithSpecialFoldersFirst) {
    for (const char* file : {"Inbox.dbx", "Outbox.dbx", "Alpha.dbx", "Zed.dbx", "comp.dbx", "Sub.dbx"}) {
        store.StoreFile(file, 1);
    }
    Build({DbxFolder::Root("Main Identity"), DbxFolder::NoFile(1, 0, "Local Folders"),
           DbxFolder::Mail(0x0A, 1, "Zed", "Zed.dbx"), DbxFolder::Mail(3, 1, "Outbox", "Outbox.dbx"),
           DbxFolder::Mail(0x0B, 1, "alpha", "Alpha.dbx"), DbxFolder::Mail(2, 1, "Inbox", "Inbox.dbx"),
           DbxFolder::Mail(0x0C, 0x0A, "Sub", "Sub.dbx"), DbxFolder::NoFile(0x0D, 0x0A, "Empty"),
           DbxFolder::Container(0x10, 0, "news.example.com"), DbxFolder::Mail(0x11, 0x10, "comp", "comp.dbx"),
           DbxFolder::NoFile(0x12, 0x10, "unread")});
    EXPECT_EQ(Outline(tree), (std::vector<std::string>{"Main Identity", "  Local Folders ", "    Inbox", "    Outbox",
                                                       "    alpha", "    Zed", "      Empty", "      Sub",
                                                       "  news.example.com", "    comp", "    unread"}));
    auto typeOf = [&](const char* display) { return tree.NumberValue(FindDisplay(tree, display), names::kType); };
    EXPECT_EQ(typeOf("Local Folders "), kTypeLocalRoot);  // top level keeps its type
    EXPECT_EQ(typeOf("news.example.com"), kTypeContainer);
    EXPECT_EQ(typeOf("Empty"), kTypeFolderEmpty);      // 8 under a folder
    EXPECT_EQ(typeOf("unread"), kTypeContainerEmpty);  // 8 under a container
    EXPECT_EQ(typeOf("comp"), kTypeNewsgroup);         // 2 under a container
    EXPECT_EQ(typeOf("Sub"), kTypeMailFolder);
    // Top-level items: grey text, no data; placed folders copy theirs.
    int local = FindDisplay(tree, "Local Folders ");
    EXPECT_EQ(tree.TextColour(local), kGreyText);
    EXPECT_EQ(tree.TextValue(local, names::kHasData), "N");
    EXPECT_EQ(tree.TextValue(FindDisplay(tree, "Sub"), names::kHasData), "Y");
    EXPECT_EQ(tree.TextValue(FindDisplay(tree, "Sub"), names::kParentNo), "0A");  // found by text
}

TEST_F(TreeBuilderTest, ParentLaterInTheWorkListIsPlacedInTheSecondPass) {
    // Child (parent 05 -> "0005...") sorts before its parent Five ("0A...").
    Build({DbxFolder::NoFile(1, 0, "Local Folders"), DbxFolder::NoFile(0x0A, 1, "Zeta"),
           DbxFolder::NoFile(5, 0x0A, "Five"), DbxFolder::NoFile(0x30, 5, "Child")});
    EXPECT_EQ(work.Text(3), "00059999child");
    EXPECT_EQ(work.Text(4), "0A9999five");
    EXPECT_EQ(Outline(tree), (std::vector<std::string>{"Outlook Express", "  Local Folders ", "    Zeta", "      Five",
                                                       "        Child"}));
}

TEST_F(TreeBuilderTest, AChainSortingBeforeItsParentsShowsThreeLevelsOnly) {
    Build({DbxFolder::Container(0x60, 0, "Top"), DbxFolder::NoFile(0x50, 0x60, "A"), DbxFolder::NoFile(0x40, 0x50, "B"),
           DbxFolder::NoFile(0x30, 0x40, "C"), DbxFolder::NoFile(0x20, 0x30, "D")});
    EXPECT_EQ(Outline(tree), (std::vector<std::string>{"Outlook Express", "  Top", "    A", "      B", "        C"}));
}

TEST_F(TreeBuilderTest, TopLevelOrderIsTypeDigitThenName) {
    Build({DbxFolder::Container(0x30, 0, "aaa server"), DbxFolder::NoFile(1, 0, "Local Folders"),
           DbxFolder::NoFile(0x31, 0, "bare")});
    EXPECT_EQ(Outline(tree),
              (std::vector<std::string>{"Outlook Express", "  Local Folders ", "  aaa server", "  bare"}));
}

TEST_F(TreeBuilderTest, RemovingContainersTakesTheirNewsgroupsAlong) {
    store.StoreFile("g.dbx", 1);
    Build({DbxFolder::NoFile(1, 0, "Local Folders"), DbxFolder::Container(0x10, 0, "news1"),
           DbxFolder::Mail(0x11, 0x10, "g", "g.dbx"), DbxFolder::Container(0x12, 0, "news2")},
          true);
    EXPECT_EQ(Outline(tree), (std::vector<std::string>{"Outlook Express", "  Local Folders "}));
}

TEST_F(TreeBuilderTest, AnIndexWithoutFoldersLeavesTheTreeEmpty) {
    Build({DbxFolder::Root("Only the root")});
    EXPECT_EQ(work.Count(), 1);
    EXPECT_EQ(tree.Count(), 0);
}

}  // namespace
}  // namespace corvane::catalog

// The shell's real file operation under Wine, through CSHFileOp.
#include "corvane/environment/CSHFileOp.h"

#include "testsupport/OeTestSupport.h"
#include "tests/restore/RestoreTestFiles.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using testing::Exists;
using testing::FreshTestFolder;
using testing::ReadFileText;
using testing::WriteFile;

class CSHFileOpTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = FreshTestFolder("shfileop");
        WriteFile(folder + "\\a.dbx", "first");
        WriteFile(folder + "\\b.dbx", "second");
        CreateDirectoryA((folder + "\\into").c_str(), nullptr);
    }
    std::string folder;
};

TEST_F(CSHFileOpTest, DefaultsSendNoFlagsAndMoveIntoOneFolder) {
    CSHFileOp operation;
    operation.AddSourceFile(folder + "\\a.dbx");
    operation.AddDestFile(folder + "\\into");
    EXPECT_TRUE(operation.MoveFiles()) << operation.LastResult();
    EXPECT_EQ(operation.LastFlags(), 0);
    EXPECT_EQ(operation.LastProgressTitle(), "");
    EXPECT_FALSE(Exists(folder + "\\a.dbx"));
    EXPECT_EQ(ReadFileText(folder + "\\into\\a.dbx"), "first");
    EXPECT_TRUE(Exists(folder + "\\b.dbx"));
}

TEST_F(CSHFileOpTest, TwoDestinationsPairWithTheSourcesOneDoesNot) {
    CSHFileOp operation;
    operation.SetConfirmOperation(false);
    operation.SetCustomText("Copying");
    operation.AddSourceFile(folder + "\\a.dbx");
    operation.AddSourceFile(folder + "\\b.dbx");
    operation.AddDestFile(folder + "\\into\\one.dbx");
    operation.AddDestFile(folder + "\\into\\two.dbx");
    EXPECT_TRUE(operation.CopyFiles());
    EXPECT_EQ(operation.LastFlags(), 0x1 | 0x10 | 0x100);
    EXPECT_EQ(operation.LastProgressTitle(), "Copying");
    EXPECT_EQ(ReadFileText(folder + "\\into\\one.dbx"), "first");
    EXPECT_EQ(ReadFileText(folder + "\\into\\two.dbx"), "second");

    operation.ClearDestFiles();
    operation.ClearSourceFiles();
    operation.AddSourceFile(folder + "\\a.dbx");
    operation.AddDestFile(folder + "\\into\\three.dbx");
    EXPECT_TRUE(operation.CopyFiles());
    EXPECT_EQ(operation.LastFlags(), 0x10 | 0x100);
    EXPECT_EQ(ReadFileText(folder + "\\into\\three.dbx"), "first");
}

TEST_F(CSHFileOpTest, RenameAndDeleteActOnTheListedFilesOnly) {
    CSHFileOp operation;
    operation.SetConfirmOperation(false);
    operation.SetSilentMode(true);
    operation.AddSourceFile(folder + "\\a.dbx");
    operation.AddDestFile(folder + "\\renamed.dbx");
    EXPECT_TRUE(operation.RenameFiles());
    EXPECT_EQ(ReadFileText(folder + "\\renamed.dbx"), "first");

    operation.ClearSourceFiles();
    operation.ClearDestFiles();
    operation.AddSourceFile(folder + "\\renamed.dbx");
    EXPECT_TRUE(operation.DeleteFiles());
    EXPECT_FALSE(Exists(folder + "\\renamed.dbx"));
    EXPECT_TRUE(Exists(folder + "\\b.dbx"));
}

TEST_F(CSHFileOpTest, AnEmptySourceListRaisesItsError) {
    CSHFileOp operation;
    operation.AddDestFile(folder + "\\into");
    try {
        operation.MoveFiles();
        FAIL() << "no error for an empty source list";
    } catch (const CSHFileOpError& error) {
        EXPECT_EQ(error.Number(), 0x800403E8u);
        EXPECT_STREQ(error.what(), "No source files specified file operation");
    }
}

TEST_F(CSHFileOpTest, APathHoldingANulIsNeverHandedToTheShell) {
    CSHFileOp operation;
    operation.SetConfirmOperation(false);
    operation.AddSourceFile(folder + "\\a.dbx" + std::string(1, '\0') + folder + "\\b.dbx");
    operation.AddDestFile(folder + "\\into");
    EXPECT_FALSE(operation.MoveFiles());
    EXPECT_TRUE(Exists(folder + "\\a.dbx"));
    EXPECT_FALSE(Exists(folder + "\\into\\a.dbx"));
    EXPECT_TRUE(Exists(folder + "\\b.dbx"));
}

// Wine's shell answers 0 here all the same: the wrapper looks at what is
// still in place and calls the move failed.
TEST_F(CSHFileOpTest, AFileHeldOpenStaysWhereItIs) {
    testing::LockedFile held(folder + "\\a.dbx");
    ASSERT_TRUE(held.Held());
    CSHFileOp operation;
    operation.SetConfirmOperation(false);
    operation.AddSourceFile(folder + "\\a.dbx");
    operation.AddDestFile(folder + "\\into");
    EXPECT_FALSE(operation.MoveFiles());
    EXPECT_TRUE(Exists(folder + "\\a.dbx"));
    EXPECT_FALSE(Exists(folder + "\\into\\a.dbx"));
}

}  // namespace
}  // namespace corvane

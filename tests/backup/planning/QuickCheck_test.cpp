// The check before a quick backup on real files of the host.
#include "corvane/backup/planning/QuickCheck.h"

#include "corvane/catalog/CatalogModel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace corvane::planning {
namespace {

namespace fs = std::filesystem;
namespace names = catalog::names;

class QuickCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / "corvane-quickcheck";
        fs::remove_all(root);
        Write("Mail/Inbox.dbx", 300);
        Write("Mail/group.dbx", 20);
        Write("News/server1/a.nws", 40);
        Write("News/server1/b.nws", 2);
        Write("News/server1/sub/c.nws", 1000);
        rows.AddItem("xxxxxxxx");
        Add(catalog::kTypeLocalRoot, "Local Folders", "", 2);
        Add(catalog::kTypeMailFolder, "Inbox", "Inbox.dbx", 1);
        Add(catalog::kTypeMailFolder, "Gone but not saved", "Gone.dbx", 0);
        Add(catalog::kTypeNewsgroup, "a.group", "group.dbx", 1);
        Add(catalog::kTypeNewsAccount, "Server One", "server1", 1);
    }
    void TearDown() override { fs::remove_all(root); }
    void Write(const std::string& relative, size_t length) {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative, std::ios::binary) << std::string(length, 'x');
    }
    int Add(int type, const std::string& caption, const std::string& file, int flag) {
        int at = rows.AddItem(caption, 0);
        rows.SetNumberValue(at, names::kType, type);
        rows.SetTextValue(at, names::kMbxName, file);
        rows.SetNumberValue(at, names::kFlgSave, flag);
        return at;
    }
    QuickCheck Check() {
        return CheckSavedRows(rows, (root / "Mail").string() + "/", (root / "News").string() + "/", *files);
    }

    fs::path root;
    std::unique_ptr<zip::FileSystem> files = zip::MakeStdFileSystem();
    catalog::TreeList rows;
};

TEST_F(QuickCheckTest, SavedRowsAreMeasuredAndTheFirstMissingOneNamed) {
    QuickCheck check = Check();
    EXPECT_TRUE(check.ok);
    EXPECT_EQ(check.totalBytes, 300 + 20 + 42);
    EXPECT_EQ(rows.NumberValue(2, names::kFileSize), 300);
    EXPECT_EQ(rows.NumberValue(5, names::kFileSize), 42);  // the files directly in the account's folder

    fs::remove(root / "Mail/group.dbx");
    fs::remove_all(root / "News/server1");
    check = Check();
    EXPECT_FALSE(check.ok);
    EXPECT_EQ(check.missingCaption, "a.group");
    EXPECT_EQ(MissingFolderText(check.missingCaption),
              "Mail folder - a.group - is missing.\r\nUnable to do Fast Backup");

    Write("Mail/group.dbx", 1);
    EXPECT_EQ(Check().missingCaption, "Server One");
}

}  // namespace
}  // namespace corvane::planning

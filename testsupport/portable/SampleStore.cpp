#include "testsupport/portable/SampleStore.h"

#include "testsupport/portable/DbxWriter.h"

#include <filesystem>
#include <system_error>

namespace corvane::testing {

namespace {

struct SampleFile {
    const char* name;
    int32_t messages;
    size_t bytes;
};

// Store files that exist; "Old Mail.dbx" is named by the index but missing.
const SampleFile kFiles[] = {
    {"Inbox.dbx", 42, 186'112},       {"Outbox.dbx", 0, 0x24BC},    {"Sent Items.dbx", 118, 402'944},
    {"Deleted Items.dbx", 7, 25'600}, {"Drafts.dbx", 2, 12'288},    {"Family.dbx", 35, 97'280},
    {"Work.dbx", 240, 1'310'720},     {"Projects.dbx", 16, 61'440}, {"comp.lang.c++.dbx", 512, 819'200},
    {"alt.test.dbx", 3, 16'384},
};

std::vector<DbxFolder> SampleFolders() {
    return {
        DbxFolder::Root("Main Identity"),
        DbxFolder::NoFile(1, 0, "Local Folders"),
        DbxFolder::Mail(2, 1, "Inbox", "Inbox.dbx"),
        DbxFolder::Mail(3, 1, "Outbox", "Outbox.dbx"),
        DbxFolder::Mail(4, 1, "Sent Items", "Sent Items.dbx"),
        DbxFolder::Mail(5, 1, "Deleted Items", "Deleted Items.dbx"),
        DbxFolder::Mail(6, 1, "Drafts", "Drafts.dbx"),
        DbxFolder::Mail(0x0A, 1, "Family", "Family.dbx"),
        DbxFolder::Mail(0x0B, 1, "Work", "Work.dbx"),
        DbxFolder::Mail(0x0C, 0x0B, "Projects", "Projects.dbx"),
        DbxFolder::NoFile(0x0D, 0x0C, "Archive 2001"),
        DbxFolder::Mail(0x0E, 1, "Old Mail", "Old Mail.dbx"),
        DbxFolder::Container(0x10, 0, "news.example.com"),
        DbxFolder::Mail(0x11, 0x10, "comp.lang.c++", "comp.lang.c++.dbx"),
        DbxFolder::Mail(0x12, 0x10, "alt.test", "alt.test.dbx"),
    };
}

}  // namespace

int SampleStoreItemCount() { return static_cast<int>(SampleFolders().size()) - 1; }  // the root record is item 0

bool WriteSampleStore(const std::string& folder) {
    std::filesystem::path root(folder);
    std::error_code error;
    std::filesystem::create_directories(root, error);
    if (!std::filesystem::is_directory(root, error)) return false;
    bool ok = WriteBytes((root / "folders.dbx").string(), BuildFolderIndex(SampleFolders()));
    for (const SampleFile& file : kFiles) {
        ok = WriteBytes((root / file.name).string(), StoreFileBytes(file.messages, file.bytes)) && ok;
    }
    return ok;
}

}  // namespace corvane::testing

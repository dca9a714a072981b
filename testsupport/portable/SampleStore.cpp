#include "testsupport/portable/SampleStore.h"

#include "testsupport/portable/DbxWriter.h"
#include "testsupport/portable/MessageFileWriter.h"
#include "testsupport/portable/NchWriter.h"

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

// A message file holding `count` real messages (their tree, records and
// texts), filled up with zeros to `length` as the sample's sizes are fixed.
std::vector<uint8_t> SampleMessageFile(const std::string& folder, int32_t count, size_t length) {
    static const char* const kSenders[] = {"Anna Berg", "Tom Hale", "Lena Fox", "Ravi Shah", "Jo Park"};
    static const char* const kTopics[] = {"Meeting on Monday", "Invoice 1042", "Holiday photos", "Budget review",
                                          "Re: the new schedule", "Weekend plans"};
    std::vector<StoredMessage> messages;
    for (int32_t i = 0; i < count; ++i) {
        const std::string sender = kSenders[i % 5];
        const std::string address = "user" + std::to_string(i % 5) + "@example.com";
        const std::string subject = std::string(kTopics[i % 6]) + " (" + folder + " " + std::to_string(i + 1) + ")";
        const int day = 1 + i % 28, hour = 8 + i % 10;
        const std::string date = std::to_string(day) + " Mar 2003 " + (hour < 10 ? "0" : "") + std::to_string(hour) +
                                 ":15:00 +0100";
        StoredMessage message;
        message.text = MessageText(sender + " <" + address + ">", subject, date,
                                   "Hello,\r\n\r\nthis is message " + std::to_string(i + 1) + " of " + folder +
                                       ".\r\n\r\nRegards,\r\n" + sender + "\r\n");
        // The Date field's time as FILETIME: 1 March 2003, 07:15 UTC, then the message's day and hour.
        message.fileTime =
            126'909'765'000'000'000ULL + (static_cast<uint64_t>(day - 1) * 24 + (hour - 8)) * 36'000'000'000ULL;
        message.subject = subject;
        message.senderName = sender;
        message.senderAddress = address;
        messages.push_back(std::move(message));
    }
    std::vector<uint8_t> bytes = BuildDbxMessageFile(messages);
    if (bytes.size() < length) bytes.resize(length, 0);
    return bytes;
}

struct SampleMbx {
    NchFolder folder;
    int32_t messages;
    size_t bytes;  // 0: the index names it, the file is missing
};

// In the order of the index's chain, which is not the tree's: sub-folders
// come before their parents, so the tree needs more than one pass.
const SampleMbx kVersion4Folders[] = {
    {{9, 8, "Archive 2001", "Archive 2001", -1}, 88, 352'256},
    {{1, 0, "Inbox", "Inbox", 0}, 23, 96'256},
    {{8, 7, "Projects", "Projects", -1}, 16, 61'440},
    {{2, 0, "Outbox", "Outbox", 1}, 0, 0x400},
    {{0, 0, "(unused)", "unused", -1}, 0, 0x400},
    {{3, 0, "Sent Items", "Sent Items", 2}, 118, 402'944},
    {{4, 0, "Deleted Items", "Deleted Items", 3}, 7, 25'600},
    {{10, 6, "Receipts", "Receipts", -1}, 12, 40'960},
    {{5, 0, "Drafts", "Drafts", -1}, 2, 12'288},
    {{6, 0, "Family", "Family", -1}, 35, 97'280},
    {{7, 0, "Work", "Work", -1}, 240, 1'310'720},
    {{11, 0, "Old Mail", "Old Mail", -1}, 0, 0},
};

const SampleNewsAccount kNewsAccounts[] = {
    {"news.example.com", "news.example.com"},
    {"Corporate News", "corpnews"},
};

}  // namespace

std::vector<SampleNewsAccount> SampleNewsAccounts() { return {std::begin(kNewsAccounts), std::end(kNewsAccounts)}; }

int SampleVersion4ItemCount() {
    int listed = 0;
    for (const SampleMbx& mbx : kVersion4Folders) listed += (mbx.folder.number != 0 && mbx.bytes > 0) ? 1 : 0;
    return 1 + listed + static_cast<int>(std::size(kNewsAccounts));
}

bool WriteSampleVersion4Store(const std::string& storeRoot) {
    std::filesystem::path mail = std::filesystem::path(storeRoot) / "Mail";
    std::filesystem::path news = std::filesystem::path(storeRoot) / "News";
    std::error_code error;
    std::filesystem::create_directories(mail, error);
    std::filesystem::create_directories(news, error);
    if (!std::filesystem::is_directory(mail, error)) return false;
    std::vector<NchFolder> folders;
    bool ok = true;
    for (const SampleMbx& mbx : kVersion4Folders) {
        folders.push_back(mbx.folder);
        if (mbx.bytes == 0) continue;
        ok = WriteBytes((mail / (mbx.folder.baseName + ".mbx")).string(), MbxFileBytes(mbx.messages, mbx.bytes)) && ok;
    }
    ok = WriteBytes((mail / "folders.nch").string(), BuildFolderNch(folders)) && ok;
    int group = 0;
    for (const SampleNewsAccount& account : kNewsAccounts) {
        std::filesystem::path folder = news / account.directory;
        std::filesystem::create_directories(folder, error);
        for (const char* file : {"comp.lang.c++.nws", "alt.test.nws", "grouplst.dat"}) {
            ok = WriteBytes((folder / file).string(), std::vector<uint8_t>(4096 * (1 + group++), 'n')) && ok;
        }
    }
    return ok;
}

int SampleStoreItemCount() { return static_cast<int>(SampleFolders().size()) - 1; }  // the root record is item 0

bool WriteSampleStore(const std::string& folder) {
    std::filesystem::path root(folder);
    std::error_code error;
    std::filesystem::create_directories(root, error);
    if (!std::filesystem::is_directory(root, error)) return false;
    bool ok = WriteBytes((root / "folders.dbx").string(), BuildFolderIndex(SampleFolders()));
    for (const SampleFile& file : kFiles) {
        const std::string name = file.name;
        ok = WriteBytes((root / name).string(), SampleMessageFile(name.substr(0, name.size() - 4), file.messages, file.bytes)) && ok;
    }
    return ok;
}

}  // namespace corvane::testing

// fuzz_seeds FOLDER: writes the starting corpus of every fuzz target, one
// folder per target, from the writers the tests use.
#include "corvane/zip/ZipEngine.h"
#include "testsupport/portable/DbxWriter.h"
#include "testsupport/portable/MessageFileWriter.h"
#include "testsupport/portable/NchWriter.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace corvane;
using namespace corvane::testing;

namespace {

void Seed(const fs::path& folder, const std::string& name, const std::string& bytes) {
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary) << bytes;
}

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

void StoreIndexSeeds(const fs::path& folder) {
    Seed(folder, "v5",
         "\x00" + Text(BuildFolderIndex({DbxFolder::Root("Main Identity"), DbxFolder::NoFile(1, 0, "Local Folders"),
                                         DbxFolder::Mail(2, 1, "Inbox", "Inbox.dbx"),
                                         DbxFolder::Mail(3, 1, "Work", "Work.dbx"),
                                         DbxFolder::Mail(4, 3, "Projects", "Sent Items.dbx"),
                                         DbxFolder::Container(0x10, 0, "news.example.com")})));
    Seed(folder, "v5-store-file", std::string("\x00", 1) + Text(StoreFileBytes(42)));
    Seed(folder, "v4",
         "\x01" + Text(BuildFolderNch(
                      {{1, 0, "Inbox", "Inbox", 1}, {2, 0, "Family", "Family", -1}, {3, 2, "Receipts", "Work", 3}})));
    Seed(folder, "v4-mbx", "\x01" + Text(MbxFileBytes(7)));
}

// Message files of both versions: a few small messages, one over several
// blocks, one left out of the tree (for the recovery scan), and a tree of
// two levels.
void MessageFileSeeds(const fs::path& dbxFolder, const fs::path& mbxFolder) {
    std::vector<StoredMessage> messages;
    std::vector<std::string> texts;
    for (int i = 0; i < 4; ++i) {
        StoredMessage message;
        message.subject = "Subject " + std::to_string(i);
        message.senderName = "Ann";
        message.senderAddress = "ann@example.com";
        message.fileTime = 133818703848920000ull + static_cast<uint64_t>(i);
        message.text = MessageText("Ann <ann@example.com>", "=?utf-8?Q?Caf=C3=A9?= " + std::to_string(i),
                                   "Mon, 20 Jan 2025 16:13:04 -0200",
                                   i == 2 ? std::string(1500, 'x') : "From here\r\nbody\r\n");
        message.listed = i != 3;
        messages.push_back(message);
        texts.push_back(message.text);
    }
    Seed(dbxFolder, "small", Text(BuildDbxMessageFile(messages)));
    std::vector<StoredMessage> many(60, messages[0]);
    Seed(dbxFolder, "two-levels", Text(BuildDbxMessageFile(many)));
    Seed(mbxFolder, "small", Text(BuildMbxFile(texts)));
}

void ZipSeeds(const fs::path& folder) {
    const fs::path work = fs::temp_directory_path() / "corvane-fuzz-seeds";
    fs::remove_all(work);
    fs::create_directories(work / "src" / "sub");
    std::ofstream(work / "src" / "Inbox.dbx", std::ios::binary) << std::string(3000, 'm') + "From: a@b\r\n";
    std::ofstream(work / "src" / "sub" / "news.nws", std::ios::binary) << "Subject: x\r\n\r\nbody\r\n";
    std::ofstream(work / "src" / "empty", std::ios::binary);
    std::unique_ptr<zip::FileSystem> files = zip::MakeStdFileSystem();
    zip::ZipEvents events;
    std::atomic<bool> abort{false};
    for (bool zip64 : {false, true}) {
        zip::ZipSettings settings;
        settings.archivePath = (work / (zip64 ? "z64.zip" : "plain.zip")).string();
        settings.filesToProcess = (work / "src" / "*").string();
        settings.includeSubfolders = true;
        settings.threads = 1;
        if (zip64) settings.zip64 = {100, 1};
        zip::Compress(settings, *files, events, abort);
        std::ifstream in(settings.archivePath, std::ios::binary);
        Seed(folder, zip64 ? "zip64" : "plain", std::string(std::istreambuf_iterator<char>(in), {}));
    }
    fs::remove_all(work);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
        return 2;
    }
    const fs::path root = argv[1];
    StoreIndexSeeds(root / "store_index");
    ZipSeeds(root / "zip_reader");
    MessageFileSeeds(root / "dbx_messages", root / "mbx_messages");
    Seed(root / "control_file", "v5",
         "Corvane - OE5 - {Main Identity} {ID}\r\n2\x03Inbox\x03Inbox.dbx\x03"
         "2\x03"
         "1\x03"
         "1\r\n"
         "1\x03Local Folders\x03\x03"
         "1\x03"
         "0\x03"
         "2\r\n10\x03WAB\x03"
         "c:\\a.wab\x03"
         "9\x03"
         "0\x03"
         "1\r\n");
    Seed(root / "control_file", "legacy",
         "Corvane OE3\r\nline two\r\nInbox\x03Inbox\x03"
         "1\r\nNews Folders=\r\nsrv\x03srv\r\n");
    Seed(root / "news_page", "page",
         "Loopline news page\r\nP|20261207||9|News\r\nW|||x|1||Web|Home|example.com/|Hint\r\n"
         "S|Welcome.|\r\nF|CV||x|2|1|Tip|Diskettes|example.com/d.txt|Hint\r\nV|||x|3||Version|Current?|v.txt|x\r\n");
    Seed(root / "news_page", "version", "2.0.0.9\r\n");
    Seed(root / "http", "ok",
         std::string("\x07") + "HTTP/1.0 200 OK\r\nContent-Length: 5\r\nContent-Type: text/plain\r\n\r\nhello");
    Seed(root / "http", "redirect", std::string("\x01") + "HTTP/1.1 302 Found\r\nLocation: /other/page.txt\r\n\r\n");
    Seed(root / "http", "html", std::string("\x10") + "<HTML><BODY>no header</BODY></HTML>");
    Seed(root / "restore_log", "v5",
         std::string("\x01") +
             "V5 - Corvane Backup started: Wed Jan 31, 2001 @ 02:15 PM  {ID}\r\nNCH\tFolders.dbx\r\n"
             "MBX\t\tLocal Folders\t1\t0\t2\t0\t1\r\nMBX\tInbox.dbx\tInbox\t2\t1\t1\t42\t2\r\n"
             "WAB\tWAB\\Main.wab\tWindows Address Book (WAB)\t3\t0\t1\t0\t10\r\n"
             "FAVS\tDocuments\\Favorites\tIE Favorites\t4\t0\t1\t5\t30\r\n"
             "NEWS\tnntp1\tNews\t5\t0\t1\t0\t20\r\nStore/Inbox.dbx\nDocuments/Favorites/Links/a.url\n");
    Seed(root / "skein", "fields",
         std::string("\x03\x00\x00\x00\x05\x00\x00\x00", 8) + std::string("a\x02"
                                                                          "bb\x02"
                                                                          "ccc\0\x02\0value",
                                                                          16));
    Seed(root / "skein", "layout", std::string("\x01\x00\x00\x00\x00\x00\x00\x00", 8) + "%3&2$*4!1#@");
    return 0;
}

// Shared set-up of the export tests: a private temporary folder, messages
// for the test writers, and a visitor that keeps what a reader gives.
#pragma once

#include "corvane/export/MessageSource.h"
#include "corvane/export/SourceFile.h"
#include "corvane/export/StoreMessages.h"
#include "testsupport/portable/MessageFileWriter.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace corvane::exporting {

namespace fs = std::filesystem;

class TempFolder {
public:
    TempFolder() {
        static int counter = 0;
        path_ = fs::temp_directory_path() /
                ("corvane-export-test-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

inline std::string ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteWhole(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

// Message i: sender, subject and a FILETIME date that differ per message,
// and a body long enough to need `blocks` text blocks.
inline testing::StoredMessage Sample(int i, int blocks = 1) {
    testing::StoredMessage message;
    message.senderName = "Sender " + std::to_string(i);
    message.senderAddress = "sender" + std::to_string(i) + "@example.com";
    message.subject = "Subject " + std::to_string(i);
    int64_t unix = 1'000'000'000 + static_cast<int64_t>(i) * 3600;
    message.fileTime = static_cast<uint64_t>(unix + 11'644'473'600) * 10'000'000;
    std::string body(static_cast<size_t>(blocks) * 0x200 - 200, static_cast<char>('a' + i % 26));
    message.text = testing::MessageText("\"" + message.senderName + "\" <" + message.senderAddress + ">",
                                        message.subject, "Sun, 9 Sep 2001 01:46:40 +0000", body);
    return message;
}

inline std::vector<testing::StoredMessage> Samples(int count, int blocks = 1) {
    std::vector<testing::StoredMessage> messages;
    for (int i = 0; i < count; ++i) messages.push_back(Sample(i, blocks));
    return messages;
}

struct ReadMessage {
    MessageFacts facts;
    std::string text;
};

// Keeps every message with its whole text, and every damage.
class CollectingVisitor : public MessageVisitor {
public:
    bool OnMessage(const MessageFacts& facts, MessageText& text) override {
        std::string all;
        char buffer[700];  // not a multiple of the block size, to cross block ends
        while (size_t n = text.Read(buffer, sizeof buffer)) all.append(buffer, n);
        EXPECT_FALSE(text.Failed());
        EXPECT_EQ(static_cast<int64_t>(all.size()), text.Length());
        messages.push_back({facts, std::move(all)});
        return true;
    }
    bool OnDamage(const Damage& damage) override {
        damages.push_back(damage);
        return true;
    }

    std::vector<ReadMessage> messages;
    std::vector<Damage> damages;
    ReadOutcome outcome;
};

inline CollectingVisitor ReadBytes(const std::vector<uint8_t>& bytes, bool recover = false) {
    MemorySourceFile file(bytes);
    CollectingVisitor visitor;
    ReadOptions options;
    options.recover = recover;
    visitor.outcome = ReadStoreMessages(file, options, visitor);
    return visitor;
}

// The real Outlook Express 5 file beside the repository; CI must have it.
inline fs::path RealFile() { return fs::path(CORVANE_SOURCE_DIR) / ".." / "shared" / "realdata" / "test_OutlookDBX.dbx"; }

#define REQUIRE_REAL_FILE()                                                                                    \
    do {                                                                                                       \
        if (!fs::exists(RealFile())) {                                                                         \
            const char* ci = std::getenv("CI");                                                                \
            if (ci != nullptr && std::string(ci) == "true") FAIL() << "missing " << RealFile() << " on CI";    \
            GTEST_SKIP() << "the real message file " << RealFile() << " is not here (CI=true makes this fail)"; \
        }                                                                                                      \
    } while (false)

}  // namespace corvane::exporting

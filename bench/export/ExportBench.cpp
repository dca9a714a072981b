// Times the export of a large version-5 message file against copying what
// it wrote: the test writer makes a 30,000-message .dbx (about 70 MB), the
// export engine writes it as .eml files into a scratch folder, and `cp -r`
// then copies that folder of .eml files, in the same run on the same disk.
// The export runs in a child process so its peak memory is its own.
//
//   export_bench [MESSAGES] [SCRATCH_FOLDER]
//
// Build without sanitizers for honest figures (see README.md).
#include "corvane/export/ExportEngine.h"
#include "testsupport/portable/MessageFileWriter.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace corvane;

namespace {

// Mail-like messages of 1 to 8 text blocks (about 2.3 KB on average), a few
// senders and subjects, dates a few minutes apart.
std::vector<uint8_t> MakeStore(int count) {
    std::vector<testing::StoredMessage> messages;
    messages.reserve(static_cast<size_t>(count));
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int i = 0; i < count; ++i) {
        testing::StoredMessage message;
        int sender = static_cast<int>(next() >> 16) % 50;
        message.senderName = "Correspondent " + std::to_string(sender);
        message.senderAddress = "person" + std::to_string(sender) + "@example.com";
        message.subject = "Re: report number " + std::to_string(i % 5000) + " for the quarter";
        message.fileTime = (static_cast<uint64_t>(946684800 + i * 300) + 11644473600ull) * 10000000ull;
        size_t bodyBytes = 200 + (next() >> 16) % 2900;
        std::string body;
        while (body.size() < bodyBytes) body += "The quick brown fox jumps over the lazy dog, line " + std::to_string(body.size()) + ".\r\n";
        message.text = testing::MessageText("\"" + message.senderName + "\" <" + message.senderAddress + ">",
                                            message.subject, "Sat, 1 Jan 2000 00:00:00 +0000", body);
        messages.push_back(std::move(message));
    }
    return testing::BuildDbxMessageFile(messages);
}

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 30000;
    const fs::path scratch = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path() / "corvane-export-bench";
    fs::remove_all(scratch);
    fs::create_directories(scratch / "store");
    const fs::path store = scratch / "store" / "Inbox.dbx";
    // The store is made in a child process too, so the memory its making
    // takes is not inherited by the export's process.
    pid_t maker = fork();
    if (maker == 0) {
        std::vector<uint8_t> bytes = MakeStore(count);
        std::ofstream(store, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                     static_cast<std::streamsize>(bytes.size()));
        _exit(0);
    }
    int made = 0;
    waitpid(maker, &made, 0);
    if (!WIFEXITED(made) || WEXITSTATUS(made) != 0 || !fs::exists(store)) return 1;
    std::printf("store: %d messages, %.1f MB\n", count, static_cast<double>(fs::file_size(store)) / 1e6);
    std::fflush(stdout);

    const fs::path out = scratch / "out";
    Clock::time_point start = Clock::now();
    pid_t child = fork();
    if (child == 0) {
        exporting::ExportOptions options;
        options.source = store;
        options.dest = out;
        options.mbox = false;
        std::atomic<bool> cancel{false};
        exporting::ExportResult result = exporting::RunExport(options, {}, cancel);
        _exit(exporting::ExitCode(result));
    }
    int status = 0;
    struct rusage usage {};
    wait4(child, &status, 0, &usage);
    const double exportSeconds = Seconds(start);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "the export failed (status %d)\n", status);
        return 1;
    }
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(out / "Inbox")) files += entry.is_regular_file() ? 1 : 0;

    start = Clock::now();
    std::string command = "cp -r '" + (out / "Inbox").string() + "' '" + (scratch / "copy").string() + "'";
    if (std::system(command.c_str()) != 0) return 1;
    const double copySeconds = Seconds(start);

    std::printf("export as .eml: %.2f s (%zu files, peak memory %.1f MB)\n", exportSeconds, files,
                static_cast<double>(usage.ru_maxrss) / 1024.0);
    std::printf("cp -r of those files: %.2f s\n", copySeconds);
    std::printf("ratio: %.2f\n", exportSeconds / copySeconds);
    if (std::getenv("EXPORT_BENCH_KEEP") == nullptr) fs::remove_all(scratch);
    return 0;
}

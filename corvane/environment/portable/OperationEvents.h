// What a long operation (a backup, a restore, an export) tells whoever runs
// it, and the few questions it asks. An operation has no window: a window
// runs it on a worker thread and reads its progress on a timer, a test or a
// command line runs it directly. Only questions block the operation; Cancel
// only sets the stop flag, which the operation reads between files and the
// zip engine reads inside long files.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

namespace corvane {

// A question the operation cannot go on without. The window words it.
enum class Question {
    RetryWriteTest,  // the destination took no file: retry or cancel
    FirstDiskette,   // insert the first diskette of a new archive: OK or cancel
    NextDiskette,    // insert diskette `number` of the archive being written
    RestoreDisk,     // insert disk `number` of the archive being read (0: the last disk)
    RetryArchive,    // the archive cannot be opened: retry or cancel
    ReplaceInPlace,  // the new archive fits only once the old one at `path` is removed: remove it first?
};

struct QuestionCall {
    Question question = Question::RetryWriteTest;
    int number = 0;
    std::string path;  // the file or folder the question is about
};

// Where the operation stands, by meaning: what it does and to what.
enum class Activity {
    None,
    Saving,      // a file goes into the archive
    Updating,    // an entry of the archive is rewritten
    Checking,    // the new archive, read back as it was written, takes its place
    Finishing,   // the backup log goes in and the archive is closed
    Restoring,   // an entry comes out into the store
    Unpacking,   // the store files come out of an archive to be exported
    Exporting,   // the messages of a folder are written out
};

struct ProgressReport {
    Activity activity = Activity::None;
    std::string item;  // what the user knows the file as ("Inbox", "Windows Address Book")
    int percent = -1;  // 0 to 100; -1 where the operation cannot tell
};

class IOperationEvents {
public:
    virtual ~IOperationEvents() = default;
    // The stop flag: set by Cancel, read by the operation and the zip engine.
    // The operation may set it itself to end the zip engine's command.
    virtual std::atomic<bool>& StopFlag() = 0;
    bool Stopping() { return StopFlag().load(); }
    // Cheap: the latest report only is kept for the window's timer.
    virtual void Progress(const ProgressReport& report) = 0;
    // Blocks until answered: true for OK, Retry or Yes.
    virtual bool Ask(const QuestionCall& call) = 0;
};

// Events for an operation run on the caller's own thread (a test, a command
// line, a short step of a window): questions go to `answer` at once,
// progress to `progress` if set.
class InlineEvents final : public IOperationEvents {
public:
    std::function<bool(const QuestionCall&)> answer;
    std::function<void(const ProgressReport&)> progress;

    std::atomic<bool>& StopFlag() override { return stop_; }
    void Progress(const ProgressReport& report) override {
        if (progress) progress(report);
    }
    bool Ask(const QuestionCall& call) override { return answer ? answer(call) : false; }

private:
    std::atomic<bool> stop_{false};
};

// The progress of a run as its window polls it: the operation writes under
// the lock, the timer reads a copy. `sequence` tells the reader whether
// anything changed since its last look.
class ProgressSync {
public:
    void Set(const ProgressReport& report) {
        std::lock_guard<std::mutex> lock(mutex_);
        report_ = report;
        ++sequence_;
    }
    // Copies the report when it changed since `seen`; false when it did not.
    bool TakeIfNewer(unsigned& seen, ProgressReport& out) const {
        std::lock_guard<std::mutex> lock(mutex_);
        if (sequence_ == seen) return false;
        seen = sequence_;
        out = report_;
        return true;
    }

private:
    mutable std::mutex mutex_;
    ProgressReport report_;
    unsigned sequence_ = 0;
};

}  // namespace corvane

// The hand-over between the export's two threads: the reading thread parses
// the store files and puts what it finds into this queue, the writing thread
// takes it out in the same order. Pieces travel in batches, so the threads
// meet once per batch, not once per message. The queue holds at most about
// `byteBudget` bytes of message text, so a fast reader never runs far ahead
// of the disk and memory stays small whatever the files hold.
#pragma once

#include "corvane/export/MessageSource.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace corvane::exporting {

struct Piece {
    enum class Kind {
        StoreStart,    // job `job` is a message file; its outputs open
        StoreSkipped,  // job `job` is not read: `note` says why, `fault` whether that is a failure
        Text,          // text of a message: `first` carries the facts, `last` ends it
        TextFailed,    // the message begun last could not be read to its end: `damage`
        Damage,        // a damaged part of the file: `damage`
        StoreEnd,      // job `job` is read: `outcome`
    };
    Kind kind = Kind::Text;
    size_t job = 0;
    bool first = false, last = false, fault = false;
    MessageFacts facts;
    std::string bytes;
    Damage damage;
    ReadOutcome outcome;
    std::string note;
    int percent = 0;  // of the whole export, when this piece was made
};

class PieceQueue {
public:
    explicit PieceQueue(size_t byteBudget) : budget_(byteBudget) {}
    using Batch = std::vector<Piece>;
    // Waits while the queue is over its budget; false once stopped.
    bool Push(Batch batch);
    enum class PopResult { Batch, Waiting, Done };
    // Waits up to `wait` for the next batch: Waiting when none came in that
    // time, Done when the queue is closed and empty, or stopped.
    PopResult Pop(Batch& batch, std::chrono::milliseconds wait);
    // No more pieces will come.
    void Close();
    // Wakes both sides for good: pieces still held are dropped.
    void Stop();
    bool Stopped() const;

private:
    const size_t budget_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Batch> batches_;
    size_t bytes_ = 0;
    bool closed_ = false, stopped_ = false;
};

}  // namespace corvane::exporting

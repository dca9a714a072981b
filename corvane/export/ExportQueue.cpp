#include "corvane/export/ExportQueue.h"

namespace corvane::exporting {

bool PieceQueue::Push(Piece piece) {
    std::unique_lock<std::mutex> lock(mutex_);
    // An empty queue always takes a piece, so one piece larger than the budget still passes.
    changed_.wait(lock, [&] { return stopped_ || pieces_.empty() || bytes_ + piece.bytes.size() <= budget_; });
    if (stopped_) return false;
    bytes_ += piece.bytes.size();
    pieces_.push_back(std::move(piece));
    changed_.notify_all();
    return true;
}

PieceQueue::PopResult PieceQueue::Pop(Piece& piece, std::chrono::milliseconds wait) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!changed_.wait_for(lock, wait, [&] { return stopped_ || closed_ || !pieces_.empty(); })) {
        return PopResult::Waiting;
    }
    if (stopped_ || pieces_.empty()) return PopResult::Done;
    piece = std::move(pieces_.front());
    pieces_.pop_front();
    bytes_ -= piece.bytes.size();
    changed_.notify_all();
    return PopResult::Piece;
}

void PieceQueue::Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    changed_.notify_all();
}

void PieceQueue::Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
    pieces_.clear();
    bytes_ = 0;
    changed_.notify_all();
}

bool PieceQueue::Stopped() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return stopped_;
}

}  // namespace corvane::exporting

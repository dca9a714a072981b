#include "corvane/export/ExportQueue.h"

namespace corvane::exporting {

namespace {

size_t BytesOf(const PieceQueue::Batch& batch) {
    size_t bytes = 0;
    for (const Piece& piece : batch) bytes += piece.bytes.size();
    return bytes;
}

}  // namespace

bool PieceQueue::Push(Batch batch) {
    const size_t size = BytesOf(batch);
    std::unique_lock<std::mutex> lock(mutex_);
    // An empty queue always takes a batch, so one larger than the budget still passes.
    changed_.wait(lock, [&] { return stopped_ || batches_.empty() || bytes_ + size <= budget_; });
    if (stopped_) return false;
    bytes_ += size;
    batches_.push_back(std::move(batch));
    changed_.notify_all();
    return true;
}

PieceQueue::PopResult PieceQueue::Pop(Batch& batch, std::chrono::milliseconds wait) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!changed_.wait_for(lock, wait, [&] { return stopped_ || closed_ || !batches_.empty(); })) {
        return PopResult::Waiting;
    }
    if (stopped_ || batches_.empty()) return PopResult::Done;
    batch = std::move(batches_.front());
    batches_.pop_front();
    bytes_ -= BytesOf(batch);
    changed_.notify_all();
    return PopResult::Batch;
}

void PieceQueue::Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    changed_.notify_all();
}

void PieceQueue::Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
    batches_.clear();
    bytes_ = 0;
    changed_.notify_all();
}

bool PieceQueue::Stopped() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return stopped_;
}

}  // namespace corvane::exporting

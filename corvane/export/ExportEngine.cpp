#include "corvane/export/ExportEngine.h"

#include "corvane/export/ExportPlan.h"
#include "corvane/export/ExportQueue.h"
#include "corvane/export/ExportWriter.h"
#include "corvane/export/OutputFile.h"
#include "corvane/export/SafeNames.h"
#include "corvane/export/StoreMessages.h"

#include <algorithm>
#include <thread>

namespace corvane::exporting {

namespace {

namespace fs = std::filesystem;

constexpr size_t kQueueBytes = 8u << 20;
constexpr size_t kChunkBytes = 1u << 20;
constexpr size_t kBatchBytes = 256u << 10;
constexpr size_t kBatchPieces = 256;

// The reading thread's side of the queue: pieces gather into a batch that
// is handed over when it is big enough, and at the end.
class BatchSender {
public:
    BatchSender(PieceQueue& queue, const std::atomic<bool>& cancel) : queue_(queue), cancel_(cancel) {}

    bool Send(Piece piece) {
        if (cancel_.load()) return false;
        bytes_ += piece.bytes.size();
        batch_.push_back(std::move(piece));
        return (bytes_ < kBatchBytes && batch_.size() < kBatchPieces) || Flush();
    }

    bool Flush() {
        if (batch_.empty()) return !cancel_.load();
        bytes_ = 0;
        bool taken = !cancel_.load() && queue_.Push(std::move(batch_));
        batch_.clear();
        return taken;
    }

private:
    PieceQueue& queue_;
    const std::atomic<bool>& cancel_;
    PieceQueue::Batch batch_;
    size_t bytes_ = 0;
};

// The reading thread's view of one store file: every message and damage
// becomes pieces for the writing thread.
class QueueingVisitor : public MessageVisitor {
public:
    QueueingVisitor(BatchSender& sender, const std::atomic<bool>& cancel, size_t job, double before, double share,
                    double total)
        : sender_(sender), cancel_(cancel), job_(job), before_(before), share_(share), total_(total) {}

    bool OnMessage(const MessageFacts& facts, MessageText& text) override {
        bool first = true;
        int64_t left = text.Length();
        do {
            Piece piece;
            piece.job = job_;
            piece.first = first;
            if (first) piece.facts = facts;
            piece.bytes.resize(static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(kChunkBytes))));
            size_t got = 0;
            while (got < piece.bytes.size()) {
                size_t n = text.Read(piece.bytes.data() + got, piece.bytes.size() - got);
                if (n == 0) break;
                got += n;
            }
            piece.bytes.resize(got);
            left -= static_cast<int64_t>(got);
            piece.last = left == 0;
            piece.percent = percent_;
            bool shortRead = !piece.last && got == 0;
            if (!sender_.Send(std::move(piece))) return false;
            if (shortRead || text.Failed()) {
                Piece failed;
                failed.kind = Piece::Kind::TextFailed;
                failed.job = job_;
                failed.damage = {DamageKind::Message, facts.offset,
                                 "the message's text could not be read to its end", facts.recovered};
                return sender_.Send(std::move(failed));
            }
            first = false;
        } while (left > 0);
        return true;
    }

    bool OnDamage(const Damage& damage) override {
        Piece piece;
        piece.kind = Piece::Kind::Damage;
        piece.job = job_;
        piece.damage = damage;
        return sender_.Send(std::move(piece));
    }

    bool OnProgress(double share) override {
        percent_ = static_cast<int>(100.0 * (before_ + share_ * std::clamp(share, 0.0, 1.0)) / total_);
        return !cancel_.load();
    }

private:
    BatchSender& sender_;
    const std::atomic<bool>& cancel_;
    size_t job_;
    double before_, share_, total_;
    int percent_ = 0;
};

void ReadAll(const ExportPlan& plan, const ExportOptions& options, PieceQueue& queue, const std::atomic<bool>& cancel) {
    BatchSender sender(queue, cancel);
    double total = 0;
    for (const StoreJob& job : plan.jobs) total += static_cast<double>(std::max<int64_t>(job.size, 1));
    double before = 0;
    bool going = true;
    for (size_t i = 0; i < plan.jobs.size() && going; ++i) {
        const double share = static_cast<double>(std::max<int64_t>(plan.jobs[i].size, 1));
        Piece start;
        start.job = i;
        std::unique_ptr<SourceFile> file = OpenSourceFile(plan.jobs[i].source);
        if (!file) {
            start.kind = Piece::Kind::StoreSkipped;
            start.note = "the file cannot be opened";
            start.fault = true;
        } else if (IdentifyStore(*file) == StoreKind::Unknown) {
            start.kind = Piece::Kind::StoreSkipped;
            start.note = "not an Outlook Express message file";  // folders.dbx's kin: Pop3uidl.dbx, Offline.dbx
        } else {
            start.kind = Piece::Kind::StoreStart;
        }
        bool skipped = start.kind == Piece::Kind::StoreSkipped;
        going = sender.Send(std::move(start));
        if (going && !skipped) {
            QueueingVisitor visitor(sender, cancel, i, before, share, total);
            ReadOptions readOptions;
            readOptions.recover = options.recover;
            Piece end;
            end.kind = Piece::Kind::StoreEnd;
            end.job = i;
            end.outcome = ReadStoreMessages(*file, readOptions, visitor);
            going = !end.outcome.stopped && sender.Send(std::move(end));
        }
        before += share;
    }
    if (going) sender.Flush();
    queue.Close();
}

void WriteReport(const ExportOptions& options, ExportResult& result) {
    fs::path path = UniqueNames(options.dest).Claim("export-report", ".txt");
    OutputFile report;
    if (path.empty() || !report.Open(path) || !report.Write(ReportText(options, result)) || !report.Commit()) return;
    result.reportPath = path;
}

ExportStatus StatusOf(const std::vector<FolderReport>& folders) {
    for (const FolderReport& folder : folders) {
        if (folder.unreadableFile || folder.unreadable > 0) return ExportStatus::SomeUnreadable;
        if (folder.exported + folder.recovered < folder.headerCount) return ExportStatus::SomeUnreadable;
    }
    return ExportStatus::Complete;
}

}  // namespace

ExportResult RunExport(const ExportOptions& options, const ExportEvents& events, const std::atomic<bool>& cancel) {
    ExportResult result;
    ExportPlan plan;
    if (!PlanExport(options.source, plan, result.error)) {
        result.status = ExportStatus::BadSource;
        return result;
    }
    std::error_code error;
    if (fs::is_regular_file(options.source, error) && plan.jobs.size() == 1) {
        std::unique_ptr<SourceFile> file = OpenSourceFile(options.source);
        if (!file || IdentifyStore(*file) == StoreKind::Unknown) {
            result.status = ExportStatus::BadSource;
            result.error = PathUtf8(options.source) + (file ? " is not an Outlook Express message file" : " cannot be opened");
            return result;
        }
    }
    // DEST must not be the source folder or lie inside it: the export would
    // write into the store it reads (and a folder source would read its output).
    if (LiesInside(options.dest, SourceFolder(options.source))) {
        result.status = ExportStatus::BadDestination;
        result.error = "the destination lies inside the source folder";
        return result;
    }
    fs::create_directories(options.dest, error);
    if (error || !fs::is_directory(options.dest, error)) {
        result.status = ExportStatus::BadDestination;
        result.error = "cannot create " + PathUtf8(options.dest);
        return result;
    }

    PieceQueue queue(kQueueBytes);
    std::atomic<bool> stop{false};
    std::thread reader([&] { ReadAll(plan, options, queue, stop); });
    ExportWriter writer(options, plan, result.folders);
    PieceQueue::Batch batch;
    int shown = -1;
    bool failed = false;
    while (!failed) {
        // A bounded wait, so a cancel is seen while the reader scans.
        PieceQueue::PopResult popped = queue.Pop(batch, std::chrono::milliseconds(100));
        if (cancel.load() || popped == PieceQueue::PopResult::Done) break;
        for (Piece& piece : batch) {
            if (cancel.load()) break;
            if (piece.kind == Piece::Kind::StoreStart && events.onFolder)
                events.onFolder(FolderLabel(plan.jobs[piece.job].folder));
            if (!writer.Handle(piece)) {
                failed = true;
                break;
            }
            if (events.onProgress && piece.percent > shown) events.onProgress(shown = std::min(piece.percent, 99));
        }
        batch.clear();
    }
    bool cancelled = cancel.load() && !failed;
    stop = true;
    queue.Stop();
    reader.join();
    writer.DiscardAll();
    if (failed) {
        result.status = ExportStatus::WriteFailed;
        result.error = writer.Error();
    } else if (cancelled) {
        result.status = ExportStatus::Cancelled;
    } else {
        result.status = StatusOf(result.folders);
        if (events.onProgress) events.onProgress(100);
    }
    WriteReport(options, result);
    return result;
}

int ExitCode(const ExportResult& result) {
    switch (result.status) {
        case ExportStatus::Complete: return 0;
        case ExportStatus::SomeUnreadable:
        case ExportStatus::Cancelled: return 1;
        case ExportStatus::BadSource:
        case ExportStatus::BadDestination:
        case ExportStatus::WriteFailed: return 2;
    }
    return 2;
}

}  // namespace corvane::exporting

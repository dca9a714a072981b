#include "corvane/export/ExportWriter.h"

namespace corvane::exporting {

namespace fs = std::filesystem;

ExportWriter::ExportWriter(const ExportOptions& options, const ExportPlan& plan, std::vector<FolderReport>& reports)
    : options_(options), plan_(plan), reports_(reports) {
    reports_.clear();
    for (const StoreJob& job : plan_.jobs) {
        FolderReport report;
        report.folder = FolderLabel(job.folder);
        report.source = PathUtf8(job.source);
        reports_.push_back(std::move(report));
    }
}

bool ExportWriter::Handle(Piece& piece) {
    if (piece.job >= reports_.size()) return true;
    FolderReport& report = reports_[piece.job];
    switch (piece.kind) {
        case Piece::Kind::StoreStart:
            job_ = piece.job;
            return OpenOutput(listed_, plan_.jobs[job_].folder);
        case Piece::Kind::StoreSkipped:
            report.note = piece.note;
            report.unreadableFile = piece.fault;
            return true;
        case Piece::Kind::Text:
            return Text(piece);
        case Piece::Kind::TextFailed:
            eml_.Discard();
            if (current_ && current_->mbox.IsOpen() && !current_->mbox.AbandonMessage()) {
                return Fail(current_->mbox.Error());
            }
            current_ = nullptr;
            ++report.unreadable;
            report.damages.push_back(piece.damage);
            return true;
        case Piece::Kind::Damage:
            if (piece.damage.kind == DamageKind::Message) ++report.unreadable;
            report.damages.push_back(piece.damage);
            return true;
        case Piece::Kind::StoreEnd:
            report.headerCount = piece.outcome.headerCount;
            return CloseOutputs();
    }
    return true;
}

// The folder of .eml files and the mbox file beside it, named after the
// folder's last part ("Inbox" and "Inbox.mbox").
bool ExportWriter::OpenOutput(Output& output, const std::vector<std::string>& folder) {
    fs::path path = options_.dest;
    for (const std::string& part : folder) path /= Utf8Path(part);
    // DEST may hold the source folder; a folder named like it must not lead back in.
    if (LiesInside(path, SourceFolder(options_.source))) {
        return Fail("the output folder " + PathUtf8(path) + " would lie inside the source folder");
    }
    std::error_code error;
    if (options_.eml) {
        fs::create_directories(path, error);
        if (error) return Fail("cannot create the folder " + PathUtf8(path) + ": " + error.message());
        output.emlFolder = path;
        output.names.emplace(path);
    }
    if (options_.mbox) {
        fs::create_directories(path.parent_path(), error);
        if (error) return Fail("cannot create the folder " + PathUtf8(path.parent_path()) + ": " + error.message());
        fs::path mboxPath = UniqueNames(path.parent_path()).Claim(folder.back(), ".mbox");
        if (mboxPath.empty() || !output.mbox.Open(mboxPath)) {
            return Fail(mboxPath.empty() ? "cannot name an mbox file in " + PathUtf8(path.parent_path())
                                         : output.mbox.Error());
        }
    }
    output.open = true;
    return true;
}

bool ExportWriter::Text(Piece& piece) {
    if (piece.first) {
        currentRecovered_ = piece.facts.recovered;
        current_ = currentRecovered_ ? &recovered_ : &listed_;
        if (currentRecovered_ && !recovered_.open) {
            std::vector<std::string> folder{kRecoveredFolder};
            folder.insert(folder.end(), plan_.jobs[job_].folder.begin(), plan_.jobs[job_].folder.end());
            if (!OpenOutput(recovered_, folder)) return false;
        }
        if (options_.eml) {
            fs::path path = current_->names->Claim(EmlStem(piece.facts), ".eml");
            if (path.empty()) return Fail("cannot name a file in " + PathUtf8(current_->emlFolder));
            if (!eml_.Open(path)) return Fail(eml_.Error());
            emlDate_ = piece.facts.date;
        }
        if (options_.mbox && !current_->mbox.BeginMessage(piece.facts)) return Fail(current_->mbox.Error());
    }
    if (!current_) return true;  // the rest of a message already given up
    if (options_.eml && !eml_.Write(piece.bytes)) return Fail(eml_.Error());
    if (options_.mbox && !current_->mbox.Write(piece.bytes.data(), piece.bytes.size())) {
        return Fail(current_->mbox.Error());
    }
    if (piece.last) {
        if (options_.eml && !eml_.Commit(emlDate_)) return Fail(eml_.Error());
        if (options_.mbox && !current_->mbox.EndMessage()) return Fail(current_->mbox.Error());
        ++(currentRecovered_ ? reports_[job_].recovered : reports_[job_].exported);
        current_ = nullptr;
    }
    return true;
}

bool ExportWriter::CloseOutputs() {
    for (Output* output : {&listed_, &recovered_}) {
        if (output->open && options_.mbox && !output->mbox.Commit()) return Fail(output->mbox.Error());
        output->open = false;
        output->names.reset();
    }
    current_ = nullptr;
    return true;
}

void ExportWriter::DiscardAll() {
    eml_.Discard();
    for (Output* output : {&listed_, &recovered_}) {
        output->mbox.Discard();
        output->open = false;
    }
    current_ = nullptr;
}

bool ExportWriter::Fail(const std::string& what) {
    error_ = what;
    DiscardAll();
    return false;
}

}  // namespace corvane::exporting

#include "corvane/export/MboxWriter.h"

#include "corvane/export/MailDate.h"

#include <string_view>

namespace corvane::exporting {

namespace {

constexpr std::string_view kFrom = "From ";

// The address as one word: the From line is split at blanks.
std::string AddressWord(const std::string& address) {
    std::string word;
    for (char c : address) {
        auto byte = static_cast<unsigned char>(c);
        if (byte > 0x20 && byte != 0x7F) word += c;
    }
    return word.empty() ? "MAILER-DAEMON" : word;
}

}  // namespace

std::string MboxFromLine(const MessageFacts& facts) {
    // Undated messages get the start of the epoch rather than a made-up date.
    return "From " + AddressWord(facts.senderAddress) + " " + AsctimeUtc(facts.date.value_or(0)) + "\n";
}

void MboxrdQuoter::Put(char c, std::string& out) {
    if (matching_) {
        // The line so far is '>'s and a beginning of "From ".
        size_t quotes = held_.find_first_not_of('>');
        if (quotes == std::string::npos) quotes = held_.size();
        size_t matched = held_.size() - quotes;
        if ((c == '>' && matched == 0) || (matched < kFrom.size() && c == kFrom[matched])) {
            held_ += c;
            if (held_.size() - quotes == kFrom.size()) {
                out += '>';
                out += held_;
                held_.clear();
                matching_ = false;
            }
            return;
        }
        out += held_;
        held_.clear();
        matching_ = false;
    }
    out += c;
    if (c == '\n') matching_ = true;
}

void MboxrdQuoter::Feed(const char* data, size_t size, std::string& out) {
    for (size_t i = 0; i < size; ++i) {
        char c = data[i];
        if (pendingCr_) {
            pendingCr_ = false;
            if (c == '\n') {
                Put('\n', out);
                endsInLf_ = true;
                continue;
            }
            Put('\r', out);  // a CR alone stays
            endsInLf_ = false;
        }
        if (c == '\r') {
            pendingCr_ = true;
            continue;
        }
        Put(c, out);
        endsInLf_ = c == '\n';
    }
}

void MboxrdQuoter::Finish(std::string& out) {
    if (pendingCr_) {
        Put('\n', out);  // a final CR ends the last line
        endsInLf_ = true;
    }
    out += held_;
    if (!held_.empty()) endsInLf_ = false;
    if (!endsInLf_) out += '\n';
    out += '\n';
    *this = MboxrdQuoter();
}

bool MboxWriter::BeginMessage(const MessageFacts& facts) {
    messageStart_ = file_.Written();
    quoter_ = MboxrdQuoter();
    return file_.Write(MboxFromLine(facts));
}

bool MboxWriter::Write(const char* data, size_t size) {
    out_.clear();
    quoter_.Feed(data, size, out_);
    return file_.Write(out_);
}

bool MboxWriter::EndMessage() {
    out_.clear();
    quoter_.Finish(out_);
    return file_.Write(out_);
}

bool MboxWriter::AbandonMessage() {
    quoter_ = MboxrdQuoter();
    return file_.TruncateTo(messageStart_);
}

}  // namespace corvane::exporting

#include "loopline/portable/HttpResponse.h"

#include "corvane/environment/portable/TextRules.h"

namespace corvane::loopline {
namespace {

constexpr std::string_view kNoHeaderMark = "<HTML>";

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool StartsWith(std::string_view text, std::string_view head) { return text.substr(0, head.size()) == head; }

bool AllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

}  // namespace

ResponseReader::ResponseReader(ResponseLimits limits) : limits_(limits) {}

ResponseReader::State ResponseReader::Fail(std::string error) {
    error_ = std::move(error);
    state_ = State::Failed;
    body_.clear();
    return state_;
}

ResponseReader::State ResponseReader::Feed(std::string_view bytes) {
    if (state_ == State::Complete || state_ == State::Failed) return state_;
    received_ += bytes.size();
    if (state_ == State::Header) return FeedHeader(bytes);
    return FeedBody(bytes);
}

ResponseReader::State ResponseReader::Close() {
    if (state_ == State::Header && !decided_) {
        // Fewer than six bytes came: they can only be (part of) a header.
        decided_ = true;
        std::string start = std::move(line_);
        line_.clear();
        FeedHeader(start);
    }
    if (state_ == State::Header) return Fail("Connection closed before the end of the HTTP header");
    if (state_ != State::Body) return state_;
    if (contentLength_ >= 0 && body_.size() < static_cast<uint64_t>(contentLength_))
        return Fail("Connection closed before the end of the document");
    state_ = State::Complete;
    return state_;
}

ResponseReader::State ResponseReader::FeedHeader(std::string_view bytes) {
    if (!decided_) {
        // The first six bytes tell whether a header comes at all; until then
        // they wait in line_.
        line_.append(bytes);
        if (line_.size() < kNoHeaderMark.size()) return state_;
        decided_ = true;
        std::string start = std::move(line_);
        line_.clear();
        if (EqualsNoCase(std::string_view(start).substr(0, kNoHeaderMark.size()), kNoHeaderMark)) {
            statusCode_ = 200;
            reasonPhrase_ = "OK";
            contentType_ = "text/html";
            state_ = State::Body;
            return FeedBody(start);
        }
        return FeedHeader(start);
    }
    while (!bytes.empty()) {
        size_t newline = bytes.find('\n');
        std::string_view piece = bytes.substr(0, newline);
        // One byte more than the limit may still be the CR of the line's end.
        if (line_.size() + piece.size() > limits_.lineBytes + 1) return Fail("HTTP line too long");
        headerSize_ += piece.size() + (newline == std::string_view::npos ? 0 : 1);
        if (headerSize_ > limits_.headerBytes) return Fail("HTTP header too long");
        line_.append(piece);
        if (newline == std::string_view::npos) return state_;
        bytes.remove_prefix(newline + 1);
        if (!line_.empty() && line_.back() == '\r') line_.pop_back();
        if (line_.size() > limits_.lineBytes) return Fail("HTTP line too long");
        std::string line = std::move(line_);
        line_.clear();
        if (line.empty() && statusSeen_) {
            if (EndOfHeader() != State::Body) return state_;
            return FeedBody(bytes);
        }
        if (!HeaderLine(line)) return state_;
    }
    return state_;
}

bool ResponseReader::HeaderLine(std::string_view line) {
    if (!statusSeen_) {
        statusSeen_ = true;
        if (!StartsWith(line, "HTTP/1.0") && !StartsWith(line, "HTTP/1.1")) {
            Fail("Invalid HTTP response");
            return false;
        }
        // The status is characters 10 to 12, the reason phrase starts at 14.
        if (line.size() < 12 || !AllDigits(line.substr(9, 3))) {
            Fail("Invalid HTTP status line");
            return false;
        }
        statusCode_ = LeadingInt(line.substr(9, 3));
        reasonPhrase_ = line.size() > 13 ? std::string(line.substr(13)) : "";
        return true;
    }
    size_t colon = line.find(':');
    if (colon == std::string_view::npos) return true;
    std::string name = LowerCased(TrimBlanks(line.substr(0, colon)));
    std::string_view value = TrimBlanks(line.substr(colon + 1));
    if (name == "location") {
        hasLocation_ = true;
        location_ = std::string(value);
    } else if (name == "content-length") {
        std::optional<int64_t> length = WholeNumber(value);
        if (length && *length >= 0) contentLength_ = *length;
    } else if (name == "content-type") {
        contentType_ = LowerCased(value);
    } else if (name == "www-authenticate") {
        wwwAuthenticate_.emplace_back(value);
    } else if (name == "set-cookie") {
        cookies_.emplace_back(value);
    }
    return true;
}

ResponseReader::State ResponseReader::EndOfHeader() {
    endsAtHeader_ = hasLocation_ || statusCode_ >= 400;
    if (endsAtHeader_ || contentLength_ == 0) {
        state_ = State::Complete;
        return state_;
    }
    if (contentLength_ > 0 && static_cast<uint64_t>(contentLength_) > limits_.bodyBytes)
        return Fail("Document too large");
    state_ = State::Body;
    return state_;
}

ResponseReader::State ResponseReader::FeedBody(std::string_view bytes) {
    if (contentLength_ >= 0) {
        // Anything past the announced length is not part of the document.
        bytes = bytes.substr(0, static_cast<size_t>(contentLength_) - body_.size());
    }
    if (body_.size() + bytes.size() > limits_.bodyBytes) return Fail("Document too large");
    body_.append(bytes);
    if (contentLength_ >= 0 && body_.size() == static_cast<uint64_t>(contentLength_)) state_ = State::Complete;
    return state_;
}

}  // namespace corvane::loopline

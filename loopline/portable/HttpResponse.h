// The response of the HTTP fetch, read as it arrives: the header line by line,
// then the body until the server closes the connection. Bytes from the
// network are untrusted: every line, the whole header and the body have
// limits, and any violation ends the response with an error text.
// Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::loopline {

struct ResponseLimits {
    size_t lineBytes = 8192;         // one header line, without its CR LF
    size_t headerBytes = 64 * 1024;  // the whole header
    size_t bodyBytes = 4 * 1024 * 1024;
};

class ResponseReader {
public:
    enum class State {
        Header,    // more header to come
        Body,      // the header is read; body bytes follow
        Complete,  // nothing more to read: a whole response, or a header that ends the request
        Failed,    // Error() says why
    };

    explicit ResponseReader(ResponseLimits limits = {});

    // The next bytes received; answers the state after them.
    State Feed(std::string_view bytes);
    // The server closed the connection.
    State Close();
    State state() const { return state_; }

    // The header ended the request without a body to read: a redirection
    // ("location") or a status of 400 and more.
    bool EndsAtHeader() const { return endsAtHeader_; }

    int StatusCode() const { return statusCode_; }
    const std::string& ReasonPhrase() const { return reasonPhrase_; }
    int64_t ContentLength() const { return contentLength_; }         // -1 until a "content-length" header
    const std::string& ContentType() const { return contentType_; }  // lower case
    bool HasLocation() const { return hasLocation_; }
    const std::string& Location() const { return location_; }
    const std::vector<std::string>& WwwAuthenticate() const { return wwwAuthenticate_; }
    const std::vector<std::string>& Cookies() const { return cookies_; }
    const std::string& Body() const { return body_; }
    std::string TakeBody() { return std::move(body_); }
    uint64_t ReceivedBytes() const { return received_; }
    const std::string& Error() const { return error_; }

private:
    State Fail(std::string error);
    State FeedHeader(std::string_view bytes);
    State FeedBody(std::string_view bytes);
    bool HeaderLine(std::string_view line);
    State EndOfHeader();

    ResponseLimits limits_;
    State state_ = State::Header;
    bool decided_ = false;     // whether the response starts with "<HTML>" is known
    bool statusSeen_ = false;  // the first line was read
    std::string line_;         // the header line being received
    size_t headerSize_ = 0;
    bool endsAtHeader_ = false;

    int statusCode_ = 0;
    std::string reasonPhrase_;
    int64_t contentLength_ = -1;
    std::string contentType_;
    bool hasLocation_ = false;
    std::string location_;
    std::vector<std::string> wwwAuthenticate_;
    std::vector<std::string> cookies_;
    std::string body_;
    uint64_t received_ = 0;
    std::string error_;
};

}  // namespace corvane::loopline

// Responses as they arrive from a server, whole or in pieces; the native
// build runs them under the sanitizers, hostile ones included.
#include "loopline/portable/HttpResponse.h"

#include <gtest/gtest.h>

#include <random>

namespace corvane::loopline {
namespace {

using State = ResponseReader::State;

// Feeds the response in pieces of `piece` bytes (0: whole), then closes.
ResponseReader Read(const std::string& response, size_t piece = 0, ResponseLimits limits = {}) {
    ResponseReader reader(limits);
    size_t step = piece ? piece : response.size() + 1;
    for (size_t at = 0; at < response.size() && reader.state() != State::Failed; at += step)
        reader.Feed(std::string_view(response).substr(at, step));
    reader.Close();
    return reader;
}

const std::string kPage =
    "HTTP/1.1 200 Fine Today\r\n"
    "CONTENT-type: Text/Plain; charset=ISO-8859-1\r\n"
    "Set-Cookie: a=1\r\n"
    "WWW-Authenticate: Basic realm=\"news\"\r\n"
    "www-authenticate:   Digest\r\n"
    "X-Ignored no colon here\r\n"
    "\r\n"
    "line 1\r\nline 2\r\n";

TEST(HttpResponse, HeaderAndBodyAreTheSameHoweverTheyArrive) {
    for (size_t piece : {0, 1, 2, 7, 64}) {
        ResponseReader reader = Read(kPage, piece);
        ASSERT_EQ(reader.state(), State::Complete) << piece << ": " << reader.Error();
        EXPECT_EQ(reader.StatusCode(), 200);
        EXPECT_EQ(reader.ReasonPhrase(), "Fine Today");
        EXPECT_EQ(reader.ContentType(), "text/plain; charset=iso-8859-1");
        EXPECT_EQ(reader.ContentLength(), -1);
        EXPECT_EQ(reader.WwwAuthenticate(), (std::vector<std::string>{"Basic realm=\"news\"", "Digest"}));
        EXPECT_EQ(reader.Cookies(), std::vector<std::string>{"a=1"});
        EXPECT_FALSE(reader.HasLocation());
        EXPECT_EQ(reader.Body(), "line 1\r\nline 2\r\n");
        EXPECT_EQ(reader.ReceivedBytes(), kPage.size());
    }
    // Bare LF line ends too, and a status line without a reason.
    ResponseReader bare = Read("HTTP/1.0 204\nContent-Length: 0\n\n");
    EXPECT_EQ(bare.state(), State::Complete);
    EXPECT_EQ(bare.StatusCode(), 204);
    EXPECT_EQ(bare.ReasonPhrase(), "");
}

TEST(HttpResponse, ContentLengthEndsTheBodyAndAShortBodyFails) {
    ResponseReader reader;
    EXPECT_EQ(reader.Feed("HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhel"), State::Body);
    EXPECT_EQ(reader.Feed("lo and more"), State::Complete);
    EXPECT_EQ(reader.ContentLength(), 5);
    EXPECT_EQ(reader.Body(), "hello");

    ResponseReader shortBody = Read("HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nonly part");
    EXPECT_EQ(shortBody.state(), State::Failed);
    EXPECT_EQ(shortBody.Error(), "Connection closed before the end of the document");
    EXPECT_EQ(shortBody.Body(), "");

    ResponseReader noHeaderEnd = Read("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n");
    EXPECT_EQ(noHeaderEnd.state(), State::Failed);
}

TEST(HttpResponse, RedirectionsAndErrorsEndAtTheHeader) {
    ResponseReader moved;
    EXPECT_EQ(moved.Feed("HTTP/1.0 302 Found\r\nLOCATION:  /elsewhere \r\n\r\nmoved body"), State::Complete);
    EXPECT_TRUE(moved.EndsAtHeader());
    EXPECT_TRUE(moved.HasLocation());
    EXPECT_EQ(moved.Location(), "/elsewhere");
    EXPECT_EQ(moved.Body(), "");

    ResponseReader missing;
    EXPECT_EQ(missing.Feed("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found"), State::Complete);
    EXPECT_TRUE(missing.EndsAtHeader());
    EXPECT_EQ(missing.StatusCode(), 404);
    EXPECT_EQ(missing.ReasonPhrase(), "Not Found");
}

TEST(HttpResponse, AResponseStartingWithHtmlHasNoHeader) {
    for (const char* start : {"<HTML>", "<html>", "<HtMl>"}) {
        std::string page = std::string(start) + "<body>news</body></html>";
        for (size_t piece : {0, 1, 3}) {
            ResponseReader reader = Read(page, piece);
            ASSERT_EQ(reader.state(), State::Complete) << start;
            EXPECT_EQ(reader.Body(), page);
            EXPECT_EQ(reader.ContentType(), "text/html");
            EXPECT_EQ(reader.StatusCode(), 200);
        }
    }
    // Fewer than six bytes are no page.
    EXPECT_EQ(Read("<HTML").state(), State::Failed);
}

TEST(HttpResponse, WhatIsNoHttpResponseFails) {
    const char* bad[] = {"ICY 200 OK\r\n\r\nbody", "HTTP/2 200 OK\r\n\r\n",       "HTTP/1.0 2x0 OK\r\n\r\n",
                         "HTTP/1.0 20\r\n\r\n",    "\r\nHTTP/1.0 200 OK\r\n\r\n", ""};
    for (const char* response : bad) {
        ResponseReader reader = Read(response);
        EXPECT_EQ(reader.state(), State::Failed) << response;
        EXPECT_FALSE(reader.Error().empty());
    }
}

TEST(HttpResponse, HeaderLinesLongerThan8192BytesFail) {
    auto withLine = [](size_t length, const char* end) {
        return "HTTP/1.0 200 OK\r\nX-Long: " + std::string(length - 8, 'a') + end + "\r\nbody";
    };
    EXPECT_EQ(Read(withLine(8192, "\r\n"), 100).state(), State::Complete);
    EXPECT_EQ(Read(withLine(8192, "\n")).state(), State::Complete);
    for (const char* end : {"\r\n", "\n"}) {
        ResponseReader reader = Read(withLine(8193, end), 100);
        EXPECT_EQ(reader.state(), State::Failed);
        EXPECT_EQ(reader.Error(), "HTTP line too long");
    }
    // A line that never ends fails as soon as it is too long, not at the close.
    ResponseReader endless;
    endless.Feed("HTTP/1.0 200 OK\r\nX-Long: ");
    EXPECT_EQ(endless.Feed(std::string(9000, 'a')), State::Failed);
    EXPECT_EQ(endless.Error(), "HTTP line too long");
}

TEST(HttpResponse, EndlessHeadersAndOversizedBodiesFail) {
    std::string manyLines = "HTTP/1.0 200 OK\r\n";
    for (int i = 0; i < 2000; ++i) manyLines += "WWW-Authenticate: " + std::string(100, 'b') + "\r\n";
    ResponseReader header = Read(manyLines + "\r\n");
    EXPECT_EQ(header.state(), State::Failed);
    EXPECT_EQ(header.Error(), "HTTP header too long");
    EXPECT_LT(header.WwwAuthenticate().size(), 2000u);

    ResponseLimits limits;
    limits.bodyBytes = 1000;
    EXPECT_EQ(Read("HTTP/1.0 200 OK\r\n\r\n" + std::string(1000, 'x'), 0, limits).state(), State::Complete);
    ResponseReader tooBig = Read("HTTP/1.0 200 OK\r\n\r\n" + std::string(1001, 'x'), 300, limits);
    EXPECT_EQ(tooBig.state(), State::Failed);
    EXPECT_EQ(tooBig.Error(), "Document too large");
    // An announced length over the limit fails before any body is read.
    ResponseReader announced(limits);
    EXPECT_EQ(announced.Feed("HTTP/1.0 200 OK\r\nContent-Length: 99999999999999999\r\n\r\n"), State::Failed);
}

TEST(HttpResponse, HostileBytesNeverBreakTheReader) {
    std::mt19937 random(19);
    ResponseLimits limits;
    limits.lineBytes = 64;
    limits.headerBytes = 512;
    limits.bodyBytes = 256;
    const std::string seeds[] = {kPage, "HTTP/1.0 301 Moved\r\nLocation: /x\r\n\r\n",
                                 "HTTP/1.0 200 OK\r\nContent-Length: 12\r\n\r\n0123456789ab", "<html>x"};
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = seeds[random() % 4];
        int changes = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < changes; ++i) {
            size_t at = random() % (bytes.size() + 1);
            switch (random() % 3) {
            case 0:
                if (at < bytes.size()) bytes[at] = static_cast<char>(random());
                break;
            case 1:
                bytes.insert(at, std::string(random() % 200, static_cast<char>(random())));
                break;
            default:
                bytes.resize(at);
                break;
            }
        }
        ResponseReader reader = Read(bytes, 1 + random() % 50, limits);
        ASSERT_NE(reader.state(), State::Header);
        ASSERT_NE(reader.state(), State::Body);
        ASSERT_LE(reader.Body().size(), limits.bodyBytes);
        if (reader.state() == State::Failed) {
            ASSERT_FALSE(reader.Error().empty());
        }
    }
}

}  // namespace
}  // namespace corvane::loopline

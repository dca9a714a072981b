// The HTTP client of the news program (`Http` on its window): a synchronous
// HTTP/1.0 GET of one address into memory, following redirections, over
// Winsock. While it waits for the network it runs the thread's window
// messages, so the window stays responsive and its handlers may call Abort.
// The protocol itself (address, request, response) is in portable/.
#pragma once

#include "loopline/portable/HttpAddress.h"
#include "loopline/portable/HttpRequest.h"
#include "loopline/portable/HttpResponse.h"

#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::loopline {

// The end of a request: ok, or the status and reason it failed with. Failures
// of the client and of the connection carry status 404, as a missing page would.
struct HttpOutcome {
    bool ok = false;
    int status = 0;
    std::string reason;
};

class THttpCli {
public:
    THttpCli();
    ~THttpCli();
    THttpCli(const THttpCli&) = delete;
    THttpCli& operator=(const THttpCli&) = delete;

    // Settings of a request.
    std::string URL;
    std::string Accept = kDefaultAccept;
    std::string Agent = kDefaultAgent;
    // Limits against a stalled or hostile server.
    DWORD ConnectTimeoutMs = 30000;  // name resolution and connection, together
    DWORD ReadTimeoutMs = 30000;     // silence of the server while a response is awaited
    // The whole request, redirections included: a server that sends a byte
    // now and then is never silent for long, yet must not hold the window for
    // ever. Four silences' worth: a news page takes seconds even on dial-up.
    DWORD FetchTimeoutMs = 120000;
    int MaxRedirects = 10;
    ResponseLimits Limits;

    // Results of the last request (of the last step of its redirections).
    int StatusCode = 0;
    std::string ReasonPhrase;
    int64_t ContentLength = -1;
    std::string ContentType;
    std::vector<std::string> WWWAuthenticate;
    uint64_t RcvdCount = 0;

    // Runs the request and returns when it has finished. On success the body
    // is appended to `receiveStream`. A request while one runs fails at once
    // with "HTTP component is busy" and leaves the running one alone.
    HttpOutcome Get(std::string& receiveStream);
    // Ends the running request with "Connection aborted on request".
    void Abort();
    bool Busy() const { return busy_; }

private:
    class Connection;
    enum class Wake { Signalled, TimedOut, PastDeadline, Aborted };

    HttpOutcome Run(std::string& receiveStream);
    HttpOutcome Exchange(const HttpAddress& address, ResponseReader& reader);
    HttpOutcome Connect(const HttpAddress& address, Connection& connection);
    HttpOutcome Send(Connection& connection, const std::string& request);
    HttpOutcome Receive(Connection& connection, ResponseReader& reader);
    // Waits until the event is set, `timeoutMs` have passed since `startTick`,
    // the request's deadline has passed or the request is aborted, running
    // the window messages meanwhile.
    Wake WaitFor(HANDLE event, DWORD startTick, DWORD timeoutMs);
    // A wait that ended the whole request (an abort or the deadline), and its failure.
    static bool EndsRequest(Wake wake) { return wake == Wake::Aborted || wake == Wake::PastDeadline; }
    static HttpOutcome EndedBy(Wake wake);
    void TakeResults(const ResponseReader& reader);

    bool started_ = false;  // Winsock
    bool busy_ = false;
    bool abort_ = false;
    DWORD requestStart_ = 0;  // tick count at the start of the request
};

}  // namespace corvane::loopline

#include "loopline/HttpCli.h"

#include "corvane/environment/MessagePump.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

namespace corvane::loopline {
namespace {

constexpr int kClientFailure = 404;
const char* const kAborted = "Connection aborted on request";
const char* const kTimedOut = "Timed out waiting for the server";
const char* const kUnresolved = "can't resolve hostname to IP address";

HttpOutcome Failure(int status, std::string reason) { return {false, status, std::move(reason)}; }

// The system's text for a Winsock error, without its line end and full stop.
std::string SystemText(int code) {
    char text[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                  static_cast<DWORD>(code), 0, text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() &&
           (message.back() == '\r' || message.back() == '\n' || message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    return message.empty() ? "Winsock error" : message;
}

std::string WithCode(const std::string& lead, int code) {
    return lead + SystemText(code) + " (Error #" + std::to_string(code) + ")";
}

// A name resolution on a thread of its own, so a slow name server cannot
// freeze the window. The thread owns its half: a request that stops waiting
// (time-out, abort) leaves the job to end and free itself.
struct Resolution {
    Resolution(std::string h, std::string p)
        : host(std::move(h)), port(std::move(p)), done(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Resolution() {
        if (done) CloseHandle(done);
    }
    Resolution(const Resolution&) = delete;
    Resolution& operator=(const Resolution&) = delete;

    struct Address {
        int family = 0;
        sockaddr_storage storage{};
        int length = 0;
    };

    // An IPv4 address written as numbers is the address itself: no resolver,
    // no thread. True when `host` was one.
    bool TakeNumericAddress() {
        const unsigned long ip = inet_addr(host.c_str());
        const int number = std::atoi(port.c_str());
        if (ip == INADDR_NONE || number <= 0 || number > 65535 || host.find_first_not_of("0123456789.") != std::string::npos)
            return false;
        Address address;
        auto* in = reinterpret_cast<sockaddr_in*>(&address.storage);
        in->sin_family = AF_INET;
        in->sin_port = htons(static_cast<u_short>(number));
        in->sin_addr.s_addr = ip;
        address.family = AF_INET;
        address.length = sizeof(sockaddr_in);
        addresses.push_back(address);
        SetEvent(done);
        return true;
    }

    void Run() {
        WSADATA data;
        bool started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_protocol = IPPROTO_TCP;
        addrinfo* found = nullptr;
        if (started && getaddrinfo(host.c_str(), port.c_str(), &hints, &found) == 0) {
            for (addrinfo* at = found; at; at = at->ai_next) {
                if (at->ai_addrlen > sizeof(sockaddr_storage)) continue;
                Address address;
                address.family = at->ai_family;
                address.length = static_cast<int>(at->ai_addrlen);
                memcpy(&address.storage, at->ai_addr, at->ai_addrlen);
                addresses.push_back(address);
            }
            freeaddrinfo(found);
        }
        if (started) WSACleanup();
        SetEvent(done);
    }

    const std::string host;
    const std::string port;
    const HANDLE done;
    std::vector<Address> addresses;  // read only once `done` is set
};

}  // namespace

// One TCP connection and the event its network events set.
class THttpCli::Connection {
public:
    Connection() : event_(WSACreateEvent()) {}
    ~Connection() {
        Close();
        if (event_ != WSA_INVALID_EVENT) WSACloseEvent(event_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // A new non-blocking socket whose events set the event; false on failure.
    bool Open(int family) {
        Close();
        if (event_ == WSA_INVALID_EVENT) return false;
        socket_ = socket(family, SOCK_STREAM, IPPROTO_TCP);
        if (socket_ == INVALID_SOCKET) return false;
        return WSAEventSelect(socket_, event_, FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE) == 0;
    }
    void Close() {
        if (socket_ != INVALID_SOCKET) closesocket(socket_);
        socket_ = INVALID_SOCKET;
    }
    // Takes the events that occurred since the last call and clears the event.
    WSANETWORKEVENTS TakeEvents() {
        WSANETWORKEVENTS events{};
        WSAEnumNetworkEvents(socket_, event_, &events);
        return events;
    }
    SOCKET Socket() const { return socket_; }
    HANDLE Event() const { return event_; }

private:
    SOCKET socket_ = INVALID_SOCKET;
    WSAEVENT event_;
};

THttpCli::THttpCli() {
    WSADATA data;
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

THttpCli::~THttpCli() {
    if (started_) WSACleanup();
}

void THttpCli::Abort() {
    if (busy_) abort_ = true;
}

HttpOutcome THttpCli::Get(std::string& receiveStream) {
    if (busy_) return Failure(0, "HTTP component is busy");
    busy_ = true;
    abort_ = false;
    StatusCode = 0;
    ReasonPhrase.clear();
    ContentLength = -1;
    ContentType.clear();
    WWWAuthenticate.clear();
    RcvdCount = 0;
    requestStart_ = GetTickCount();
    HttpOutcome outcome = Run(receiveStream);
    if (!outcome.ok) {
        StatusCode = outcome.status;
        ReasonPhrase = outcome.reason;
    }
    busy_ = false;
    abort_ = false;
    return outcome;
}

HttpOutcome THttpCli::Run(std::string& receiveStream) {
    if (!started_) return Failure(kClientFailure, "Winsock is not available");
    AddressResult parsed = ParseHttpAddress(URL);
    if (!parsed.ok()) return Failure(kClientFailure, parsed.error);
    HttpAddress address = parsed.address;
    for (int redirects = 0;; ++redirects) {
        ResponseReader reader(Limits);
        HttpOutcome step = Exchange(address, reader);
        if (!step.ok) return step;
        TakeResults(reader);
        if (reader.HasLocation()) {
            if (redirects >= MaxRedirects) return Failure(kClientFailure, "Too many redirections");
            AddressResult next = ResolveLocation(address, reader.Location());
            if (!next.ok()) return Failure(kClientFailure, next.error);
            address = next.address;
            continue;
        }
        if (reader.StatusCode() >= 400) return Failure(reader.StatusCode(), reader.ReasonPhrase());
        receiveStream += reader.TakeBody();
        return {true, reader.StatusCode(), reader.ReasonPhrase()};
    }
}

void THttpCli::TakeResults(const ResponseReader& reader) {
    StatusCode = reader.StatusCode();
    ReasonPhrase = reader.ReasonPhrase();
    ContentLength = reader.ContentLength();
    ContentType = reader.ContentType();
    WWWAuthenticate = reader.WwwAuthenticate();
}

HttpOutcome THttpCli::Exchange(const HttpAddress& address, ResponseReader& reader) {
    Connection connection;
    HttpOutcome step = Connect(address, connection);
    if (step.ok) step = Send(connection, BuildGetRequest(address, Accept, Agent));
    if (step.ok) step = Receive(connection, reader);
    // The connection closes here: after the body, or at the end of a header
    // that redirects or fails.
    return step;
}

HttpOutcome THttpCli::Connect(const HttpAddress& address, Connection& connection) {
    DWORD start = GetTickCount();
    auto job = std::make_shared<Resolution>(address.host, address.port);
    if (!job->done) return Failure(kClientFailure, kUnresolved);
    if (!job->TakeNumericAddress()) {
        try {
            std::thread([job] { job->Run(); }).detach();
        } catch (...) {
            return Failure(kClientFailure, kUnresolved);
        }
    }
    Wake resolved = WaitFor(job->done, start, ConnectTimeoutMs);
    if (EndsRequest(resolved)) return EndedBy(resolved);
    if (resolved == Wake::TimedOut || job->addresses.empty()) return Failure(kClientFailure, kUnresolved);

    // Each address the name has, until one accepts.
    int error = WSAETIMEDOUT;
    for (const Resolution::Address& target : job->addresses) {
        if (!connection.Open(target.family)) {
            error = WSAGetLastError();
            continue;
        }
        if (connect(connection.Socket(), reinterpret_cast<const sockaddr*>(&target.storage), target.length) == 0)
            return {true, 0, ""};
        error = WSAGetLastError();
        if (error != WSAEWOULDBLOCK) continue;
        error = WSAETIMEDOUT;
        while (true) {
            Wake wake = WaitFor(connection.Event(), start, ConnectTimeoutMs);
            if (EndsRequest(wake)) return EndedBy(wake);
            if (wake == Wake::TimedOut) break;
            WSANETWORKEVENTS events = connection.TakeEvents();
            if (!(events.lNetworkEvents & FD_CONNECT)) continue;
            error = events.iErrorCode[FD_CONNECT_BIT];
            if (error == 0) return {true, 0, ""};
            break;
        }
        if (error == WSAETIMEDOUT) break;  // the time is up for every address
    }
    connection.Close();
    return Failure(kClientFailure, WithCode("can't connect: ", error));
}

HttpOutcome THttpCli::Send(Connection& connection, const std::string& request) {
    size_t sent = 0;
    DWORD start = GetTickCount();
    while (sent < request.size()) {
        int chunk = send(connection.Socket(), request.data() + sent, static_cast<int>(request.size() - sent), 0);
        if (chunk > 0) {
            sent += static_cast<size_t>(chunk);
            start = GetTickCount();
            continue;
        }
        int error = WSAGetLastError();
        if (error != WSAEWOULDBLOCK) return Failure(kClientFailure, WithCode("can't send the request: ", error));
        Wake wake = WaitFor(connection.Event(), start, ReadTimeoutMs);
        if (EndsRequest(wake)) return EndedBy(wake);
        if (wake == Wake::TimedOut) return Failure(kClientFailure, "Timed out sending the request");
        connection.TakeEvents();
    }
    return {true, 0, ""};
}

HttpOutcome THttpCli::Receive(Connection& connection, ResponseReader& reader) {
    char buffer[16 * 1024];
    DWORD lastData = GetTickCount();
    while (reader.state() == ResponseReader::State::Header || reader.state() == ResponseReader::State::Body) {
        int received = recv(connection.Socket(), buffer, sizeof buffer, 0);
        if (received > 0) {
            RcvdCount += static_cast<uint64_t>(received);
            reader.Feed(std::string_view(buffer, static_cast<size_t>(received)));
            lastData = GetTickCount();
            continue;
        }
        if (received == 0) {
            reader.Close();
            break;
        }
        int error = WSAGetLastError();
        if (error != WSAEWOULDBLOCK) return Failure(kClientFailure, WithCode("Connection lost: ", error));
        Wake wake = WaitFor(connection.Event(), lastData, ReadTimeoutMs);
        if (EndsRequest(wake)) return EndedBy(wake);
        if (wake == Wake::TimedOut) return Failure(kClientFailure, kTimedOut);
        connection.TakeEvents();
    }
    if (reader.state() == ResponseReader::State::Failed) return Failure(kClientFailure, reader.Error());
    return {true, 0, ""};
}

HttpOutcome THttpCli::EndedBy(Wake wake) {
    // Past the deadline, the user learns what a silent server tells them.
    return Failure(kClientFailure, wake == Wake::Aborted ? kAborted : kTimedOut);
}

// Every wait of a request passes here, so the deadline is kept here: a
// response that never makes the client wait soon ends at its size limits.
THttpCli::Wake THttpCli::WaitFor(HANDLE event, DWORD startTick, DWORD timeoutMs) {
    while (true) {
        if (abort_) return Wake::Aborted;
        DWORD now = GetTickCount();
        DWORD sinceRequest = now - requestStart_;
        if (sinceRequest >= FetchTimeoutMs) return Wake::PastDeadline;
        DWORD elapsed = now - startTick;
        if (elapsed >= timeoutMs) return Wake::TimedOut;
        DWORD waitMs = std::min(timeoutMs - elapsed, FetchTimeoutMs - sinceRequest);
        DWORD result = MsgWaitForMultipleObjectsEx(1, &event, waitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (result == WAIT_OBJECT_0) return Wake::Signalled;
        if (result == WAIT_OBJECT_0 + 1) {
            // A quit request ends the request too; it stays queued for the program's loop.
            if (!PumpMessages()) abort_ = true;
            continue;
        }
        if (result == WAIT_FAILED) return Wake::TimedOut;
    }
}

}  // namespace corvane::loopline

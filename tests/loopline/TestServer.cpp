#include "tests/loopline/TestServer.h"

#include "corvane/environment/SysFcns.h"

#include <winsock2.h>
#include <windows.h>

#include <fstream>
#include <sstream>

namespace corvane::loopline::testing {
namespace {

// The fixture's state folder, in the tests' working folder (the bin folder).
std::string StateFolder() { return AppFolder() + "\\loopline-server"; }

}  // namespace

int ServerPort() {
    std::ifstream file(StateFolder() + "\\port");
    int port = 0;
    file >> port;
    return port;
}

std::string ServerUrl(const std::string& path) { return "http://127.0.0.1:" + std::to_string(ServerPort()) + path; }

void Serve(const std::string& name, const std::string& bytes) {
    std::ofstream file(StateFolder() + "\\www\\" + name, std::ios::binary | std::ios::trunc);
    file << bytes;
}

int ClosedPort() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int port = 0;
    if (bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        int length = sizeof address;
        getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
    }
    closesocket(probe);  // bound, never listening: connections are refused
    WSACleanup();
    return port;
}

}  // namespace corvane::loopline::testing

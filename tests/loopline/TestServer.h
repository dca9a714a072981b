// The tests' HTTP server on 127.0.0.1 (test_server.py, started by a CTest
// fixture): its address and the files it serves.
#pragma once

#include <string>

namespace corvane::loopline::testing {

// The server's port, 0 when no server was started for these tests.
int ServerPort();
// "http://127.0.0.1:<port>" + path.
std::string ServerUrl(const std::string& path);
// Puts a file the server serves at "/www/" + name.
void Serve(const std::string& name, const std::string& bytes);
// A port on 127.0.0.1 where nothing listens.
int ClosedPort();

}  // namespace corvane::loopline::testing

// A server's answer, fed as it arrives in pieces, and the addresses it can
// send the client to.
#include "loopline/portable/HttpAddress.h"
#include "loopline/portable/HttpResponse.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace loopline = corvane::loopline;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const size_t piece = 1 + data[0] % 64;
    std::string_view answer(reinterpret_cast<const char*>(data + 1), size - 1);
    loopline::ResponseLimits limits;
    limits.bodyBytes = 1 << 16;
    loopline::ResponseReader reader(limits);
    for (size_t at = 0; at < answer.size(); at += piece) {
        using State = loopline::ResponseReader::State;
        State state = reader.Feed(answer.substr(at, std::min(piece, answer.size() - at)));
        if (state != State::Header && state != State::Body) break;
    }
    reader.Close();
    loopline::AddressResult base = loopline::ParseHttpAddress("http://user:pw@news.example.com:8080/dir/page.txt");
    loopline::ResolveLocation(base.address, answer);
    loopline::ParseHttpAddress(answer);
    return 0;
}

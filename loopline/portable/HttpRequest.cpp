#include "loopline/portable/HttpRequest.h"

#include <cstdint>

namespace corvane::loopline {

std::string Base64(std::string_view bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        uint32_t group = static_cast<uint8_t>(bytes[i]) << 16 | static_cast<uint8_t>(bytes[i + 1]) << 8 |
                         static_cast<uint8_t>(bytes[i + 2]);
        out += kAlphabet[group >> 18];
        out += kAlphabet[(group >> 12) & 63];
        out += kAlphabet[(group >> 6) & 63];
        out += kAlphabet[group & 63];
    }
    size_t rest = bytes.size() - i;
    if (rest == 0) return out;
    uint32_t group = static_cast<uint8_t>(bytes[i]) << 16;
    if (rest == 2) group |= static_cast<uint8_t>(bytes[i + 1]) << 8;
    out += kAlphabet[group >> 18];
    out += kAlphabet[(group >> 12) & 63];
    out += rest == 2 ? kAlphabet[(group >> 6) & 63] : '=';
    out += '=';
    return out;
}

std::string BuildGetRequest(const HttpAddress& address, std::string_view accept, std::string_view agent) {
    std::string request = "GET " + address.path + " HTTP/1.0\r\n";
    request += "Accept: " + std::string(accept) + "\r\n";
    request += "User-Agent: " + std::string(agent) + "\r\n";
    request += "Host: " + address.host + "\r\n";
    if (!address.user.empty())
        request += "Authorization: Basic " + Base64(address.user + ":" + address.password) + "\r\n";
    request += "\r\n";
    return request;
}

}  // namespace corvane::loopline

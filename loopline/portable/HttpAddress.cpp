#include "loopline/portable/HttpAddress.h"

#include "corvane/environment/portable/TextRules.h"

namespace corvane::loopline {
namespace {

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool HasControlCharacter(std::string_view text) {
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return true;
    }
    return false;
}

bool IsSchemeCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' || c == '-' ||
           c == '.';
}

// The scheme before "://", lower-cased; "" when the text names none.
std::string SchemeOf(std::string_view text) {
    size_t mark = text.find("://");
    if (mark == std::string_view::npos || mark == 0) return "";
    for (size_t i = 0; i < mark; ++i) {
        if (!IsSchemeCharacter(text[i])) return "";
    }
    return LowerCased(text.substr(0, mark));
}

// A fragment ("#...") is the browser's business and never sent.
std::string WithoutFragment(std::string_view path) { return std::string(path.substr(0, path.find('#'))); }

std::string DocumentOf(std::string_view path) {
    std::string_view plain = path.substr(0, path.find('?'));
    size_t slash = plain.rfind('/');
    std::string_view last = slash == std::string_view::npos ? plain : plain.substr(slash + 1);
    return last.empty() ? "document.htm" : std::string(last);
}

bool ValidPort(std::string_view port) {
    if (port.empty() || port.size() > 5) return false;
    for (char c : port) {
        if (c < '0' || c > '9') return false;
    }
    int value = LeadingInt(port);
    return value >= 1 && value <= 65535;
}

AddressResult Failure(std::string error) {
    AddressResult result;
    result.error = std::move(error);
    return result;
}

AddressResult WithPath(const HttpAddress& current, std::string_view path) {
    AddressResult result;
    result.address = current;
    result.address.path = WithoutFragment(path);
    if (result.address.path.empty() || result.address.path[0] != '/') result.address.path.insert(0, "/");
    result.address.document = DocumentOf(result.address.path);
    return result;
}

}  // namespace

AddressResult ParseHttpAddress(std::string_view text) {
    text = TrimBlanks(text);
    if (HasControlCharacter(text)) return Failure("Invalid character in address");
    AddressResult result;
    HttpAddress& address = result.address;
    std::string scheme = SchemeOf(text);
    if (!scheme.empty()) {
        if (scheme != "http") return Failure("Unsupported address scheme \"" + scheme + "\"");
        text.remove_prefix(scheme.size() + 3);
    }
    size_t pathStart = text.find_first_of("/?#");
    std::string_view authority = text.substr(0, pathStart);
    std::string_view path = pathStart == std::string_view::npos ? std::string_view() : text.substr(pathStart);

    size_t at = authority.rfind('@');
    if (at != std::string_view::npos) {
        std::string_view credentials = authority.substr(0, at);
        size_t colon = credentials.find(':');
        address.user = std::string(credentials.substr(0, colon));
        if (colon != std::string_view::npos) address.password = std::string(credentials.substr(colon + 1));
        authority.remove_prefix(at + 1);
    }
    size_t colon = authority.rfind(':');
    if (colon != std::string_view::npos) {
        std::string_view port = authority.substr(colon + 1);
        if (!port.empty()) {
            if (!ValidPort(port)) return Failure("Invalid port in address");
            address.port = std::string(port);
        }
        authority = authority.substr(0, colon);
    }
    if (authority.empty()) return Failure("No host name in address");
    address.host = std::string(authority);
    return WithPath(address, path);
}

AddressResult ResolveLocation(const HttpAddress& current, std::string_view location) {
    location = TrimBlanks(location);
    if (location.empty()) return Failure("Redirection without a location");
    if (HasControlCharacter(location)) return Failure("Invalid character in address");
    if (location.front() == '/') return WithPath(current, location);
    std::string scheme = SchemeOf(location);
    if (!scheme.empty()) {
        if (scheme != "http") return Failure("Redirection to an unsupported scheme \"" + scheme + "\"");
        return ParseHttpAddress(location);
    }
    std::string_view base = current.path;
    base = base.substr(0, base.find('?'));
    if (location.front() == '?') return WithPath(current, std::string(base) + std::string(location));
    base = base.substr(0, base.rfind('/') + 1);
    return WithPath(current, std::string(base) + std::string(location));
}

}  // namespace corvane::loopline

#include "corvane/export/HeaderFields.h"

#include "corvane/export/MailDate.h"
#include "corvane/export/TextEncoding.h"

#include <algorithm>
#include <cctype>

namespace corvane::exporting {

namespace {

// Folding leaves line ends inside a value when it is given unfolded.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string DecodeQ(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '_') {
            out += ' ';
        } else if (text[i] == '=' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
                   HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

std::string DecodeB(std::string_view text) {
    std::string out;
    uint32_t bits = 0;
    int count = 0;
    for (char c : text) {
        int value = Base64Value(c);
        if (value < 0) continue;  // padding and stray characters
        bits = (bits << 6) | static_cast<uint32_t>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return out;
}

// The decoded bytes of one encoded word's text in its charset, as UTF-8.
std::string WordToUtf8(std::string_view charset, std::string_view bytes) {
    std::string name = Lower(charset.substr(0, charset.find('*')));  // "utf-8*en" names a language too
    if (name == "utf-8" || name == "utf8") return IsValidUtf8(bytes) ? std::string(bytes) : Cp1252ToUtf8(bytes);
    if (name == "iso-8859-1" || name == "us-ascii" || name == "latin1") return Latin1ToUtf8(bytes);
    // windows-1252 itself, and the nearest reading of any other charset.
    return AnsiToUtf8(bytes);
}

// One encoded word "=?charset?enc?text?=" at the start of `text`: its length
// and decoded UTF-8; 0 when there is none.
size_t EncodedWord(std::string_view text, std::string& decoded) {
    if (text.size() < 8 || text[0] != '=' || text[1] != '?') return 0;
    size_t charsetEnd = text.find('?', 2);
    if (charsetEnd == std::string_view::npos || charsetEnd + 2 >= text.size() || text[charsetEnd + 2] != '?') return 0;
    char encoding = static_cast<char>(std::toupper(static_cast<unsigned char>(text[charsetEnd + 1])));
    size_t end = text.find("?=", charsetEnd + 3);
    if (end == std::string_view::npos || (encoding != 'Q' && encoding != 'B')) return 0;
    std::string_view payload = text.substr(charsetEnd + 3, end - charsetEnd - 3);
    if (payload.find_first_of(" \t\r\n") != std::string_view::npos) return 0;
    std::string bytes = encoding == 'Q' ? DecodeQ(payload) : DecodeB(payload);
    decoded = WordToUtf8(text.substr(2, charsetEnd - 2), bytes);
    return end + 2;
}

// The header section's fields in order, unfolded; stops at the empty line.
template <typename Visit>
void ForEachField(std::string_view text, Visit visit) {
    std::string name, value;
    auto flush = [&] {
        if (!name.empty()) visit(Lower(name), std::string_view(value));
        name.clear();
        value.clear();
    };
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        std::string_view line = text.substr(at, end == std::string_view::npos ? end : end - at);
        at = end == std::string_view::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) break;
        if (line[0] == ' ' || line[0] == '\t') {
            value += line;  // a folded continuation
            continue;
        }
        flush();
        size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        name = Trim(line.substr(0, colon));
        value = line.substr(colon + 1);
    }
    flush();
}

std::string Unquoted(std::string_view text) {
    text = Trim(text);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

}  // namespace

std::string DecodeHeaderValue(std::string_view value) {
    std::string out;
    std::string pendingSpace;  // white space after an encoded word: dropped when another follows
    bool afterWord = false;
    size_t at = 0;
    while (at < value.size()) {
        std::string decoded;
        if (size_t length = EncodedWord(value.substr(at), decoded)) {
            if (!afterWord) out += pendingSpace;
            out += decoded;
            pendingSpace.clear();
            afterWord = true;
            at += length;
            continue;
        }
        size_t next = at;
        if (IsBlank(value[at])) {
            while (next < value.size() && IsBlank(value[next])) ++next;
            pendingSpace.assign(value.substr(at, next - at));
            at = next;
            continue;
        }
        next = value.find("=?", at + 1);
        size_t space = value.find_first_of(" \t\r\n", at);
        next = std::min(next, space);
        if (next == std::string_view::npos) next = value.size();
        out += pendingSpace;
        pendingSpace.clear();
        out += AnsiToUtf8(value.substr(at, next - at));
        afterWord = false;
        at = next;
    }
    if (!afterWord) out += pendingSpace;
    return std::string(Trim(out));
}

void SplitMailbox(std::string_view value, std::string& name, std::string& address) {
    value = Trim(value);
    size_t open = value.rfind('<');
    size_t close = open == std::string_view::npos ? open : value.find('>', open);
    if (close != std::string_view::npos) {
        address = Trim(value.substr(open + 1, close - open - 1));
        name = DecodeHeaderValue(Unquoted(value.substr(0, open)));
        return;
    }
    size_t paren = value.find('(');
    size_t parenEnd = paren == std::string_view::npos ? paren : value.rfind(')');
    if (parenEnd != std::string_view::npos && parenEnd > paren) {
        address = Trim(value.substr(0, paren));
        name = DecodeHeaderValue(value.substr(paren + 1, parenEnd - paren - 1));
        return;
    }
    address = value;
    name.clear();
}

HeaderFacts ReadHeaderFacts(std::string_view text) {
    HeaderFacts facts;
    bool haveSubject = false, haveFrom = false, haveDate = false;
    ForEachField(text.substr(0, kHeaderScanBytes), [&](const std::string& name, std::string_view value) {
        if (name == "subject" && !haveSubject) {
            facts.subject = DecodeHeaderValue(value);
            haveSubject = true;
        } else if (name == "from" && !haveFrom) {
            SplitMailbox(value, facts.senderName, facts.senderAddress);
            facts.senderAddress = AnsiToUtf8(facts.senderAddress);
            haveFrom = true;
        } else if (name == "date" && !haveDate) {
            facts.date = ParseMailDate(value);
            haveDate = true;
        }
    });
    return facts;
}

}  // namespace corvane::exporting

#include "corvane/export/SafeNames.h"

#include "corvane/export/MailDate.h"
#include "corvane/export/TextEncoding.h"

#include <cctype>
#include <cstdio>

namespace corvane::exporting {

namespace {

constexpr size_t kSenderBytes = 40;
constexpr size_t kSubjectBytes = 80;
constexpr int kMostCounter = 1000000;  // more twins than any folder holds

std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

bool IsReserved(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == '<' || c == '>' || c == ':' || c == '"' || c == '/' || c == '\\' ||
           c == '|' || c == '?' || c == '*';
}

void TrimEnds(std::string& text) {
    size_t first = text.find_first_not_of(". ");
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    size_t last = text.find_last_not_of(". ");
    text = text.substr(first, last - first + 1);
}

}  // namespace

bool IsDeviceName(std::string_view name) {
    std::string base = AsciiLower(name.substr(0, name.find('.')));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    if (base == "con" || base == "prn" || base == "aux" || base == "nul" || base == "conin$" || base == "conout$") {
        return true;
    }
    return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) && base[3] >= '1' &&
           base[3] <= '9';
}

std::string SafeComponent(std::string_view name, size_t maxBytes, std::string_view fallback) {
    std::string utf8 = AnsiToUtf8(name);
    std::string safe;
    safe.reserve(utf8.size());
    for (char c : utf8) {
        auto byte = static_cast<unsigned char>(c);
        bool blank = byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n';
        if (blank) {
            if (!safe.empty() && safe.back() != ' ') safe += ' ';
        } else {
            safe += IsReserved(byte) ? '_' : c;
        }
    }
    TrimEnds(safe);
    safe = std::string(Utf8Prefix(safe, maxBytes));
    TrimEnds(safe);  // the cut may leave a blank or a dot at the end
    if (safe.empty()) safe = std::string(fallback);
    if (IsDeviceName(safe)) safe = "_" + safe;
    return safe;
}

std::string EmlStem(const MessageFacts& facts) {
    std::string date = "undated";
    if (facts.date) {
        CivilTime t = LocalCivil(*facts.date);
        char text[40];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d%02d", t.year, t.month, t.day, t.hour, t.minute);
        date = text;
    }
    std::string sender = !facts.senderName.empty() ? facts.senderName : facts.senderAddress;
    return date + " - " + SafeComponent(sender, kSenderBytes, "unknown sender") + " - " +
           SafeComponent(facts.subject, kSubjectBytes, "no subject");
}

std::filesystem::path Utf8Path(std::string_view text) {
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}

std::string PathUtf8(const std::filesystem::path& path) {
    std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

UniqueNames::UniqueNames(std::filesystem::path folder) : folder_(std::move(folder)) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error)) {
        given_.insert(AsciiLower(PathUtf8(it->path().filename())));
    }
}

std::filesystem::path UniqueNames::Claim(const std::string& stem, const std::string& extension) {
    for (int counter = 1; counter <= kMostCounter; ++counter) {
        std::string name = counter == 1 ? stem + extension : stem + " (" + std::to_string(counter) + ")" + extension;
        if (given_.insert(AsciiLower(name)).second) return folder_ / Utf8Path(name);
    }
    return {};
}

}  // namespace corvane::exporting

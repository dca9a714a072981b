#include "corvane/environment/portable/Wildcard.h"

#include "corvane/environment/portable/TextRules.h"

#include <cstddef>

namespace corvane {

// Greedy matching with one back-track point: the last "*" seen.
bool WildcardMatch(std::string_view text, std::string_view pattern) {
    size_t t = 0, p = 0;
    size_t starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starT = t;
        } else if (p < pattern.size() && (pattern[p] == '?' || UpperAscii(pattern[p]) == UpperAscii(text[t]))) {
            ++p;
            ++t;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace corvane

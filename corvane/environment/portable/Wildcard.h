// Wildcard matching on text, with "*" for any run of characters and "?" for
// one character, ignoring the case of A-Z. Platform-free.
#pragma once

#include <string_view>

namespace corvane {

bool WildcardMatch(std::string_view text, std::string_view pattern);

}  // namespace corvane

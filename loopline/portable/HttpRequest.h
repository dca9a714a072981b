// The request of the HTTP fetch: an HTTP/1.0 GET with the lines a simple
// client of its time sends. Platform-free.
#pragma once

#include "loopline/portable/HttpAddress.h"

#include <string>
#include <string_view>

namespace corvane::loopline {

inline constexpr const char* kDefaultAccept = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
inline constexpr const char* kDefaultAgent = "Mozilla/3.0 (compatible)";

// Standard Base64 with "=" padding.
std::string Base64(std::string_view bytes);

// "GET path HTTP/1.0", "Accept:", "User-Agent:", "Host:" and, when the address
// holds a user, "Authorization: Basic" with user ":" password; each line ends
// in CR LF, and an empty line ends the request.
std::string BuildGetRequest(const HttpAddress& address, std::string_view accept, std::string_view agent);

}  // namespace corvane::loopline

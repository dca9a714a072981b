// The current user's security identifier as text ("S-1-5-21-..."), looked up
// through the workstation's domain controller when there is one.
#pragma once

#include <string>

namespace corvane {

// The SID text of the logged-on user, or "" when any account call fails.
std::string UserSidText();

}  // namespace corvane

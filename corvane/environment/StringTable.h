// The program's numbered texts, from the string table of its resources.
#pragma once

#include <string>

namespace corvane {

// Text number `number`, "" when the table has none.
std::string LoadText(int number);

}  // namespace corvane

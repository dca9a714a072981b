// The program's numbered texts, from the string table of its resources.
#pragma once

#include <string>

namespace corvane {

// Text number `number`, "" when the table has none.
std::string LoadText(int number);
// The same, with the text's "%s" replaced by `insert` (a file name, ...).
std::string LoadText(int number, const std::string& insert);

}  // namespace corvane

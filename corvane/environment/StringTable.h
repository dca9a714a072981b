// The program's numbered texts, from the string table of its resources.
#pragma once

#include <initializer_list>
#include <string>

namespace corvane {

// Text number `number`, "" when the table has none.
std::string LoadText(int number);
// The same, with the text's "%1" replaced by `insert` (a file name, ...).
std::string LoadText(int number, const std::string& insert);
// Text number `number` with "%1" ... "%9" replaced by the inserts in order.
std::string FormatText(int number, std::initializer_list<std::string> inserts);

}  // namespace corvane

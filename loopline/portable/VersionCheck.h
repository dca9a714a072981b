// The version check: the vendor's current version (three or four parts
// separated by ".") against the installed program's file version (four
// parts). With three parts the installed version's release part is left out:
// current parts 1, 2, 3 go against installed parts 1, 2, 4. Platform-free.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::loopline {

// The file version as four numbers, "2.0.0.9"; "" when unknown.
std::string VersionText(unsigned major, unsigned minor, unsigned release, unsigned build);

// The lines the text pane shows for a current version (the first line of the
// vendor's version file) and the installed version.
std::vector<std::string> VersionReport(std::string_view current, std::string_view installed);

}  // namespace corvane::loopline

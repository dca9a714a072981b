// corvane-export: the export engine on the command line (see ExportCommand.h).
#include "corvane/export/ExportCommand.h"

#include <atomic>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::atomic<bool> cancel{false};
    return corvane::exporting::RunExportCommand(args, std::cout, std::cerr, cancel);
}

// The restore wizard's choices: the archive and the type of restore.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

struct RestoreState {
    std::string RestorePath;
    int16_t RestoreMode = 0;
};

}  // namespace corvane

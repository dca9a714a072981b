#include "corvane/environment/StringTable.h"

#include <windows.h>

namespace corvane {

std::string LoadText(int number) {
    char buffer[4096] = {};
    int length = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(number), buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

}  // namespace corvane

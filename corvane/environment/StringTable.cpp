#include "corvane/environment/StringTable.h"

#include <windows.h>

namespace corvane {

std::string LoadText(int number) {
    char buffer[4096] = {};
    int length = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(number), buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string LoadText(int number, const std::string& insert) {
    std::string text = LoadText(number);
    size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, insert);
    return text;
}

}  // namespace corvane

#include "corvane/environment/StringTable.h"

#include <windows.h>

namespace corvane {

std::string LoadText(int number) {
    char buffer[4096] = {};
    int length = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(number), buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string LoadText(int number, const std::string& insert) { return FormatText(number, {insert}); }

std::string FormatText(int number, std::initializer_list<std::string> inserts) {
    const std::string text = LoadText(number);
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        size_t index = i + 1 < text.size() ? static_cast<size_t>(text[i + 1] - '1') : inserts.size();
        if (text[i] == '%' && index < inserts.size() && index < 9) {
            out += *(inserts.begin() + index);
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace corvane

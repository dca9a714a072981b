// The control file beside the program, the legacy one it is converted from,
// and the quick backup's folder list rebuilt from it.
#include "corvane/catalog/TreeList.h"
#include "corvane/main/portable/ControlFileText.h"
#include "corvane/main/portable/QuickList.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    corvane::ControlFileContent content = corvane::ParseControlFile(text);
    corvane::SavedSelectionOf(content.lines);
    corvane::catalog::TreeList list;
    corvane::RebuildQuickList(list, content.lines);
    corvane::ConvertLegacyControlFile(text);
    return 0;
}

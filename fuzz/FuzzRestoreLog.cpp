// The backup log read back from an archive, and the names of the archive's
// entries mapped to the files the restore writes: whatever the log and the
// names hold, a name written must stay a plain name inside its folder.
#include "corvane/catalog/CatalogModel.h"
#include "corvane/catalog/TreeList.h"
#include "corvane/restore/portable/ArchiveLog.h"
#include "corvane/restore/portable/RestoreMapping.h"
#include "corvane/restore/portable/StorePaths.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    catalog::TreeList tree;
    restore::ArchiveTree read = restore::FillArchiveTree(text, (data[0] & 1) != 0, tree);
    (void)read;
    restore::MarkForFullRestore(tree);
    // An item the restore takes by its type names a file or folder of the store by a plain name.
    for (int i = 1; i < tree.Count(); ++i) {
        int64_t type = tree.NumberValue(i, catalog::names::kType);
        bool namesPath =
            type == catalog::kTypeMailFolder || type == catalog::kTypeNewsgroup || type == catalog::kTypeNewsAccount;
        std::string name = tree.TextValue(i, catalog::names::kMbxName);
        if (namesPath && tree.Mark(i) != 2 && !name.empty() && !restore::IsPlainName(name)) __builtin_trap();
    }
    restore::RenameRules rules{"Main Identity.wab", (data[0] & 2) ? "Documents/Favorites/" : ""};
    // Every line of the input is also taken as an entry name of the archive.
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find('\n', start);
        std::string_view entry =
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        restore::EntryTarget target = restore::MapEntry(tree, rules, entry);
        if (!target.newName.empty() && !restore::IsSafeRelativeName(target.newName)) __builtin_trap();
        std::string path = restore::PathInFolder("C:\\Store", entry);
        if (!path.empty() && !restore::IsInsideFolder("C:\\Store", path)) __builtin_trap();
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return 0;
}

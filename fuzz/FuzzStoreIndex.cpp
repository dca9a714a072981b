// The store's folder index (folders.dbx of version 5, folders.nch of
// version 4) and the header of a store file, as start-up and the backup
// start read them: the first byte picks the version, the rest is the file.
#include "corvane/catalog/Dbx5Reader.h"
#include "corvane/catalog/Nch4Reader.h"
#include "corvane/catalog/StoreCatalog.h"
#include "corvane/catalog/TreeBuilder.h"
#include "testsupport/portable/MemoryFileSource.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace corvane::catalog;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const bool version5 = (data[0] & 1) == 0;
    std::vector<uint8_t> bytes(data + 1, data + size);
    corvane::testing::MemoryFileSource files;
    TreeList work, tree;
    CatalogTotals totals;
    RememberedSelection saved{"Inbox.dbx\x02Inbox.mbx",
                              "-1\x02"
                              "0"};
    if (version5) {
        files.Put("S\\folders.dbx", bytes);
        // The same bytes as store files, so their headers are read too.
        for (const char* name : {"S\\Inbox.dbx", "S\\Sent Items.dbx", "S\\Work.dbx"}) files.Put(name, bytes);
        if (ReadV5Index("S\\", files, work, tree, false)) MeasureV5(tree, work, "S\\", saved, files, totals);
        BuildV5TargetList("S\\", files, work, tree);
    } else {
        files.Put("M\\folders.nch", bytes);
        for (const char* name : {"M\\Inbox.mbx", "M\\Family.mbx", "M\\Work.mbx"}) files.Put(name, bytes);
        if (ReadV4Index("M\\", files, work, tree)) MeasureV4(tree, work, "M\\", saved, files, totals);
    }
    return 0;
}

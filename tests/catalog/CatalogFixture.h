// Shared set-up of the catalog tests: an in-memory store folder with an
// index written by the test writer and store files by name.
#pragma once

#include "corvane/catalog/CatalogModel.h"
#include "corvane/catalog/Dbx5Reader.h"
#include "corvane/catalog/TreeList.h"
#include "testsupport/portable/DbxWriter.h"
#include "testsupport/portable/MemoryFileSource.h"

#include <string>
#include <vector>

namespace corvane::catalog {

inline const std::string kStore = "C:\\Store\\";

class MemoryStore {
public:
    void Index(const std::vector<uint8_t>& bytes) { files.Put(kStore + kIndexFileName, bytes); }
    void Folders(const std::vector<testing::DbxFolder>& folders) { Index(testing::BuildFolderIndex(folders)); }
    void StoreFile(const std::string& name, int32_t messages, int64_t length = -1) {
        files.Put(kStore + name, testing::StoreFileBytes(messages), length);
    }
    // Reads the index into `work` only.
    void ReadWork(TreeList& work) {
        ReadFolderIndex(files.ReadStart(kStore + kIndexFileName, kMaxIndexBytes), kStore, files, work);
    }

    testing::MemoryFileSource files;
};

// Position of the item whose Display is `display`, -1 when absent.
inline int FindDisplay(const TreeList& list, const std::string& display) {
    for (int i = 0; i < list.Count(); ++i) {
        if (list.TextValue(i, names::kDisplay) == display) return i;
    }
    return -1;
}

}  // namespace corvane::catalog

// Measuring folders through the file system the zip engine reads with, so
// the catalog and the archive see the same files.
#pragma once

#include "corvane/zip/ZipFileSystem.h"

#include <cstdint>
#include <string>

namespace corvane::catalog {

// Adds the length and the number of every file in `path` and, recursively, in
// its sub-folders to `total` and `count`. `path` is a folder, or a folder
// followed by "*.*". Entries that cannot be listed are skipped; an empty path
// does nothing.
void TreeScan(zip::FileSystem& files, const std::string& path, int64_t& total, int64_t& count);

// The sum of the lengths of the files directly in `folder` (no sub-folders).
int64_t FolderSize(zip::FileSystem& files, const std::string& folder);

}  // namespace corvane::catalog

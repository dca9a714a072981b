// Expands the files-to-process list of a compress command into the files and
// folders to store, in list order, each with its entry name.
#pragma once

#include <string>
#include <vector>

#include "corvane/zip/ZipFileSystem.h"

namespace corvane::zip {

struct SourceItem {
    std::string path;
    std::string entryName;  // folders end in "/"
    FileInfo info;
};

struct SourcePlan {
    std::vector<SourceItem> items;
    int unmatchedSpecifications = 0;
    std::vector<std::string> unmatched;  // the specifications that matched nothing, in list order
};

// A specification is a file path, a folder path (all its files), or a path
// whose last component holds "*" or "?"; with `includeSubfolders` the
// pattern applies in every subfolder too, and each subfolder gets an entry.
SourcePlan PlanSources(FileSystem& fs, const std::vector<std::string>& specifications, bool includeSubfolders);

}  // namespace corvane::zip

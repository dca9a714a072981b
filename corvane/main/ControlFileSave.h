// Writing the backup control file after a backup run.
#pragma once

#include "corvane/catalog/TreeList.h"
#include "corvane/environment/StoreContext.h"

#include <string>

namespace corvane {

// Puts `text` at `path` whole or not at all: it is written beside the old file
// under a temporary name, flushed, and only then takes the old file's place.
// On failure the old file is left as it was and false is returned.
bool ReplaceFileWhole(const std::string& path, const std::string& text);

// Rewrites the store's control file from the folder list (kind "5" or "4").
// Failures are not shown to the user; the caller learns of them by false.
bool SaveCtrl(const StoreContext& store, const catalog::TreeList& folders, const std::string& kind);

}  // namespace corvane

// The folder list a quick backup rebuilds from the control file instead of
// scanning the store: a root "xxxxxxxx" (folder number "00") and one item per
// remembered line under the item whose folder number is the line's parent.
#pragma once

#include "corvane/catalog/TreeList.h"
#include "corvane/main/portable/ControlFileText.h"

#include <vector>

namespace corvane {

void RebuildQuickList(catalog::TreeList& list, const std::vector<ControlLine>& lines);

}  // namespace corvane

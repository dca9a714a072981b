// The tree of a .dbx message file: nodes of up to 51 entries, each entry an
// information record and the child node of the records that sort after it;
// a node's own child holds the records before its first entry. The walk
// visits every level in order, reads each node once, and stops at a node it
// has already read (a loop) or after as many nodes as the file can hold.
#pragma once

#include "corvane/export/SourceFile.h"

#include <cstdint>
#include <functional>
#include <string>

namespace corvane::exporting::dbx {

// Record offsets in tree order; false stops the walk.
using RecordVisit = std::function<bool(int64_t record)>;
// A node that cannot be read (its records are lost to the walk); false stops the walk.
using NodeDamage = std::function<bool(int64_t node, const std::string& why)>;

// False when a callback stopped the walk.
bool WalkMessageTree(SourceFile& file, int64_t root, const RecordVisit& onRecord, const NodeDamage& onDamage);

}  // namespace corvane::exporting::dbx

// Comparing a loaded file tree with a tree description, and a tree with another.
#pragma once

#include <string>
#include <vector>

#include "firmware/tree.h"
#include "support/image_builder.h"

namespace corvane::test {

// "" when the tree is the root `root_name` holding exactly `dirs` (names, order, bytes); else the
// first difference.
std::string TreeDifference(const TArbol& tree, const std::string& root_name,
                           const std::vector<DirSpec>& dirs);
// "" when both trees hold the same nodes with the same bytes; else the first difference.
std::string TreeDifference(const TArbol& a, const TArbol& b);

}  // namespace corvane::test

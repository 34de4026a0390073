// Comparing a loaded file tree with a tree description, and a tree with another.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "firmware/firmware.h"
#include "firmware/tree.h"
#include "support/image_builder.h"

namespace corvane::test {

// "" when the tree is the root `root_name` holding exactly `dirs` (names, order, bytes); else the
// first difference.
std::string TreeDifference(const TArbol& tree, const std::string& root_name,
                           const std::vector<DirSpec>& dirs);
// "" when both trees hold the same nodes with the same bytes; else the first difference.
std::string TreeDifference(const TArbol& a, const TArbol& b);

// A firmware opened from bytes, with its tree and the loader's result.
struct Loaded {
  TArbol tree;
  TFirmware fw;
  Result result;
};
// Opens `file` under the name `path` with the model's loader (the tree is the firmware's own).
std::unique_ptr<Loaded> Load(const Bytes& file, int model,
                             const std::string& path = "in/firmware.bin");

}  // namespace corvane::test

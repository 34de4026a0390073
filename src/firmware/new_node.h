// Giving a node just inserted into a tree its name and contents, the one way every command that
// adds nodes does it.
#pragma once

#include <functional>
#include <string_view>

#include "base/bytes.h"
#include "firmware/tree.h"

namespace corvane {

// Empty bytes make a directory, anything else a file of the kind its name gives.
void SetNewNode(TNodo& node, ByteView bytes, std::string_view name);

// While it lives, `tree` is read only to be compared with another: a file added to it with bytes
// `known` accepts keeps no copy of them (its Datos stay empty; Tamano still counts them), and a
// loader filling it may take the file's own buffer for its image. One such tree at a time per thread.
class ComparedTree {
 public:
  ComparedTree(const TArbol& tree, std::function<bool(const TNodo&, ByteView)> known);
  ~ComparedTree();
  ComparedTree(const ComparedTree&) = delete;
  ComparedTree& operator=(const ComparedTree&) = delete;

  // Whether `tree` is the one being compared.
  static bool Holds(const TArbol* tree);
};

}  // namespace corvane

// The file tree: the image's file system while the user works on it.
//
// Every node carries a record with the file's stored bytes. Node texts are raw 8-bit names exactly
// as they lie in the image (any byte but NUL, 0xFF included); callers that show them convert them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"

namespace corvane {

// The node record: a directory has no bytes; a file has Tamano >= 1 stored bytes.
struct TNodoDatos {
  std::uint32_t Tamano = 0;
  bool EsDirectorio = true;
  Bytes Datos;  // exactly Tamano bytes; View() reads zero beyond them

  ByteView View() const { return ByteView(Datos); }
};

class TArbol;

class TNodo {
 public:
  TNodo(const TNodo&) = delete;
  TNodo& operator=(const TNodo&) = delete;

  std::string Text;    // file or directory name (raw bytes)
  int ImageIndex = 0;  // TipoArchivo for files, 0 for directories
  TNodoDatos Data;

  bool IsDirectory() const { return Data.EsDirectorio; }

  // The parent node, or nullptr for a top-level node.
  TNodo* Parent() const;
  TArbol* Tree() const { return tree_; }
  // Depth below the top level (0 for a top-level node).
  int Level() const;

  std::size_t ChildCount() const { return children_.size(); }
  bool HasChildren() const { return !children_.empty(); }
  TNodo* Child(std::size_t i) const { return i < children_.size() ? children_[i].get() : nullptr; }
  TNodo* FirstChild() const { return Child(0); }
  // Position among its siblings.
  std::size_t Index() const;
  TNodo* NextSibling() const;
  TNodo* PrevSibling() const;
  // The children in order (read-only walk).
  std::vector<TNodo*> Children() const;
  // True when `other` is this node or lies below it.
  bool Contains(const TNodo* other) const;

 private:
  friend class TArbol;
  explicit TNodo(TArbol* tree) : tree_(tree) {}

  TArbol* tree_;
  TNodo* parent_ = nullptr;  // the tree's hidden holder for top-level nodes
  std::vector<std::unique_ptr<TNodo>> children_;
};

// The tree: an ordered list of top-level nodes (a loaded firmware has exactly one, the root).
class TArbol {
 public:
  TArbol();
  ~TArbol();
  TArbol(const TArbol&) = delete;
  TArbol& operator=(const TArbol&) = delete;

  std::size_t TopCount() const { return holder_->ChildCount(); }
  TNodo* Top(std::size_t i) const { return holder_->Child(i); }
  TNodo* Root() const { return holder_->FirstChild(); }
  bool Empty() const { return TopCount() == 0; }

  // Structural operations. `parent` nullptr means the top level.
  TNodo* InsertNew(TNodo* parent, std::size_t index);
  // Moves `node` (with everything below it) to position `index` among the children of
  // `new_parent` (nullptr: top level). The index counts after the node has been taken out.
  // Refused (false) when new_parent lies below node or is node itself.
  bool Move(TNodo* node, TNodo* new_parent, std::size_t index);
  void Remove(TNodo* node);
  void Clear();

  // Walks every node in display order (a node, then its children).
  void ForEach(const std::function<void(TNodo&)>& visit) const;

 private:
  std::unique_ptr<TNodo> holder_;
  friend class TNodo;
};

// Adds a node named `name` (a leading "~" is dropped). With a reference that is a file, the node is
// inserted directly before it; with a directory reference it becomes its last child; without one
// it becomes a new top-level node. Empty bytes make a directory, anything else a file.
TNodo* AnadeNodo(ByteView bytes, std::string_view name, TArbol& tree, TNodo* reference);
// Deletes the node with everything below it.
void BorraNodo(TNodo* node);
// Deletes the node and everything below it (the whole tree when given the root).
void LiberaArbol(TNodo* node);
void LiberaArbol(TArbol& tree);
// Walks the sibling chain from `first`: exact = equal names, otherwise the name occurs in the
// node's text; both ignore letter case. First hit or nullptr.
TNodo* BuscaNodo(TNodo* first, std::string_view name, bool exact);
// BuscaNodo over the children of `parent` (nullptr: the top level of `tree`).
TNodo* BuscaHijo(const TArbol& tree, const TNodo* parent, std::string_view name, bool exact);
// The file type 1..10 from the three characters that end one before the end of the name.
int TipoArchivo(std::string_view name);

// Lower-cases an 8-bit name: ASCII letters and the Latin-1 capitals.
std::string LowerName(std::string_view name);
std::string UpperName(std::string_view name);

}  // namespace corvane

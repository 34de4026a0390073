#include "firmware/tree.h"

#include "firmware/kinds.h"
#include "firmware/new_node.h"

#include <algorithm>
#include <cassert>

namespace corvane {

TNodo* TNodo::Parent() const {
  if (parent_ == nullptr || parent_ == tree_->holder_.get()) return nullptr;
  return parent_;
}

int TNodo::Level() const {
  int level = 0;
  for (const TNodo* p = Parent(); p != nullptr; p = p->Parent()) ++level;
  return level;
}

std::size_t TNodo::Index() const {
  const auto& siblings = parent_->children_;
  for (std::size_t i = 0; i < siblings.size(); ++i)
    if (siblings[i].get() == this) return i;
  return 0;
}

TNodo* TNodo::NextSibling() const { return parent_->Child(Index() + 1); }

TNodo* TNodo::PrevSibling() const {
  const std::size_t i = Index();
  return i == 0 ? nullptr : parent_->Child(i - 1);
}

std::vector<TNodo*> TNodo::Children() const {
  std::vector<TNodo*> out;
  out.reserve(children_.size());
  for (const auto& c : children_) out.push_back(c.get());
  return out;
}

bool TNodo::Contains(const TNodo* other) const {
  for (const TNodo* p = other; p != nullptr; p = p->Parent())
    if (p == this) return true;
  return false;
}

TArbol::TArbol() : holder_(new TNodo(this)) {}
TArbol::~TArbol() = default;

TNodo* TArbol::InsertNew(TNodo* parent, std::size_t index) {
  TNodo* owner = parent ? parent : holder_.get();
  assert(owner->tree_ == this);
  auto node = std::unique_ptr<TNodo>(new TNodo(this));
  node->parent_ = owner;
  index = std::min(index, owner->children_.size());
  auto it = owner->children_.insert(owner->children_.begin() + static_cast<std::ptrdiff_t>(index),
                                    std::move(node));
  return it->get();
}

bool TArbol::Move(TNodo* node, TNodo* new_parent, std::size_t index) {
  if (node == nullptr || (new_parent != nullptr && node->Contains(new_parent))) return false;
  TNodo* old_owner = node->parent_;
  auto pos = old_owner->children_.begin() + static_cast<std::ptrdiff_t>(node->Index());
  std::unique_ptr<TNodo> taken = std::move(*pos);
  old_owner->children_.erase(pos);
  TNodo* owner = new_parent ? new_parent : holder_.get();
  index = std::min(index, owner->children_.size());
  taken->parent_ = owner;
  owner->children_.insert(owner->children_.begin() + static_cast<std::ptrdiff_t>(index),
                          std::move(taken));
  return true;
}

void TArbol::Remove(TNodo* node) {
  if (node == nullptr) return;
  auto& siblings = node->parent_->children_;
  siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(node->Index()));
}

void TArbol::Clear() { holder_->children_.clear(); }

void TArbol::ForEach(const std::function<void(TNodo&)>& visit) const {
  // Iterative pre-order walk: deep trees from crafted files must not exhaust the stack.
  std::vector<TNodo*> stack;
  for (std::size_t i = TopCount(); i > 0; --i) stack.push_back(Top(i - 1));
  while (!stack.empty()) {
    TNodo* n = stack.back();
    stack.pop_back();
    visit(*n);
    for (std::size_t i = n->ChildCount(); i > 0; --i) stack.push_back(n->Child(i - 1));
  }
}

namespace {

thread_local const TArbol* compared_tree = nullptr;
thread_local std::function<bool(const TNodo&, ByteView)> compared_known;

}  // namespace

ComparedTree::ComparedTree(const TArbol& tree, std::function<bool(const TNodo&, ByteView)> known) {
  compared_tree = &tree;
  compared_known = std::move(known);
}

ComparedTree::~ComparedTree() {
  compared_tree = nullptr;
  compared_known = nullptr;
}

bool ComparedTree::Holds(const TArbol* tree) { return tree != nullptr && tree == compared_tree; }

TNodo* AnadeNodo(ByteView bytes, std::string_view name, TArbol& tree, TNodo* reference) {
  if (!name.empty() && name.front() == '~') name.remove_prefix(1);
  TNodo* node;
  if (reference != nullptr && !reference->IsDirectory()) {
    node = tree.InsertNew(reference->Parent(), reference->Index());
  } else {
    const std::size_t end = reference ? reference->ChildCount() : tree.TopCount();
    node = tree.InsertNew(reference, end);
  }
  SetNewNode(*node, bytes, name);
  return node;
}

void SetNewNode(TNodo& node, ByteView bytes, std::string_view name) {
  node.Text = std::string(name);
  if (bytes.empty()) {
    node.Data = TNodoDatos{};
    node.ImageIndex = 0;
  } else {
    node.Data.Tamano = static_cast<std::uint32_t>(bytes.size());
    node.Data.EsDirectorio = false;
    if (!ComparedTree::Holds(node.Tree()) || !compared_known(node, bytes)) node.Data.Datos = bytes.ToBytes();
    node.ImageIndex = TipoArchivo(node.Text);
  }
}

void BorraNodo(TNodo* node) {
  if (node != nullptr) node->Tree()->Remove(node);
}

void LiberaArbol(TNodo* node) { BorraNodo(node); }

void LiberaArbol(TArbol& tree) { tree.Clear(); }

std::string LowerName(std::string_view name) {
  std::string out(name);
  for (char& ch : out) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
      ch = static_cast<char>(c + 0x20);
  }
  return out;
}

std::string UpperName(std::string_view name) {
  std::string out(name);
  for (char& ch : out) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
      ch = static_cast<char>(c - 0x20);
  }
  return out;
}

TNodo* BuscaNodo(TNodo* first, std::string_view name, bool exact) {
  if (first == nullptr) return nullptr;
  const std::string wanted = LowerName(name);
  const TNodo* parent = first->Parent();
  const TArbol& tree = *first->Tree();
  const std::size_t count = parent ? parent->ChildCount() : tree.TopCount();
  for (std::size_t i = first->Index(); i < count; ++i) {
    TNodo* n = parent ? parent->Child(i) : tree.Top(i);
    const std::string text = LowerName(n->Text);
    if (exact ? text == wanted : text.find(wanted) != std::string::npos) return n;
  }
  return nullptr;
}

TNodo* BuscaHijo(const TArbol& tree, const TNodo* parent, std::string_view name, bool exact) {
  return BuscaNodo(parent ? parent->FirstChild() : tree.Top(0), name, exact);
}

int TipoArchivo(std::string_view name) { return static_cast<int>(KindOfName(name)); }

}  // namespace corvane

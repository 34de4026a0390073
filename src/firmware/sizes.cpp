#include "firmware/sizes.h"

namespace corvane {

namespace {
std::uint32_t RoundUp4(std::uint32_t v) { return (v + 3u) & ~3u; }
}  // namespace

std::uint32_t TamanoDirectorio(const TNodo& node) {
  std::uint32_t total = 0;
  for (std::size_t i = 0; i < node.ChildCount(); ++i) {
    const TNodo& child = *node.Child(i);
    if (child.IsDirectory()) {
      total += TamanoDirectorio(child) + 16;
      total = RoundUp4(total);
    } else {
      total += child.Data.Tamano + 20;
    }
  }
  return total;
}

std::uint32_t SumaTamanos(const TNodo& node, std::uint32_t mask) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < node.ChildCount(); ++i) {
    const TNodo& child = *node.Child(i);
    if (!child.IsDirectory()) sum += child.Data.Tamano;
  }
  // The masks in use are 0, 1 and 3: at most three steps.
  while ((sum & mask) != 0) ++sum;
  return sum;
}

std::uint32_t TamanoSeccion(const TNodo& node) {
  const TNodo* section = &node;
  while (section->Parent() != nullptr && section->Parent()->Parent() != nullptr)
    section = section->Parent();
  return TamanoDirectorio(*section) + 32;
}

std::uint32_t EspacioUsado(const TNodo& root, std::uint32_t mask) {
  std::uint32_t total = 0;
  for (std::size_t i = 0; i < root.ChildCount(); ++i) total += SumaTamanos(*root.Child(i), mask);
  return total;
}

bool FirstChildIsCanal(const TNodo& node) {
  return node.HasChildren() && UpperName(node.FirstChild()->Text) == kCanalName;
}

std::uint32_t EspacioSecciones(const TNodo& root) {
  std::uint32_t total = 0;
  for (std::size_t i = 0; i < root.ChildCount(); ++i) {
    const TNodo& section = *root.Child(i);
    total += TamanoSeccion(section);
    if (FirstChildIsCanal(section)) total -= kCanalAllowance;
  }
  return total;
}

std::uint32_t CuentaArchivos(const TNodo* first) {
  std::uint32_t count = 0;
  for (const TNodo* n = first; n != nullptr; n = n->NextSibling()) {
    if (!n->IsDirectory()) {
      const TNodo* parent = n->Parent();
      return parent ? static_cast<std::uint32_t>(parent->ChildCount()) : count;
    }
    if (n->HasChildren()) count += CuentaArchivos(n->FirstChild());
  }
  return count;
}

}  // namespace corvane

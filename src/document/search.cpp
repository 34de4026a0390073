#include "document/search.h"

#include <algorithm>

#include "firmware/codec.h"

namespace corvane {

namespace {

unsigned char Upper(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
  return c;
}

}  // namespace

TNodo* SiguienteNodo(const TNodo* node) {
  if (node == nullptr) return nullptr;
  if (node->HasChildren()) return node->FirstChild();
  for (const TNodo* n = node; n != nullptr; n = n->Parent())
    if (TNodo* next = n->NextSibling()) return next;
  return nullptr;
}

bool ContieneCadena(const TNodo& node, std::string_view text, bool match_case) {
  if (node.IsDirectory() || text.empty()) return false;
  const Bytes plain = Decompress(node.Data.View());
  const auto same = [match_case](std::uint8_t a, char b) {
    const auto c = static_cast<unsigned char>(b);
    return match_case ? a == c : Upper(a) == Upper(c);
  };
  return std::search(plain.begin(), plain.end(), text.begin(), text.end(), same) != plain.end();
}

bool NodeMatches(const TNodo& node, std::string_view text, SearchScope scope, bool match_case) {
  if (text.empty()) return false;
  if (scope != SearchScope::NamesOnly && ContieneCadena(node, text, match_case)) return true;
  return scope != SearchScope::ContentOnly && node.Text.find(text) != std::string::npos;
}

TNodo* Busca(const TNodo* start, std::string_view text, SearchScope scope, bool match_case,
             const std::function<bool(std::size_t)>& visited) {
  if (text.empty()) return nullptr;
  std::size_t count = 0;
  for (TNodo* n = SiguienteNodo(start); n != nullptr; n = SiguienteNodo(n)) {
    if (NodeMatches(*n, text, scope, match_case)) return n;
    if (visited && !visited(++count)) return nullptr;
  }
  return nullptr;
}

}  // namespace corvane

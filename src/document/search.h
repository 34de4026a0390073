// Finding nodes by name or by content, in the order of a complete walk of the tree.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

#include "firmware/tree.h"

namespace corvane {

// The search options of the search window.
enum class SearchScope {
  NamesAndContent,  // "Buscar en nombres e internamente"
  NamesOnly,        // "Buscar solo en nombres"
  ContentOnly,      // "Buscar solo internamente"
};

// The search text is at most this many characters in the search window.
inline constexpr std::size_t kSearchTextLimit = 12;

// The node after `node` in display order: its first child, else its next sibling, else the next
// sibling of the nearest ancestor that has one; nullptr at the end of the tree.
TNodo* SiguienteNodo(const TNodo* node);

// True when the file's decompressed bytes hold `text` (raw bytes); without match_case both sides
// are compared in capitals. Every file is searched in what the decompressor yields for it, also
// one stored without compression. Directories and an empty text never match.
bool ContieneCadena(const TNodo& node, std::string_view text, bool match_case);

// True when the node matches `text` (raw bytes) under the scope: its name holds the text (exact
// letter case), or it is a file whose content holds it.
bool NodeMatches(const TNodo& node, std::string_view text, SearchScope scope, bool match_case);

// Busca: the first node after `start` (walk order) that matches; nullptr when none does.
// `visited` is called after each node examined with the count so far; returning false stops the
// walk (the result is then nullptr).
TNodo* Busca(const TNodo* start, std::string_view text, SearchScope scope, bool match_case,
             const std::function<bool(std::size_t visited)>& visited = {});

}  // namespace corvane

// Application resources (.app, compressed .apz): the script that starts an application, the one
// that ends it, its default palette, the classes it uses and free comment lines.
//
// Plain layout (big-endian): 2 zero bytes; initial script, final script and palette as counted
// strings (2-byte length, then the characters); the class count and the class names (counted);
// 10 zero bytes; the comment count and the comment lines (counted); 38 zero bytes.
#pragma once

#include <string>
#include <vector>

#include "base/bytes.h"
#include "base/messages.h"
#include "firmware/tree.h"

namespace corvane {

inline constexpr std::size_t kApplicationNameLimit = 8;  // characters kept of each name on reading
inline constexpr std::size_t kCountedTextLimit = 255;    // characters a counted string holds

class TMHWApplication {
 public:
  // Reads the node's bytes (decompressed).
  static TMHWApplication Create(const TNodo& node);
  // Reads plain bytes; counts missing at the end read as zero.
  static TMHWApplication FromPlain(ByteView plain);

  // The plain bytes as Guarda writes them: they end where the application's own data end.
  Bytes Plain() const;
  // Writes the application back into `node` (compressed). False when nothing could be written.
  bool Guarda(TNodo& node);
  // Adds a class name unless it is listed already; false when it was.
  bool AnadeClase(const std::string& class_name);
  // True when every name and comment line fits its counted string (255 characters); a longer
  // one would be cut on writing.
  bool TextsFit() const;
  // Appends the description lines (UTF-8).
  void Describe(const TNodo& node, const MessageTable& messages,
                std::vector<std::string>& lines) const;

  std::string initial_script;  // names without extension (raw 8-bit)
  std::string final_script;
  std::string palette;
  std::vector<std::string> classes;
  std::vector<std::string> comments;
  Bytes plain;  // as read
};

}  // namespace corvane

// A resource's plain bytes: a node's stored bytes go through the codec on reading, and the plain
// bytes are compressed again on writing back.
#pragma once

#include "base/bytes.h"
#include "firmware/codec.h"
#include "firmware/tree.h"

namespace corvane {

// The node's bytes decompressed (at most 30 x stored size + 1 bytes); views of them read zero
// past the end.
inline Bytes PlainOf(const TNodo& node) {
  return Decompress(node.Data.View());
}

// Replaces the node's stored bytes by the compressed plain bytes. Empty plain bytes would make
// the file a directory: they are refused (false) and the node stays as it was.
inline bool StorePlain(TNodo& node, ByteView plain) {
  Bytes stored = Compress(plain);
  if (stored.empty()) return false;
  node.Data.Tamano = static_cast<std::uint32_t>(stored.size());
  node.Data.Datos = std::move(stored);
  return true;
}

}  // namespace corvane

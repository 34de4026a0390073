// The resource kinds the dump and build commands know: one row per kind.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "base/bytes.h"
#include "base/result.h"
#include "firmware/kinds.h"

namespace corvane::cli {

struct ResourceKind {
  FileKind kind;
  // The decoded form of a node's plain bytes, and the plain bytes of a decoded form.
  Result (*dump)(ByteView plain, std::string_view node_name, nlohmann::ordered_json& out);
  Result (*build)(const nlohmann::ordered_json& in, std::string_view node_name, Bytes& plain);
  // A short readable summary of the decoded form (what dump prints without --json).
  std::string (*summary)(const nlohmann::ordered_json& form);
};

// The row of a kind, or nullptr when the command-line tool has no form for it.
const ResourceKind* FindResourceKind(FileKind kind);
// The names of the kinds that have a row, separated by ", ".
std::string ResourceKindNames();

}  // namespace corvane::cli

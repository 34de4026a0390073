// Comparing a loaded file tree with a tree description, and a tree with another.
#pragma once

#include <memory>
#include <ostream>
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

// The layout fields the loader found, and how a test failure prints them.
ImageLayout LayoutOf(const TFirmware& fw);
void PrintTo(const ImageLayout& layout, std::ostream* os);

// A firmware opened from bytes, with its tree and the loader's result.
struct Loaded {
  TArbol tree;
  TFirmware fw;
  Result result;
};
// Opens `file` under the name `path` with the model's loader (the tree is the firmware's own).
std::unique_ptr<Loaded> Load(const Bytes& file, int model,
                             const std::string& path = "in/firmware.bin");

// Load, expecting the loader to accept the file (a failure names its message).
std::unique_ptr<Loaded> LoadOk(const Bytes& file, int model);

// Saves and reloads: the tree must come back. Gives the reloaded firmware (and the saved bytes).
std::unique_ptr<Loaded> SaveAndReload(Loaded& l, Bytes* saved = nullptr);

// The top-level directory `name`; a new file of `size` pattern bytes as its last child.
TNodo* Dir(TArbol& tree, const std::string& name);
void AddFile(TArbol& tree, const std::string& dir, const std::string& name, std::size_t size);
// Saving refuses with "too many files" (rows 223, 224) and gives no bytes.
void ExpectTooManyFiles(TFirmware& fw);

// Damaged input: the loader accepts it or refuses with a message (and a refused firmware does not
// save); whatever loads saves to a file of its size (a patch: one that reads back as its tree)
// or refuses with no bytes. The sanitizers watch every access. Returns whether it loaded.
bool LoadsOrRefusesCleanly(const Bytes& file, int model);

}  // namespace corvane::test

// Documents over hand-made firmwares for the tree-command tests.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"

namespace corvane::test {

// A document holding a loaded firmware of `model` whose tree is just the root `root_name`.
std::unique_ptr<Document> MakeDocument(int model, std::string root_name = "fw.bin",
                                       std::uint32_t directory_capacity = 16);

// Adds a directory / a file as the last child of `parent` (bypassing the document's commands).
TNodo* AddDir(Document& doc, TNodo* parent, std::string_view name);
TNodo* AddFile(Document& doc, TNodo* parent, std::string_view name, std::string_view bytes);
TNodo* AddFile(Document& doc, TNodo* parent, std::string_view name, const Bytes& bytes);

// The tree as text: one line per node, "  " per level, then the name and (with `sizes`) for files
// ":" and the stored size.
std::string Dump(const TArbol& tree, bool sizes = true);

// Lets a command go on for `calls` progress reports, then cancels it.
struct CancelAfter : Interaction {
  explicit CancelAfter(int calls) : left(calls) {}
  bool Progress(const Message&, int) override { return left-- > 0; }
  int left;
};

// Records every observer call as a line of text.
class RecordingObserver : public TreeObserver {
 public:
  void BeginInsert(TNodo* parent, std::size_t index) override;
  void EndInsert(TNodo* node) override;
  void BeginRemove(TNodo* node) override;
  void EndRemove(TNodo* parent, std::size_t index) override;
  void BeginMove(TNodo* node, TNodo* new_parent, std::size_t index) override;
  void EndMove(TNodo* node) override;
  void NodeChanged(TNodo* node) override;
  void BeginReset() override;
  void EndReset() override;
  std::vector<std::string> calls;
};

}  // namespace corvane::test

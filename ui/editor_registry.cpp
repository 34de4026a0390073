#include "editor_registry.h"

namespace corvane::ui {

std::map<FileKind, EditorFactory>& EditorRegistry::Table() {
  // Each kind gets its factory when its window is built.
  static std::map<FileKind, EditorFactory> table;
  return table;
}

void EditorRegistry::Register(FileKind kind, EditorFactory factory) {
  Table()[kind] = std::move(factory);
}

EditorFactory EditorRegistry::Find(FileKind kind) {
  const auto it = Table().find(kind);
  return it == Table().end() ? EditorFactory{} : it->second;
}

namespace {
std::function<EditorChild*(TMainForm&, TNodo&, bool)>& HexFactory() {
  static std::function<EditorChild*(TMainForm&, TNodo&, bool)> factory;
  return factory;
}
}  // namespace

void EditorRegistry::RegisterHex(std::function<EditorChild*(TMainForm&, TNodo&, bool)> f) {
  HexFactory() = std::move(f);
}

const std::function<EditorChild*(TMainForm&, TNodo&, bool)>& EditorRegistry::Hex() {
  return HexFactory();
}

}  // namespace corvane::ui

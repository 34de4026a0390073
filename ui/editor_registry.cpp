#include "editor_registry.h"

namespace corvane::ui {

std::map<std::string, EditorFactory>& EditorRegistry::Table() {
  // The keys of the nine editors; each gets its factory when its window is built.
  static std::map<std::string, EditorFactory> table = {
      {".lu", {}}, {".ic", {}}, {".im", {}}, {".pa", {}}, {".mp", {}},
      {".cl", {}}, {".cp", {}}, {".ap", {}},
  };
  return table;
}

std::string EditorRegistry::KeyOf(std::string_view name) {
  if (name.size() < 4) return {};
  return LowerName(name.substr(name.size() - 4, 3));
}

void EditorRegistry::Register(const std::string& key, EditorFactory factory) {
  Table()[key] = std::move(factory);
}

EditorFactory EditorRegistry::Find(std::string_view name) {
  const auto it = Table().find(KeyOf(name));
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

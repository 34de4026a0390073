#include "support/firmware_checks.h"

namespace corvane::test {

namespace {
std::string Compare(const TNodo& a, const TNodo& b, const std::string& path) {
  const std::string here = path + "/" + a.Text;
  if (a.Text != b.Text) return here + ": name differs from " + b.Text;
  if (a.IsDirectory() != b.IsDirectory()) return here + ": kind differs";
  if (a.Data.Tamano != b.Data.Tamano) return here + ": size differs";
  if (a.Data.Datos != b.Data.Datos) return here + ": bytes differ";
  if (a.ChildCount() != b.ChildCount()) return here + ": child count differs";
  for (std::size_t i = 0; i < a.ChildCount(); ++i) {
    std::string d = Compare(*a.Child(i), *b.Child(i), here);
    if (!d.empty()) return d;
  }
  return "";
}
}  // namespace

std::string TreeDifference(const TArbol& tree, const std::string& root_name,
                           const std::vector<DirSpec>& dirs) {
  TArbol expected;
  TNodo* root = AnadeNodo(ByteView(), root_name, expected, nullptr);
  for (const auto& d : dirs) {
    TNodo* dir = AnadeNodo(ByteView(), d.name, expected, root);
    for (const auto& f : d.files) AnadeNodo(f.data, f.name, expected, dir);
  }
  return TreeDifference(tree, expected);
}

std::string TreeDifference(const TArbol& a, const TArbol& b) {
  if (a.TopCount() != b.TopCount()) return "top-level count differs";
  for (std::size_t i = 0; i < a.TopCount(); ++i) {
    std::string d = Compare(*a.Top(i), *b.Top(i), "");
    if (!d.empty()) return d;
  }
  return "";
}

std::unique_ptr<Loaded> Load(const Bytes& file, int model, const std::string& path) {
  auto l = std::make_unique<Loaded>();
  l->result = l->fw.CreateFromBytes(path, file, l->tree, model);
  return l;
}

}  // namespace corvane::test

#include "support/firmware_checks.h"

#include <gtest/gtest.h>

#include "base/messages.h"
#include "firmware/models.h"

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

ImageLayout LayoutOf(const TFirmware& fw) {
  return {fw.TableOffset,   fw.DirectoryCount, fw.DirectoryCapacity, fw.FileTableOffset,
          fw.AddressTableOffset, fw.AreaStart, fw.AreaEnd, fw.SecondAreaStart,
          fw.SecondAreaEnd, fw.FileSize, fw.ImageSize, fw.BaseAddress, fw.SecondBaseAddress};
}

void PrintTo(const ImageLayout& e, std::ostream* os) {
  *os << std::hex << "{table " << e.TableOffset << ", dirs " << e.DirectoryCount << "/"
      << e.DirectoryCapacity << ", file tables " << e.FileTableOffset << ", addresses "
      << e.AddressTableOffset << ", area " << e.AreaStart << "-" << e.AreaEnd << ", second area "
      << e.SecondAreaStart << "-" << e.SecondAreaEnd << ", file " << e.FileSize << ", image "
      << e.ImageSize << ", base " << e.BaseAddress << "/" << e.SecondBaseAddress << "}";
}

std::unique_ptr<Loaded> Load(const Bytes& file, int model, const std::string& path) {
  auto l = std::make_unique<Loaded>();
  l->result = l->fw.CreateFromBytes(path, file, l->tree, model);
  return l;
}

std::unique_ptr<Loaded> LoadOk(const Bytes& file, int model) {
  auto l = Load(file, model);
  EXPECT_TRUE(l->result.ok()) << RenderMessage(l->result.message);
  return l;
}

std::unique_ptr<Loaded> SaveAndReload(Loaded& l, Bytes* saved) {
  Bytes out;
  const Result r = l.fw.Build(SaveOptions{}, out);
  EXPECT_TRUE(r.ok()) << RenderMessage(r.message);
  auto again = Load(out, l.fw.Model);
  EXPECT_TRUE(again->result.ok()) << RenderMessage(again->result.message);
  EXPECT_EQ(TreeDifference(again->tree, l.tree), "");
  if (saved) *saved = std::move(out);
  return again;
}

TNodo* Dir(TArbol& tree, const std::string& name) {
  return BuscaNodo(tree.Root()->FirstChild(), name, true);
}

void AddFile(TArbol& tree, const std::string& dir, const std::string& name, std::size_t size) {
  AnadeNodo(PatternBytes(size, 77), name, tree, Dir(tree, dir));
}

void ExpectTooManyFiles(TFirmware& fw) {
  Bytes out;
  const Result r = fw.Build(SaveOptions{}, out);
  EXPECT_EQ(r.outcome, Outcome::Refused);
  EXPECT_EQ(r.message.Rows(), (std::vector<int>{223, 224}));
  EXPECT_TRUE(out.empty());
}

bool LoadsOrRefusesCleanly(const Bytes& file, int model) {
  auto l = Load(file, model, "x/damaged.bin");
  Bytes out;
  const Result saved = l->fw.Build(SaveOptions{}, out);
  if (!l->result.ok()) {
    EXPECT_FALSE(l->result.message.Empty());
    EXPECT_FALSE(saved.ok()) << "a refused image saves";
    EXPECT_TRUE(out.empty());
    return false;
  }
  if (saved.ok()) {
    EXPECT_EQ(out.size(), l->fw.FileSize);
    // A patch's sections are rebuilt whole: what saves reads back as the same tree.
    EXPECT_TRUE(!IsPatchModel(model) || !l->fw.ReadBackDifference(out));
  } else
    EXPECT_TRUE(out.empty());
  return true;
}

}  // namespace corvane::test

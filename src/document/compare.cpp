#include "document/compare.h"

#include <algorithm>

#include "base/messages.h"
#include "firmware/codec.h"
#include "firmware/firmware.h"
#include "document/names.h"

namespace corvane {

namespace {

namespace row {
constexpr int kFileDiffers = 311;     // "El fichero \"" ... "\" es diferente"
constexpr int kFileMissing = 313;     // "El fichero \"" ... "\" no existe en Firmware 2"
constexpr int kDirCountDiffers = 315;
constexpr int kDirNotIn2 = 316;       // "El directorio \"" ... "\" no se encuentra en el firmware 2"
constexpr int kDirNotIn1 = 318;       // ... "\" no se encuentra en el firmware 1"
constexpr int kLoading1 = 320;
constexpr int kLoading2 = 321;
constexpr int kComparing = 322;
constexpr int kDifferingCount = 323;
constexpr int kNoDifferences = 324;
constexpr int kMissingCount = 325;
constexpr int kNoneMissing = 326;
}  // namespace row

std::string Name(const TNodo& node) { return Latin1ToUtf8(node.Text); }

// What a node's bytes decompress to, or its stored bytes when that is nothing.
Bytes Plain(const TNodo& node) {
  Bytes plain = Decompress(node.Data.View());
  return plain.empty() ? node.Data.Datos : plain;
}

}  // namespace

std::string CompareSummary::Text(const MessageTable& table) const {
  std::string out;
  for (const Message& line : lines) out += RenderMessage(line, table) + "\r\n";
  return out;
}

std::string CompareSummary::Text() const { return Text(MessageTable()); }

bool SameContent(const TNodo& a, const TNodo& b) {
  if (a.Data.Tamano == b.Data.Tamano && a.Data.Datos == b.Data.Datos) return true;
  const Bytes plain_a = Plain(a);
  const Bytes plain_b = Plain(b);
  return plain_a == plain_b || plain_a == b.Data.Datos || a.Data.Datos == plain_b;
}

void CompareTrees(const TArbol& first, const TArbol& second, CompareSummary& summary) {
  const TNodo* root1 = first.Root();
  const TNodo* root2 = second.Root();
  if (root1 == nullptr || root2 == nullptr) return;
  if (root1->ChildCount() != root2->ChildCount())
    summary.lines.push_back(Message::FromRow(row::kDirCountDiffers));
  for (const TNodo* d1 : root1->Children()) {
    const TNodo* d2 = BuscaNodo(root2->FirstChild(), d1->Text, true);
    if (d2 == nullptr) {
      summary.lines.push_back(Message().Row(row::kDirNotIn2).Text(Name(*d1)).Row(row::kDirNotIn2 + 1));
      continue;
    }
    for (const TNodo* f1 : d1->Children()) {
      const TNodo* f2 = BuscaNodo(d2->FirstChild(), f1->Text, true);
      if (f2 == nullptr) {
        summary.lines.push_back(Message()
                                    .Row(row::kFileMissing)
                                    .Text(Name(*d1) + ":" + Name(*f1))
                                    .Row(row::kFileMissing + 1));
        ++summary.missing;
      } else if (!SameContent(*f1, *f2)) {
        summary.lines.push_back(Message()
                                    .Row(row::kFileDiffers)
                                    .Text(Name(*d1) + ":" + Name(*f1))
                                    .Row(row::kFileDiffers + 1));
        ++summary.differing;
      }
    }
  }
  for (const TNodo* d2 : root2->Children()) {
    if (BuscaNodo(root1->FirstChild(), d2->Text, true) == nullptr)
      summary.lines.push_back(Message().Row(row::kDirNotIn1).Text(Name(*d2)).Row(row::kDirNotIn1 + 1));
  }
}

CompareSummary CompareFirmwares(const std::filesystem::path& file1, int model1,
                                const std::filesystem::path& file2, int model2) {
  CompareSummary summary;
  TArbol tree1;
  TArbol tree2;
  summary.lines.push_back(Message::FromRow(row::kLoading1));
  TFirmware side1;
  Result loaded = side1.Create(file1, tree1, model1);
  if (loaded.ok()) {
    summary.lines.push_back(Message::FromRow(row::kLoading2));
    TFirmware side2;
    loaded = side2.Create(file2, tree2, model2);
    if (loaded.ok()) {
      summary.lines.push_back(Message::FromRow(row::kComparing));
      CompareTrees(tree1, tree2, summary);
    }
  }
  if (!loaded.ok()) summary.failures.push_back(loaded);
  summary.lines.push_back(summary.differing > 0 ? Message()
                                                      .Row(row::kDifferingCount)
                                                      .Text(" " + std::to_string(summary.differing))
                                                : Message::FromRow(row::kNoDifferences));
  summary.lines.push_back(summary.missing > 0 ? Message()
                                                    .Row(row::kMissingCount)
                                                    .Text(" " + std::to_string(summary.missing))
                                              : Message::FromRow(row::kNoneMissing));
  return summary;
}

int CompareFilterModel(int filter_index) {
  int m = filter_index;
  if (m > 3) m += 1;
  if (m > 13) m += 2;
  if (m > 16) m += 2;
  if (m > 23) m += 1;
  return m;
}

}  // namespace corvane

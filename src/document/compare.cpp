#include "document/compare.h"

#include <algorithm>

#include "base/message_rows.h"
#include "base/messages.h"
#include "firmware/codec.h"
#include "firmware/firmware.h"
#include "firmware/models.h"
#include "document/names.h"

namespace corvane {

namespace {

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
    summary.lines.push_back(Message::FromRow(rows::kDirCountDiffers));
  for (const TNodo* d1 : root1->Children()) {
    const TNodo* d2 = BuscaNodo(root2->FirstChild(), d1->Text, true);
    if (d2 == nullptr) {
      summary.lines.push_back(Message().Row(rows::kDirNotIn2).Text(Name(*d1)).Row(rows::kDirNotIn2End));
      continue;
    }
    for (const TNodo* f1 : d1->Children()) {
      const TNodo* f2 = BuscaNodo(d2->FirstChild(), f1->Text, true);
      if (f2 == nullptr) {
        summary.lines.push_back(Message()
                                    .Row(rows::kFileMissing)
                                    .Text(Name(*d1) + ":" + Name(*f1))
                                    .Row(rows::kFileMissingEnd));
        ++summary.missing;
      } else if (!SameContent(*f1, *f2)) {
        summary.lines.push_back(Message()
                                    .Row(rows::kFileDiffers)
                                    .Text(Name(*d1) + ":" + Name(*f1))
                                    .Row(rows::kFileDiffersEnd));
        ++summary.differing;
      }
    }
  }
  for (const TNodo* d2 : root2->Children()) {
    if (BuscaNodo(root1->FirstChild(), d2->Text, true) == nullptr)
      summary.lines.push_back(Message().Row(rows::kDirNotIn1).Text(Name(*d2)).Row(rows::kDirNotIn1End));
  }
}

CompareSummary CompareFirmwares(const std::filesystem::path& file1, int model1,
                                const std::filesystem::path& file2, int model2) {
  CompareSummary summary;
  TArbol tree1;
  TArbol tree2;
  summary.lines.push_back(Message::FromRow(rows::kLoading1));
  TFirmware side1;
  Result loaded = side1.Create(file1, tree1, model1);
  if (loaded.ok()) {
    summary.lines.push_back(Message::FromRow(rows::kLoading2));
    TFirmware side2;
    loaded = side2.Create(file2, tree2, model2);
    if (loaded.ok()) {
      summary.lines.push_back(Message::FromRow(rows::kComparing));
      CompareTrees(tree1, tree2, summary);
    }
  }
  if (!loaded.ok()) summary.failures.push_back(loaded);
  summary.lines.push_back(summary.differing > 0 ? Message()
                                                      .Row(rows::kDifferingCount)
                                                      .Text(" " + std::to_string(summary.differing))
                                                : Message::FromRow(rows::kNoDifferences));
  summary.lines.push_back(summary.missing > 0 ? Message()
                                                    .Row(rows::kMissingCount)
                                                    .Text(" " + std::to_string(summary.missing))
                                              : Message::FromRow(rows::kNoneMissing));
  return summary;
}

int CompareFilterModel(int filter_index) {
  const std::vector<int> models = ComparableModels();
  if (filter_index < 1 || filter_index > static_cast<int>(models.size())) return 0;
  return models[static_cast<std::size_t>(filter_index - 1)];
}

}  // namespace corvane

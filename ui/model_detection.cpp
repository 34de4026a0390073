#include "model_detection.h"

#include "firmware/file_io.h"
#include "firmware/models.h"

namespace corvane::ui {

int DetectModel(const std::filesystem::path& file) {
  const std::optional<Bytes> bytes = ReadWholeFile(file);
  if (!bytes) return 0;
  for (const ModelDescriptor& d : AllModels()) {
    TArbol tree;
    TFirmware firmware;
    if (firmware.CreateFromBytes(file, *bytes, tree, d.model).ok()) return d.model;
  }
  return 0;
}

Result OpenDetected(Document& document, const std::filesystem::path& file, int* model) {
  *model = DetectModel(file);
  if (*model == 0) {
    if (!ReadWholeFile(file)) return Result::IoError(Message::FromRow(3));
    return Result::Rejected(Message::FromRow(4));
  }
  return document.Open(file, *model);
}

}  // namespace corvane::ui

#include "model_detection.h"

#include "document/detection.h"
#include "base/file_io.h"
#include "firmware/models.h"

namespace corvane::ui {

namespace {
constexpr int kRowCannotOpen = 3;  // "¡ El fichero no se ha podido abrir !"
constexpr int kRowNotOfType = 4;   // "¡ El fichero no es del tipo seleccionado !"
}  // namespace

int DetectModel(const std::filesystem::path& file) {
  const std::optional<Bytes> bytes = ReadWholeFile(file);
  return bytes ? ChooseDetectedModel(DetectModels(file, *bytes)) : 0;
}

Result OpenDetected(Document& document, const std::filesystem::path& file, int* model) {
  *model = 0;
  const std::optional<Bytes> bytes = ReadWholeFile(file);
  if (!bytes) return Result::IoError(Message::FromRow(kRowCannotOpen).Break().Text(file.string()));
  const std::vector<ModelCandidate> candidates = DetectModels(file, *bytes);
  *model = ChooseDetectedModel(candidates);
  if (*model == 0) {
    Message message = Message::FromRow(kRowNotOfType);
    for (const ModelCandidate& c : candidates)
      message.Break().Text(std::to_string(c.model) + " - " + std::string(ModelName(c.model)));
    return Result::Rejected(std::move(message));
  }
  return document.Open(file, *model);
}

}  // namespace corvane::ui

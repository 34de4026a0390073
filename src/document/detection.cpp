#include "document/detection.h"

#include <algorithm>

#include "firmware/codec.h"
#include "base/crc32.h"
#include "firmware/families/directory_table.h"
#include "firmware/firmware.h"
#include "firmware/models.h"
#include "base/file_io.h"
#include "base/messages.h"

namespace corvane {

namespace {

bool LooksCompressed(const std::string& name) {
  return !name.empty() && (name.back() == 'z' || name.back() == 'Z');
}

ModelCandidate Weigh(int model, const TFirmware& fw, const TArbol& tree, const Bytes& file) {
  ModelCandidate c;
  c.model = model;
  if (fw.CrcOffset != 0) {
    if (BlockChecksumsMatch(file, fw.CrcOffset, fw.CrcBlocks)) {
      c.score += 4;
      c.evidence.push_back("block checksums match");
    } else {
      c.score -= 4;
      c.evidence.push_back("block checksums do not match");
    }
  }
  const ModelDescriptor* d = FindModel(model);
  if (const dirtable::TableShape* shape = d ? d->family->detection_shape : nullptr) {
    if (dirtable::AddressesInsideImage(fw, *shape)) {
      c.score += 2;
      c.evidence.push_back("table addresses inside the image");
    } else {
      c.evidence.push_back("table addresses outside the image");
    }
  }
  // Files whose stored bytes decompress to something without running past the buffer.
  std::size_t compressed = 0;
  std::size_t clean = 0;
  std::size_t files = 0;
  tree.ForEach([&](TNodo& n) {
    if (n.IsDirectory()) return;
    ++files;
    if (!LooksCompressed(n.Text)) return;
    ++compressed;
    const Bytes plain = Decompress(n.Data.View());
    if (!plain.empty() && plain.size() < CodecCapacity(n.Data.Tamano)) ++clean;
  });
  if (compressed > 0 && clean == compressed) {
    c.score += 1;
    c.evidence.push_back(std::to_string(clean) + " compressed files decompress");
  } else if (compressed > 0) {
    c.evidence.push_back(std::to_string(clean) + " of " + std::to_string(compressed) +
                         " compressed files decompress");
  }
  if (files == 0) {
    c.score -= 2;
    c.evidence.push_back("no files");
  } else {
    c.evidence.push_back(std::to_string(files) + " files");
  }
  return c;
}

}  // namespace

std::vector<ModelCandidate> DetectModels(const std::filesystem::path& path, const Bytes& file) {
  std::vector<ModelCandidate> found;
  for (const ModelDescriptor& d : AllModels()) {
    TArbol tree;
    TFirmware fw;
    if (!fw.CreateFromBytes(path, file, tree, d.model).ok()) continue;
    found.push_back(Weigh(d.model, fw, tree, file));
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const ModelCandidate& a, const ModelCandidate& b) { return a.score > b.score; });
  return found;
}

int ChooseDetectedModel(const std::vector<ModelCandidate>& candidates) {
  if (candidates.empty()) return 0;
  if (candidates.size() > 1 && candidates[1].score >= candidates[0].score) return 0;
  return candidates.front().model;
}

int DetectModelOfFile(const std::filesystem::path& path) {
  const std::optional<Bytes> bytes = ReadWholeFile(path);
  return bytes ? ChooseDetectedModel(DetectModels(path, *bytes)) : 0;
}

Result OpenWithDetection(const std::filesystem::path& path, int& model, TFirmware& firmware,
                         TArbol& tree, const MessageTable& names) {
  constexpr int kRowCannotOpen = 6;  // "¡ El fichero no se ha podido abrir !"
  constexpr int kRowNotOfType = 4;   // "¡ El fichero no es del tipo seleccionado !"
  std::optional<Bytes> bytes = ReadWholeFile(path);
  if (!bytes) return Result::IoError(Message::FromRow(kRowCannotOpen).Text(" " + path.string()));
  if (model == 0) {
    const std::vector<ModelCandidate> candidates = DetectModels(path, *bytes);
    if (candidates.empty()) return Result::Rejected(Message::FromRow(kRowNotOfType));
    model = ChooseDetectedModel(candidates);
    if (model == 0) {
      Message message = Message::FromRow(kRowModelsTie);
      for (const ModelCandidate& c : candidates)
        if (const ModelDescriptor* d = FindModel(c.model)) {
          const std::string& filter = names.Text(d->save_filter_row);
          message.Break().Text(std::to_string(c.model) + " - " + filter.substr(0, filter.find('|')));
        }
      return Result::Rejected(std::move(message));
    }
  }
  return firmware.CreateFromBytes(path, std::move(*bytes), tree, model);
}

}  // namespace corvane

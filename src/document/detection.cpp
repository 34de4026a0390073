#include "document/detection.h"

#include <algorithm>

#include "base/crc32.h"
#include "base/file_io.h"
#include "base/message_rows.h"
#include "base/messages.h"
#include "firmware/codec.h"
#include "firmware/families/directory_table.h"
#include "firmware/families/families.h"
#include "firmware/families/patch_sections.h"
#include "firmware/families/strong_blocks.h"
#include "firmware/firmware.h"
#include "firmware/models.h"
#include "resources/font_set.h"
#include "resources/font_tables.h"

namespace corvane {

namespace {

bool LooksCompressed(const std::string& name) {
  return !name.empty() && (name.back() == 'z' || name.back() == 'Z');
}

void Add(ModelCandidate& c, int points, std::string why) {
  c.score += points;
  c.evidence.push_back(std::move(why));
}

// The 64 KB sections of a patch file as the model's loader finds them.
std::vector<ByteView> PatchSections(int model, const TFirmware& fw, ByteView file) {
  std::vector<ByteView> sections;
  if (model == 17 || model == 18) {
    for (std::uint32_t i = 0; i < 7; ++i)
      if (const auto pos = FindStrongRecord(
              file, fw.BaseAddress + kStrongAddressOffset + i * static_cast<std::uint32_t>(kBlockSize)))
        sections.push_back(file.Sub(*pos + kStrongHeaderSize, kBlockSize));
    return sections;
  }
  for (std::size_t at = model == 14 ? kPatchSectionSize : 0;
       at < file.size() && (model != 14 || at <= 7 * kPatchSectionSize); at += kPatchSectionSize)
    sections.push_back(file.Sub(at, kPatchSectionSize));
  return sections;
}

// Whether the patch's directory records read consistently in the model's byte order.
void WeighPatchSections(ModelCandidate& c, const ModelDescriptor& d, const TFirmware& fw,
                        ByteView file) {
  SectionFit total;
  for (const ByteView section : PatchSections(d.model, fw, file)) {
    const SectionFit fit = MeasurePatchSection(section, d.family->font_order);
    total.fitting += fit.fitting;
    total.broken += fit.broken;
    total.entries_outside += fit.entries_outside;
  }
  if (total.fitting > 0 && total.broken == 0) {
    Add(c, 3, "every directory record fits its section in this byte order");
  } else if (total.fitting + total.broken > 0) {
    Add(c, total.fitting > 0 ? 0 : -3,
        std::to_string(total.broken) + " of " + std::to_string(total.fitting + total.broken) +
            " directory records do not fit their section in this byte order");
  }
  if (total.entries_outside > 0)
    c.evidence.push_back(std::to_string(total.entries_outside) + " entries point outside their section");
}

// A Strong firmware's block file: every record is one of the model's blocks, and every block of
// its first flash area is there.
bool HoldsExactlyTheModelsBlocks(const TFirmware& fw, ByteView file) {
  auto block = [](std::uint32_t base, std::uint32_t i) {
    return base + kStrongAddressOffset + i * static_cast<std::uint32_t>(kBlockSize);
  };
  std::vector<std::uint32_t> own;
  for (std::uint32_t i = 0; i < fw.BlockCount; ++i) {
    if (!FindStrongRecord(file, block(fw.BaseAddress, i))) return false;
    own.push_back(block(fw.BaseAddress, i));
  }
  if (fw.SecondBaseAddress != 0)
    for (std::uint32_t i = 0; i < fw.SecondBlockCount; ++i) own.push_back(block(fw.SecondBaseAddress, i));
  for (std::size_t pos = 0; file.Contains(pos, kStrongHeaderSize); pos += kStrongRecordSize)
    if (std::find(own.begin(), own.end(), file.u32be(pos + 4)) == own.end()) return false;
  return true;
}

ModelCandidate Weigh(int model, const std::filesystem::path& path, const TFirmware& fw,
                     const TArbol& tree, const Bytes& file) {
  ModelCandidate c;
  c.model = model;
  const ModelDescriptor* d = FindModel(model);
  if (fw.CrcOffset != 0) {
    if (BlockChecksumsMatch(file, fw.CrcOffset, fw.CrcBlocks))
      Add(c, 4, "block checksums match");
    else
      Add(c, -4, "block checksums do not match");
  }
  if (const dirtable::TableShape* shape = d ? d->family->detection_shape : nullptr) {
    if (dirtable::AddressesInsideImage(fw, *shape))
      Add(c, 2, "table addresses inside the image");
    else
      Add(c, 0, "table addresses outside the image");
  }
  if (d != nullptr && d->kind == ModelKind::Patch) WeighPatchSections(c, *d, fw, file);
  // The Strong block-file shape: records on block boundaries that other files do not have.
  const bool strong = d != nullptr && (d->family == &kStrongFamily || d->family == &kPatchStrongFamily);
  if (HasStrongBlockShape(file))
    Add(c, strong ? 3 : -3, strong ? "a block file" : "shaped as a block file");
  if (d != nullptr && d->family == &kStrongFamily && HoldsExactlyTheModelsBlocks(fw, file))
    Add(c, 3, "the block file holds exactly the model's blocks");
  if (d != nullptr && d->fonts_in_image && HasFontTables(model)) {
    TMHWFont fonts;
    if (LeeFuentes(fw, fonts) && fonts.count > 0)
      Add(c, 3, "font tables read (" + fonts.fonts[0].name + ")");
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
    Add(c, 1, std::to_string(clean) + " compressed files decompress");
  } else if (compressed > 0) {
    c.evidence.push_back(std::to_string(clean) + " of " + std::to_string(compressed) +
                         " compressed files decompress");
  }
  if (files == 0)
    Add(c, -2, "no files");
  else
    c.evidence.push_back(std::to_string(files) + " files");
  // The extension is a weak hint: it never outweighs evidence from the contents.
  std::string extension = path.extension().string();
  if (!extension.empty()) extension.erase(0, 1);
  if (d != nullptr && !extension.empty() && LowerName(extension) == d->extension)
    Add(c, 1, "extension ." + std::string(d->extension));
  return c;
}

}  // namespace

std::vector<ModelCandidate> DetectModels(const std::filesystem::path& path, const Bytes& file) {
  std::vector<ModelCandidate> found;
  for (const ModelDescriptor& d : AllModels()) {
    TArbol tree;
    TFirmware fw;
    if (!fw.CreateFromBytes(path, file, tree, d.model).ok()) continue;
    found.push_back(Weigh(d.model, path, fw, tree, file));
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const ModelCandidate& a, const ModelCandidate& b) { return a.score > b.score; });
  return found;
}

int ChooseDetectedModel(const std::vector<ModelCandidate>& candidates) {
  if (candidates.empty()) return 0;
  const ModelCandidate& best = candidates.front();
  // Some evidence for the best, and none comparable for any other.
  if (best.score < kDetectionMinimumScore) return 0;
  if (candidates.size() > 1 && best.score - candidates[1].score < kDetectionLead) return 0;
  return best.model;
}

int DetectModelOfFile(const std::filesystem::path& path) {
  const std::optional<Bytes> bytes = ReadWholeFile(path);
  return bytes ? ChooseDetectedModel(DetectModels(path, *bytes)) : 0;
}

Result OpenWithDetection(const std::filesystem::path& path, int& model, TFirmware& firmware,
                         TArbol& tree, const MessageTable& names) {
  std::optional<Bytes> bytes = ReadWholeFile(path);
  if (!bytes) return Result::IoError(Message::FromRow(rows::kCannotOpenFirmware).Text(" " + path.string()));
  if (model == 0) {
    const std::vector<ModelCandidate> candidates = DetectModels(path, *bytes);
    if (candidates.empty()) return Result::Rejected(Message::FromRow(rows::kNotSelectedType));
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

#include "resource_kinds.h"

#include <array>

#include "resources/icons_json.h"
#include "resources/image_json.h"
#include "resources/palette_json.h"

namespace corvane::cli {
namespace {

using Json = nlohmann::ordered_json;

std::string PaletteSummary(const Json& form) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text = "palette: 16 colours\n";
  for (std::size_t i = 0; i < form["entries"].size(); ++i) {
    const Json& e = form["entries"][i];
    text += std::string("Color ") + kDigits[i % 16] + ": " + e["red"].dump() + " " +
            e["green"].dump() + " " + e["blue"].dump() + ", mode " + e["mode"].dump() + "\n";
  }
  return text;
}

std::string ImageSummary(const Json& form) {
  return "image: " + form["width"].dump() + " x " + form["height"].dump() + " pixels\n";
}

std::string IconsSummary(const Json& form) {
  std::string text = "icons: " + std::to_string(form["icons"].size()) + "\n";
  for (const Json& icon : form["icons"])
    text += icon["name"].get<std::string>() + "\t" + icon["width"].dump() + " x " +
            icon["height"].dump() + "\n";
  return text;
}

// One row per kind.
const std::array kResourceKinds = {
    ResourceKind{FileKind::Palette, DumpPalette, BuildPalette, PaletteSummary},
    ResourceKind{FileKind::Image, DumpImage, BuildImage, ImageSummary},
    ResourceKind{FileKind::Icons, DumpIcons, BuildIcons, IconsSummary},
};

}  // namespace

const ResourceKind* FindResourceKind(FileKind kind) {
  for (const ResourceKind& k : kResourceKinds)
    if (k.kind == kind) return &k;
  return nullptr;
}

std::string ResourceKindNames() {
  std::string names;
  for (const ResourceKind& k : kResourceKinds) {
    const FileKindInfo* info = FindFileKind(k.kind);
    if (info == nullptr) continue;
    names += (names.empty() ? "" : ", ") + std::string(info->name);
  }
  return names;
}

}  // namespace corvane::cli

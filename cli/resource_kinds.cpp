#include "resource_kinds.h"

#include <array>

#include "resources/application_json.h"
#include "resources/class_json.h"
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

std::string ClassSummary(const Json& form) {
  std::string text = "class " + form["name"].get<std::string>() + ": " +
                     std::to_string(form["variables"].size()) + " variables\n";
  for (const Json& v : form["variables"])
    text += v["name"].get<std::string>() + "\ttype " + v["type"].dump() + "\n";
  return text;
}

std::string ApplicationSummary(const Json& form) {
  return "application: initial script " + form["initial_script"].get<std::string>() +
         ", final script " + form["final_script"].get<std::string>() + ", " +
         std::to_string(form["classes"].size()) + " classes\n";
}

// One row per kind.
const std::array kResourceKinds = {
    ResourceKind{FileKind::Palette, DumpPalette, BuildPalette, PaletteSummary},
    ResourceKind{FileKind::Image, DumpImage, BuildImage, ImageSummary},
    ResourceKind{FileKind::Icons, DumpIcons, BuildIcons, IconsSummary},
    ResourceKind{FileKind::Class, DumpClass, BuildClass, ClassSummary},
    ResourceKind{FileKind::Application, DumpApplication, BuildApplication, ApplicationSummary},
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

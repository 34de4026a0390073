#include "resource_kinds.h"

#include <array>

#include "resources/application_json.h"
#include "resources/class_json.h"
#include "resources/icons_json.h"
#include "resources/image_json.h"
#include "resources/palette_json.h"
#include "resources/panel.h"
#include "resources/panel_json.h"
#include "resources/strings_json.h"

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

std::string PanelSummary(const Json& form) {
  std::string text = "panel " + form["name"].get<std::string>() + ": " +
                     std::to_string(form["elements"].size()) + " elements, " +
                     std::to_string(form["fonts"].size()) + " fonts, icons \"" +
                     form["icon_collection"].get<std::string>() + "\"\n";
  for (std::size_t i = 0; i < form["elements"].size(); ++i) {
    const Json& e = form["elements"][i];
    text += std::to_string(i) + "\t" + std::string(ElementKindName(e["kind"].get<int>())) + "\t" +
            e["name"].get<std::string>() + "\t(" + e["x1"].dump() + ", " + e["y1"].dump() + ", " +
            e["x2"].dump() + ", " + e["y2"].dump() + ")\n";
  }
  return text;
}

std::string StringsSummary(const Json& form) {
  std::string text = "strings: " + std::to_string(form["strings"].size()) + ", " +
                     form["form"].get<std::string>() + " form\n";
  for (std::size_t i = 0; i < form["strings"].size(); ++i)
    text += std::to_string(i) + "\t" + form["strings"][i].get<std::string>() + "\n";
  return text;
}

// One row per kind.
const std::array kResourceKinds = {
    ResourceKind{FileKind::Palette, DumpPalette, BuildPalette, PaletteSummary},
    ResourceKind{FileKind::Image, DumpImage, BuildImage, ImageSummary},
    ResourceKind{FileKind::Icons, DumpIcons, BuildIcons, IconsSummary},
    ResourceKind{FileKind::Class, DumpClass, BuildClass, ClassSummary},
    ResourceKind{FileKind::Application, DumpApplication, BuildApplication, ApplicationSummary},
    ResourceKind{FileKind::Panel, DumpPanel, BuildPanel, PanelSummary},
    ResourceKind{FileKind::Strings, DumpStrings, BuildStrings, StringsSummary},
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

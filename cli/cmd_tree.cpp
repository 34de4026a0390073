// corvane-cli tree FILE [-m N] [--json]
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli.h"
#include "base/crc32.h"
#include "open_firmware.h"

namespace corvane::cli {

namespace {

using Json = nlohmann::ordered_json;

std::string Hex8(std::uint32_t v) {
  char text[9];
  std::snprintf(text, sizeof text, "%08x", v);
  return text;
}

Json NodeJson(const TNodo& node) {
  Json j;
  j["name"] = NameForOutput(node.Text);
  j["dir"] = node.IsDirectory();
  if (node.IsDirectory()) {
    j["children"] = Json::array();
    for (std::size_t i = 0; i < node.ChildCount(); ++i)
      j["children"].push_back(NodeJson(*node.Child(i)));
  } else {
    j["size"] = node.Data.Tamano;
    j["crc32"] = Hex8(Crc32(node.Data.View()));
  }
  return j;
}

Json LayoutJson(const TFirmware& fw) {
  return Json{{"BaseAddress", fw.BaseAddress},
              {"SecondBaseAddress", fw.SecondBaseAddress},
              {"BlockCount", fw.BlockCount},
              {"SecondBlockCount", fw.SecondBlockCount},
              {"CrcOffset", fw.CrcOffset},
              {"CrcBlocks", fw.CrcBlocks},
              {"TableOffset", fw.TableOffset},
              {"DirectoryCount", fw.DirectoryCount},
              {"DirectoryCapacity", fw.DirectoryCapacity},
              {"FileTableOffset", fw.FileTableOffset},
              {"AddressTableOffset", fw.AddressTableOffset},
              {"AreaStart", fw.AreaStart},
              {"AreaEnd", fw.AreaEnd},
              {"SecondAreaStart", fw.SecondAreaStart},
              {"SecondAreaEnd", fw.SecondAreaEnd},
              {"FileSize", fw.FileSize},
              {"ImageSize", fw.ImageSize}};
}

void PrintText(const TNodo& node, int depth) {
  std::cout << std::string(static_cast<std::size_t>(depth) * 2, ' ') << NameForOutput(node.Text);
  if (node.IsDirectory())
    std::cout << "/\n";
  else
    std::cout << "  " << node.Data.Tamano << '\n';
  for (std::size_t i = 0; i < node.ChildCount(); ++i) PrintText(*node.Child(i), depth + 1);
}

}  // namespace

void RegisterTree(CLI::App& app, const Globals&, int& exit_code) {
  auto* cmd = app.add_subcommand("tree", "Print the file tree of a firmware");
  auto file = std::make_shared<std::string>();
  auto model = std::make_shared<int>(0);
  auto json = std::make_shared<bool>(false);
  cmd->add_option("FILE", *file, "Firmware image")->required();
  AddModelOption(cmd, *model);
  cmd->add_flag("--json", *json, "Print the model, layout and tree as JSON");
  cmd->callback([file, model, json, &exit_code] {
    OpenedFirmware opened;
    exit_code = OpenFirmware(*file, *model, opened);
    if (exit_code != kExitDone) return;
    const TNodo* root = opened.fw.Root();
    if (*json) {
      Json j{{"model", opened.fw.Model},
             {"root", NameForOutput(opened.fw.RootName)},
             {"layout", LayoutJson(opened.fw)},
             {"tree", NodeJson(*root)}};
      std::cout << j.dump(2) << '\n';
    } else {
      PrintText(*root, 0);
    }
  });
}

}  // namespace corvane::cli

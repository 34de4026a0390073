// corvane-cli info FILE [-m N] [--json]
#include <cmath>
#include <iostream>
#include <nlohmann/json.hpp>

#include "base/message_rows.h"
#include "base/messages.h"
#include "document/info.h"
#include "tree_commands.h"

namespace corvane::cli {

namespace {

nlohmann::json Figure(const InfoFigure& f) {
  nlohmann::json j;
  j["used"] = f.used;
  if (f.capacity) {
    j["capacity"] = *f.capacity;
    j["percent"] = std::round(f.Percent() * 100.0) / 100.0;
  } else {
    j["capacity"] = nullptr;
    j["percent"] = nullptr;
  }
  return j;
}

}  // namespace

void RegisterInfo(CLI::App& app, const Globals&, int& exit_code) {
  struct Options {
    std::string file;
    int model = 0;
    bool json = false;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("info", "Directories, files and space used against capacity");
  cmd->add_option("FILE", o->file, "Firmware image or patch")->required();
  AddModelOption(cmd, o->model);
  cmd->add_flag("--json", o->json, "Print a JSON object");
  cmd->callback([o, &exit_code] {
    Document doc;
    if ((exit_code = OpenDocument(o->file, o->model, doc)) != kExitDone) return;
    const InfoFigures info = doc.Information();
    if (o->json) {
      const nlohmann::json j = {{"directories", Figure(info.directories)},
                                {"files", Figure(info.files)},
                                {"space", Figure(info.space)}};
      std::cout << j.dump(2) << '\n';
      return;
    }
    const std::pair<int, const InfoFigure*> rows[] = {
        {rows::kInfoDirectories, &info.directories}, {rows::kInfoFiles, &info.files}, {rows::kInfoSpace, &info.space}};
    for (const auto& [row, figure] : rows)
      std::cout << Render(Message::FromRow(row)) << ' ' << figure->Text() << '\n';
  });
}

}  // namespace corvane::cli

// corvane-cli models [--json]
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli.h"
#include "firmware/models.h"

namespace corvane::cli {

void RegisterModels(CLI::App& app, const Globals&, int& exit_code) {
  auto* cmd = app.add_subcommand("models", "List the receiver models");
  auto json = std::make_shared<bool>(false);
  cmd->add_flag("--json", *json, "Print a JSON array");
  cmd->callback([json, &exit_code] {
    if (*json) {
      nlohmann::json list = nlohmann::json::array();
      for (const auto& m : AllModels()) {
        list.push_back({{"model", m.model},
                        {"kind", m.kind == ModelKind::Patch ? "patch" : "firmware"},
                        {"name", std::string(ModelName(m.model))},
                        {"extension", std::string(m.extension)},
                        {"fonts_in_image", m.fonts_in_image}});
      }
      std::cout << list.dump(2) << '\n';
    } else {
      for (const auto& m : AllModels()) {
        std::cout << m.model << '\t' << (m.kind == ModelKind::Patch ? "patch" : "firmware") << '\t'
                  << ModelName(m.model) << '\t' << m.extension << '\t'
                  << (m.fonts_in_image ? "fonts" : "-") << '\n';
      }
    }
    exit_code = kExitDone;
  });
}

}  // namespace corvane::cli

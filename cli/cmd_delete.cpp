// corvane-cli delete FILE [-m N] -o OUT PATH...
#include "tree_commands.h"

namespace corvane::cli {

void RegisterDelete(CLI::App& app, const Globals&, int& exit_code) {
  struct Options {
    std::string file, out;
    std::vector<std::string> paths;
    int model = 0;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("delete", "Delete nodes with everything below them");
  cmd->add_option("FILE", o->file, "Firmware image or patch")->required();
  AddModelOption(cmd, o->model);
  cmd->add_option("-o,--output", o->out, "Output file")->required();
  cmd->add_option("PATH", o->paths, "Node paths")->required();
  cmd->callback([o, &exit_code] {
    Document doc;
    if ((exit_code = OpenDocument(o->file, o->model, doc)) != kExitDone) return;
    for (const std::string& path : o->paths) {
      TNodo* node = RequireNode(doc, path, exit_code);
      if (node == nullptr) return;
      if ((exit_code = ReportCommand(doc.Delete(node))) != kExitDone) return;
    }
    exit_code = SaveDocument(doc, o->out);
  });
}

}  // namespace corvane::cli

// corvane-cli mkdir FILE [-m N] --at PATH NAME -o OUT
#include "tree_commands.h"

namespace corvane::cli {

void RegisterMkdir(CLI::App& app, const Globals&, int& exit_code) {
  struct Options {
    std::string file, at, name, out;
    int model = 0;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand(
      "mkdir", "New directory: before the directory PATH (firmware) or inside the section PATH (patch)");
  cmd->add_option("FILE", o->file, "Firmware image or patch")->required();
  AddModelOption(cmd, o->model);
  cmd->add_option("--at", o->at, "Node path of the selected node")->required();
  cmd->add_option("NAME", o->name, "Name of the new directory")->required();
  cmd->add_option("-o,--output", o->out, "Output file")->required();
  cmd->callback([o, &exit_code] {
    Document doc;
    if ((exit_code = OpenDocument(o->file, o->model, doc)) != kExitDone) return;
    TNodo* node = RequireNode(doc, o->at, exit_code);
    if (node == nullptr) return;
    if ((exit_code = ReportCommand(doc.NewDirectory(node, o->name))) != kExitDone) return;
    exit_code = SaveDocument(doc, o->out);
  });
}

}  // namespace corvane::cli

// corvane-cli move FILE [-m N] PATH TARGET -o OUT
#include "tree_commands.h"

namespace corvane::cli {

void RegisterMove(CLI::App& app, const Globals&, int& exit_code) {
  struct Options {
    std::string file, path, target, out;
    int model = 0;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("move", "Move a node as dropping it onto TARGET in the tree");
  cmd->add_option("FILE", o->file, "Firmware image or patch")->required();
  AddModelOption(cmd, o->model);
  cmd->add_option("PATH", o->path, "Node path of the dragged node")->required();
  cmd->add_option("TARGET", o->target, "Node path of the node it is dropped on")->required();
  cmd->add_option("-o,--output", o->out, "Output file")->required();
  cmd->callback([o, &exit_code] {
    Document doc;
    if ((exit_code = OpenDocument(o->file, o->model, doc)) != kExitDone) return;
    TNodo* node = RequireNode(doc, o->path, exit_code);
    if (node == nullptr) return;
    TNodo* target = RequireNode(doc, o->target, exit_code);
    if (target == nullptr) return;
    if ((exit_code = ReportCommand(doc.Drop(node, target))) != kExitDone) return;
    exit_code = SaveDocument(doc, o->out);
  });
}

}  // namespace corvane::cli

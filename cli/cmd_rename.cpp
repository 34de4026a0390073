// corvane-cli rename FILE [-m N] PATH NEWNAME -o OUT
#include <iostream>

#include "document/names.h"
#include "tree_commands.h"

namespace corvane::cli {

void RegisterRename(CLI::App& app, const Globals&, int& exit_code) {
  struct Options {
    std::string file, path, name, out;
    int model = 0;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("rename", "Rename a node by the tree's rules; prints the name given");
  cmd->add_option("FILE", o->file, "Firmware image or patch")->required();
  AddModelOption(cmd, o->model);
  cmd->add_option("PATH", o->path, "Node path")->required();
  cmd->add_option("NEWNAME", o->name, "New name")->required();
  cmd->add_option("-o,--output", o->out, "Output file")->required();
  cmd->callback([o, &exit_code] {
    Document doc;
    if ((exit_code = OpenDocument(o->file, o->model, doc)) != kExitDone) return;
    TNodo* node = RequireNode(doc, o->path, exit_code);
    if (node == nullptr) return;
    if ((exit_code = ReportCommand(doc.Rename(node, o->name))) != kExitDone) return;
    if ((exit_code = SaveDocument(doc, o->out)) != kExitDone) return;
    std::cout << DisplayName(node->Text) << '\n';
  });
}

}  // namespace corvane::cli

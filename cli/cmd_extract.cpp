// corvane-cli extract FILE [-m N] [--node PATH] [--decompress] OUTDIR
#include <system_error>

#include "tree_commands.h"

namespace corvane::cli {

void RegisterExtract(CLI::App& app, const Globals&, int& exit_code) {
  struct Options {
    std::string file, node, outdir;
    int model = 0;
    bool decompress = false;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("extract", "Write a node and everything below it to a folder");
  cmd->add_option("FILE", o->file, "Firmware image or patch")->required();
  AddModelOption(cmd, o->model);
  cmd->add_option("--node", o->node, "Node path (default: the root)");
  cmd->add_flag("--decompress", o->decompress, "Extract with decompression");
  cmd->add_option("OUTDIR", o->outdir, "Folder to write into (made when missing)")->required();
  cmd->callback([o, &exit_code] {
    Document doc;
    if ((exit_code = OpenDocument(o->file, o->model, doc)) != kExitDone) return;
    const TNodo* node = RequireNode(doc, o->node, exit_code);
    if (node == nullptr) return;
    std::error_code ec;
    std::filesystem::create_directories(o->outdir, ec);
    Interaction quiet;
    exit_code = ReportCommand(doc.Extract(node, o->outdir, o->decompress, quiet));
  });
}

}  // namespace corvane::cli

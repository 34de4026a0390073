// corvane-cli order export FILE [-m N] LIST.def
// corvane-cli order import FILE [-m N] LIST.def [--compress] -o OUT
#include "tree_commands.h"

namespace corvane::cli {

void RegisterOrder(CLI::App& app, const Globals&, int& exit_code) {
  struct Options {
    std::string file, list, out;
    int model = 0;
    bool compress = false;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("order", "Export or import the file-order list (.def)");
  cmd->require_subcommand(1);

  auto* exp = cmd->add_subcommand("export", "Write the file-order list of the tree");
  exp->add_option("FILE", o->file, "Firmware image")->required();
  AddModelOption(exp, o->model);
  exp->add_option("LIST", o->list, "List file (.def)")->required();
  exp->callback([o, &exit_code] {
    Document doc;
    if ((exit_code = OpenDocument(o->file, o->model, doc)) != kExitDone) return;
    Interaction quiet;
    exit_code = ReportCommand(doc.ExportOrder(o->list, quiet));
  });

  auto* imp = cmd->add_subcommand("import", "Rebuild the tree from a file-order list");
  imp->add_option("FILE", o->file, "Firmware image")->required();
  AddModelOption(imp, o->model);
  imp->add_option("LIST", o->list, "List file (.def)")->required();
  imp->add_flag("--compress", o->compress, "Compress the files as they are inserted");
  imp->add_option("-o,--output", o->out, "Output file")->required();
  imp->callback([o, &exit_code] {
    Document doc;
    if ((exit_code = OpenDocument(o->file, o->model, doc)) != kExitDone) return;
    doc.Options().compress_from_def = o->compress;
    Interaction quiet;
    if ((exit_code = ReportCommand(doc.ImportOrder(o->list, quiet))) != kExitDone) return;
    exit_code = SaveDocument(doc, o->out);
  });
}

}  // namespace corvane::cli

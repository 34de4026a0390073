// corvane-cli list-script FILE [-m N] PATH
// corvane-cli export-code FILE [-m N] OUTDIR
// corvane-cli check FILE [-m N] [--json]
#include <iostream>
#include <nlohmann/json.hpp>

#include "document/code_export.h"
#include "document/names.h"
#include "document/references.h"
#include "resources/script.h"
#include "tree_commands.h"

namespace corvane::cli {

namespace {

struct FileOptions {
  std::string file, path;
  int model = 0;
  bool json = false;
};

}  // namespace

void RegisterListScript(CLI::App& app, const Globals&, int& exit_code) {
  auto o = std::make_shared<FileOptions>();
  auto* cmd = app.add_subcommand("list-script", "Print the source listing of a script");
  cmd->add_option("FILE", o->file, "Firmware image or patch")->required();
  AddModelOption(cmd, o->model);
  cmd->add_option("PATH", o->path, "The script's node path (dir/name.cpz)")->required();
  cmd->callback([o, &exit_code] {
    Document doc;
    if ((exit_code = OpenDocument(o->file, o->model, doc)) != kExitDone) return;
    const TNodo* node = RequireNode(doc, o->path, exit_code);
    if (node == nullptr) return;
    if (node->IsDirectory()) {
      PrintError(Message::FromRow(4).Text(" " + NodePath(node)));
      exit_code = kExitRejected;
      return;
    }
    const ListingContext context{CliInstructions(), CliMessages(), false};
    const TMHWScript script = TMHWScript::Create(*node, context);
    if (!script.listed) {
      PrintError(Message::FromRow(262).Text(Latin1ToUtf8(script.missing_class)).Row(263));
      exit_code = kExitRejected;
      return;
    }
    for (const std::string& line : script.listing) std::cout << line << '\n';
  });
}

void RegisterExportCode(CLI::App& app, const Globals&, int& exit_code) {
  auto o = std::make_shared<FileOptions>();
  auto* cmd = app.add_subcommand(
      "export-code", "Write Applications.txt, Classes.txt and Scripts.txt into a folder");
  cmd->add_option("FILE", o->file, "Firmware image or patch")->required();
  AddModelOption(cmd, o->model);
  cmd->add_option("OUTDIR", o->path, "Folder to write into (made when missing)")->required();
  cmd->callback([o, &exit_code] {
    Document doc;
    if ((exit_code = OpenDocument(o->file, o->model, doc)) != kExitDone) return;
    std::error_code ec;
    std::filesystem::create_directories(o->path, ec);
    const CodeTables tables{CliInstructions(), CliVarTypes(), CliMessages()};
    const CommandResult result = ExtraeTodoElCodigo(doc, o->path, tables, [](int percent) {
      std::cerr << Render(Message::FromRow(33)) << ' ' << percent << "%\n";
      return true;
    });
    exit_code = ReportCommand(result);
  });
}

void RegisterCheck(CLI::App& app, const Globals&, int& exit_code) {
  auto o = std::make_shared<FileOptions>();
  auto* cmd = app.add_subcommand(
      "check",
      "List every reference that does not resolve (classes, panels, icons, images, "
      "palettes, scripts)");
  cmd->add_option("FILE", o->file, "Firmware image or patch")->required();
  AddModelOption(cmd, o->model);
  cmd->add_flag("--json", o->json, "Print a JSON array");
  cmd->callback([o, &exit_code] {
    Document doc;
    if ((exit_code = OpenDocument(o->file, o->model, doc)) != kExitDone) return;
    const std::vector<UnresolvedReference> missing = CheckReferences(*doc.Root());
    if (o->json) {
      nlohmann::ordered_json list = nlohmann::ordered_json::array();
      for (const UnresolvedReference& r : missing)
        list.push_back(
            {{"node", NodePath(r.node)}, {"kind", r.KindName()}, {"name", Latin1ToUtf8(r.name)}});
      std::cout << list.dump(2) << '\n';
    } else if (missing.empty()) {
      std::cout << Render(Message::FromRow(kMsgAllReferencesResolve)) << '\n';
    } else {
      for (const UnresolvedReference& r : missing)
        std::cout << NodePath(r.node) << ": "
                  << Render(Message::FromRow(r.Row()).Text(" " + Latin1ToUtf8(r.name))) << '\n';
    }
    exit_code = missing.empty() ? kExitDone : kExitRefused;
  });
}

}  // namespace corvane::cli

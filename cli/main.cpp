// corvane-cli: the command-line tool over the core library.
#include <iostream>

#include "cli.h"
#include "firmware/models.h"

namespace corvane::cli {
void RegisterModels(CLI::App&, const Globals&, int&);
void RegisterCodec(CLI::App&, const Globals&, int&);
void RegisterTree(CLI::App&, const Globals&, int&);
void RegisterRepack(CLI::App&, const Globals&, int&);
void RegisterDetect(CLI::App&, const Globals&, int&);
void RegisterExtract(CLI::App&, const Globals&, int&);
void RegisterInsert(CLI::App&, const Globals&, int&);
void RegisterDelete(CLI::App&, const Globals&, int&);
void RegisterMkdir(CLI::App&, const Globals&, int&);
void RegisterRename(CLI::App&, const Globals&, int&);
void RegisterMove(CLI::App&, const Globals&, int&);
void RegisterOrder(CLI::App&, const Globals&, int&);
void RegisterCompare(CLI::App&, const Globals&, int&);
void RegisterSearch(CLI::App&, const Globals&, int&);
void RegisterInfo(CLI::App&, const Globals&, int&);
void RegisterResources(CLI::App&, const Globals&, int&);
void RegisterFonts(CLI::App&, const Globals&, int&);
void RegisterListScript(CLI::App&, const Globals&, int&);
void RegisterExportCode(CLI::App&, const Globals&, int&);
void RegisterCheck(CLI::App&, const Globals&, int&);

// Every command, in the order of the help text.
const Command kCommands[] = {
    {"models", RegisterModels}, {"codec", RegisterCodec},   {"tree", RegisterTree},
    {"repack", RegisterRepack}, {"detect", RegisterDetect},
    {"extract", RegisterExtract},
    {"insert", RegisterInsert},
    {"delete", RegisterDelete},
    {"mkdir", RegisterMkdir},
    {"rename", RegisterRename},
    {"move", RegisterMove},
    {"order", RegisterOrder},
    {"compare", RegisterCompare},
    {"search", RegisterSearch},
    {"info", RegisterInfo},
    {"dump, build, export, import", RegisterResources},
    {"fonts", RegisterFonts},
    {"list-script", RegisterListScript},
    {"export-code", RegisterExportCode},
    {"check", RegisterCheck},
};
}  // namespace corvane::cli

int main(int argc, char** argv) {
  using namespace corvane::cli;
  CLI::App app{"Corvane: firmware image editor for MHW receivers"};
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string("corvane-cli ") + CORVANE_VERSION);
  Globals globals;
  UseGlobals(globals);
  // Options of the tool as a whole, accepted before or after the command name.
  app.fallthrough();
  app.add_option("--inis", globals.inis, "Folder of the INI files (language of the messages)")
      ->each([](const std::string& folder) { UseInisFolder(folder); });
  app.add_option("-m,--model", globals.model, "Receiver model (1-27) of the file a command opens")
      ->check(CLI::Range(1, corvane::kModelCount));
  app.add_flag("--external-fonts", globals.external_fonts,
               "Use the external font files (fuente1..3.font), not the image's fonts");
  app.add_option("--fonts-dir", globals.fonts_dir,
                 "Folder of fuente1..3.font (default: the program's folder)");
  int exit_code = kExitDone;
  for (const Command& c : kCommands) c.registrar(app, globals, exit_code);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? kExitDone : kExitUsage;
  }
  return exit_code;
}

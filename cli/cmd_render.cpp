// corvane-cli render FILE [-m N] PANELPATH [--screen S] [--lang L] [--style s]
//                    [--palette DIR:NAME] [--border] [--grid G] -o OUT.png
#include "base/file_io.h"
#include "render/panel_sources.h"
#include "render/png.h"
#include "tree_commands.h"

namespace corvane::cli {

void RegisterRender(CLI::App& app, const Globals&, int& exit_code) {
  struct Options {
    std::string file, panel, out;
    int model = 0;
    PanelRenderOptions render;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("render", "Draw a panel as the panel editor shows it, as a PNG");
  cmd->add_option("FILE", o->file, "Firmware image or patch")->required();
  AddModelOption(cmd, o->model);
  cmd->add_option("PANELPATH", o->panel, "Node path of the panel file")->required();
  cmd->add_option("--screen", o->render.screen, "Screen as the editor lists it (07, 1F, FF)");
  cmd->add_option("--lang", o->render.language, "Language shown (0-4)")->check(CLI::Range(0, 4));
  cmd->add_option("--style", o->render.style, "0-based style index")->check(CLI::Range(0, 255));
  cmd->add_option("--palette", o->render.palette, "Palette path (DIR:NAME)");
  cmd->add_flag("--border", o->render.border, "Draw the selection border around element 0");
  cmd->add_option("--grid", o->render.grid, "Draw the dot grid of this size")
      ->check(CLI::Range(0, 576));
  cmd->add_option("-o,--output", o->out, "PNG file to write")->required();
  cmd->callback([o, &exit_code] {
    Document doc;
    if ((exit_code = OpenDocument(o->file, o->model, doc)) != kExitDone) return;
    const TNodo* node = RequireNode(doc, o->panel, exit_code);
    if (node == nullptr) return;
    o->render.nested_palette_context = doc.Model() == 4;
    PixelBuffer picture;
    Result r = RenderPanelNode(*doc.Tree(), *node, doc.Fonts(), o->render, picture);
    if (!r) {
      exit_code = Report(r);
      return;
    }
    std::string failure = WriteFileAtomic(o->out, EncodePng(picture));
    if (!failure.empty()) {
      PrintError(failure);
      exit_code = kExitIo;
    }
  });
}

}  // namespace corvane::cli

// corvane-cli fonts FILE [-m N] [--json [--glyphs]]
// corvane-cli fonts export FILE [-m N] LIST.ini
// corvane-cli fonts import FILE [-m N] LIST.ini -o OUT
// corvane-cli fonts sheet FILE [-m N] --font I -o SHEET.png
#include <iomanip>
#include <iostream>
#include <nlohmann/json.hpp>

#include "base/file_io.h"
#include "render/font_render.h"
#include "render/png.h"
#include "resources/font_messages.h"
#include "tree_commands.h"

namespace corvane::cli {

namespace {

// Opens FILE into `doc` and tells why its font set is empty, if it is.
int OpenWithFonts(const std::string& file, int model, Document& doc) {
  const int code = OpenDocument(file, model, doc);
  if (code == kExitDone && !doc.FontNote().Empty()) PrintError(doc.FontNote());
  return code;
}

nlohmann::json FontJson(const TMHWFont& set, int index, bool glyphs) {
  const TFuente& f = set.fonts[static_cast<std::size_t>(index)];
  nlohmann::json font = {{"name", NameForOutput(f.name)}, {"size", f.size}, {"height", f.height}};
  nlohmann::json widths = nlohmann::json::array();
  for (const TLetra& g : f.glyphs) widths.push_back(g.width);
  font["widths"] = std::move(widths);
  if (glyphs) {
    nlohmann::json all = nlohmann::json::array();
    for (const TLetra& g : f.glyphs) {
      nlohmann::json rows = nlohmann::json::array();
      if (g.width > 0)
        for (std::size_t r = 0; r < f.height; ++r) rows.push_back(g.picture.substr(r * g.width, g.width));
      all.push_back(std::move(rows));
    }
    font["glyphs"] = std::move(all);
  }
  return font;
}

void PrintTable(const TMHWFont& set) {
  std::cout << "font\tname\tsize\theight\twidest\tglyphs\n";
  for (int i = 0; i < set.count; ++i) {
    const TFuente& f = set.fonts[static_cast<std::size_t>(i)];
    int drawn = 0;
    for (const TLetra& g : f.glyphs) drawn += g.width > 0 ? 1 : 0;
    std::cout << i << '\t' << NameForOutput(f.name) << '\t' << int{f.size} << '\t'
              << int{f.height} << '\t' << set.MaxWidth(i) << '\t' << drawn << '\n';
  }
}

struct Options {
  std::string file, list, out;
  int model = 0;
  int font = 0;
  bool json = false, glyphs = false;
};

// Opens FILE and exports its fonts to the list, or imports the list and saves the image to OUT.
int RunFontList(const Options& o, bool import) {
  Document doc;
  int code = OpenWithFonts(o.file, o.model, doc);
  if (code != kExitDone) return code;
  Interaction quiet;
  const FontListResult r = import ? doc.ImportFontList(o.list, quiet) : doc.ExportFontList(o.list, quiet);
  for (const Message& m : r.messages) PrintError(m);
  code = ExitCodeFor(Result{r.outcome, {}});
  return code != kExitDone || !import ? code : SaveDocument(doc, o.out);
}

CLI::App* FileCommand(CLI::App* parent, const char* name, const char* help, Options& o) {
  CLI::App* cmd = parent->add_subcommand(name, help);
  cmd->add_option("FILE", o.file, "Firmware image")->required();
  AddModelOption(cmd, o.model);
  return cmd;
}

}  // namespace

void RegisterFonts(CLI::App& app, const Globals&, int& exit_code) {
  auto o = std::make_shared<Options>();
  CLI::App* fonts = app.add_subcommand("fonts", "The fonts of a firmware image");
  fonts->require_subcommand(0, 1);
  fonts->add_option("FILE", o->file, "Firmware image");
  AddModelOption(fonts, o->model);
  fonts->add_flag("--json", o->json, "Print the fonts as JSON");
  fonts->add_flag("--glyphs", o->glyphs, "With --json: every glyph's rows");
  fonts->callback([fonts, o, &exit_code] {
    if (!fonts->get_subcommands().empty()) return;
    if (o->file.empty()) {
      PrintError("fonts: FILE is required");
      exit_code = kExitUsage;
      return;
    }
    Document doc;
    if ((exit_code = OpenWithFonts(o->file, o->model, doc)) != kExitDone) return;
    const TMHWFont& set = doc.Fonts();
    if (!o->json) {
      PrintTable(set);
      return;
    }
    nlohmann::json list = nlohmann::json::array();
    for (int i = 0; i < std::min(set.count, kFontSlots); ++i) list.push_back(FontJson(set, i, o->glyphs));
    std::cout << nlohmann::json{{"fonts", std::move(list)}}.dump() << '\n';
  });

  auto e = std::make_shared<Options>();
  CLI::App* exp = FileCommand(fonts, "export", "Write every glyph as a bitmap beside a font list", *e);
  exp->add_option("LIST", e->list, "Font-list INI file")->required();
  exp->callback([e, &exit_code] { exit_code = RunFontList(*e, false); });

  auto i = std::make_shared<Options>();
  CLI::App* imp = FileCommand(fonts, "import", "Put a font list's bitmaps into the fonts and save", *i);
  imp->add_option("LIST", i->list, "Font-list INI file")->required();
  imp->add_option("-o,--output", i->out, "Output file")->required();
  imp->callback([i, &exit_code] { exit_code = RunFontList(*i, true); });

  auto s = std::make_shared<Options>();
  CLI::App* sheet = FileCommand(fonts, "sheet", "The 16 x 16 character map of a font as a PNG", *s);
  sheet->add_option("--font", s->font, "Font index (0-3)")->required();
  sheet->add_option("-o,--output", s->out, "PNG file")->required();
  sheet->callback([s, &exit_code] {
    Document doc;
    if ((exit_code = OpenWithFonts(s->file, s->model, doc)) != kExitDone) return;
    if (!doc.Fonts().Valid(s->font)) {
      PrintError(Message::FromRow(font_rows::kNoSuchFont).Text(" " + std::to_string(s->font)));
      exit_code = kExitRejected;
      return;
    }
    const std::string error = WriteFileAtomic(s->out, EncodePng(CharacterSheet(doc.Fonts(), s->font)));
    if (!error.empty()) {
      PrintError(Message::FromRow(font_rows::kFontListNotWritten).Text(" " + s->out + ": " + error));
      exit_code = kExitIo;
    }
  });
}

}  // namespace corvane::cli

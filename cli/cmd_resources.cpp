// corvane-cli dump FILE [-m N] PATH [--json]
// corvane-cli build KIND IN.json -o OUT [--plain]
// corvane-cli export FILE [-m N] PATH -o OUT.(bmp|png|pal) [--palette PALPATH] [--icon NAME]
// corvane-cli import FILE [-m N] PATH IN.(bmp|pal) -o OUT [--icon NAME --insert-after|--replace]
#include <algorithm>
#include <iostream>

#include "document/names.h"
#include "render/indexed_draw.h"
#include "render/png.h"
#include "resource_kinds.h"
#include "resources/icons.h"
#include "resources/image.h"
#include "resources/palette.h"
#include "resources/stored.h"
#include "tree_commands.h"

namespace corvane::cli {
namespace {

using Json = nlohmann::ordered_json;

std::string LowerExtension(const std::string& path) {
  return LowerName(std::filesystem::path(path).extension().string());
}

// The resource file named by PATH, with its kind; nullptr (exit 2) for anything else.
TNodo* RequireResource(const Document& doc, const std::string& path, int& exit_code) {
  TNodo* node = RequireNode(doc, path, exit_code);
  if (node == nullptr) return nullptr;
  if (node->IsDirectory() || FindResourceKind(KindOfName(node->Text)) == nullptr) {
    PrintError("\"" + path + "\" is not a resource file (" + ResourceKindNames() + ")");
    exit_code = kExitRejected;
    return nullptr;
  }
  return node;
}

// The palette for `node`: the one given as a palette path (":" or "/" between names), else the
// one the program chooses; grey levels (with a note) when there is none.
bool PaletteForNode(const Document& doc, const TNodo& node, const std::string& given,
                    TMHWPalette& out, int& exit_code) {
  if (!given.empty()) {
    std::string path = Utf8ToLatin1(given);
    for (char& c : path)
      if (c == '/') c = ':';
    const std::optional<TMHWPalette> p = TMHWPalette::Create(FindPalettePath(*doc.Tree(), path));
    if (!p) {
      PrintError("no palette \"" + given + "\" in the tree");
      exit_code = kExitRejected;
      return false;
    }
    out = *p;
    return true;
  }
  const std::optional<TMHWPalette> p =
      PaletteFor(*doc.Tree(), node, NestedPaletteContext(doc.Model()));
  if (!p) PrintError("no palette found: grey levels used");
  out = p ? *p : TMHWPalette::Greys();
  return true;
}

int WriteOut(const std::string& out, ByteView bytes) { return Report(WriteDiskFile(out, bytes)); }

void RegisterDump(CLI::App& app, int& exit_code) {
  struct Options {
    std::string file, path;
    int model = 0;
    bool json = false;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("dump", "Print the decoded resource of a file of the image");
  cmd->add_option("FILE", o->file, "Firmware image or patch")->required();
  AddModelOption(cmd, o->model);
  cmd->add_option("PATH", o->path, "Node path of the resource file")->required();
  cmd->add_flag("--json", o->json, "Print the JSON form");
  cmd->callback([o, &exit_code] {
    Document doc;
    if ((exit_code = OpenDocument(o->file, o->model, doc)) != kExitDone) return;
    const TNodo* node = RequireResource(doc, o->path, exit_code);
    if (node == nullptr) return;
    const ResourceKind* kind = FindResourceKind(KindOfName(node->Text));
    Json form;
    if ((exit_code = Report(kind->dump(PlainOf(*node), node->Text, form))) != kExitDone) return;
    if (o->json)
      std::cout << form.dump(2) << '\n';
    else
      std::cout << kind->summary(form);
  });
}

void RegisterBuild(CLI::App& app, int& exit_code) {
  struct Options {
    std::string kind, in, out;
    bool plain = false;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("build", "Write the stored bytes of a resource's JSON form");
  cmd->add_option("KIND", o->kind, "Resource kind (" + ResourceKindNames() + ")")->required();
  cmd->add_option("IN", o->in, "JSON form")->required();
  cmd->add_option("-o,--output", o->out, "File to write")->required();
  cmd->add_flag("--plain", o->plain, "Write the plain bytes (no compression)");
  cmd->callback([o, &exit_code] {
    const FileKindInfo* info = FindFileKind(std::string_view(o->kind));
    const ResourceKind* kind = info != nullptr ? FindResourceKind(info->kind) : nullptr;
    if (kind == nullptr) {
      PrintError("unknown kind \"" + o->kind + "\" (" + ResourceKindNames() + ")");
      exit_code = kExitRejected;
      return;
    }
    Bytes text;
    if ((exit_code = Report(ReadDiskFile(o->in, text))) != kExitDone) return;
    const Json in = Json::parse(text.begin(), text.end(), nullptr, false);
    if (in.is_discarded()) {
      PrintError(o->in + ": not a JSON document");
      exit_code = kExitRejected;
      return;
    }
    Bytes plain;
    const std::string name = Utf8ToLatin1(std::filesystem::path(o->out).filename().string());
    if ((exit_code = Report(kind->build(in, name, plain))) != kExitDone) return;
    exit_code = WriteOut(o->out, o->plain ? plain : StoredOf(plain));
  });
}

void RegisterExport(CLI::App& app, int& exit_code) {
  struct Options {
    std::string file, path, out, palette, icon;
    int model = 0;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("export", "Write an image or icon as a picture, a palette as JASC");
  cmd->add_option("FILE", o->file, "Firmware image or patch")->required();
  AddModelOption(cmd, o->model);
  cmd->add_option("PATH", o->path, "Node path of the image, icon collection or palette")->required();
  cmd->add_option("-o,--output", o->out, "OUT.bmp, OUT.png or OUT.pal")->required();
  cmd->add_option("--palette", o->palette, "Palette path to draw with (default: the chosen one)");
  cmd->add_option("--icon", o->icon, "Icon to export (icon collections)");
  cmd->callback([o, &exit_code] {
    Document doc;
    if ((exit_code = OpenDocument(o->file, o->model, doc)) != kExitDone) return;
    TNodo* node = RequireResource(doc, o->path, exit_code);
    if (node == nullptr) return;
    const FileKind kind = KindOfName(node->Text);
    const std::string ext = LowerExtension(o->out);
    if (kind == FileKind::Palette) {
      const std::optional<TMHWPalette> palette = TMHWPalette::Create(node);
      if (!palette) {
        exit_code = Report(Result::Rejected(Message::FromRow(rows::kPaletteWrongSize)));
      } else if (ext != ".pal") {
        PrintError("a palette is exported as .pal");
        exit_code = kExitUsage;
      } else {
        exit_code = Report(palette->ExportaPAL(o->out));
      }
      return;
    }
    if (ext != ".bmp" && ext != ".png") {
      PrintError("an image or icon is exported as .bmp or .png");
      exit_code = kExitUsage;
      return;
    }
    TMHWPalette palette;
    if (!PaletteForNode(doc, *node, o->palette, palette, exit_code)) return;
    if (kind == FileKind::Image) {
      const TMHWImage image = TMHWImage::Create(node);
      exit_code = ext == ".bmp" ? Report(image.ExportaBMP(o->out, palette))
                                : WriteOut(o->out, EncodePng(Dibuja(image, palette)));
      return;
    }
    if (kind != FileKind::Icons) {
      PrintError("\"" + o->path + "\" is not an image, icon collection or palette");
      exit_code = kExitRejected;
      return;
    }
    TMHWIconLib icons;
    if ((exit_code = Report(TMHWIconLib::Create(node, icons))) != kExitDone) return;
    const int index = icons.Find(Utf8ToLatin1(o->icon));
    if (index < 0) {
      PrintError("no icon \"" + o->icon + "\" in the collection");
      exit_code = kExitRejected;
      return;
    }
    const auto i = static_cast<std::size_t>(index);
    exit_code = ext == ".bmp" ? Report(icons.ExportaBMP(o->out, i, palette))
                              : WriteOut(o->out, EncodePng(Dibuja(icons, i, palette)));
  });
}

// The import into one node; the node's record is rewritten when it succeeds.
Result ImportInto(TNodo& node, const std::string& in, const std::string& icon_name, bool replace) {
  const std::string ext = LowerExtension(in);
  switch (KindOfName(node.Text)) {
    case FileKind::Palette: {
      std::optional<TMHWPalette> palette = TMHWPalette::Create(&node);
      if (!palette) return Result::Rejected(Message::FromRow(rows::kPaletteWrongSize));
      Result r = ext == ".pal" ? palette->ImportaPAL(in) : palette->ImportaBMP(in);
      if (r) palette->Guarda();
      return r;
    }
    case FileKind::Image: {
      TMHWImage image = TMHWImage::Create(&node);
      Result r = image.ImportaBMP(in);
      if (r) image.Guarda();
      return r;
    }
    case FileKind::Icons: {
      TMHWIconLib icons;
      if (Result r = TMHWIconLib::Create(&node, icons); !r) return r;
      const int index = icon_name.empty() ? static_cast<int>(icons.icons.size()) - 1
                                          : icons.Find(icon_name);
      if (!icon_name.empty() && index < 0)
        return Result::Rejected(Message().Text("no icon \"" + Latin1ToUtf8(icon_name) + "\""));
      if (replace) {
        if (index < 0) return Result::Rejected(Message().Text("--replace needs --icon NAME"));
        if (Result r = icons.ReemplazaBMP(in, static_cast<std::size_t>(index)); !r) return r;
      } else {
        // A new icon must not take the name of another one.
        if (icons.Find(NameBeforeFirstDot(in)) >= 0)
          return Result::Refused(Message::FromRow(rows::kIconBitmapRuleFirst)
                                     .Break()
                                     .Row(rows::kIconBitmapRuleSecond));
        // Inserted after the icon named (after the last one without --icon).
        const std::size_t after = index < 0 ? icons.icons.size() : static_cast<std::size_t>(index);
        if (Result r = icons.InsertaBMP(in, after); !r) return r;
      }
      return icons.Guarda();
    }
    default:
      return Result::Rejected(Message().Text("not an image, icon collection or palette"));
  }
}

void RegisterImport(CLI::App& app, int& exit_code) {
  struct Options {
    std::string file, path, in, out, icon;
    int model = 0;
    bool insert_after = false, replace = false;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("import", "Import a bitmap or JASC palette into a resource file");
  cmd->add_option("FILE", o->file, "Firmware image or patch")->required();
  AddModelOption(cmd, o->model);
  cmd->add_option("PATH", o->path, "Node path of the image, icon collection or palette")->required();
  cmd->add_option("IN", o->in, "IN.bmp, or IN.pal for a palette")->required();
  cmd->add_option("-o,--output", o->out, "Image file to write")->required();
  cmd->add_option("--icon", o->icon, "Icon to insert after or to replace");
  auto* insert = cmd->add_flag("--insert-after", o->insert_after, "Insert a new icon (default)");
  cmd->add_flag("--replace", o->replace, "Replace the icon")->excludes(insert);
  cmd->callback([o, &exit_code] {
    Document doc;
    if ((exit_code = OpenDocument(o->file, o->model, doc)) != kExitDone) return;
    TNodo* node = RequireResource(doc, o->path, exit_code);
    if (node == nullptr) return;
    if ((exit_code = Report(ImportInto(*node, o->in, Utf8ToLatin1(o->icon), o->replace))) !=
        kExitDone)
      return;
    exit_code = SaveDocument(doc, o->out);
  });
}

}  // namespace

void RegisterResources(CLI::App& app, const Globals&, int& exit_code) {
  RegisterDump(app, exit_code);
  RegisterBuild(app, exit_code);
  RegisterExport(app, exit_code);
  RegisterImport(app, exit_code);
}

}  // namespace corvane::cli

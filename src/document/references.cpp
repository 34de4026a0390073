#include "document/references.h"

#include "firmware/kinds.h"
#include "resources/application.h"
#include "resources/panel_methods.h"
#include "resources/plain.h"
#include "resources/script.h"

namespace corvane {

namespace {

std::string BaseName(std::string_view text) {
  return std::string(text.substr(0, text.find('.')));
}

bool IsFileOfKind(const TNodo& n, FileKind kind) {
  return !n.IsDirectory() && KindOfName(n.Text) == kind;
}

// Names read from applications keep 8 characters: compare as many.
bool SameName(std::string_view file_text, std::string_view name, std::size_t limit) {
  const std::string base = BaseName(file_text);
  return LowerName(base.substr(0, limit)) == LowerName(name.substr(0, limit));
}

// A file of `kind` named `name` (without extension) beside `node`, or anywhere in the top-level
// directories and one level below them.
bool FileExists(const TNodo& node, const TNodo& root, FileKind kind, std::string_view name,
                std::size_t limit = std::string::npos) {
  auto match = [&](const TNodo& n) {
    return IsFileOfKind(n, kind) && SameName(n.Text, name, limit);
  };
  if (const TNodo* parent = node.Parent())
    for (const TNodo* n : parent->Children())
      if (match(*n)) return true;
  for (const TNodo* d : root.Children())
    for (const TNodo* c : d->Children()) {
      if (match(*c)) return true;
      for (const TNodo* f : c->Children())
        if (match(*f)) return true;
    }
  return false;
}

// An image reference DIR:NAME.rf4: a directory named DIR anywhere in the tree holding an image
// file named NAME.
bool ImageExists(const TNodo& root, std::string_view reference) {
  const std::size_t colon = reference.find(':');
  if (colon == std::string_view::npos) return false;
  const std::string dir = LowerName(reference.substr(0, colon));
  std::string_view name = reference.substr(colon + 1);
  if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos)
    name = name.substr(0, dot);
  bool found = false;
  const std::function<void(const TNodo&)> walk = [&](const TNodo& n) {
    if (found) return;
    if (n.IsDirectory() && LowerName(n.Text) == dir)
      for (const TNodo* f : n.Children())
        if (IsFileOfKind(*f, FileKind::Image) && SameName(f->Text, name, std::string::npos))
          found = true;
    for (const TNodo* c : n.Children()) walk(*c);
  };
  walk(root);
  return found;
}

bool AnyPalette(const TNodo& root) {
  for (const TNodo* d : root.Children())
    for (const TNodo* c : d->Children()) {
      if (IsFileOfKind(*c, FileKind::Palette)) return true;
      for (const TNodo* f : c->Children())
        if (IsFileOfKind(*f, FileKind::Palette)) return true;
    }
  return false;
}

}  // namespace

int UnresolvedReference::Row() const {
  switch (kind) {
    case ReferenceKind::Class:
      return kMsgMissingClass;
    case ReferenceKind::Panel:
      return kMsgMissingPanel;
    case ReferenceKind::IconCollection:
      return kMsgMissingIcons;
    case ReferenceKind::Image:
      return kMsgMissingImage;
    case ReferenceKind::Palette:
      return kMsgMissingPalette;
    case ReferenceKind::Script:
      return kMsgMissingScript;
  }
  return kMsgMissingClass;
}

const char* UnresolvedReference::KindName() const {
  switch (kind) {
    case ReferenceKind::Class:
      return "class";
    case ReferenceKind::Panel:
      return "panel";
    case ReferenceKind::IconCollection:
      return "icons";
    case ReferenceKind::Image:
      return "image";
    case ReferenceKind::Palette:
      return "palette";
    case ReferenceKind::Script:
      return "script";
  }
  return "class";
}

std::vector<UnresolvedReference> CheckReferences(const TNodo& root) {
  std::vector<UnresolvedReference> out;
  const bool any_palette = AnyPalette(root);
  std::vector<const TNodo*> files;
  const std::function<void(const TNodo&)> collect = [&](const TNodo& node) {
    if (!node.IsDirectory()) files.push_back(&node);
    for (const TNodo* c : node.Children()) collect(*c);
  };
  collect(root);
  for (const TNodo* file : files) {
    const TNodo& f = *file;
    switch (KindOfName(f.Text)) {
      case FileKind::Script: {
        const Bytes plain = PlainOf(f);
        const std::size_t n = ByteView(plain).at(18);
        for (std::size_t i = 0; i < n; ++i) {
          const std::string name = LeeNombre(plain, 19 + 18 * i, 16);
          if (FindClassNode(f, name) == nullptr) out.push_back({&f, ReferenceKind::Class, name});
        }
        const std::string base = BaseName(f.Text);
        const TNodo* parent = f.Parent();
        if (parent == nullptr || BuscaNodo(parent->FirstChild(), base + ".pa", false) == nullptr)
          out.push_back({&f, ReferenceKind::Panel, base});
        break;
      }
      case FileKind::Panel: {
        const PanelMethods panel = ReadPanelMethods(PlainOf(f));
        if (!panel.icon_collection.empty() &&
            !FileExists(f, root, FileKind::Icons, panel.icon_collection))
          out.push_back({&f, ReferenceKind::IconCollection, panel.icon_collection});
        for (const PanelMethods::Element& e : panel.elements)
          if (e.kind == PanelMethods::kWindowKind && !e.text0.empty() &&
              !ImageExists(root, e.text0))
            out.push_back({&f, ReferenceKind::Image, e.text0});
        if (!any_palette) out.push_back({&f, ReferenceKind::Palette, {}});
        break;
      }
      case FileKind::Application: {
        const TMHWApplication app = TMHWApplication::Create(f);
        for (const std::string* s : {&app.initial_script, &app.final_script})
          if (!s->empty() && !FileExists(f, root, FileKind::Script, *s, kApplicationNameLimit))
            out.push_back({&f, ReferenceKind::Script, *s});
        if (!app.palette.empty() &&
            !FileExists(f, root, FileKind::Palette, app.palette, kApplicationNameLimit))
          out.push_back({&f, ReferenceKind::Palette, app.palette});
        for (const std::string& c : app.classes)
          if (!FileExists(f, root, FileKind::Class, c, kApplicationNameLimit))
            out.push_back({&f, ReferenceKind::Class, c});
        break;
      }
      default:
        break;
    }
  }
  return out;
}

}  // namespace corvane

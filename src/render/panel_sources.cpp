#include "render/panel_sources.h"

#include <algorithm>

#include "firmware/kinds.h"
#include "render/font_render.h"
#include "render/indexed_draw.h"
#include "resources/image.h"
#include "resources/panel_layout.h"

namespace corvane {

TreePanelSources::TreePanelSources(const TArbol& tree, const TNodo& panel_node,
                                   const TMHWPanel& panel, const TMHWPalette& palette,
                                   const TMHWFont& fonts)
    : tree_(tree), palette_(palette), fonts_(fonts) {
  for (int f = 0; f < fonts.count && f < kFontSlots; ++f)
    keys_.push_back({fonts.fonts[f].name, fonts.fonts[f].size});
  if (const TNodo* file = FindIconCollection(panel_node, panel.icon_collection)) {
    TMHWIconLib icons;
    if (TMHWIconLib::Create(const_cast<TNodo*>(file), icons).ok()) icons_ = std::move(icons);
  }
}

int TreePanelSources::FontHeight(int font) const {
  return fonts_.Valid(font) ? fonts_.fonts[font].height : 0;
}

int TreePanelSources::TextWidth(std::string_view text, int font) const {
  return fonts_.Valid(font) ? fonts_.AnchoTexto(text, font) : 0;
}

void TreePanelSources::DrawText(PixelBuffer& target, std::string_view text, const PanelRect& clip,
                                int font, int x, int y, Rgb colour) const {
  // A glyph is drawn when pen + width <= x2 and y + height <= y2 with the element's own
  // inclusive corners, so the clip's right and bottom are x2 and y2 themselves.
  DibujaTexto(target, fonts_, text, ClipRect{clip.x1, clip.y1, clip.x2, clip.y2}, font, x, y,
              colour);
}

const PixelBuffer* TreePanelSources::Icon(std::string_view name) const {
  auto it = icon_pictures_.find(name);
  if (it == icon_pictures_.end()) {
    std::optional<PixelBuffer> picture;
    if (icons_) {
      int index = icons_->Find(name, true);
      if (index >= 0) picture = Dibuja(*icons_, static_cast<std::size_t>(index), palette_);
    }
    it = icon_pictures_.emplace(std::string(name), std::move(picture)).first;
  }
  return it->second ? &*it->second : nullptr;
}

const PixelBuffer* TreePanelSources::Image(std::string_view reference) const {
  auto it = image_pictures_.find(reference);
  if (it == image_pictures_.end()) {
    std::optional<PixelBuffer> picture;
    if (const TNodo* file = FindImage(tree_, reference))
      picture = Dibuja(TMHWImage::Create(const_cast<TNodo*>(file)), palette_);
    it = image_pictures_.emplace(std::string(reference), std::move(picture)).first;
  }
  return it->second ? &*it->second : nullptr;
}

Result RenderPanelNode(const TArbol& tree, const TNodo& node, const TMHWFont& fonts,
                       const PanelRenderOptions& options, PixelBuffer& out) {
  if (node.IsDirectory() || TipoArchivo(node.Text) != static_cast<int>(FileKind::Panel))
    return Result::Rejected(Message::FromRow(kMsgNotAPanel).Text(" " + node.Text));
  // The palette: the one named, or the program's choice with the file name up to its first ".".
  std::string path = options.palette;
  if (path.empty()) {
    std::vector<std::string> paths = PalettePaths(tree);
    if (paths.empty()) return Result::Rejected(Message::FromRow(kMsgNoPalette));
    path = ChoosePalettePath(paths, PaletteContext(node, options.nested_palette_context),
                             node.Text.substr(0, node.Text.find('.')));
  }
  std::optional<TMHWPalette> palette;
  if (TNodo* file = FindPalettePath(tree, path)) palette = TMHWPalette::Create(file);
  if (!palette) return Result::Rejected(Message::FromRow(kMsgPaletteNotFound).Text(" " + path));

  TMHWPanel panel;
  panel.Create(node);  // a panel that ends early is drawn as far as it was read
  const std::vector<std::string> screens = ScreenList(panel);
  std::string screen = options.screen.empty() ? screens.front() : options.screen;
  std::transform(screen.begin(), screen.end(), screen.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (std::find(screens.begin(), screens.end(), screen) == screens.end())
    return Result::Rejected(Message::FromRow(kMsgScreenNotShown).Text(" " + options.screen));

  PanelView view;
  view.language = options.language >= 0 ? options.language : panel.default_language;
  view.style = options.style;
  view.icon_collection_present = IconCollectionPresent(node, panel.icon_collection);
  TreePanelSources sources(tree, node, panel, *palette, fonts);
  out = PixelBuffer(kCanvasWidth, kCanvasHeight);
  Dibuja(out, panel, ElementList(panel, screen), view, palette->Colours(), sources);
  if (options.border && !panel.elements.empty())
    TBordeAnimado(AbsoluteRect(panel, 0)).Pinta(out, false);
  DibujaRejilla(out, options.grid);
  return Result::Ok();
}

}  // namespace corvane

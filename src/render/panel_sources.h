// Panel drawing over an opened firmware: the icons of the panel's collection and the images of the
// tree drawn with the palette in use, the font set's texts; and the whole picture that the panel
// editor's canvas shows in its opening state (what `corvane-cli render` writes).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "firmware/tree.h"
#include "render/panel_render.h"
#include "resources/font_set.h"
#include "resources/icons.h"
#include "resources/palette.h"

namespace corvane {

class TreePanelSources : public PanelSources {
 public:
  // `panel_node` is the panel's file node (its siblings hold the icon collection).
  TreePanelSources(const TArbol& tree, const TNodo& panel_node, const TMHWPanel& panel,
                   const TMHWPalette& palette, const TMHWFont& fonts);

  std::span<const FontKey> Fonts() const override { return keys_; }
  int FontHeight(int font) const override;
  int TextWidth(std::string_view text, int font) const override;
  void DrawText(PixelBuffer& target, std::string_view text, const PanelRect& clip, int font, int x,
                int y, Rgb colour) const override;
  const PixelBuffer* Icon(std::string_view name) const override;
  const PixelBuffer* Image(std::string_view reference) const override;

 private:
  const TArbol& tree_;
  const TMHWPalette& palette_;
  const TMHWFont& fonts_;
  std::vector<FontKey> keys_;
  std::optional<TMHWIconLib> icons_;
  // Pictures drawn once and kept (nullopt: not found).
  mutable std::map<std::string, std::optional<PixelBuffer>, std::less<>> icon_pictures_;
  mutable std::map<std::string, std::optional<PixelBuffer>, std::less<>> image_pictures_;
};

// The state of the panel editor's canvas to draw.
struct PanelRenderOptions {
  std::string screen;   // as the editor lists it ("07", "FF"); empty: the first listed
  int language = -1;    // 0..4; -1: the panel's default language
  int style = 0;        // 0-based style index
  std::string palette;  // a palette path; empty: the program's choice for the panel
  bool nested_palette_context = false;  // the model whose palette context is grandparent:parent
  bool border = false;  // the selection border's first frame around element 0
  int grid = 0;         // the dot grid's size (nothing for 2 or less)
};

// Reads the panel file `node` and draws it into a 576 x 486 buffer as the editor shows it.
// Rejected when the node is not a panel file, the screen is not one of the panel's, or no palette
// can be had; a panel that ends early is drawn as far as it was read.
Result RenderPanelNode(const TArbol& tree, const TNodo& node, const TMHWFont& fonts,
                       const PanelRenderOptions& options, PixelBuffer& out);

}  // namespace corvane

// The panel editor's commands that need no window: creating and cloning elements on the shown
// screen, typed coordinates and sizes, nudging with the keyboard, the element limit of saving, the
// filters of the number boxes and the partial redraw that keeps typing fast on large panels.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "render/panel_render.h"
#include "resources/panel.h"
#include "resources/panel_layout.h"

namespace corvane {

// Panels with more elements than this cannot be saved while the main window's limit option is on.
inline constexpr int kPanelSaveLimit = 183;
inline bool OverSaveLimit(const TMHWPanel& panel) {
  return static_cast<int>(panel.elements.size()) > kPanelSaveLimit;
}

// Inserts a new element of `kind` after `selected`, visible on the listed screen `screen` ("FF"
// stands for screen 31). Its index, or -1 when nothing was inserted.
int CreateOnScreen(TMHWPanel& panel, int selected, int kind, std::string_view screen);
// Copies element i (not element 0) after it, 10 pixels right and down, then keeps the copy inside
// element 0. The copy's index, or -1.
int CloneInside(TMHWPanel& panel, int i);

// A coordinate or size typed into the editor's boxes (x, y in the element's stored coordinates).
enum class GeometryField { X, Y, Width, Height };
// Applies the typed value to element i when the element stays inside its limit (element 0's
// rectangle for other elements, the canvas for element 0); false (panel untouched) otherwise.
// Element 0's width and height are raised so that it keeps enclosing the other listed elements.
bool TypeGeometry(TMHWPanel& panel, const std::vector<int>& list, int i, GeometryField field,
                  int value);
// Moves element i by (dx, dy) pixels, kept inside element 0 (the canvas for element 0). True when
// it moved.
bool Nudge(TMHWPanel& panel, const std::vector<int>& list, int i, int dx, int dy);

// The text of a hexadecimal box: letters made capitals, everything but hex digits removed; an
// emptied box becomes `empty`.
std::string HexBoxText(std::string_view text, std::string_view empty);
// The text of a decimal box: only digits stay; an emptied box becomes "0".
std::string DigitBoxText(std::string_view text);

// The partial redraw: the listed elements from `selected` on, painted straight onto the canvas in
// list order (the elements before it are already there).
void RedrawFrom(PixelBuffer& canvas, const TMHWPanel& panel, const std::vector<int>& list,
                int selected, const PanelView& view, const PanelPalette& palette,
                const PanelSources& sources);

// The remote-control keys by entry: entry n is key code 601 + n ("0" .. "9", "A" .. "OK").
inline constexpr int kFirstKeyCode = 601;
const std::vector<std::string>& KeyNames();

}  // namespace corvane

#include "document/panel_commands.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace corvane {

int CreateOnScreen(TMHWPanel& panel, int selected, int kind, std::string_view screen) {
  const int number = ScreenNumber(screen);
  if (number < 0 || !panel.NuevoElemento(selected, kind, number)) return -1;
  return selected + 1;
}

int CloneInside(TMHWPanel& panel, int i) {
  if (i <= 0 || !panel.ClonaElemento(i)) return -1;
  HoldInsideElementZero(panel, i + 1);
  return i + 1;
}

namespace {

// One axis of a rectangle: the two coordinates and the canvas size along it.
struct Axis {
  int PanelRect::*low;
  int PanelRect::*high;
  int TElementoPanel::*stored_low;
  int TElementoPanel::*stored_high;
  int canvas;
};

constexpr Axis kHorizontal{&PanelRect::x1, &PanelRect::x2, &TElementoPanel::x1, &TElementoPanel::x2,
                           kCanvasWidth};
constexpr Axis kVertical{&PanelRect::y1, &PanelRect::y2, &TElementoPanel::y1, &TElementoPanel::y2,
                         kCanvasHeight};

}  // namespace

bool TypeGeometry(TMHWPanel& panel, const std::vector<int>& list, int i, GeometryField field,
                  int value) {
  if (i < 0 || i >= static_cast<int>(panel.elements.size()) || value < 0) return false;
  const Axis& a =
      field == GeometryField::X || field == GeometryField::Width ? kHorizontal : kVertical;
  const bool position = field == GeometryField::X || field == GeometryField::Y;
  TElementoPanel& e = panel.elements[i];
  const int low = e.*a.stored_low;
  const int size = std::abs(e.*a.stored_high - low) + 1;
  // The last pixel the element may reach, in its own coordinates.
  const int offset = i == 0 ? 0 : AbsoluteRect(panel, 0).*a.low;
  const int limit = (i == 0 ? a.canvas - 1 : AbsoluteRect(panel, 0).*a.high) - offset;
  if (position) {
    if (value + size - 1 > limit) return false;
    e.*a.stored_low = value;
    e.*a.stored_high = value + size - 1;
    return true;
  }
  if (value < 1 || low + value - 1 > limit) return false;
  int high = low + value - 1;
  if (i == 0)
    for (int other : list)
      if (other > 0 && other < static_cast<int>(panel.elements.size()))
        high = std::max(high, AbsoluteRect(panel, other).*a.high);
  e.*a.stored_high = high;
  return true;
}

bool Nudge(TMHWPanel& panel, const std::vector<int>& list, int i, int dx, int dy) {
  if (i < 0 || i >= static_cast<int>(panel.elements.size())) return false;
  const PanelRect r = AbsoluteRect(panel, i);
  Grab grab;
  grab.element = i;
  grab.mode = DragMode::Move;
  grab.right = r.x2 - r.x1;
  grab.bottom = r.y2 - r.y1;
  return DragTo(panel, list, grab, r.x1 + dx, r.y1 + dy, 1);
}

std::string HexBoxText(std::string_view text, std::string_view empty) {
  std::string out;
  for (unsigned char c : text)
    if (std::isxdigit(c)) out += static_cast<char>(std::toupper(c));
  return out.empty() ? std::string(empty) : out;
}

std::string DigitBoxText(std::string_view text) {
  std::string out;
  for (unsigned char c : text)
    if (std::isdigit(c)) out += static_cast<char>(c);
  return out.empty() ? std::string("0") : out;
}

void RedrawFrom(PixelBuffer& canvas, const TMHWPanel& panel, const std::vector<int>& list,
                int selected, const PanelView& view, const PanelPalette& palette,
                const PanelSources& sources) {
  auto from = std::find(list.begin(), list.end(), selected);
  for (auto it = from; it != list.end(); ++it)
    DrawElement(canvas, panel, *it, view, palette, sources);
}

const std::vector<std::string>& KeyNames() {
  static const std::vector<std::string> kNames = {
      "0", "1",    "2",      "3",    "4",       "5",      "6",    "7",    "8",     "9",
      "A", "B",    "C",      "D",    "E",       "Pilote", "Prog", "X",    "o->",   "Perso",
      "+", "Serv", "TV/Sat", "Mute", "Standby", "UP",     "DOWN", "LEFT", "RIGHT", "OK"};
  return kNames;
}

}  // namespace corvane

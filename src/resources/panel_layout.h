// The panel editor's rules that need no window: the screen list, the elements of a screen, where
// an element lies on the canvas, finding the icon collection and images a panel draws, and moving
// and resizing elements with the mouse.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "resources/panel.h"

namespace corvane {

class TNodo;
class TArbol;

struct PanelRect {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool Contains(int x, int y) const { return x >= x1 && x <= x2 && y >= y1 && y <= y2; }
  bool operator==(const PanelRect&) const = default;
};

// The screens as the editor lists them, sorted as texts: two hex digits ("07", "1F") for every
// screen bit of any mask that is not all 32 bits, "FF" when some mask is empty, and "00" when the
// list would otherwise be empty.
std::vector<std::string> ScreenList(const TMHWPanel& panel);
// The screen number a listed text stands for, taken modulo 32 ("FF" -> 31); -1 when the text is
// not hexadecimal.
int ScreenNumber(std::string_view text);
// The indices of the elements shown on a listed screen, in increasing order: those whose mask has
// the screen's bit, or for "FF" those whose mask is empty.
std::vector<int> ElementList(const TMHWPanel& panel, std::string_view screen);

// How many styles an element of the kind may have (3, 2 or 1).
int StylesAllowed(int kind);

// Element i's rectangle on the canvas: its own for element 0, otherwise moved by element 0's
// top-left corner.
PanelRect AbsoluteRect(const TMHWPanel& panel, int i);
// Stores an absolute rectangle back into element i (relative to element 0 for i > 0).
void SetAbsoluteRect(TMHWPanel& panel, int i, const PanelRect& r);

// True when `collection` is the name (up to its first ".") of an icon collection file beside the
// panel file.
bool IconCollectionPresent(const TNodo& panel_node, std::string_view collection);
// The first file beside the panel file whose name contains collection + ".ic", letter case
// ignored; nullptr when there is none.
const TNodo* FindIconCollection(const TNodo& panel_node, std::string_view collection);
// The image named DIR:NAME.rf4 (letter case ignored): the last file named NAME.im? that lies in a
// directory DIR below the root or in a sub-directory of one; nullptr when there is none.
const TNodo* FindImage(const TArbol& tree, std::string_view reference);

// Panel references DIR:NAME of every panel file (".pa" and one more character) that lies in a
// directory below the root or in a sub-directory of one, in tree order.
std::vector<std::string> PanelReferences(const TArbol& tree);
// Image references DIR:NAME.rf4 of every image file found the same way, in tree order.
std::vector<std::string> ImageReferences(const TArbol& tree);
// The icon collection names (file names up to their first ".") beside the panel file.
std::vector<std::string> IconCollectionNames(const TNodo& panel_node);

// After ClonaElemento: keeps the copy at index i inside element 0 (moved left or up so that its
// right or bottom edge is element 0's at most).
void HoldInsideElementZero(TMHWPanel& panel, int i);

// Mouse editing of one element on the canvas.
enum class DragMode { None, Move, Top, Bottom, Left, Right };
struct Grab {
  int element = -1;  // -1: no element under the pointer
  DragMode mode = DragMode::None;
  int left = 0, top = 0, right = 0, bottom = 0;  // X - x1, Y - y1, x2 - X, y2 - Y
};
// The topmost listed element under (x, y) (the list tested from its last entry), with the edge
// zone grabbed (3 pixels inside the top, bottom, left or right edge, in that order) or Move.
Grab GrabAt(const TMHWPanel& panel, const std::vector<int>& list, int x, int y);
// Moves or resizes the grabbed element to follow the pointer at (x, y) with grid size g (1..10),
// kept inside element 0 (or the canvas for element 0), element 0 kept around the other listed
// elements. True when its rectangle changed.
bool DragTo(TMHWPanel& panel, const std::vector<int>& list, const Grab& grab, int x, int y, int g);

}  // namespace corvane

#include "resources/panel_layout.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "base/bytes.h"
#include "firmware/tree.h"

namespace corvane {

namespace {

constexpr std::uint32_t kAllScreens = 0xFFFFFFFFu;

// The three characters that end one before the end of the name, lower-cased (".ic", ".im").
std::string KindMark(std::string_view name) {
  if (name.size() < 4) return {};
  return LowerName(name.substr(name.size() - 4, 3));
}

std::string_view UpToFirstDot(std::string_view name) { return name.substr(0, name.find('.')); }

int Snap(int v, int g) { return v > 0 && g > 0 ? v - v % g : v; }

}  // namespace

std::vector<std::string> ScreenList(const TMHWPanel& panel) {
  std::uint32_t bits = 0;
  bool empty_mask = false;
  for (const auto& e : panel.elements) {
    if (e.visibility == 0) empty_mask = true;
    if (e.visibility != kAllScreens) bits |= e.visibility;
  }
  std::vector<std::string> list;
  char text[3];
  for (int n = 0; n < 32; ++n) {
    if ((bits >> n & 1) == 0) continue;
    std::snprintf(text, sizeof text, "%02X", n);
    list.emplace_back(text);
  }
  if (empty_mask) list.emplace_back("FF");
  if (list.empty()) list.emplace_back("00");
  std::sort(list.begin(), list.end());
  return list;
}

int ScreenNumber(std::string_view text) {
  std::int64_t value = HexAEntero(text);
  return value < 0 ? -1 : static_cast<int>(value % 32);
}

std::vector<int> ElementList(const TMHWPanel& panel, std::string_view screen) {
  std::vector<int> list;
  bool empty_masks = screen == "FF";
  int n = ScreenNumber(screen);
  for (std::size_t i = 0; i < panel.elements.size(); ++i) {
    std::uint32_t mask = panel.elements[i].visibility;
    if (empty_masks ? mask == 0 : (n >= 0 && (mask >> n & 1) != 0))
      list.push_back(static_cast<int>(i));
  }
  return list;
}

int StylesAllowed(int kind) {
  switch (kind) {
    case kButton:
    case kIconBox:
      return 3;
    case kInputBox:
    case kListBox:
    case kEnumBox:
    case kCheckBox:
    case kBarGraph:
    case kEditBox:
    case kWindow:
      return 2;
    default:
      return 1;
  }
}

PanelRect AbsoluteRect(const TMHWPanel& panel, int i) {
  if (i < 0 || i >= static_cast<int>(panel.elements.size())) return {};
  const auto& e = panel.elements[i];
  PanelRect r{e.x1, e.y1, e.x2, e.y2};
  if (i == 0) return r;
  const auto& zero = panel.elements[0];
  return {r.x1 + zero.x1, r.y1 + zero.y1, r.x2 + zero.x1, r.y2 + zero.y1};
}

void SetAbsoluteRect(TMHWPanel& panel, int i, const PanelRect& r) {
  if (i < 0 || i >= static_cast<int>(panel.elements.size())) return;
  int dx = i == 0 ? 0 : panel.elements[0].x1;
  int dy = i == 0 ? 0 : panel.elements[0].y1;
  auto& e = panel.elements[i];
  e.x1 = r.x1 - dx;
  e.y1 = r.y1 - dy;
  e.x2 = r.x2 - dx;
  e.y2 = r.y2 - dy;
}

bool IconCollectionPresent(const TNodo& panel_node, std::string_view collection) {
  const std::vector<std::string> names = IconCollectionNames(panel_node);
  return std::find(names.begin(), names.end(), collection) != names.end();
}

const TNodo* FindIconCollection(const TNodo& panel_node, std::string_view collection) {
  const TNodo* parent = panel_node.Parent();
  if (parent == nullptr) return nullptr;
  std::string wanted = LowerName(std::string(collection) + ".ic");
  for (const TNodo* sibling : parent->Children())
    if (!sibling->IsDirectory() && LowerName(sibling->Text).find(wanted) != std::string::npos)
      return sibling;
  return nullptr;
}

namespace {

// Calls visit(directory, file) for every file whose kind mark is `mark` lying in a directory below
// the root or in a sub-directory of one, in tree order.
template <typename Visit>
void ForEachResource(const TArbol& tree, std::string_view mark, Visit visit) {
  const TNodo* root = tree.Root();
  if (root == nullptr) return;
  auto files = [&](const TNodo* dir) {
    for (const TNodo* file : dir->Children())
      if (!file->IsDirectory() && KindMark(file->Text) == mark) visit(*dir, *file);
  };
  for (const TNodo* a : root->Children()) {
    if (!a->IsDirectory()) continue;
    files(a);
    for (const TNodo* b : a->Children())
      if (b->IsDirectory()) files(b);
  }
}

std::string ImageReference(const TNodo& dir, const TNodo& file) {
  return dir.Text + ":" + std::string(UpToFirstDot(file.Text)) + ".rf4";
}

}  // namespace

const TNodo* FindImage(const TArbol& tree, std::string_view reference) {
  const TNodo* found = nullptr;
  std::string wanted = LowerName(reference);
  ForEachResource(tree, ".im", [&](const TNodo& dir, const TNodo& file) {
    if (LowerName(ImageReference(dir, file)) == wanted) found = &file;
  });
  return found;
}

std::vector<std::string> PanelReferences(const TArbol& tree) {
  std::vector<std::string> out;
  ForEachResource(tree, ".pa", [&](const TNodo& dir, const TNodo& file) {
    out.push_back(dir.Text + ":" + std::string(UpToFirstDot(file.Text)));
  });
  return out;
}

std::vector<std::string> ImageReferences(const TArbol& tree) {
  std::vector<std::string> out;
  ForEachResource(tree, ".im", [&](const TNodo& dir, const TNodo& file) {
    out.push_back(ImageReference(dir, file));
  });
  return out;
}

std::vector<std::string> IconCollectionNames(const TNodo& panel_node) {
  std::vector<std::string> out;
  if (const TNodo* parent = panel_node.Parent())
    for (const TNodo* sibling : parent->Children())
      if (!sibling->IsDirectory() && KindMark(sibling->Text) == ".ic")
        out.emplace_back(UpToFirstDot(sibling->Text));
  return out;
}

void HoldInsideElementZero(TMHWPanel& panel, int i) {
  if (i <= 0 || i >= static_cast<int>(panel.elements.size())) return;
  PanelRect zero = AbsoluteRect(panel, 0);
  PanelRect r = AbsoluteRect(panel, i);
  if (r.x2 >= zero.x2) {
    r.x1 -= r.x2 - zero.x2;
    r.x2 = zero.x2;
  }
  if (r.y2 >= zero.y2) {
    r.y1 -= r.y2 - zero.y2;
    r.y2 = zero.y2;
  }
  SetAbsoluteRect(panel, i, r);
}

Grab GrabAt(const TMHWPanel& panel, const std::vector<int>& list, int x, int y) {
  Grab grab;
  for (auto it = list.rbegin(); it != list.rend(); ++it) {
    PanelRect r = AbsoluteRect(panel, *it);
    if (!r.Contains(x, y)) continue;
    grab.element = *it;
    grab.mode = y <= r.y1 + 2   ? DragMode::Top
                : y >= r.y2 - 2 ? DragMode::Bottom
                : x <= r.x1 + 2 ? DragMode::Left
                : x >= r.x2 - 2 ? DragMode::Right
                                : DragMode::Move;
    grab.left = x - r.x1;
    grab.top = y - r.y1;
    grab.right = r.x2 - x;
    grab.bottom = r.y2 - y;
    break;
  }
  return grab;
}

bool DragTo(TMHWPanel& panel, const std::vector<int>& list, const Grab& grab, int x, int y, int g) {
  const int i = grab.element;
  if (i < 0 || i >= static_cast<int>(panel.elements.size()) || grab.mode == DragMode::None)
    return false;
  const PanelRect old = AbsoluteRect(panel, i);
  const PanelRect bounds =
      i == 0 ? PanelRect{0, 0, kCanvasWidth - 1, kCanvasHeight - 1} : AbsoluteRect(panel, 0);
  // Element 0 keeps enclosing the other listed elements.
  int lowest = INT32_MIN, rightmost = INT32_MIN;
  if (i == 0)
    for (int other : list)
      if (other != 0) {
        PanelRect r = AbsoluteRect(panel, other);
        lowest = std::max(lowest, r.y2);
        rightmost = std::max(rightmost, r.x2);
      }
  auto clamp_x = [](int v) { return std::clamp(v, 0, kCanvasWidth - 1); };
  auto clamp_y = [](int v) { return std::clamp(v, 0, kCanvasHeight - 1); };
  PanelRect r = old;
  switch (grab.mode) {
    case DragMode::Move: {
      int w = old.x2 - old.x1, h = old.y2 - old.y1;
      r.x1 = Snap(std::max(clamp_x(x) - grab.left, bounds.x1), g);
      r.y1 = Snap(std::max(clamp_y(y) - grab.top, bounds.y1), g);
      r.x2 = r.x1 + w;
      r.y2 = r.y1 + h;
      if (r.x2 >= bounds.x2) {
        r.x2 = bounds.x2;
        r.x1 = r.x2 - w;
      }
      if (r.y2 >= bounds.y2) {
        r.y2 = bounds.y2;
        r.y1 = r.y2 - h;
      }
      break;
    }
    case DragMode::Top:
      r.y1 = std::max(Snap(clamp_y(y) - grab.top, g), bounds.y1);
      if (r.y1 >= r.y2 - 2) r.y1 = r.y2 - 3;
      if (lowest != INT32_MIN) r.y1 = std::min(r.y1, old.y1 + old.y2 - lowest);
      break;
    case DragMode::Bottom:
      r.y2 = std::min(Snap(clamp_y(y) + grab.bottom, g), bounds.y2);
      if (r.y2 <= r.y1 + 2) r.y2 = r.y1 + 3;
      if (lowest != INT32_MIN) r.y2 = std::max(r.y2, lowest);
      break;
    case DragMode::Left:
      x = clamp_x(x - std::abs(x - grab.left) % std::max(g, 1));
      r.x1 = std::max(Snap(x - grab.left, g), bounds.x1);
      if (r.x1 >= r.x2 - 2) r.x1 = r.x2 - 3;
      if (rightmost != INT32_MIN) r.x1 = std::min(r.x1, old.x1 + old.x2 - rightmost);
      break;
    case DragMode::Right:
      x = clamp_x(x - std::abs(x - grab.left) % std::max(g, 1));
      r.x2 = std::min(Snap(x + grab.right, g), bounds.x2);
      if (r.x2 <= r.x1 + 2) r.x2 = r.x1 + 3;
      if (rightmost != INT32_MIN) r.x2 = std::max(r.x2, rightmost);
      break;
    case DragMode::None:
      break;
  }
  if (r == old) return false;
  SetAbsoluteRect(panel, i, r);
  return true;
}

}  // namespace corvane

// Panels: one screen layout of the receiver's user interface, a list of rectangular elements.
//
// TMHWPanel is the decoded form of a panel file (.pan, .paa, .paz); Read and Write convert it
// from and to the plain (decompressed) bytes, Create and Guarda from and to a tree node's stored
// bytes. The element operations are those of the panel editor. Drawing lives in
// render/panel_render.h; the screen and geometry rules of the editor in resources/panel_layout.h.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <span>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "base/result.h"

namespace corvane {

class TNodo;

// The canvas a panel is drawn on.
inline constexpr int kCanvasWidth = 576;
inline constexpr int kCanvasHeight = 486;

inline constexpr int kPanelLanguages = 5;

// Element kinds (the order of the editor's kind selector, code = position + 1).
enum ElementKind : int {
  kPanbox = 1,
  kButton = 2,
  kInputBox = 3,
  kTextBox = 4,
  kFrame = 5,
  kSPanel = 6,
  kListBox = 7,
  kEnumBox = 8,
  kCounter = 9,
  kSubPanel = 10,
  kCheckBox = 11,
  kRadioBox = 12,
  kBarGraph = 13,
  kIconBox = 14,
  kEditBox = 15,
  kWindow = 16,
  kSlider = 17,
  kPanelKind = 18,
  kPoList = 19,
};
inline constexpr int kElementKinds = 19;
// "Panbox", "Button" ... by code 1..19; "" for any other code.
std::string_view ElementKindName(int kind);

// Border kinds of a style.
enum BorderKind : int {
  kBorderLine = 0,
  kBorderRounded = 1,
  kBorderRaised = 2,
  kBorderSunken = 3,
  kBorderCompound1 = 4,
  kBorderCompound2 = 5,
};

// Status bit 2: texts 1 to 4 are stored.
inline constexpr std::uint8_t kStatusMultiLanguage = 0x04;

// Own message rows of panels and text strings.
inline constexpr int kMsgPanelTruncated = 520;
inline constexpr int kMsgStringsTruncated = 521;
inline constexpr int kMsgStringsTooLarge = 522;
inline constexpr int kMsgStringTooLong = 523;
inline constexpr int kMsgPanelTooManyElements = 524;
inline constexpr int kMsgPanelTooManyFonts = 525;
inline constexpr int kMsgPanelFieldTooLarge = 526;
inline constexpr int kMsgScreenNotShown = 528;
inline constexpr int kMsgNoPalette = 529;
inline constexpr int kMsgPaletteNotFound = 530;
inline constexpr int kMsgNotAPanel = 531;

// One style: six values of 4 bits each.
struct TEstiloElemento {
  std::uint8_t background = 0;  // palette index
  std::uint8_t border = 0;      // palette index
  std::uint8_t text = 1;        // palette index
  std::uint8_t border_kind = 0;
  std::uint8_t width1 = 0;
  std::uint8_t width2 = 0;
  bool operator==(const TEstiloElemento&) const = default;
};

struct TElementoPanel {
  // Inclusive corners. Element 0 holds screen coordinates, every other element coordinates
  // relative to element 0's top-left corner.
  int x1 = 0, y1 = 0, x2 = 50, y2 = 50;
  std::uint8_t kind = kPanbox;
  std::uint8_t next_page = 0;
  std::uint8_t font_index = 0;
  std::uint8_t justification = 0;  // 0 left, 1 centre, 2 right, 3 at x1
  std::uint8_t array_index = 0;
  std::uint8_t priority = 1;
  std::uint8_t status = 0;
  std::uint8_t position = 2;
  std::uint8_t font_size = 17;
  std::uint16_t key = 0;         // 0 none, 601.. remote-control keys
  std::uint16_t method = 0xFFFF;  // 0xFFFF: none
  std::uint32_t visibility = 0;  // bit n: shown on screen n
  std::vector<TEstiloElemento> styles{TEstiloElemento{}};
  std::string name = "NEW";
  std::string variable;
  std::string next_panel;  // DIR:NAME
  std::array<std::string, kPanelLanguages> texts;

  bool operator==(const TElementoPanel&) const = default;
};

// A font of the firmware's font set as panels choose it: by name and size.
struct FontKey {
  std::string name;
  int size = 0;
};

class TMHWPanel {
 public:
  std::uint16_t init_method = 0;
  std::uint16_t refresh_method = 0;
  std::uint16_t final_method = 0;
  std::uint8_t language_mask = 1;  // bits 0..4
  std::uint8_t default_language = 0;
  std::string name;
  std::string icon_collection;
  std::vector<TElementoPanel> elements;
  std::vector<std::string> fonts;

  bool operator==(const TMHWPanel&) const = default;

  // Reads the plain bytes. Every read stays inside them: a panel that ends before its counts and
  // lengths are satisfied keeps the header, the elements read whole and the font names read,
  // and the result is Rejected (kMsgPanelTruncated) with that partial panel in place.
  Result Read(ByteView plain);
  // The plain bytes of the panel as it stands (no font-list compaction). `node_name` is the file
  // name the string area size is computed from. Refused, leaving `plain` untouched, when a count,
  // length or value does not fit its field.
  Result Write(std::string_view node_name, Bytes& plain) const;

  // Decompresses the node's stored bytes and reads them (as Read).
  Result Create(const TNodo& node);
  // Compacts the font list, writes the plain bytes and replaces the node's stored bytes by their
  // compressed form. Refused (node and panel untouched but for the compaction) when Write is.
  Result Guarda(TNodo& node);

  // Element operations. Indices out of range change nothing (and return false).
  static TElementoPanel NewElement(int kind, int screen);
  bool NuevoElemento(int i, int kind, int screen);  // inserted at i + 1 (i = -1: at 0)
  bool ClonaElemento(int i);                         // copy at i + 1, 10 right and down
  bool BorraElemento(int i);
  bool MueveElemento(int a, int b);
  bool NuevoEstilo(int i);
  bool BorraEstilo(int i, int j);  // refused when it would leave no style

  // Appends a font name; its index (the old count).
  int AnadeFuente(std::string font_name);
  // The font name at element i's font index; empty when there is none.
  std::string FontName(int i) const;
  // The index into `font_set` of the first font named like element i's font with its font size;
  // 0 when there is none.
  int BuscaFuente(int i, std::span<const FontKey> font_set) const;
  // Removes the names no element refers to, keeping every element on its name.
  void CompactaFuentes();

  // Sizes written in the header, their low 16 bits taken on writing.
  std::uint32_t StringAreaSize(std::string_view node_name) const;
  std::uint32_t TextAreaSize(int language) const;
};

// Room for a string and its terminating zero, padded to 4 bytes (0 for an empty string).
std::uint32_t PaddedSize(std::string_view s);
// Text 0 of a SubPanel: up to its first colon and at most 8 characters after it.
std::string NormalizeSubPanelText(std::string_view text);
// Text 0 of a Window: the image name after the colon cut to 8 characters, nothing after ".rf4".
std::string NormalizeWindowText(std::string_view text);
// Visibility mask from the stored shift and value, and back. A Panbox is always all 32 screens.
std::uint32_t VisibilityMask(int kind, std::uint8_t shift, std::uint32_t value);
void VisibilityFields(int kind, std::uint32_t mask, std::uint8_t& shift, std::uint32_t& value);

}  // namespace corvane

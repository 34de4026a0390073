#include "resources/panel.h"

#include <algorithm>
#include <array>
#include <bit>

#include "firmware/tree.h"
#include "resources/stored.h"

namespace corvane {

namespace {

constexpr std::array<std::string_view, kElementKinds> kKindNames = {
    "Panbox",  "Button",  "InputBox", "TextBox",  "Frame",   "SPanel",   "ListBox",
    "EnumBox", "Counter", "SubPanel", "CheckBox", "RadioBox", "BarGraph", "IconBox",
    "EditBox", "Window",  "Slider",   "Panel",    "PoList"};

// Sequential reads that never pass the plain bytes; the first read that would sets `failed`.
class Reader {
 public:
  explicit Reader(ByteView bytes) : bytes_(bytes) {}
  bool failed() const { return failed_; }
  bool Has(std::size_t n) {
    if (!failed_ && bytes_.Contains(pos_, n)) return true;
    failed_ = true;
    return false;
  }
  std::uint32_t Number(int n) {
    if (!Has(n)) return 0;
    std::uint32_t v = bytes_.ReadBE(pos_, n);
    pos_ += n;
    return v;
  }
  std::string Text(std::size_t length) {
    if (!Has(length)) return {};
    std::string s(reinterpret_cast<const char*>(bytes_.data()) + pos_, length);
    pos_ += length;
    return s;
  }
  std::string Short() { return Text(Number(1)); }
  std::string Long() { return Text(Number(2)); }
  void Skip(std::size_t n) {
    if (Has(n)) pos_ += n;
  }

 private:
  ByteView bytes_;
  std::size_t pos_ = 0;
  bool failed_ = false;
};

int ClampCoordinate(int v, int limit) { return v >= limit ? limit - 1 : v; }

bool TextStored(const TMHWPanel& panel, const TElementoPanel& e, int language) {
  if (e.kind == kInputBox) return false;
  if (language == 0) return true;
  return (e.status & kStatusMultiLanguage) != 0 && (panel.language_mask >> language & 1) != 0;
}

void Put(Bytes& out, std::uint32_t value, int n) {
  for (int i = n - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
void PutText(Bytes& out, std::string_view s, int length_bytes) {
  Put(out, static_cast<std::uint32_t>(s.size()), length_bytes);
  out.insert(out.end(), s.begin(), s.end());
}

Result FieldTooLarge(int element) {
  Message m = Message::FromRow(kMsgPanelFieldTooLarge);
  if (element >= 0) m.Text(" " + std::to_string(element));
  return Result::Refused(std::move(m));
}

bool ElementFits(const TElementoPanel& e) {
  auto coord = [](int v) { return v >= 0 && v <= 1023; };
  if (!coord(e.x1) || !coord(e.y1) || !coord(e.x2) || !coord(e.y2)) return false;
  if (e.justification > 3 || e.font_size > 63 || e.styles.size() > 255) return false;
  for (const auto& s : e.styles)
    if ((s.background | s.border | s.text | s.border_kind | s.width1 | s.width2) > 15) return false;
  if (e.name.size() > 255 || e.variable.size() > 255 || e.next_panel.size() > 255) return false;
  for (const auto& t : e.texts)
    if (t.size() > 0xFFFF) return false;
  return true;
}

}  // namespace

std::string_view ElementKindName(int kind) {
  return kind >= 1 && kind <= kElementKinds ? kKindNames[kind - 1] : std::string_view();
}

std::uint32_t PaddedSize(std::string_view s) {
  return s.empty() ? 0 : static_cast<std::uint32_t>((s.size() / 4 + 1) * 4);
}

std::string NormalizeSubPanelText(std::string_view text) {
  auto colon = text.find(':');
  if (colon == std::string_view::npos) return std::string(text.substr(0, 8));
  return std::string(text.substr(0, colon + 1)) + std::string(text.substr(colon + 1, 8));
}

std::string NormalizeWindowText(std::string_view text) {
  // Positions counted from 1, 0 when absent.
  std::size_t p = text.find(':');
  p = p == std::string_view::npos ? 0 : p + 1;
  std::size_t q = text.find(".rf4");
  q = q == std::string_view::npos ? 0 : q + 1;
  if (q > p + 9) q = p + 9;
  std::string candidate(text.substr(0, p));
  if (q > p + 1) candidate += text.substr(p, q - 1 - p);
  candidate += ".rf4";
  return candidate == ".rf4" ? std::string(text) : candidate;
}

std::uint32_t VisibilityMask(int kind, std::uint8_t shift, std::uint32_t value) {
  if (kind == kPanbox) return 0xFFFFFFFFu;
  return value << (shift % 32);
}

void VisibilityFields(int kind, std::uint32_t mask, std::uint8_t& shift, std::uint32_t& value) {
  if (kind == kPanbox) {
    shift = 0;
    value = 1;
  } else if (mask == 0) {
    shift = 32;
    value = 0;
  } else {
    shift = static_cast<std::uint8_t>(std::countr_zero(mask));
    value = mask >> shift;
  }
}

Result TMHWPanel::Read(ByteView plain) {
  *this = TMHWPanel();
  Reader r(plain);
  init_method = static_cast<std::uint16_t>(r.Number(2));
  refresh_method = static_cast<std::uint16_t>(r.Number(2));
  final_method = static_cast<std::uint16_t>(r.Number(2));
  language_mask = static_cast<std::uint8_t>(r.Number(2) & 0x1F);
  default_language = static_cast<std::uint8_t>(r.Number(1));
  name = r.Short();
  icon_collection = r.Short();
  r.Skip(2 + 10);
  std::uint32_t count = r.Number(2);
  for (std::uint32_t i = 0; i < count && !r.failed(); ++i) {
    TElementoPanel e;
    e.kind = static_cast<std::uint8_t>(r.Number(1));
    std::uint32_t high = r.Number(1);
    auto coordinate = [&](int slot, int limit) {
      int v = static_cast<int>(((high >> (2 * slot)) & 3) << 8 | r.Number(1));
      return ClampCoordinate(v, limit);
    };
    e.x1 = coordinate(0, kCanvasWidth);
    e.y1 = coordinate(1, kCanvasHeight);
    e.x2 = coordinate(2, kCanvasWidth);
    e.y2 = coordinate(3, kCanvasHeight);
    r.Skip(1);
    e.next_page = static_cast<std::uint8_t>(r.Number(1));
    auto shift = static_cast<std::uint8_t>(r.Number(1));
    e.priority = static_cast<std::uint8_t>(r.Number(1));
    e.status = static_cast<std::uint8_t>(r.Number(1));
    e.position = static_cast<std::uint8_t>(r.Number(1));
    e.font_index = static_cast<std::uint8_t>(r.Number(1));
    std::uint32_t just_size = r.Number(1);
    e.justification = static_cast<std::uint8_t>(just_size & 3);
    e.font_size = static_cast<std::uint8_t>(just_size >> 2);
    std::uint32_t styles = r.Number(1);
    e.styles.clear();
    for (std::uint32_t s = 0; s < styles && !r.failed(); ++s) {
      std::uint32_t b0 = r.Number(1), b1 = r.Number(1), b2 = r.Number(1);
      e.styles.push_back({static_cast<std::uint8_t>(b0 >> 4), static_cast<std::uint8_t>(b0 & 15),
                          static_cast<std::uint8_t>(b1 >> 4), static_cast<std::uint8_t>(b1 & 15),
                          static_cast<std::uint8_t>(b2 >> 4), static_cast<std::uint8_t>(b2 & 15)});
    }
    e.visibility = VisibilityMask(e.kind, shift, r.Number(4));
    e.key = static_cast<std::uint16_t>(r.Number(2));
    e.array_index = static_cast<std::uint8_t>(r.Number(2) & 0xFF);
    r.Skip(2);
    e.method = static_cast<std::uint16_t>(r.Number(2));
    e.name = r.Short();
    e.variable = r.Short();
    e.next_panel = r.Short();
    for (int language = 0; language < kPanelLanguages; ++language)
      if (TextStored(*this, e, language)) e.texts[language] = r.Long();
    if (e.kind == kSubPanel) e.texts[0] = NormalizeSubPanelText(e.texts[0]);
    if (e.kind == kWindow) e.texts[0] = NormalizeWindowText(e.texts[0]);
    if (!r.failed()) elements.push_back(std::move(e));
  }
  std::uint32_t font_count = r.Number(1);
  for (std::uint32_t i = 0; i < font_count && !r.failed(); ++i) {
    std::string font = r.Short();
    if (!r.failed()) fonts.push_back(std::move(font));
  }
  if (r.failed()) return Result::Rejected(Message::FromRow(kMsgPanelTruncated));
  return Result::Ok();
}

Result TMHWPanel::Write(std::string_view node_name, Bytes& plain) const {
  if (elements.size() > 0xFFFF) return Result::Refused(Message::FromRow(kMsgPanelTooManyElements));
  if (fonts.size() > 255) return Result::Refused(Message::FromRow(kMsgPanelTooManyFonts));
  bool fonts_fit = std::all_of(fonts.begin(), fonts.end(), [](auto& f) { return f.size() <= 255; });
  if (name.size() > 255 || icon_collection.size() > 255 || !fonts_fit || language_mask > 0x1F)
    return FieldTooLarge(-1);
  for (std::size_t i = 0; i < elements.size(); ++i)
    if (!ElementFits(elements[i])) return FieldTooLarge(static_cast<int>(i));

  Bytes out;
  Put(out, init_method, 2);
  Put(out, refresh_method, 2);
  Put(out, final_method, 2);
  Put(out, language_mask, 2);
  Put(out, default_language, 1);
  PutText(out, name, 1);
  PutText(out, icon_collection, 1);
  Put(out, StringAreaSize(node_name) & 0xFFFF, 2);
  for (int language = 0; language < kPanelLanguages; ++language)
    Put(out, TextAreaSize(language) & 0xFFFF, 2);
  Put(out, static_cast<std::uint32_t>(elements.size()), 2);
  for (const auto& e : elements) {
    Put(out, e.kind, 1);
    Put(out, (e.x1 >> 8 & 3) | (e.y1 >> 8 & 3) << 2 | (e.x2 >> 8 & 3) << 4 | (e.y2 >> 8 & 3) << 6, 1);
    Put(out, e.x1 & 0xFF, 1);
    Put(out, e.y1 & 0xFF, 1);
    Put(out, e.x2 & 0xFF, 1);
    Put(out, e.y2 & 0xFF, 1);
    Put(out, 0, 1);
    Put(out, e.next_page, 1);
    std::uint8_t shift = 0;
    std::uint32_t value = 0;
    VisibilityFields(e.kind, e.visibility, shift, value);
    Put(out, shift, 1);
    Put(out, e.priority, 1);
    Put(out, e.status, 1);
    Put(out, e.position, 1);
    Put(out, e.font_index, 1);
    Put(out, e.justification | e.font_size << 2, 1);
    Put(out, static_cast<std::uint32_t>(e.styles.size()), 1);
    for (const auto& s : e.styles) {
      Put(out, s.background << 4 | s.border, 1);
      Put(out, s.text << 4 | s.border_kind, 1);
      Put(out, s.width1 << 4 | s.width2, 1);
    }
    Put(out, value, 4);
    Put(out, e.key, 2);
    Put(out, e.array_index, 2);
    Put(out, 0, 2);
    Put(out, e.method, 2);
    PutText(out, e.name, 1);
    PutText(out, e.variable, 1);
    PutText(out, e.next_panel, 1);
    for (int language = 0; language < kPanelLanguages; ++language)
      if (TextStored(*this, e, language)) PutText(out, e.texts[language], 2);
  }
  Put(out, static_cast<std::uint32_t>(fonts.size()), 1);
  for (const auto& f : fonts) PutText(out, f, 1);
  plain = std::move(out);
  return Result::Ok();
}

Result TMHWPanel::Create(const TNodo& node) { return Read(PlainOf(node)); }

Result TMHWPanel::Guarda(TNodo& node) {
  CompactaFuentes();
  Bytes plain;
  if (Result r = Write(node.Text, plain); !r) return r;
  StorePlain(node, plain);
  return Result::Ok();
}

TElementoPanel TMHWPanel::NewElement(int kind, int screen) {
  TElementoPanel e;
  e.kind = static_cast<std::uint8_t>(kind);
  e.visibility = 1u << (screen & 31);
  return e;
}

bool TMHWPanel::NuevoElemento(int i, int kind, int screen) {
  if (i < -1 || i >= static_cast<int>(elements.size()) || elements.size() >= 0xFFFF) return false;
  elements.insert(elements.begin() + (i + 1), NewElement(kind, screen));
  return true;
}

bool TMHWPanel::ClonaElemento(int i) {
  if (i < 0 || i >= static_cast<int>(elements.size()) || elements.size() >= 0xFFFF) return false;
  TElementoPanel copy = elements[i];
  copy.x1 += 10;
  copy.y1 += 10;
  copy.x2 += 10;
  copy.y2 += 10;
  elements.insert(elements.begin() + (i + 1), std::move(copy));
  return true;
}

bool TMHWPanel::BorraElemento(int i) {
  if (i < 0 || i >= static_cast<int>(elements.size())) return false;
  elements.erase(elements.begin() + i);
  return true;
}

bool TMHWPanel::MueveElemento(int a, int b) {
  int n = static_cast<int>(elements.size());
  if (a < 0 || a >= n || b < 0 || b >= n) return false;
  TElementoPanel e = std::move(elements[a]);
  elements.erase(elements.begin() + a);
  elements.insert(elements.begin() + b, std::move(e));
  return true;
}

bool TMHWPanel::NuevoEstilo(int i) {
  if (i < 0 || i >= static_cast<int>(elements.size()) || elements[i].styles.size() >= 255)
    return false;
  elements[i].styles.push_back({0, 0, 0, 0, 0, 0});
  return true;
}

bool TMHWPanel::BorraEstilo(int i, int j) {
  if (i < 0 || i >= static_cast<int>(elements.size())) return false;
  auto& styles = elements[i].styles;
  if (j < 0 || j >= static_cast<int>(styles.size()) || styles.size() < 2) return false;
  styles.erase(styles.begin() + j);
  return true;
}

int TMHWPanel::AnadeFuente(std::string font_name) {
  fonts.push_back(std::move(font_name));
  return static_cast<int>(fonts.size()) - 1;
}

std::string TMHWPanel::FontName(int i) const {
  if (i < 0 || i >= static_cast<int>(elements.size())) return {};
  std::size_t f = elements[i].font_index;
  return f < fonts.size() ? fonts[f] : std::string();
}

int TMHWPanel::BuscaFuente(int i, std::span<const FontKey> font_set) const {
  if (i < 0 || i >= static_cast<int>(elements.size())) return 0;
  std::string wanted = FontName(i);
  for (std::size_t f = 0; f < font_set.size(); ++f)
    if (font_set[f].name == wanted && font_set[f].size == elements[i].font_size)
      return static_cast<int>(f);
  return 0;
}

void TMHWPanel::CompactaFuentes() {
  // Walk from the last name down so that removing one does not move the ones still to check.
  for (std::size_t f = fonts.size(); f-- > 0;) {
    bool used = std::any_of(elements.begin(), elements.end(), [&](const TElementoPanel& e) {
      return e.font_index < fonts.size() && fonts[e.font_index] == fonts[f];
    });
    if (used) continue;
    fonts.erase(fonts.begin() + static_cast<std::ptrdiff_t>(f));
    for (auto& e : elements)
      if (e.font_index > f) --e.font_index;
  }
}

std::uint32_t TMHWPanel::StringAreaSize(std::string_view node_name) const {
  std::string_view base = node_name;
  bool keep_whole = !node_name.empty() && (node_name.back() == 'a' || node_name.back() == 'A');
  if (!keep_whole) base = node_name.substr(0, node_name.size() >= 4 ? node_name.size() - 4 : 0);
  std::uint32_t size = PaddedSize(base);
  for (const auto& e : elements) {
    size += PaddedSize(e.name) + PaddedSize(e.variable) + PaddedSize(e.next_panel);
    if (e.kind == kInputBox) size += 32;
  }
  return size;
}

std::uint32_t TMHWPanel::TextAreaSize(int language) const {
  std::uint32_t size = 0;
  if (language < 0 || language >= kPanelLanguages) return 0;
  for (const auto& e : elements) size += PaddedSize(e.texts[language]);
  return size;
}

}  // namespace corvane

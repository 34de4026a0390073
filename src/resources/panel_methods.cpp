#include "resources/panel_methods.h"

namespace corvane {

namespace {

std::size_t SkipShort(ByteView plain, std::size_t pos) {
  return pos + 1 + plain.at(pos);
}
std::size_t SkipLong(ByteView plain, std::size_t pos) {
  return pos + 2 + plain.u16be(pos);
}

// `length` bytes at pos, stopping at the end of the bytes.
std::string Text(ByteView plain, std::size_t pos, std::size_t length) {
  std::string text;
  for (std::size_t i = 0; i < length && pos + i < plain.size(); ++i)
    text.push_back(static_cast<char>(plain.at(pos + i)));
  return text;
}

}  // namespace

PanelMethods ReadPanelMethods(ByteView plain) {
  PanelMethods panel;
  panel.init_method = static_cast<std::uint16_t>(plain.u16be(0));
  panel.refresh_method = static_cast<std::uint16_t>(plain.u16be(2));
  panel.final_method = static_cast<std::uint16_t>(plain.u16be(4));
  const unsigned language_mask = plain.u16be(6) & 0x1F;
  std::size_t pos = SkipShort(plain, 9);  // panel name
  panel.icon_collection = Text(plain, pos + 1, plain.at(pos));
  pos = SkipShort(plain, pos);
  pos += 12;  // string and text area sizes
  const std::uint32_t count = plain.u16be(pos);
  pos += 2;
  for (std::uint32_t k = 0; k < count && pos < plain.size(); ++k) {
    const std::uint8_t kind = plain.at(pos);
    const std::uint8_t status = plain.at(pos + 10);
    const std::size_t styles = 3u * plain.at(pos + 14);
    PanelMethods::Element element;
    element.method = static_cast<std::uint16_t>(plain.u16be(pos + 25 + styles));
    const std::size_t name_at = pos + 27 + styles;
    element.kind = kind;
    element.name = Text(plain, name_at + 1, plain.at(name_at));
    pos = SkipShort(plain, name_at);  // name
    pos = SkipShort(plain, pos);      // variable
    pos = SkipShort(plain, pos);      // next panel
    if (kind != 3) {
      element.text0 = Text(plain, pos + 2, plain.u16be(pos));
      pos = SkipLong(plain, pos);
      for (unsigned language = 1; language <= 4; ++language)
        if ((status & 0x04) && (language_mask & (1u << language))) pos = SkipLong(plain, pos);
    }
    panel.elements.push_back(std::move(element));
  }
  return panel;
}

}  // namespace corvane

#include "demo_panels.h"

#include <string>

#include "resources/panel.h"
#include "resources/strings_list.h"

namespace corvane::demo {

namespace {

constexpr std::uint32_t kScreen0 = 1u << 0;
constexpr std::uint32_t kScreen1 = 1u << 1;

TElementoPanel Element(int kind, int x1, int y1, int x2, int y2, std::uint32_t screens,
                       TEstiloElemento style, std::string spanish, std::string english = {}) {
  TElementoPanel e = TMHWPanel::NewElement(kind, 0);
  e.x1 = x1;
  e.y1 = y1;
  e.x2 = x2;
  e.y2 = y2;
  e.visibility = screens;
  e.styles = {style};
  e.texts[0] = std::move(spanish);
  e.texts[1] = std::move(english);
  if (!e.texts[1].empty()) e.status |= kStatusMultiLanguage;
  e.justification = 1;
  e.font_size = 24;  // the demo's "fudemi"
  e.name = "E" + std::to_string(x1) + "_" + std::to_string(y1);
  return e;
}

Bytes Plain(const TMHWPanel& panel, const char* file_name) {
  Bytes plain;
  panel.Write(file_name, plain);
  return plain;
}

Bytes Plain(const TMHWStringsList& list) {
  Bytes plain;
  list.Write(plain);
  return plain;
}

}  // namespace

Bytes MenuPanel() {
  TMHWPanel p;
  p.name = "MENU";
  p.icon_collection = "icons";
  p.language_mask = 0b00011;
  p.init_method = 0x0001;
  p.refresh_method = 0x0002;
  p.final_method = 0x0003;
  p.fonts = {"fudemi"};
  // Styles: background, border, text, border kind, width 1, width 2.
  p.elements.push_back(Element(kPanbox, 40, 30, 535, 455, 0xFFFFFFFF, {1, 2, 3, kBorderRounded, 3, 0}, ""));
  p.elements.push_back(Element(kTextBox, 20, 12, 475, 45, kScreen0 | kScreen1,
                               {4, 5, 15, kBorderCompound1, 2, 1}, "Men\xFA principal", "Main menu"));
  const char* labels[][2] = {{"L\xEDnea", "Line"},        {"Redondeada", "Rounded"},
                             {"Bisel elevado", "Raised"}, {"Bisel hundido", "Sunken"},
                             {"Compuesto 1", "Compound 1"}, {"Compuesto 2", "Compound 2"}};
  for (int k = 0; k < 6; ++k) {
    int y = 60 + 42 * k;
    auto e = Element(kButton, 20, y, 220, y + 34, kScreen0, {6, 7, 15, static_cast<std::uint8_t>(k), 2, 2},
                     labels[k][0], labels[k][1]);
    e.styles.push_back({7, 6, 0, static_cast<std::uint8_t>(k), 3, 1});
    e.key = static_cast<std::uint16_t>(601 + k);
    if (k < 2) {  // the buttons the menu script works with
      e.method = static_cast<std::uint16_t>(0x0010 + k);
      e.name = k == 0 ? "OK" : "CANCEL";
    }
    e.justification = static_cast<std::uint8_t>(k % 3);
    p.elements.push_back(e);
  }
  p.elements.push_back(Element(kIconBox, 250, 60, 281, 91, kScreen0, {1, 0, 0, kBorderLine, 0, 0}, "ok"));
  p.elements.push_back(Element(kWindow, 250, 110, 475, 300, kScreen0, {0, 3, 0, kBorderLine, 1, 0},
                               "panels:back.rf4"));
  p.elements.push_back(Element(kListBox, 20, 60, 475, 300, kScreen1, {8, 9, 15, kBorderSunken, 2, 0},
                               "Canales\nFavoritos\nAjustes\nIdioma", "Channels\nFavourites\nSettings\nLanguage"));
  auto input = Element(kInputBox, 20, 320, 475, 350, kScreen1, {0, 15, 15, kBorderLine, 1, 0}, "");
  input.variable = "PIN";
  p.elements.push_back(input);
  p.elements.push_back(Element(kTextBox, 20, 380, 475, 410, kScreen0 | kScreen1,
                               {2, 3, 15, kBorderRaised, 1, 0}, "Pulse OK para elegir",
                               "Press OK to choose"));
  p.elements.push_back(Element(kFrame, 300, 320, 475, 350, 0, {5, 6, 7, kBorderLine, 2, 0}, "Oculto", "Hidden"));
  return Plain(p, "menu.paz");
}

Bytes InfoPanel() {
  TMHWPanel p;
  p.name = "INFO";
  p.icon_collection = "icons";
  p.language_mask = 0b00011;
  p.init_method = 0x0020;
  p.refresh_method = 0x0021;
  p.final_method = 0x0022;
  p.fonts = {"fudemi"};
  p.elements.push_back(Element(kPanbox, 100, 340, 475, 445, 0xFFFFFFFF, {1, 15, 15, kBorderCompound2, 2, 1}, ""));
  auto text = Element(kTextBox, 10, 8, 365, 40, kScreen0, {1, 2, 15, kBorderLine, 0, 0},
                      "Canal 1\nSin informaci\xF3n", "Channel 1\nNo information");
  text.method = 0x0021;  // the info script's method
  text.name = "TEXT";
  p.elements.push_back(text);
  p.elements.push_back(Element(kBarGraph, 10, 60, 365, 80, kScreen0, {3, 15, 0, kBorderLine, 1, 0}, ""));
  p.elements.push_back(Element(kIconBox, 330, 8, 361, 39, kScreen0, {1, 0, 0, kBorderLine, 0, 0}, "estrella"));
  return Plain(p, "info.paz");
}

Bytes MenuStrings() {
  TMHWStringsList list;
  list.strings = {"Men\xFA principal", "Canales", "Favoritos", "Ajustes", "Idioma", "Pulse OK"};
  return Plain(list);
}

Bytes HelpStrings() {
  TMHWStringsList list;
  list.long_form = true;
  list.strings = {"Ayuda\nPulse OK para continuar.", "Help\nPress OK to go on.",
                  std::string(300, '-')};
  return Plain(list);
}

}  // namespace corvane::demo

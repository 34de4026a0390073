// Any bytes as a panel (drawn in every language) or a strings list (the first byte picks the
// reader): the readers stay inside their bytes, drawing stays inside the buffer, and what the
// writer accepts reads back the same.
#include <cstdlib>
#include <numeric>

#include "fuzz_input.h"
#include "render/panel_render.h"
#include "resources/panel.h"
#include "resources/strings_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  fuzz::Input input(data, size);
  const std::uint8_t selector = input.Byte();
  const ByteView bytes = input.Rest();
  if (selector & 1) {
    TMHWStringsList strings;
    if (!strings.Read(bytes).ok()) return 0;
    Bytes plain;
    if (!strings.Write(plain).ok()) return 0;
    TMHWStringsList back;
    // The form is stored only through the strings' lengths: a list without strings has none.
    if (!back.Read(plain).ok() || back.strings != strings.strings ||
        (!strings.strings.empty() && back.long_form != strings.long_form))
      std::abort();
    return 0;
  }
  TMHWPanel panel;
  panel.Read(bytes);
  std::vector<int> all(panel.elements.size());
  std::iota(all.begin(), all.end(), 0);
  PanelPalette palette{};
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const auto level = static_cast<std::uint8_t>(i * 17);
    palette[i] = Rgb{level, level, level};
  }
  PixelBuffer work;
  PanelView view;
  view.language = (selector >> 1) % 5;
  view.style = selector >> 4;
  view.icon_collection_present = true;
  Dibuja(work, panel, all, view, palette, NoPanelSources());
  Bytes plain;
  if (!panel.Write("fuzz.pnz", plain).ok()) return 0;
  TMHWPanel back;
  if (!back.Read(plain).ok() || back != panel) std::abort();
  return 0;
}

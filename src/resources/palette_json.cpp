#include "resources/palette_json.h"

#include "resources/json_form.h"
#include "resources/palette.h"

namespace corvane {

Result DumpPalette(ByteView plain, std::string_view, nlohmann::ordered_json& out) {
  const std::optional<TMHWPalette> palette = TMHWPalette::FromPlain(plain);
  if (!palette) return Result::Rejected(Message::FromRow(rows::kPaletteWrongSize));
  out = {{"kind", "palette"}, {"entries", nlohmann::ordered_json::array()}};
  for (const PaletteEntry& e : palette->entries)
    out["entries"].push_back(
        {{"red", e.red}, {"green", e.green}, {"blue", e.blue}, {"mode", e.mode}});
  return Result::Ok();
}

Result BuildPalette(const nlohmann::ordered_json& in, std::string_view, Bytes& plain) {
  if (Result r = CheckJsonKind(in, "palette"); !r) return r;
  const auto entries = in.find("entries");
  if (entries == in.end() || !entries->is_array() || entries->size() != 16)
    return JsonRefusal("entries: 16 entries expected");
  TMHWPalette palette;
  for (std::size_t i = 0; i < 16; ++i) {
    const auto& e = (*entries)[i];
    if (!e.is_object()) return JsonRefusal("entries[" + std::to_string(i) + "]: an object expected");
    int v[4] = {};
    const char* keys[4] = {"red", "green", "blue", "mode"};
    for (int k = 0; k < 4; ++k)
      if (Result r = JsonNumber(e, keys[k], 255, v[k]); !r) return r;
    palette.entries[i] = {static_cast<std::uint8_t>(v[0]), static_cast<std::uint8_t>(v[1]),
                          static_cast<std::uint8_t>(v[2]), static_cast<std::uint8_t>(v[3])};
  }
  plain = palette.Plain();
  return Result::Ok();
}

}  // namespace corvane

#include "resources/icons_json.h"

#include "resources/icons.h"
#include "resources/json_form.h"

namespace corvane {

Result DumpIcons(ByteView plain, std::string_view, nlohmann::ordered_json& out) {
  TMHWIconLib lib;
  if (Result r = TMHWIconLib::FromPlain(plain, lib); !r) return r;
  out = {{"kind", "icons"}, {"icons", nlohmann::ordered_json::array()}};
  for (const Icon& icon : lib.icons)
    out["icons"].push_back({{"name", JsonFromRaw(icon.name)},
                            {"width", icon.width},
                            {"height", icon.height},
                            {"rows", HexRows(icon.width, icon.height, icon.pixels)}});
  return Result::Ok();
}

Result BuildIcons(const nlohmann::ordered_json& in, std::string_view, Bytes& plain) {
  if (Result r = CheckJsonKind(in, "icons"); !r) return r;
  const auto icons = in.find("icons");
  if (icons == in.end() || !icons->is_array()) return JsonRefusal("icons: a list expected");
  TMHWIconLib lib;
  for (const auto& item : *icons) {
    if (!item.is_object()) return JsonRefusal("icons: objects expected");
    Icon icon;
    if (Result r = JsonString(item, "name", icon.name); !r) return r;
    if (Result r = JsonNumber(item, "width", 255, icon.width); !r) return r;
    if (Result r = JsonNumber(item, "height", 255, icon.height); !r) return r;
    if (Result r = RowsFromHex(item.value("rows", nlohmann::ordered_json()), icon.width,
                               icon.height, icon.pixels);
        !r)
      return r;
    lib.icons.push_back(std::move(icon));
  }
  return lib.Plain(plain);
}

}  // namespace corvane

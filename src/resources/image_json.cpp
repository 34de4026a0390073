#include "resources/image_json.h"

#include "resources/image.h"
#include "resources/json_form.h"

namespace corvane {

Result DumpImage(ByteView plain, std::string_view, nlohmann::ordered_json& out) {
  const TMHWImage image = TMHWImage::FromPlain(plain.ToBytes());
  out = {{"kind", "image"},
         {"width", image.Width()},
         {"height", image.Height()},
         {"rows", HexRows(image.Width(), image.Height(), image.Rows())}};
  return Result::Ok();
}

Result BuildImage(const nlohmann::ordered_json& in, std::string_view, Bytes& plain) {
  if (Result r = CheckJsonKind(in, "image"); !r) return r;
  int width = 0, height = 0;
  Bytes rows;
  if (Result r = JsonNumber(in, "width", 0xFFFF, width); !r) return r;
  if (Result r = JsonNumber(in, "height", 0xFFFF, height); !r) return r;
  if (Result r = RowsFromHex(in.value("rows", nlohmann::ordered_json()), width, height, rows); !r)
    return r;
  TMHWImage image;
  if (Result r = image.SetPicture(width, height, rows); !r) return r;
  plain = image.Plain();
  return Result::Ok();
}

}  // namespace corvane

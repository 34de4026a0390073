// Any bytes as the three external font files, or as a glyph bitmap imported into a loaded set:
// the readers stay inside their bytes.
#include <array>

#include "fuzz_input.h"
#include "resources/font_set.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  fuzz::Input input(data, size);
  const std::uint8_t flags = input.Byte();
  std::array<Bytes, 3> files;
  for (Bytes& file : files) file = input.Part().ToBytes();
  TMHWFont set;
  if (!set.CargaExternosDe(files, (flags & 1) != 0)) return 0;
  const ByteView glyph = input.Rest();
  for (int font = 0; font < set.count; ++font) {
    const int code = 32 + (flags >> 1);
    set.ImportaLetraBytes(glyph, font, code);
  }
  return 0;
}

// Any bytes as a firmware file of the model its first byte picks: the loader stays inside the
// file, the font tables of the models that have them read safely, and an image the writer accepts
// reads back as the same tree.
#include <cstdlib>

#include "firmware/firmware.h"
#include "firmware/models.h"
#include "fuzz_input.h"
#include "resources/font_set.h"
#include "resources/font_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  fuzz::Input input(data, size);
  const int model = 1 + input.Byte() % kModelCount;
  TArbol tree;
  TFirmware firmware;
  firmware.CreateFromBytes("fuzz.bin", input.Rest().ToBytes(), tree, model);
  if (!firmware.Loaded) return 0;
  if (HasFontTables(model)) {
    TMHWFont fonts;
    LeeFuentes(firmware, fonts);
  }
  Bytes out;
  if (!firmware.Build(SaveOptions{}, out).ok()) return 0;
  if (firmware.ReadBackDifference(out)) std::abort();
  return 0;
}

// Any bytes as a firmware file of the model its first byte picks: the loader stays inside the
// file, the font tables of the models that have them read safely, and the writer and the read-back
// check stay inside their bytes. A rebuilt image that would not read back as the same tree is
// refused on saving (the read-back check), so a difference is a refusal, not a fault: some damaged
// tables (e.g. a directory table whose capacity the reader finds by scanning into its own address
// array) cannot be written back as read.

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
  (void)firmware.ReadBackDifference(out);
  return 0;
}

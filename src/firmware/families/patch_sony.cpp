// Sony patches (model 15): the Pioneer patch layout with big-endian numbers.
#include "firmware/families/families.h"
#include "firmware/firmware.h"
#include "firmware/families/patch_sections.h"

namespace corvane {

Result CargaParcheSony(TFirmware& firmware, Bytes file) {
  return LoadPlainPatch(firmware, std::move(file), ByteOrder::Big);
}

Result GuardaParcheSony(const TFirmware& firmware, const SaveOptions&, Bytes& out) {
  return SavePlainPatch(firmware, ByteOrder::Big, out);
}

const FamilyDescriptor kPatchSonyFamily{CargaParcheSony, GuardaParcheSony, nullptr, ByteOrder::Big};

}  // namespace corvane

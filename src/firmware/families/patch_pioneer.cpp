// Pioneer patches (model 4): files of up to eight 64 KB sections, section k at k × 64 KB,
// little-endian numbers.
#include "firmware/families/families.h"
#include "firmware/firmware.h"
#include "firmware/families/patch_sections.h"

namespace corvane {

Result CargaParchePioneer(TFirmware& firmware, Bytes file) {
  return LoadPlainPatch(firmware, std::move(file), ByteOrder::Little);
}

Result GuardaParchePioneer(const TFirmware& firmware, const SaveOptions&, Bytes& out) {
  return SavePlainPatch(firmware, ByteOrder::Little, out);
}

const FamilyDescriptor kPatchPioneerFamily{CargaParchePioneer, GuardaParchePioneer, nullptr, ByteOrder::Little};

}  // namespace corvane

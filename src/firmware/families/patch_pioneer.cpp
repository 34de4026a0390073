// Pioneer patches (model 4): files of up to eight 64 KB sections, section k at k × 64 KB,
// little-endian numbers.
#include "firmware/families/families.h"
#include "firmware/families/patch_sections.h"

namespace corvane {

constinit const FamilyDescriptor kPatchPioneerFamily = PlainPatchFamily<ByteOrder::Little>();

}  // namespace corvane

// Sony patches (model 15): the Pioneer patch layout with big-endian numbers.
#include "firmware/families/families.h"
#include "firmware/families/patch_sections.h"

namespace corvane {

constinit const FamilyDescriptor kPatchSonyFamily = PlainPatchFamily<ByteOrder::Big>();

}  // namespace corvane

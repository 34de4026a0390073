// The descriptor of every receiver family. Each family module (pioneer.cpp, strong.cpp ...)
// defines its own: loader, writer and what its models share; the model table picks them.
#pragma once

#include "firmware/models.h"

namespace corvane {

extern const FamilyDescriptor kPioneerFamily;
extern const FamilyDescriptor kStrongFamily;
extern const FamilyDescriptor kNokiaFamily;
extern const FamilyDescriptor kAsscomFamily;
extern const FamilyDescriptor kSonyTS1AFamily;
extern const FamilyDescriptor kSonyTS2Family;
extern const FamilyDescriptor kPhilipsFamily;
extern const FamilyDescriptor kPhilipsDFamily;
extern const FamilyDescriptor kDynaFamily;
extern const FamilyDescriptor kPhilips6071Family;
extern const FamilyDescriptor kPatchPioneerFamily;
extern const FamilyDescriptor kPatchPhilipsFamily;
extern const FamilyDescriptor kPatchSonyFamily;
extern const FamilyDescriptor kPatchStrongFamily;

}  // namespace corvane

// The loader and writer of every receiver family. Each family module (pioneer.cpp, strong.cpp ...)
// defines its pair; the model table picks them.
#pragma once

#include "base/bytes.h"
#include "base/result.h"

namespace corvane {

class TFirmware;
struct SaveOptions;

#define CORVANE_FAMILY(Loader, Writer)            \
  Result Loader(TFirmware& firmware, Bytes file); \
  Result Writer(TFirmware& firmware, const SaveOptions& options, Bytes& out);

CORVANE_FAMILY(CargaPioneer, GuardaPioneer)
CORVANE_FAMILY(CargaStrong, GuardaStrong)
CORVANE_FAMILY(CargaNokia, GuardaNokia)
CORVANE_FAMILY(CargaAsscom, GuardaAsscom)
CORVANE_FAMILY(CargaSonyTS1A, GuardaSonyTS1A)
CORVANE_FAMILY(CargaSonyTS2, GuardaSonyTS2)
CORVANE_FAMILY(CargaPhilips, GuardaPhilips)
CORVANE_FAMILY(CargaPhilipsD, GuardaPhilipsD)
CORVANE_FAMILY(CargaDyna, GuardaDyna)
CORVANE_FAMILY(CargaPhilips6071, GuardaPhilips6071)
CORVANE_FAMILY(CargaParchePioneer, GuardaParchePioneer)
CORVANE_FAMILY(CargaParchePhilips, GuardaParchePhilips)
CORVANE_FAMILY(CargaParcheSony, GuardaParcheSony)
CORVANE_FAMILY(CargaParcheStrong, GuardaParcheStrong)

#undef CORVANE_FAMILY

}  // namespace corvane

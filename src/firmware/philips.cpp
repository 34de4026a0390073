// Placeholder until this family is built: the model refuses to open and save.
#include "firmware/families.h"
#include "firmware/firmware.h"

namespace corvane {

Result CargaPhilips(TFirmware&, Bytes) {
  return Result::Rejected(Message().Text("this receiver model cannot be opened yet"));
}

Result GuardaPhilips(TFirmware&, const SaveOptions&, Bytes&) {
  return Result::Refused(Message().Text("this receiver model cannot be saved yet"));
}

}  // namespace corvane

#include "firmware/models.h"

#include "base/messages.h"
#include "firmware/families/families.h"

namespace corvane {

namespace {

constexpr ModelKind F = ModelKind::Firmware;
constexpr ModelKind P = ModelKind::Patch;

// model, save-filter row, extension, kind, family, loader, writer, loader arguments,
// base address, second base address, checksum table offset and blocks, fonts in the image.
constexpr std::array<ModelDescriptor, kModelCount> kModels = {{
    {1, 21, "rcu", F, Family::Pioneer, "CargaPioneer", "GuardaPioneer", CargaPioneer, GuardaPioneer, {0, 0, 0x0, 0x0},
     0x7FE00000, 0x00000000, 0x0, 0, FontForm::LittleEndian},
    {2, 22, "bin", F, Family::Pioneer, "CargaPioneer", "GuardaPioneer", CargaPioneer, GuardaPioneer, {0, 0, 0x0, 0x0},
     0x60000000, 0x00000000, 0x13FC00, 20, FontForm::LittleEndian},
    {3, 23, "bin", F, Family::Pioneer, "CargaPioneer", "GuardaPioneer", CargaPioneer, GuardaPioneer, {0, 0, 0x0, 0x0},
     0x7FE00000, 0x00000000, 0x11FC00, 18, FontForm::LittleEndian},
    {4, 24, "rsc", P, Family::PatchPioneer, "CargaParchePioneer", "GuardaParchePioneer", CargaParchePioneer, GuardaParchePioneer, {0, 0, 0x0, 0x0},
     0x00000000, 0x00000000, 0x0, 0, FontForm::None},
    {5, 221, "bin", F, Family::Strong, "CargaStrong", "GuardaStrong", CargaStrong, GuardaStrong, {16, 9, 0x10000, 0x0},
     0x81200000, 0x9FC00000, 0x0, 0, FontForm::BigEndian},
    {6, 222, "bin", F, Family::Strong, "CargaStrong", "GuardaStrong", CargaStrong, GuardaStrong, {64, 0, 0x160000, 0x0},
     0x94020000, 0x00000000, 0x0, 0, FontForm::BigEndian},
    {7, 233, "bin", F, Family::Philips, "CargaPhilips", "GuardaPhilips", CargaPhilips, GuardaPhilips, {0, 0, 0x180000, 0x10000},
     0x00000000, 0x00000000, 0x0, 0, FontForm::None},
    {8, 234, "bin", F, Family::Philips, "CargaPhilips", "GuardaPhilips", CargaPhilips, GuardaPhilips, {0, 0, 0x200000, 0x90000},
     0x00000000, 0x00000000, 0x0, 0, FontForm::None},
    {9, 235, "bin", F, Family::Asscom, "CargaAsscom", "GuardaAsscom", CargaAsscom, GuardaAsscom, {0, 0, 0x100000, 0x0},
     0x9FC10000, 0x00000000, 0x0, 0, FontForm::BigEndian},
    {10, 237, "bin", F, Family::Pioneer, "CargaPioneer", "GuardaPioneer", CargaPioneer, GuardaPioneer, {0, 0, 0x0, 0x0},
     0x7FE00000, 0x00000000, 0x0, 0, FontForm::LittleEndian},
    {11, 238, "bin", F, Family::Philips, "CargaPhilips", "GuardaPhilips", CargaPhilips, GuardaPhilips, {0, 0, 0x200000, 0x30000},
     0x00000000, 0x00000000, 0x0, 0, FontForm::None},
    {12, 244, "bin", F, Family::Pioneer, "CargaPioneer", "GuardaPioneer", CargaPioneer, GuardaPioneer, {0, 0, 0xC0000, 0x0},
     0x7FF00000, 0x00000000, 0x0, 0, FontForm::None},
    {13, 279, "bin", F, Family::Nokia, "CargaNokia", "GuardaNokia", CargaNokia, GuardaNokia, {0, 0, 0xC0000, 0x0},
     0x2C020000, 0x00000000, 0x0, 0, FontForm::BigEndian},
    {14, 284, "bin", P, Family::PatchPhilips, "CargaParchePhilips", "GuardaParchePhilips", CargaParchePhilips, GuardaParchePhilips, {0, 0, 0x0, 0x0},
     0x00000000, 0x00000000, 0x0, 0, FontForm::None},
    {15, 285, "bin", P, Family::PatchSony, "CargaParcheSony", "GuardaParcheSony", CargaParcheSony, GuardaParcheSony, {0, 0, 0x0, 0x0},
     0x00000000, 0x00000000, 0x0, 0, FontForm::None},
    {16, 286, "bin", F, Family::SonyTS1A, "CargaSonyTS1A", "GuardaSonyTS1A", CargaSonyTS1A, GuardaSonyTS1A, {0, 0, 0x100000, 0x0},
     0x02000000, 0x00000000, 0x0, 0, FontForm::BigEndian},
    {17, 287, "bin", P, Family::PatchStrong, "CargaParcheStrong", "GuardaParcheStrong", CargaParcheStrong, GuardaParcheStrong, {7, 0, 0x0, 0x0},
     0x9FC90000, 0x00000000, 0x0, 0, FontForm::None},
    {18, 288, "bin", P, Family::PatchStrong, "CargaParcheStrong", "GuardaParcheStrong", CargaParcheStrong, GuardaParcheStrong, {7, 0, 0x0, 0x0},
     0x940F0000, 0x00000000, 0x0, 0, FontForm::None},
    {19, 289, "bin", F, Family::Philips6071, "CargaPhilips6071", "GuardaPhilips6071", CargaPhilips6071, GuardaPhilips6071, {0, 0, 0x200000, 0x100000},
     0x7FE00000, 0x00000000, 0x0, 0, FontForm::None},
    {20, 290, "bin", F, Family::Pioneer, "CargaPioneer", "GuardaPioneer", CargaPioneer, GuardaPioneer, {0, 0, 0x10000, 0x0},
     0x7FF00000, 0x00000000, 0x0, 0, FontForm::LittleEndian},
    {21, 291, "bin", F, Family::Strong, "CargaStrong", "GuardaStrong", CargaStrong, GuardaStrong, {32, 16, 0x10000, 0x0},
     0x81200000, 0x9FC00000, 0x0, 0, FontForm::BigEndian},
    {22, 327, "bin", F, Family::Pioneer, "CargaPioneer", "GuardaPioneer", CargaPioneer, GuardaPioneer, {0, 0, 0x0, 0x0},
     0x7FE00000, 0x00000000, 0x12FC00, 19, FontForm::LittleEndian},
    {23, 328, "bin", F, Family::Nokia, "CargaNokia", "GuardaNokia", CargaNokia, GuardaNokia, {0, 0, 0xC0000, 0x0},
     0x2C020000, 0x00000000, 0x0, 0, FontForm::BigEndian},
    {24, 340, "bin", F, Family::SonyTS2, "CargaSonyTS2", "GuardaSonyTS2", CargaSonyTS2, GuardaSonyTS2, {0, 0, 0x0, 0x0},
     0x00C00000, 0x00000000, 0x0, 0, FontForm::None},
    {25, 351, "bin", F, Family::PhilipsD, "CargaPhilipsD", "GuardaPhilipsD", CargaPhilipsD, GuardaPhilipsD, {0, 0, 0x100000, 0x45000},
     0x00000000, 0x00000000, 0x0, 0, FontForm::None},
    {26, 352, "bin", F, Family::PhilipsD, "CargaPhilipsD", "GuardaPhilipsD", CargaPhilipsD, GuardaPhilipsD, {0, 0, 0x100000, 0x90000},
     0x00000000, 0x00000000, 0x0, 0, FontForm::None},
    {27, 353, "bin", F, Family::Dyna, "CargaDyna", "GuardaDyna", CargaDyna, GuardaDyna, {0, 0, 0x200000, 0x90000},
     0x00000000, 0x00000000, 0x0, 0, FontForm::None},
}};

}  // namespace

const std::array<ModelDescriptor, kModelCount>& AllModels() { return kModels; }

const ModelDescriptor* FindModel(int model) {
  if (model < 1 || model > kModelCount) return nullptr;
  return &kModels[static_cast<std::size_t>(model - 1)];
}

std::string_view ModelName(int model) {
  const ModelDescriptor* d = FindModel(model);
  if (d == nullptr) return {};
  const std::string_view row = DefaultMessages()[static_cast<std::size_t>(d->save_filter_row)];
  return row.substr(0, row.find('|'));
}

}  // namespace corvane

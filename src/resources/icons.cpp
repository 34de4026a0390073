#include "resources/icons.h"

#include <algorithm>

#include "resources/image.h"
#include "resources/stored.h"

namespace corvane {
namespace {

Result Damaged(std::size_t icon) {
  return Result::Rejected(
      Message::FromRow(rows::kIconsDamaged).Text(" " + std::to_string(icon + 1)));
}

}  // namespace

Result TMHWIconLib::FromPlain(ByteView plain, TMHWIconLib& out) {
  const std::size_t n = plain.u16be(2);
  const std::size_t records = 4 + 2 * n;
  if (!plain.Contains(0, records)) return Damaged(0);
  TMHWIconLib lib;
  lib.icons.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t p = records + plain.u16be(4 + 2 * i);
    std::size_t end = p;
    while (end < plain.size() && plain[end] != 0) ++end;
    if (!plain.Contains(end, 4)) return Damaged(i);
    Icon icon;
    icon.name.assign(reinterpret_cast<const char*>(plain.data()) + p, end - p);
    icon.width = plain[end + 1];
    icon.height = plain[end + 2];
    const std::size_t size = icon.RowBytes() * static_cast<std::size_t>(icon.height);
    if (!plain.Contains(end + 4, size)) return Damaged(i);
    icon.pixels = plain.Sub(end + 4, size).ToBytes();
    lib.icons.push_back(std::move(icon));
  }
  lib.node_ = out.node_;
  out = std::move(lib);
  return Result::Ok();
}

Result TMHWIconLib::Create(TNodo* node, TMHWIconLib& out) {
  if (node == nullptr) return Damaged(0);
  out.node_ = node;
  return FromPlain(PlainOf(*node), out);
}

Result TMHWIconLib::Plain(Bytes& out) const {
  const std::size_t n = icons.size();
  std::size_t total = 4 + 2 * n;
  for (const Icon& icon : icons) {
    if (icon.name.size() > kMaxNameLength || icon.name.find('\0') != std::string::npos)
      return Result::Refused(Message::FromRow(rows::kIconNameTooLong).Text(" " + icon.name.substr(0, 40)));
    if (icon.width < 0 || icon.height < 0 || icon.width > 255 || icon.height > 255)
      return Result::Refused(Message::FromRow(rows::kIconTooLarge).Text(" " + icon.name));
    total += icon.name.size() + 4 + icon.RowBytes() * static_cast<std::size_t>(icon.height);
  }
  if (total > kMaxPlainSize) return Result::Refused(Message::FromRow(rows::kIconsTooLarge));
  Bytes plain(total, 0);
  MutableByteView m(plain);
  m.WriteBE(0, static_cast<std::uint32_t>(total - 4), 2);
  m.WriteBE(2, static_cast<std::uint32_t>(n), 2);
  const std::size_t records = 4 + 2 * n;
  std::size_t q = records;
  for (std::size_t i = 0; i < n; ++i) {
    const Icon& icon = icons[i];
    m.WriteBE(4 + 2 * i, static_cast<std::uint32_t>(q - records), 2);
    m.Copy(q, ByteView(reinterpret_cast<const std::uint8_t*>(icon.name.data()), icon.name.size()));
    q += icon.name.size();
    m.Set(q + 1, static_cast<std::uint8_t>(icon.width));
    m.Set(q + 2, static_cast<std::uint8_t>(icon.height));
    const std::size_t size = icon.RowBytes() * static_cast<std::size_t>(icon.height);
    m.Copy(q + 4, ByteView(icon.pixels).Sub(0, size));  // missing pixel bytes stay 0
    q += 4 + size;
  }
  out = std::move(plain);
  return Result::Ok();
}

Result TMHWIconLib::Guarda() const {
  Bytes plain;
  if (Result r = Plain(plain); !r) return r;
  if (node_ != nullptr) StorePlain(*node_, plain);
  return Result::Ok();
}

int TMHWIconLib::Find(std::string_view name, bool exact) const {
  const std::string lower = LowerName(name);
  for (std::size_t i = 0; i < icons.size(); ++i)
    if (exact ? icons[i].name == name : LowerName(icons[i].name) == lower)
      return static_cast<int>(i);
  return -1;
}

Bitmap TMHWIconLib::ToBitmap(std::size_t index, const TMHWPalette& palette) const {
  if (index >= icons.size()) return UnpackNibbleRows(0, 0, {}, palette.Colours());
  const Icon& icon = icons[index];
  return UnpackNibbleRows(icon.width, icon.height, icon.pixels, palette.Colours());
}

Result TMHWIconLib::IconOfBitmap(const Bitmap& bitmap, std::string name, Icon& out) {
  if (bitmap.bits_per_pixel != 4 || bitmap.width > 255 || bitmap.height > 255)
    return Result::Rejected(Message::FromRow(rows::kIconBitmapRule));
  out.name = std::move(name);
  out.width = bitmap.width;
  out.height = bitmap.height;
  out.pixels = PackNibbleRows(bitmap);
  return Result::Ok();
}

Result TMHWIconLib::ExportaBMP(const std::filesystem::path& file, std::size_t index,
                               const TMHWPalette& palette) const {
  return WriteDiskFile(file, WriteBitmap(ToBitmap(index, palette)));
}

Result TMHWIconLib::IconOfFile(const std::filesystem::path& file, Icon& out) const {
  Bytes bytes;
  if (Result r = ReadDiskFile(file, bytes); !r) return r;
  const std::optional<Bitmap> bitmap = ReadBitmap(bytes);
  if (!bitmap) return Result::Rejected(Message::FromRow(rows::kIconBitmapRule));
  return IconOfBitmap(*bitmap, NameBeforeFirstDot(file), out);
}

Result TMHWIconLib::InsertaBMP(const std::filesystem::path& file, std::size_t index) {
  Icon icon;
  if (Result r = IconOfFile(file, icon); !r) return r;
  const std::size_t at = std::min(index + 1, icons.size());
  icons.insert(icons.begin() + static_cast<std::ptrdiff_t>(at), std::move(icon));
  return Result::Ok();
}

Result TMHWIconLib::ReemplazaBMP(const std::filesystem::path& file, std::size_t index) {
  if (index >= icons.size()) return InsertaBMP(file, index);
  Icon icon;
  if (Result r = IconOfFile(file, icon); !r) return r;
  icons[index] = std::move(icon);
  return Result::Ok();
}

void TMHWIconLib::BorraIcono(std::size_t index) {
  if (index < icons.size()) icons.erase(icons.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace corvane

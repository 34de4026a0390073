#include "resources/font_tables.h"

#include <algorithm>

#include "firmware/firmware.h"
#include "firmware/models.h"
#include "resources/font_messages.h"

namespace corvane {

namespace {

// How a model keeps its fonts.
struct Form {
  bool found = false;
  ByteOrder order = ByteOrder::Little;
  bool packed = false;  // 5, 6, 9, 21: every font packed one after another up to the area's end
  bool padded = true;   // 23 stores glyphs without raising them to a multiple of 4
  bool limit_is_widths = false;  // 23: glyphs end before the width table, not the header
};

Form FormOf(int model) {
  const ModelDescriptor* d = FindModel(model);
  Form f;
  if (d == nullptr || !d->fonts_in_image) return f;
  f.found = true;
  f.order = d->family->font_order;
  f.packed = model == 5 || model == 6 || model == 9 || model == 21;
  f.padded = model != 23;
  f.limit_is_widths = model == 23;
  return f;
}

// The bytes of the image a search may look at: its first `length` bytes, within the image.
std::size_t SearchLength(const TFirmware& fw, std::uint32_t length) {
  return std::min<std::size_t>(length, fw.Image.size());
}

Bytes PointerBytes(std::uint32_t value, ByteOrder order) {
  Bytes b(4);
  WriteU32(MutableByteView(b), 0, value, order);
  return b;
}

void Fail(TMHWFont& set, Message* note, int row) {
  set = TMHWFont();
  if (note != nullptr) *note = Message::FromRow(row);
}

bool Blank(std::uint8_t c) { return c == 0x00 || c == 0xFF; }

// Reads the table whose font 0 header the search found at `header0`.
bool ReadTable(const TFirmware& fw, const Form& form, std::size_t header0, std::size_t length,
               TMHWFont& set, Message* note) {
  const ByteView image(fw.Image);
  const std::uint32_t base = fw.BaseAddress;
  const Bytes pointer = PointerBytes(static_cast<std::uint32_t>(header0 + base), form.order);
  const std::string_view needle(reinterpret_cast<const char*>(pointer.data()), pointer.size());
  const std::int64_t hit = BuscaCadena(needle, image, length, false);
  if (hit < 4) {
    Fail(set, note, font_rows::kNoFontTable);
    return false;
  }
  const auto t = static_cast<std::size_t>(hit) - 4;

  std::uint32_t n;
  if (form.packed) {
    if (header0 < 4) {
      Fail(set, note, font_rows::kNoFontTable);
      return false;
    }
    n = image.u32be(header0 - 4);
  } else {
    n = image.u32le(t);
  }
  if (n > static_cast<std::uint32_t>(kFontSlots)) {
    Fail(set, note, font_rows::kTooManyFonts);
    return false;
  }
  std::size_t glyph_table;
  if (form.packed) {
    glyph_table = t + 4 + 12ull * n;
  } else {
    if (t < 1024ull * n) {
      Fail(set, note, font_rows::kNoFontTable);
      return false;
    }
    glyph_table = t - 1024ull * n;
  }

  set = TMHWFont();
  set.count = static_cast<int>(n);
  for (std::uint32_t i = 0; i < n; ++i) {
    TFuente& f = set.fonts[i];
    f.header_offset = i == 0 ? static_cast<std::uint32_t>(header0)
                             : ReadU32(image, t + 4 + 4ull * i, form.order) - base;
    f.width_table_offset = ReadU32(image, t + 4 + 4ull * n + 4ull * i, form.order) - base;
    f.name = LeeNombre(image, f.header_offset, 8);
    const std::uint8_t height = image.at(std::size_t{f.header_offset} + 9);
    f.height = height == 0 ? 12 : height;
    f.size = image.at(std::size_t{f.header_offset} + 10);
    const bool eurost_be = form.order == ByteOrder::Big && f.name == kFontEurost;
    std::uint64_t span_end = 0;
    for (int c = 0; c < kGlyphCount; ++c) {
      TLetra& g = f.glyphs[static_cast<std::size_t>(c)];
      g.pointer_slot = static_cast<std::uint32_t>(glyph_table + 4ull * (256ull * i + c));
      g.data_offset = ReadU32(image, g.pointer_slot, form.order) - base;
      g.width = (eurost_be && c < 32) ? 0 : image.at(std::size_t{f.width_table_offset} + c);
      g.picture = DecodificaLetra(image.Sub(g.data_offset), f.height, g.width);
      g.room = GlyphSize(g.width, f.height, form.padded);
      if (c >= f.FirstStoredCode())
        span_end = std::max<std::uint64_t>(span_end, std::uint64_t{g.data_offset} + g.room);
    }
    const std::uint64_t start = f.glyphs[0].data_offset;
    const std::uint64_t span = span_end > start ? span_end - start : 0;
    f.room = std::max(span, set.TamanoLetras(static_cast<int>(i), f.FirstStoredCode(), form.padded));
  }

  if (form.order == ByteOrder::Big && n > 0) {
    const TFuente& last = set.fonts[n - 1];
    std::uint64_t end = std::uint64_t{last.glyphs[255].data_offset} +
                        GlyphSize(last.glyphs[255].width, last.height, true);
    const std::size_t limit = SearchLength(fw, fw.FileSize);
    while (end + 4 <= limit && Blank(image.at(end)) && Blank(image.at(end + 1)) &&
           Blank(image.at(end + 2)) && Blank(image.at(end + 3)))
      end += 4;
    set.end_of_font_area = static_cast<std::uint32_t>(std::min<std::uint64_t>(end, UINT32_MAX));
  }
  return true;
}

bool Read(const TFirmware& fw, const Form& form, TMHWFont& set, Message* note) {
  const ByteView image(fw.Image);
  std::int64_t header0;
  std::size_t length;
  if (form.order == ByteOrder::Little) {
    length = SearchLength(fw, fw.FileSize);
    const std::uint64_t from =
        std::uint64_t{fw.AddressTableOffset} + 4ull * fw.DirectoryCount + 48;
    header0 = from >= length ? -1 : BuscaCadenaDesde("fudem", image, from, length, false);
  } else {
    const bool image_size = fw.Model == 5 || fw.Model == 6;
    length = SearchLength(fw, image_size ? fw.ImageSize : fw.FileSize);
    header0 = BuscaCadena(fw.Model == 23 ? kFontEurost : kFontFudemi, image, length, false);
  }
  if (header0 < 0) {
    Fail(set, note, font_rows::kNoFontTable);
    return false;
  }
  return ReadTable(fw, form, static_cast<std::size_t>(header0), length, set, note);
}

// Places glyph `code` at q: its row bytes, its pointer, and (when asked) its width byte.
void Place(const TFirmware& fw, const Form& form, const TMHWFont& set, int font, int code,
           std::uint32_t q, bool width_byte, MutableByteView image) {
  const TFuente& f = set.fonts[static_cast<std::size_t>(font)];
  const TLetra& g = f.glyphs[static_cast<std::size_t>(code)];
  image.Copy(q, GlyphRows(g, f.height));
  WriteU32(image, g.pointer_slot, q + fw.BaseAddress, form.order);
  if (width_byte) image.Set(std::size_t{f.width_table_offset} + static_cast<std::size_t>(code), g.width);
}

void Write(const TFirmware& fw, const Form& form, const TMHWFont& set, MutableByteView image) {
  if (set.count <= 0) return;
  const int count = std::min(set.count, kFontSlots);
  if (form.packed) {
    // The area is laid out anew: from font 0's glyph 0 up to the end of the font area.
    const std::uint32_t start = set.fonts[0].glyphs[0].data_offset;
    if (set.end_of_font_area > start) image.Fill(start, set.end_of_font_area - start, 0);
  }
  std::uint32_t q = 0;
  for (int i = 0; i < count; ++i) {
    const TFuente& f = set.fonts[static_cast<std::size_t>(i)];
    if (!form.packed || i == 0) q = f.glyphs[0].data_offset;
    if (f.IsMain()) {
      // Codes 0-31 are not stored separately: they end up pointing at code 32's bytes.
      for (int c = 0; c < 32; ++c) Place(fw, form, set, i, c, q, true, image);
      for (int c = 32; c < kGlyphCount; ++c) {
        Place(fw, form, set, i, c, q, true, image);
        q += GlyphSize(f.glyphs[static_cast<std::size_t>(c)].width, f.height, form.padded);
      }
    } else if (form.order == ByteOrder::Little) {
      // Other fonts of the little-endian form stay where they are.
      for (int c = 0; c < kGlyphCount; ++c) {
        const TLetra& g = f.glyphs[static_cast<std::size_t>(c)];
        image.Copy(g.data_offset, GlyphRows(g, f.height));
        image.Set(std::size_t{f.width_table_offset} + static_cast<std::size_t>(c), g.width);
      }
    } else {
      for (int c = 0; c < kGlyphCount; ++c) {
        Place(fw, form, set, i, c, q, true, image);
        q += GlyphSize(f.glyphs[static_cast<std::size_t>(c)].width, f.height, form.padded);
      }
    }
  }
}

}  // namespace

bool HasFontTables(int model) { return FormOf(model).found; }

bool LeeFuentesLE(const TFirmware& fw, TMHWFont& set, Message* note) {
  Form form = FormOf(fw.Model);
  if (!form.found) form = FormOf(1);
  form.order = ByteOrder::Little;
  form.packed = false;
  return Read(fw, form, set, note);
}

bool LeeFuentesBE(const TFirmware& fw, TMHWFont& set, Message* note) {
  Form form = FormOf(fw.Model);
  if (!form.found) form = FormOf(13);
  form.order = ByteOrder::Big;
  return Read(fw, form, set, note);
}

bool LeeFuentes(const TFirmware& fw, TMHWFont& set, Message* note) {
  const Form form = FormOf(fw.Model);
  if (!form.found) {
    set = TMHWFont();
    return false;
  }
  return Read(fw, form, set, note);
}

std::optional<ImageFonts::Misfit> FirstMisfit(const TFirmware& fw, const TMHWFont& set) {
  const Form form = FormOf(fw.Model);
  if (!form.found || set.count <= 0) return std::nullopt;
  const int count = std::min(set.count, kFontSlots);
  auto misfit = [&set](int i) {
    const TFuente& f = set.fonts[static_cast<std::size_t>(i)];
    return ImageFonts::Misfit{f.name, f.size};
  };

  if (form.packed) {
    std::uint64_t total = set.fonts[0].glyphs[0].data_offset;
    for (int i = 0; i < count; ++i)
      total += set.TamanoLetras(i, set.fonts[static_cast<std::size_t>(i)].FirstStoredCode(), true);
    if (total >= set.end_of_font_area) return misfit(0);
    return std::nullopt;
  }

  for (int i = 0; i < count; ++i) {
    const TFuente& f = set.fonts[static_cast<std::size_t>(i)];
    const bool ruled = form.order == ByteOrder::Little ? f.name == kFontFudemi : f.IsMain();
    if (ruled) {
      const std::uint64_t limit = form.limit_is_widths ? f.width_table_offset : f.header_offset;
      if (f.glyphs[0].data_offset + set.TamanoLetras(i, 32, form.padded) > limit) return misfit(i);
    } else if (form.order == ByteOrder::Little && !f.IsMain()) {
      // Written in place: every glyph keeps to the bytes it had.
      for (const TLetra& g : f.glyphs)
        if (GlyphSize(g.width, f.height, form.padded) > g.room) return misfit(i);
    } else if (set.TamanoLetras(i, f.FirstStoredCode(), form.padded) > f.room) {
      // Packed from its own glyph 0 with no rule of the model: no more than the room it had.
      return misfit(i);
    }
  }
  return std::nullopt;
}

void EscribeFuentesLE(const TFirmware& fw, const TMHWFont& set, MutableByteView image) {
  Form form = FormOf(fw.Model);
  form.order = ByteOrder::Little;
  form.packed = false;
  Write(fw, form, set, image);
}

void EscribeFuentesBE(const TFirmware& fw, const TMHWFont& set, MutableByteView image) {
  Form form = FormOf(fw.Model);
  form.order = ByteOrder::Big;
  Write(fw, form, set, image);
}

bool CambiaAncho(const TFirmware* fw, TMHWFont& set, int font, int code, int width,
                 bool from_image) {
  if (!set.Valid(font) || code < 0 || code >= kGlyphCount) return false;
  TMHWFont trial = set;
  trial.SetWidth(font, code, width);
  if (fw != nullptr && from_image && HasFontTables(fw->Model) && !CabenFuentes(*fw, trial))
    return false;
  set = std::move(trial);
  return true;
}

std::optional<ImageFonts::Misfit> ImageFontTables::FirstMisfit(const TFirmware& firmware) const {
  return corvane::FirstMisfit(firmware, set_);
}

void ImageFontTables::Write(const TFirmware& firmware, MutableByteView image, ByteOrder order) const {
  if (order == ByteOrder::Little)
    EscribeFuentesLE(firmware, set_, image);
  else
    EscribeFuentesBE(firmware, set_, image);
}

}  // namespace corvane

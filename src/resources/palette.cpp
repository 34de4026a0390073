#include "resources/palette.h"

#include <algorithm>
#include <charconv>

#include "resources/stored.h"

namespace corvane {
namespace {

// Lines ended by CR LF, LF or CR; a final line end adds no empty line.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

// A decimal integer (optional sign) that fits 32 bits, as its low 8 bits.
std::optional<std::uint8_t> LowByteOf(std::string_view text) {
  std::string_view digits = text;
  if (!digits.empty() && digits[0] == '+') digits.remove_prefix(1);
  if (digits.empty() || digits[0] == '+') return std::nullopt;
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & 0xFF);
}

std::string_view Before(std::string_view text, char c) {
  const std::size_t p = text.find(c);
  return p == std::string_view::npos ? std::string_view() : text.substr(0, p);
}
std::string_view After(std::string_view text, char c) {
  const std::size_t p = text.find(c);
  return p == std::string_view::npos ? std::string_view() : text.substr(p + 1);
}

// Components of a palette path.
std::vector<std::string_view> Components(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = path.find(':', start);
    parts.push_back(path.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return parts;
}

bool IsPaletteName(std::string_view name) {
  return name.size() >= 4 && LowerName(name.substr(name.size() - 4, 3)) == ".lu";
}

}  // namespace

std::optional<TMHWPalette> TMHWPalette::FromPlain(ByteView plain) {
  if (plain.size() != kPlainSize) return std::nullopt;
  TMHWPalette p;
  for (std::size_t i = 0; i < 16; ++i)
    p.entries[i] = {plain[4 * i], plain[4 * i + 1], plain[4 * i + 2], plain[4 * i + 3]};
  return p;
}

std::optional<TMHWPalette> TMHWPalette::Create(TNodo* node) {
  if (node == nullptr) return std::nullopt;
  std::optional<TMHWPalette> p = FromPlain(PlainOf(*node));
  if (p) p->node_ = node;
  return p;
}

TMHWPalette TMHWPalette::Greys() {
  TMHWPalette p;
  for (std::size_t i = 0; i < 16; ++i) {
    const auto v = static_cast<std::uint8_t>(i * 17);
    p.entries[i] = {v, v, v, 1};
  }
  return p;
}

Bytes TMHWPalette::Plain() const {
  Bytes out;
  out.reserve(kPlainSize);
  for (const PaletteEntry& e : entries) out.insert(out.end(), {e.red, e.green, e.blue, e.mode});
  return out;
}

void TMHWPalette::Guarda() const {
  if (node_ != nullptr) StorePlain(*node_, Plain());
}

PaletteColours TMHWPalette::Colours() const {
  PaletteColours c;
  for (std::size_t i = 0; i < 16; ++i) c[i] = entries[i].Colour();
  return c;
}

std::string TMHWPalette::JascText() const {
  std::string text = "JASC-PAL\r\n0100\r\n16\r\n";
  for (const PaletteEntry& e : entries)
    text += std::to_string(e.red) + " " + std::to_string(e.green) + " " +
            std::to_string(e.blue) + "\r\n";
  return text;
}

Result TMHWPalette::ImportJasc(std::string_view text) {
  const std::vector<std::string_view> lines = SplitLines(text);
  if (lines.size() != 19 || lines[0] != "JASC-PAL" || lines[1] != "0100" || lines[2] != "16")
    return Result::Rejected(Message::FromRow(rows::kBadPalFile));
  std::array<PaletteEntry, 16> read{};
  for (std::size_t i = 0; i < 16; ++i) {
    const std::string_view line = lines[3 + i];
    const std::string_view rest = After(line, ' ');
    const std::string_view parts[3] = {Before(line, ' '), Before(rest, ' '), After(rest, ' ')};
    std::uint8_t values[3] = {};
    for (int k = 0; k < 3; ++k) {
      const std::optional<std::uint8_t> v = LowByteOf(parts[k]);
      if (!v)  // nothing is taken from a file with a bad number
        return Result::Rejected(Message::FromRow(rows::kBadPalFile)
                                    .Break()
                                    .Row(rows::kPalBadNumber)
                                    .Text(" '" + std::string(parts[k]) + "'"));
      values[k] = *v;
    }
    read[i] = {values[0], values[1], values[2], 1};
  }
  entries = read;
  return Result::Ok();
}

Result TMHWPalette::ImportBitmap(const Bitmap& bitmap) {
  if (bitmap.bits_per_pixel != 4)
    return Result::Rejected(Message::FromRow(rows::kBitmapNot16Colours));
  for (std::size_t i = 0; i < 16; ++i) {
    const Rgb c = i < bitmap.colours.size() ? bitmap.colours[i] : Rgb{};
    entries[i] = {c.r, c.g, c.b, 1};
  }
  return Result::Ok();
}

Result TMHWPalette::ExportaPAL(const std::filesystem::path& file) const {
  const std::string text = JascText();
  return WriteDiskFile(file, ByteView(reinterpret_cast<const std::uint8_t*>(text.data()),
                                      text.size()));
}

Result TMHWPalette::ImportaPAL(const std::filesystem::path& file) {
  Bytes bytes;
  if (Result r = ReadDiskFile(file, bytes); !r) return r;
  return ImportJasc(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

Result TMHWPalette::ImportaBMP(const std::filesystem::path& file) {
  Bytes bytes;
  if (Result r = ReadDiskFile(file, bytes); !r) return r;
  const std::optional<Bitmap> bitmap = ReadBitmap(bytes);
  if (!bitmap) return Result::Rejected(Message::FromRow(rows::kBitmapNot16Colours));
  return ImportBitmap(*bitmap);
}

// ---- The palettes of an opened firmware ----

std::vector<std::string> PalettePaths(const TArbol& tree) {
  std::vector<std::string> paths;
  const TNodo* root = tree.Root();
  if (root == nullptr) return paths;
  for (const TNodo* a : root->Children())
    for (const TNodo* b : a->Children()) {
      if (b->Data.Tamano > 0) {
        if (IsPaletteName(b->Text)) paths.push_back(a->Text + ":" + b->Text);
        continue;
      }
      for (const TNodo* c : b->Children())
        if (IsPaletteName(c->Text)) paths.push_back(a->Text + ":" + b->Text + ":" + c->Text);
    }
  return paths;
}

std::string PaletteContext(const TNodo& resource, bool nested) {
  const TNodo* parent = resource.Parent();
  if (parent == nullptr) return {};
  if (!nested) return parent->Text;
  const TNodo* grand = parent->Parent();
  return (grand != nullptr ? grand->Text : std::string()) + ":" + parent->Text;
}

std::string ChoosePalettePath(const std::vector<std::string>& paths, std::string_view ctx,
                              std::string_view name) {
  const std::string own = std::string(ctx) + ":" + std::string(name) + ".lu";
  for (const std::string& p : paths)
    if (!p.empty() && std::string_view(p).substr(0, p.size() - 1) == own) return p;
  for (const std::string& p : paths) {
    const std::size_t colon = p.rfind(':');
    if (colon != std::string::npos && std::string_view(p).substr(0, colon) == ctx) return p;
  }
  for (const std::string& p : paths) {
    const std::vector<std::string_view> parts = Components(p);
    for (std::size_t i = 0; i < std::min<std::size_t>(parts.size(), 2); ++i)
      if (parts[i].substr(0, 5) == "basic") return p;
  }
  return paths.empty() ? std::string() : paths.front();
}

TNodo* FindPalettePath(const TArbol& tree, std::string_view path) {
  if (path.empty()) return nullptr;
  const TNodo* node = tree.Root();
  for (std::string_view part : Components(path)) {
    if (node == nullptr) return nullptr;
    node = BuscaNodo(node->FirstChild(), part, true);
  }
  return const_cast<TNodo*>(node);
}

void LoadPalettePath(const TArbol& tree, std::string_view path,
                     std::optional<TMHWPalette>& current) {
  if (TNodo* node = FindPalettePath(tree, path); node != nullptr)
    current = TMHWPalette::Create(node);
}

std::optional<TMHWPalette> PaletteFor(const TArbol& tree, const TNodo& resource, bool nested) {
  const std::string path =
      ChoosePalettePath(PalettePaths(tree), PaletteContext(resource, nested), resource.Text);
  return TMHWPalette::Create(FindPalettePath(tree, path));
}

std::string PaletteChangeKey(const TNodo& palette_node) {
  const TNodo* parent = palette_node.Parent();
  return (parent != nullptr ? parent->Text : std::string()) + ":" + palette_node.Text;
}

}  // namespace corvane

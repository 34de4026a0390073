#include "resources/application.h"

#include <algorithm>

#include "document/names.h"
#include "resources/stored.h"

namespace corvane {

namespace {

// A counted string at pos: at most `limit` characters kept; pos moves past the stored length.
std::string ReadCounted(ByteView plain, std::size_t& pos, std::size_t limit) {
  const std::size_t length = plain.u16be(pos);
  pos += 2;
  // Characters past the plain bytes would read as zeros: the text ends there.
  std::string text;
  const std::size_t available = pos < plain.size() ? plain.size() - pos : 0;
  const std::size_t kept = std::min({length, limit, available});
  for (std::size_t i = 0; i < kept; ++i) text.push_back(static_cast<char>(plain.at(pos + i)));
  pos += length;
  return text;
}

void PutCounted(Bytes& out, const std::string& text) {
  // The high byte of the length is always 0: a longer text keeps its first 255 characters.
  const std::size_t length = std::min(text.size(), kCountedTextLimit);
  out.push_back(0);
  out.push_back(static_cast<std::uint8_t>(length));
  out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
}

void PutCount(Bytes& out, std::size_t count) {
  out.push_back(static_cast<std::uint8_t>((count >> 8) & 0xFF));
  out.push_back(static_cast<std::uint8_t>(count & 0xFF));
}

}  // namespace

TMHWApplication TMHWApplication::Create(const TNodo& node) {
  return FromPlain(PlainOf(node));
}

TMHWApplication TMHWApplication::FromPlain(ByteView plain) {
  TMHWApplication a;
  a.plain = plain.ToBytes();
  std::size_t pos = 2;
  a.initial_script = ReadCounted(plain, pos, kApplicationNameLimit);
  a.final_script = ReadCounted(plain, pos, kApplicationNameLimit);
  a.palette = ReadCounted(plain, pos, kApplicationNameLimit);
  const std::size_t class_count = plain.u16be(pos);
  pos += 2;
  for (std::size_t i = 0; i < class_count; ++i)
    a.classes.push_back(ReadCounted(plain, pos, kApplicationNameLimit));
  pos += 10;
  const std::size_t comment_count = plain.u16be(pos);
  pos += 2;
  for (std::size_t i = 0; i < comment_count; ++i)
    a.comments.push_back(ReadCounted(plain, pos, 0xFFFF));
  return a;
}

Bytes TMHWApplication::Plain() const {
  Bytes out;
  PutCount(out, 0);
  PutCounted(out, initial_script);
  PutCounted(out, final_script);
  PutCounted(out, palette);
  PutCount(out, classes.size());
  for (const std::string& c : classes) PutCounted(out, c);
  out.insert(out.end(), 10, 0);
  PutCount(out, comments.size());
  for (const std::string& c : comments) PutCounted(out, c);
  out.insert(out.end(), 38, 0);
  return out;
}

bool TMHWApplication::Guarda(TNodo& node) {
  Bytes bytes = Plain();
  if (!StorePlain(node, bytes)) return false;
  plain = std::move(bytes);
  return true;
}

bool TMHWApplication::AnadeClase(const std::string& class_name) {
  if (std::find(classes.begin(), classes.end(), class_name) != classes.end()) return false;
  classes.push_back(class_name);
  return true;
}

bool TMHWApplication::TextsFit() const {
  auto fits = [](const std::string& text) { return text.size() <= kCountedTextLimit; };
  return fits(initial_script) && fits(final_script) && fits(palette) &&
         std::all_of(classes.begin(), classes.end(), fits) &&
         std::all_of(comments.begin(), comments.end(), fits);
}

void TMHWApplication::Describe(const TNodo& node, const MessageTable& m,
                               std::vector<std::string>& lines) const {
  const TNodo* parent = node.Parent();
  lines.push_back(std::string(41, '-'));
  lines.push_back(m.Text(296) + " " + (parent ? DisplayName(parent->Text) : std::string()));
  lines.push_back(m.Text(309) + " " + DisplayName(node.Text));
  lines.push_back(m.Text(254) + " " + Latin1ToUtf8(initial_script));
  lines.push_back(m.Text(255) + " " + Latin1ToUtf8(final_script));
  lines.push_back(m.Text(256) + " " + Latin1ToUtf8(palette));
  for (const std::string& c : classes) lines.push_back(m.Text(251) + " : " + Latin1ToUtf8(c));
  for (const std::string& c : comments) lines.push_back(m.Text(257) + Latin1ToUtf8(c));
}

}  // namespace corvane

#include "support/patch_builder.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "support/image_canvas.h"

namespace corvane::test {

namespace {

std::uint64_t Digest(const std::uint8_t* data, std::size_t size) {
  std::uint64_t h = 1469598103934665603ull;  // FNV-1a
  for (std::size_t i = 0; i < size; ++i) {
    h ^= data[i];
    h *= 1099511628211ull;
  }
  return h;
}

std::string Line(int level, const std::string& text) {
  return std::string(static_cast<std::size_t>(2 * level), ' ') + text;
}

std::string FileLine(int level, const std::string& name, const std::uint8_t* data,
                     std::size_t size) {
  char tail[64];
  std::snprintf(tail, sizeof tail, " [%zu %016llx]", size,
                static_cast<unsigned long long>(Digest(data, size)));
  return Line(level, name) + tail + "\n";
}

}  // namespace

std::string Numbered(std::string_view prefix, std::size_t number) {
  std::string out(prefix);
  out += std::to_string(number);
  return out;
}

Bytes Pattern(std::size_t size, unsigned seed) {
  Bytes out(size);
  std::uint32_t x = seed * 2654435761u + 12345u;
  for (auto& b : out) {
    x = x * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(x >> 16);
  }
  return out;
}

Bytes CanalFile(std::size_t size, unsigned seed) {
  if (size < 13) throw std::invalid_argument("builder: CANAL_P.RCU too short");
  Bytes out = Pattern(size, seed);
  // The filler must not contain the terminator early: keep it free of NUL bytes.
  for (auto& b : out)
    if (b == 0) b = 1;
  const std::string head = "ucr";
  const std::string tail = std::string("patch.dbg") + '\0';
  std::copy(head.begin(), head.end(), out.begin());
  std::copy(tail.begin(), tail.end(), out.end() - static_cast<std::ptrdiff_t>(tail.size()));
  return out;
}

Bytes PatchSectionBytes(const PatchSectionSpec& section, Endian endian) {
  Bytes out(kPatchSection, 0);
  Canvas w(out, endian == Endian::Little);
  if (section.canal) {
    w.Put(0, *section.canal);
    return out;
  }
  if (section.dirs.size() > 16) throw std::invalid_argument("builder: more than 16 directories");
  std::size_t at = 32;
  for (std::size_t d = 0; d < section.dirs.size(); ++d) {
    const PatchDirSpec& dir = section.dirs[d];
    if (dir.name.size() > 10) throw std::invalid_argument("builder: name too long: " + dir.name);
    w.Number(2 * d, static_cast<std::uint32_t>(at), 2);
    std::size_t data_bytes = 0;
    for (const auto& f : dir.files) data_bytes += f.data.size();
    // From the count field: the count, the entries, the data; rounded up to a multiple of 4.
    const std::size_t body = 4 + 20 * dir.files.size() + data_bytes;
    w.Text(at, dir.name, 10);
    w.Number(at + 10, static_cast<std::uint32_t>(AlignUp(body, 4)), 2);
    w.Number(at + 12, static_cast<std::uint32_t>(dir.files.size()));
    std::size_t data_at = 4 + 20 * dir.files.size();  // relative to the count field
    for (std::size_t i = 0; i < dir.files.size(); ++i) {
      const std::size_t entry = at + 16 + 20 * i;
      if (dir.files[i].name.size() > 12) throw std::invalid_argument("builder: name too long");
      w.Text(entry, dir.files[i].name, 12);
      w.Number(entry + 12, static_cast<std::uint32_t>(data_at));
      w.Number(entry + 16, static_cast<std::uint32_t>(dir.files[i].data.size()));
      w.Put(at + 12 + data_at, dir.files[i].data);
      data_at += dir.files[i].data.size();
    }
    at += AlignUp(12 + body, 4) + section.record_gap;
  }
  return out;
}

Bytes PlainPatch(const std::vector<PatchSectionSpec>& sections, Endian endian, std::size_t length) {
  Bytes out(length ? length : sections.size() * kPatchSection, 0);
  for (std::size_t k = 0; k < sections.size(); ++k)
    Canvas(out, true).Put(k * kPatchSection, PatchSectionBytes(sections[k], endian));
  return out;
}

Bytes PhilipsPatch(const std::vector<PatchSectionSpec>& sections) {
  if (sections.size() > 7) throw std::invalid_argument("builder: a Philips patch has 7 sections");
  Bytes out = Pattern(0x200000, 77);
  std::fill(out.begin() + 0x10000, out.begin() + 0x80000, 0);
  for (std::size_t k = 0; k < sections.size(); ++k)
    Canvas(out, true).Put((k + 1) * kPatchSection, PatchSectionBytes(sections[k], Endian::Little));
  return out;
}

Bytes StrongBlockFile(const std::vector<StrongRecordSpec>& records, std::size_t cut) {
  Bytes out;
  for (const auto& r : records) {
    if (r.data.size() > kPatchSection) throw std::invalid_argument("builder: block too long");
    Bytes record(8 + kPatchSection, 0);
    Canvas w(record, false);
    w.Number(0, 0x00010008u);  // a header word the loader does not use
    w.Number(4, r.address);
    w.Put(8, r.data);
    out.insert(out.end(), record.begin(), record.end());
  }
  out.resize(out.size() - std::min(cut, out.size()));
  return out;
}

StrongRecordSpec StrongPatchRecord(std::uint32_t base, unsigned block,
                                   const PatchSectionSpec& section) {
  return {base + 0x20000000u + block * 0x10000u, PatchSectionBytes(section, Endian::Big)};
}

PatchSectionSpec SampleSection(unsigned seed, std::size_t dirs) {
  PatchSectionSpec s;
  for (std::size_t d = 0; d < dirs; ++d) {
    const auto k = static_cast<unsigned>(seed * 31 + d);
    s.dirs.push_back({Numbered("dir", k),
                      {{"a.cpz", Pattern(13 + k % 7, k)},
                       {"b.pan", Pattern(1 + k % 3, k + 1)},
                       {"long_name.im", Pattern(250 + k, k + 2)}}});
  }
  return s;
}

PatchSectionSpec CanalSection(std::size_t size) {
  PatchSectionSpec s;
  s.canal = CanalFile(size, static_cast<unsigned>(size));
  return s;
}

PatchSectionSpec FullSection(unsigned seed) {
  PatchSectionSpec s;
  s.dirs = {{"full", {{"big.dat", Pattern(65467, seed)}}}};
  return s;
}

std::string DescribeTree(const TArbol& tree) {
  std::string out;
  tree.ForEach([&](TNodo& node) {
    if (node.IsDirectory())
      out += Line(node.Level(), node.Text) + "/\n";
    else
      out += FileLine(node.Level(), node.Text, node.Data.Datos.data(), node.Data.Datos.size());
  });
  return out;
}

std::string DescribePatch(const std::string& root_name,
                          const std::vector<std::pair<unsigned, PatchSectionSpec>>& sections) {
  std::string out = root_name + "/\n";
  for (const auto& [number, section] : sections) {
    char name[32];
    std::snprintf(name, sizeof name, "Secci\xF3n-%02X/\n", number);
    out += Line(1, name);
    if (section.canal) {
      out += FileLine(2, "CANAL_P.RCU", section.canal->data(), section.canal->size());
      continue;
    }
    for (const auto& dir : section.dirs) {
      out += Line(2, dir.name) + "/\n";
      for (const auto& f : dir.files) out += FileLine(3, f.name, f.data.data(), f.data.size());
    }
  }
  return out;
}

}  // namespace corvane::test

#include "support/patch_builder.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace corvane::test {

namespace {

void Put(Bytes& out, std::size_t pos, std::uint32_t value, int n, Endian endian) {
  if (pos + static_cast<std::size_t>(n) > out.size())
    throw std::out_of_range("builder: field past end");
  for (int i = 0; i < n; ++i) {
    const int shift = endian == Endian::Little ? 8 * i : 8 * (n - 1 - i);
    out[pos + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> shift);
  }
}

void PutName(Bytes& out, std::size_t pos, const std::string& name, std::size_t width) {
  if (name.size() > width) throw std::invalid_argument("builder: name too long: " + name);
  if (pos + width > out.size()) throw std::out_of_range("builder: name past end");
  for (std::size_t i = 0; i < width; ++i)
    out[pos + i] = i < name.size() ? static_cast<std::uint8_t>(name[i]) : 0;
}

void PutBytes(Bytes& out, std::size_t pos, const Bytes& bytes) {
  if (pos + bytes.size() > out.size()) throw std::out_of_range("builder: bytes past end");
  std::copy(bytes.begin(), bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(pos));
}

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
  if (section.canal) {
    PutBytes(out, 0, *section.canal);
    return out;
  }
  if (section.dirs.size() > 16) throw std::invalid_argument("builder: more than 16 directories");
  std::size_t at = 32;
  for (std::size_t d = 0; d < section.dirs.size(); ++d) {
    const PatchDirSpec& dir = section.dirs[d];
    Put(out, 2 * d, static_cast<std::uint32_t>(at), 2, endian);
    const std::size_t count = dir.files.size();
    std::size_t data_bytes = 0;
    for (const auto& f : dir.files) data_bytes += f.data.size();
    // From the count field: the count, the entries, the data; rounded up to a multiple of 4.
    const std::size_t body = 4 + 20 * count + data_bytes;
    PutName(out, at, dir.name, 10);
    Put(out, at + 10, static_cast<std::uint32_t>((body + 3) / 4 * 4), 2, endian);
    Put(out, at + 12, static_cast<std::uint32_t>(count), 4, endian);
    std::size_t data_at = 4 + 20 * count;  // relative to the count field
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t entry = at + 16 + 20 * i;
      PutName(out, entry, dir.files[i].name, 12);
      Put(out, entry + 12, static_cast<std::uint32_t>(data_at), 4, endian);
      Put(out, entry + 16, static_cast<std::uint32_t>(dir.files[i].data.size()), 4, endian);
      PutBytes(out, at + 12 + data_at, dir.files[i].data);
      data_at += dir.files[i].data.size();
    }
    at += (12 + body + 3) / 4 * 4 + section.record_gap;
  }
  return out;
}

Bytes PlainPatch(const std::vector<PatchSectionSpec>& sections, Endian endian, std::size_t length) {
  if (length == 0) length = sections.size() * kPatchSection;
  Bytes out(length, 0);
  for (std::size_t k = 0; k < sections.size(); ++k)
    PutBytes(out, k * kPatchSection, PatchSectionBytes(sections[k], endian));
  return out;
}

Bytes PhilipsPatch(const std::vector<PatchSectionSpec>& sections) {
  if (sections.size() > 7) throw std::invalid_argument("builder: a Philips patch has 7 sections");
  Bytes out = Pattern(0x200000, 77);
  std::fill(out.begin() + 0x10000, out.begin() + 0x80000, 0);
  for (std::size_t k = 0; k < sections.size(); ++k)
    PutBytes(out, (k + 1) * kPatchSection, PatchSectionBytes(sections[k], Endian::Little));
  return out;
}

Bytes StrongBlockFile(const std::vector<StrongRecordSpec>& records, std::size_t cut) {
  Bytes out;
  for (const auto& r : records) {
    if (r.data.size() > kPatchSection) throw std::invalid_argument("builder: block too long");
    Bytes record(8 + kPatchSection, 0);
    Put(record, 0, 0x00010008u, 4, Endian::Big);  // a header word the loader does not use
    Put(record, 4, r.address, 4, Endian::Big);
    PutBytes(record, 8, r.data);
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

// The 64 KB patch section: its names, what the reader keeps of damaged or foreign sections, and
// what the writer refuses. (Whole patches of every model are read and written byte for byte in
// firmware_load_save_test.cpp.)
#include <gtest/gtest.h>

#include <functional>

#include "base/messages.h"
#include "firmware/families/patch_sections.h"
#include "support/patch_builder.h"

namespace corvane {
namespace {

using test::Endian;
using test::PatchSectionSpec;
using test::Pattern;

struct Section {
  TArbol tree;
  TNodo* node;
  explicit Section(unsigned number = 0)
      : node(AnadeNodo({}, SectionName(number), tree, AnadeNodo({}, "p", tree, nullptr))) {}
};

// Reads one section's bytes under a fresh section node and lists the result.
std::string ReadListing(const Bytes& bytes, Endian endian) {
  Section s;
  ReadPatchSection(bytes, endian == Endian::Little ? ByteOrder::Little : ByteOrder::Big, s.tree,
                   s.node);
  return test::DescribeTree(s.tree);
}

std::string Expected(const PatchSectionSpec& spec) { return test::DescribePatch("p", {{0, spec}}); }

PatchSectionSpec OneDir(std::vector<std::size_t> sizes) {
  PatchSectionSpec spec;
  spec.dirs = {{"d", {}}};
  for (std::size_t i = 0; i < sizes.size(); ++i)
    spec.dirs[0].files.push_back({test::Numbered("f", i), Pattern(sizes[i], i)});
  return spec;
}

TEST(PatchSectionNames, EightBitNamesAndTheirNumbers) {
  EXPECT_EQ(SectionName(0x1A), "Secci\xF3n-1A");
  EXPECT_EQ(NameFromText("Sección"), SectionPrefix());
  EXPECT_EQ(TextFromName("Secci\xF3n-00"), "Sección-00");
  EXPECT_EQ(NameFromText("a€b\u0100"), "a?b?");  // outside Latin-1
  EXPECT_EQ(TextFromName("\x80"), "\u0080");      // shown as names are shown everywhere
  const std::pair<const char*, std::int64_t> numbers[] = {
      {"Secci\xF3n-06", 6}, {"Secci\xF3n-1F", 31}, {"Secci\xF3n-0a", -1}, {"Secci\xF3n", -1},
      {"x-", 0},            {"a-b-1", -1},         {"-7", 7}};
  for (const auto& [name, number] : numbers) EXPECT_EQ(SectionNumber(name), number) << name;
}

TEST(PatchSectionRead, TheTableEndsAtZeroOrFFFF) {
  PatchSectionSpec spec;
  for (int i = 0; i < 4; ++i) spec.dirs.push_back({test::Numbered("d", i), {{"f", Pattern(3, i)}}});
  PatchSectionSpec three = spec;
  three.dirs.resize(3);
  for (const std::uint8_t end : {0x00, 0xFF}) {
    Bytes bytes = test::PatchSectionBytes(spec, Endian::Little);
    bytes[6] = bytes[7] = end;  // slot 3
    EXPECT_EQ(ReadListing(bytes, Endian::Little), Expected(three));
  }
}

TEST(PatchSectionRead, BigEndianPatchesUseOnlyTheLowSixteenBits) {
  const PatchSectionSpec spec = OneDir({10, 20});
  Bytes bytes = test::PatchSectionBytes(spec, Endian::Big);
  // High halves of the count (record offset 12) and of each entry's offset and size.
  for (std::size_t pos : {44u, 60u, 64u, 80u, 84u}) {
    bytes[pos] = 0xAB;
    bytes[pos + 1] = 0xCD;
  }
  EXPECT_EQ(ReadListing(bytes, Endian::Big), Expected(spec));
}

TEST(PatchSectionRead, TheWalkStaysInsideTheSection) {
  // An entry whose size runs past the section is skipped.
  const PatchSectionSpec spec = OneDir({10, 20, 4});
  Bytes bytes = test::PatchSectionBytes(spec, Endian::Little);
  bytes[32 + 16 + 20 + 18] = 0x01;
  PatchSectionSpec without = spec;
  without.dirs[0].files.erase(without.dirs[0].files.begin() + 1);
  EXPECT_EQ(ReadListing(bytes, Endian::Little), Expected(without));

  // A count of 0xFFFFFFFF: the entries are read until the section ends.
  bytes = test::PatchSectionBytes(spec, Endian::Little);
  std::fill_n(bytes.begin() + 44, 4, 0xFF);
  Section s;
  ReadPatchSection(bytes, ByteOrder::Little, s.tree, s.node);
  ASSERT_EQ(s.node->ChildCount(), 1u);
  EXPECT_GE(s.node->FirstChild()->ChildCount(), 3u);

  // A record whose 16-byte header would end past the section is not read.
  Bytes small(40, 0);
  small[0] = 30;
  EXPECT_EQ(ReadListing(small, Endian::Little), test::DescribePatch("p", {{0, {}}}));
}

TEST(PatchSectionRead, EntriesSharingTheirBytesAreReadOnlyUpToOneMegabyte) {
  // Sixteen slots name the same record; its 3000 entries all point at the same 4000 bytes.
  Bytes bytes(test::kPatchSection, 0);
  MutableByteView v(bytes);
  for (std::size_t slot = 0; slot < 16; ++slot) v.WriteLE(2 * slot, 32, 2);
  v.WriteLE(44, 3000, 4);
  for (std::size_t entry = 48; entry < 48 + 20 * 3000; entry += 20) {
    v.WriteLE(entry, 'f', 1);
    v.WriteLE(entry + 12, 4, 4);
    v.WriteLE(entry + 16, 4000, 4);
  }
  Section s;
  ReadPatchSection(bytes, ByteOrder::Little, s.tree, s.node);
  EXPECT_EQ(s.node->ChildCount(), 16u);
  std::size_t files = 0;
  s.tree.ForEach([&](TNodo& n) { files += n.IsDirectory() ? 0 : 1; });
  EXPECT_EQ(files, 0x100000u / 4000u);
}

TEST(PatchSectionRead, CanalRunsToPatchDbgAndItsNulOrToTheSectionEnd) {
  PatchSectionSpec spec;
  spec.canal = test::CanalFile(1000, 5);
  Bytes bytes = test::PatchSectionBytes(spec, Endian::Little);
  bytes[1000] = 'x';  // bytes after the terminator are not part of the file
  const std::string mark = "patch.dbg";
  std::copy(mark.begin(), mark.end(), bytes.begin() + 100);  // without its NUL: no end
  spec.canal = Bytes(bytes.begin(), bytes.begin() + 1000);
  EXPECT_EQ(ReadListing(bytes, Endian::Little), Expected(spec));

  std::replace(bytes.begin(), bytes.end(), std::uint8_t{0}, std::uint8_t{7});
  spec.canal = bytes;
  EXPECT_EQ(ReadListing(bytes, Endian::Big), Expected(spec));
}

// What fits a section and what the format cannot hold (refused rather than written over each
// other, naming the section).
TEST(PatchSectionWrite, WhatFitsAndWhatIsRefused) {
  using Fill = std::function<void(TArbol&, TNodo*)>;
  auto file = [](std::size_t size) -> Fill {
    return [size](TArbol& t, TNodo* s) { AnadeNodo(Pattern(size, 4), "f", t, AnadeNodo({}, "d", t, s)); };
  };
  auto canal = [](std::size_t size, const char* name) -> Fill {
    return [=](TArbol& t, TNodo* s) { AnadeNodo(test::CanalFile(size, 3), name, t, s); };
  };
  const struct {
    const char* what;
    Fill fill;
    bool fits;
  } cases[] = {
      // One file of n bytes: its bytes end at 32 + 36 + n, which may be 65535.
      {"bytes up to the last of the section", file(65467), true},
      {"one byte more", file(65468), false},
      {"CANAL_P.RCU filling the section", canal(test::kPatchSection, kCanalName), true},
      {"CANAL_P.RCU in small letters", canal(333, "canal_p.rcu"), true},
      {"CANAL_P.RCU one byte over", canal(test::kPatchSection + 1, kCanalName), false},
      {"CANAL_P.RCU beside a directory",
       [](TArbol& t, TNodo* s) {
         AnadeNodo(test::CanalFile(50, 1), kCanalName, t, s);
         AnadeNodo({}, "d", t, s);
       },
       false},
      {"a directory before CANAL_P.RCU",
       [](TArbol& t, TNodo* s) {
         AnadeNodo({}, "d", t, s);
         AnadeNodo(test::CanalFile(50, 1), kCanalName, t, s);
       },
       false},
      {"a plain file in the section",
       [](TArbol& t, TNodo* s) { AnadeNodo(Pattern(4, 1), "x.pan", t, s); }, false},
      {"a directory in a directory",
       [](TArbol& t, TNodo* s) {
         TNodo* d = AnadeNodo({}, "d", t, s);
         AnadeNodo(Pattern(4, 1), "x.pan", t, d);
         AnadeNodo({}, "sub", t, d);
       },
       false},
      {"seventeen directories",
       [](TArbol& t, TNodo* s) {
         for (int i = 0; i < 17; ++i) AnadeNodo({}, test::Numbered("d", i), t, s);
       },
       false},
      {"two directories over the limit together",
       [](TArbol& t, TNodo* s) {
         AnadeNodo(Pattern(40000, 1), "a", t, AnadeNodo({}, "d1", t, s));
         AnadeNodo(Pattern(30000, 1), "b", t, AnadeNodo({}, "d2", t, s));
       },
       false},
  };
  for (const auto& c : cases) {
    for (const ByteOrder order : {ByteOrder::Little, ByteOrder::Big}) {
      Section s(3);
      c.fill(s.tree, s.node);
      Bytes out(test::kPatchSection, 0);
      const Result r = WritePatchSection(*s.node, order, out);
      EXPECT_EQ(r.ok(), c.fits) << c.what;
      if (c.fits) continue;
      EXPECT_EQ(r.message.Rows().front(), 7) << c.what;
      EXPECT_NE(RenderMessage(r.message).find("Sección-03"), std::string::npos) << c.what;
    }
  }
}

}  // namespace
}  // namespace corvane

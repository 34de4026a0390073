#include <gtest/gtest.h>

#include <functional>

#include "base/messages.h"
#include "firmware/families/patch_sections.h"
#include "firmware/sizes.h"
#include "support/patch_builder.h"

namespace corvane {
namespace {

using test::Endian;
using test::PatchDirSpec;
using test::PatchSectionSpec;
using test::Pattern;

ByteOrder OrderOf(Endian e) {
  return e == Endian::Little ? ByteOrder::Little : ByteOrder::Big;
}

// Reads one section's bytes under a fresh section node and lists the result.
std::string ReadListing(const Bytes& section, Endian endian) {
  TArbol tree;
  TNodo* root = AnadeNodo({}, "p", tree, nullptr);
  TNodo* node = AnadeNodo({}, SectionName(0), tree, root);
  ReadPatchSection(section, OrderOf(endian), tree, node);
  return test::DescribeTree(tree);
}

std::string Expected(const PatchSectionSpec& spec) {
  return test::DescribePatch("p", {{0, spec}});
}

// Builds a section node from a description (as insertion would), for the writer.
TNodo* AddSection(TArbol& tree, TNodo* root, const PatchSectionSpec& spec) {
  TNodo* section =
      AnadeNodo({}, SectionName(static_cast<unsigned>(root->ChildCount())), tree, root);
  if (spec.canal) AnadeNodo(*spec.canal, kCanalName, tree, section);
  for (const auto& d : spec.dirs) {
    TNodo* dir = AnadeNodo({}, d.name, tree, section);
    for (const auto& f : d.files) AnadeNodo(f.data, f.name, tree, dir);
  }
  return section;
}

TEST(PatchSectionNames, UseTheMessageTextInItsEightBitForm) {
  EXPECT_EQ(SectionPrefix(), "Secci\xF3n");
  EXPECT_EQ(SectionName(0), "Secci\xF3n-00");
  EXPECT_EQ(SectionName(7), "Secci\xF3n-07");
  EXPECT_EQ(SectionName(0x1A), "Secci\xF3n-1A");
  EXPECT_EQ(NameFromText("Sección"), "Secci\xF3n");
  EXPECT_EQ(TextFromName("Secci\xF3n-00"), "Sección-00");
  EXPECT_EQ(NameFromText("a€b"), "a?b");       // outside Latin-1
  EXPECT_EQ(TextFromName("\x80"), "\u0080");   // shown as names are shown everywhere
  EXPECT_EQ(NameFromText("a\u0100b"), "a?b");
  EXPECT_EQ(TextFromName(NameFromText("ñÿ é")), "ñÿ é");
}

TEST(PatchSectionNames, NumberIsTheHexTextAfterTheDash) {
  const std::pair<const char*, std::int64_t> cases[] = {
      {"Secci\xF3n-00", 0},  {"Secci\xF3n-06", 6},
      {"Secci\xF3n-1F", 31}, {"Secci\xF3n-0a", -1},
      {"Secci\xF3n", -1},    {"x-", 0},
      {"a-b-1", -1},         {"-7", 7}};
  for (const auto& [name, number] : cases) EXPECT_EQ(SectionNumber(name), number) << name;
}

TEST(PatchSectionRead, DirectoriesAndFilesInBothByteOrders) {
  PatchSectionSpec spec;
  spec.dirs = {{"boot", {{"a.cpz", Pattern(5, 1)}, {"logo.imz", Pattern(301, 2)}}},
               {"empty", {}},
               {"0123456789", {{"abcdefgh.pan", Pattern(64, 3)}}}};
  spec.record_gap = 12;  // the reader follows the offsets, not the writer's packing
  for (Endian e : {Endian::Little, Endian::Big})
    EXPECT_EQ(ReadListing(test::PatchSectionBytes(spec, e), e), Expected(spec));
}

TEST(PatchSectionRead, TheTableEndsAtZeroAtFFFFOrAfterSixteenSlots) {
  PatchSectionSpec spec;
  for (int i = 0; i < 16; ++i)
    spec.dirs.push_back({test::Numbered("d", i), {{"f", Pattern(3, i)}}});
  Bytes full = test::PatchSectionBytes(spec, Endian::Little);
  EXPECT_EQ(ReadListing(full, Endian::Little), Expected(spec));  // no terminator needed

  Bytes cut = full;
  cut[6] = 0xFF;
  cut[7] = 0xFF;  // slot 3 ends the table
  PatchSectionSpec three = spec;
  three.dirs.resize(3);
  EXPECT_EQ(ReadListing(cut, Endian::Little), Expected(three));
  cut[6] = 0;
  cut[7] = 0;
  EXPECT_EQ(ReadListing(cut, Endian::Little), Expected(three));
}

TEST(PatchSectionRead, BigEndianPatchesUseOnlyTheLowSixteenBits) {
  PatchSectionSpec spec;
  spec.dirs = {{"d", {{"one", Pattern(10, 1)}, {"two", Pattern(20, 2)}}}};
  Bytes bytes = test::PatchSectionBytes(spec, Endian::Big);
  // High halves of the count (record offset 12) and of each entry's offset and size.
  for (std::size_t pos :
       {32u + 12u, 32u + 16u + 12u, 32u + 16u + 16u, 32u + 36u + 12u, 32u + 36u + 16u}) {
    bytes[pos] = 0xAB;
    bytes[pos + 1] = 0xCD;
  }
  EXPECT_EQ(ReadListing(bytes, Endian::Big), Expected(spec));
}

TEST(PatchSectionRead, EntriesOutsideTheSectionAreSkippedAndTheWalkStaysInside) {
  PatchSectionSpec spec;
  spec.dirs = {{"d", {{"one", Pattern(10, 1)}, {"two", Pattern(20, 2)}, {"three", Pattern(4, 3)}}}};
  Bytes bytes = test::PatchSectionBytes(spec, Endian::Little);
  const std::size_t second = 32 + 16 + 20;
  bytes[second + 16] = 0xF0;  // size 0xF0 + 20 bytes ... still inside
  bytes[second + 18] = 0x01;  // size beyond the section: skipped
  PatchSectionSpec without = spec;
  without.dirs[0].files.erase(without.dirs[0].files.begin() + 1);
  EXPECT_EQ(ReadListing(bytes, Endian::Little), Expected(without));

  // A count of 0xFFFFFFFF: the entries are read until the section ends, without a crash.
  bytes = test::PatchSectionBytes(spec, Endian::Little);
  for (int i = 0; i < 4; ++i) bytes[32 + 12 + static_cast<std::size_t>(i)] = 0xFF;
  TArbol tree;
  TNodo* root = AnadeNodo({}, "p", tree, nullptr);
  TNodo* node = AnadeNodo({}, SectionName(0), tree, root);
  ReadPatchSection(bytes, ByteOrder::Little, tree, node);
  ASSERT_EQ(node->ChildCount(), 1u);
  EXPECT_GE(node->FirstChild()->ChildCount(), 3u);

  // A record whose header would end past the section is not read.
  Bytes small(40, 0);
  small[0] = 30;  // record at 30: its 16-byte header does not fit in 40 bytes
  EXPECT_EQ(ReadListing(small, Endian::Little), test::DescribePatch("p", {{0, {}}}));
}

TEST(PatchSectionRead, EntriesSharingTheirBytesAreReadOnlyUpToOneMegabyte) {
  // Sixteen slots name the same record; its 3000 entries all point at the same 4000 bytes.
  Bytes bytes(test::kPatchSection, 0);
  const ByteOrder order = ByteOrder::Little;
  MutableByteView v(bytes);
  for (std::size_t slot = 0; slot < 16; ++slot) v.WriteLE(2 * slot, 32, 2);
  v.WriteLE(32 + 12, 3000, 4);
  for (std::size_t j = 0; j < 3000; ++j) {
    v.WriteLE(32 + 16 + 20 * j, 'f', 1);
    v.WriteLE(32 + 16 + 20 * j + 12, 4, 4);
    v.WriteLE(32 + 16 + 20 * j + 16, 4000, 4);
  }
  TArbol tree;
  TNodo* root = AnadeNodo({}, "p", tree, nullptr);
  TNodo* node = AnadeNodo({}, SectionName(0), tree, root);
  ReadPatchSection(bytes, order, tree, node);
  EXPECT_EQ(node->ChildCount(), 16u);
  std::size_t files = 0, total = 0;
  tree.ForEach([&](TNodo& n) {
    if (!n.IsDirectory()) {
      ++files;
      total += n.Data.Tamano;
    }
  });
  EXPECT_EQ(files, 0x100000u / 4000u);
  EXPECT_LE(total, 0x100000u);
}

TEST(PatchSectionRead, CanalRunsToPatchDbgAndItsNul) {
  PatchSectionSpec spec;
  spec.canal = test::CanalFile(1000, 5);
  Bytes bytes = test::PatchSectionBytes(spec, Endian::Little);
  bytes[1000] = 'x';  // bytes after the terminator are not part of the file
  EXPECT_EQ(ReadListing(bytes, Endian::Little), Expected(spec));

  // "patch.dbg" without its NUL does not end the file.
  Bytes early = bytes;
  const std::string mark = "patch.dbg";
  std::copy(mark.begin(), mark.end(), early.begin() + 100);
  early[109] = 'z';
  PatchSectionSpec same;
  same.canal = Bytes(early.begin(), early.begin() + 1000);
  EXPECT_EQ(ReadListing(early, Endian::Little), Expected(same));
}

TEST(PatchSectionRead, CanalWithoutItsEndRunsToTheSectionEnd) {
  Bytes bytes = Pattern(test::kPatchSection, 9);
  for (auto& b : bytes)
    if (b == 0) b = 7;
  bytes[0] = 'u';
  bytes[1] = 'c';
  bytes[2] = 'r';
  PatchSectionSpec spec;
  spec.canal = bytes;
  EXPECT_EQ(ReadListing(bytes, Endian::Big), Expected(spec));
}

TEST(PatchSectionWrite, RecordOfFilesOfFiveAndSevenBytes) {
  for (Endian e : {Endian::Little, Endian::Big}) {
    PatchSectionSpec spec;
    spec.dirs = {{"dir", {{"a", Pattern(5, 1)}, {"b", Pattern(7, 2)}}},
                 {"next", {{"c", Pattern(1, 3)}}}};
    TArbol tree;
    TNodo* root = AnadeNodo({}, "p", tree, nullptr);
    TNodo* section = AddSection(tree, root, spec);
    Bytes out(test::kPatchSection, 0);
    ASSERT_TRUE(WritePatchSection(*section, OrderOf(e), out));
    EXPECT_EQ(out, test::PatchSectionBytes(spec, e));
    const ByteView v(out);
    auto u16 = [&](std::size_t p) { return e == Endian::Little ? v.u16le(p) : v.u16be(p); };
    auto u32 = [&](std::size_t p) { return e == Endian::Little ? v.u32le(p) : v.u32be(p); };
    EXPECT_EQ(u16(0), 32u);
    EXPECT_EQ(u16(2), 32u + 68u);  // 16 + 40 + 12 bytes
    EXPECT_EQ(u16(4), 0u);
    EXPECT_EQ(u16(32 + 10), 56u);  // 52 + 4
    EXPECT_EQ(u32(32 + 12), 2u);
    EXPECT_EQ(u32(32 + 16 + 12), 44u);  // 20 × 2 + 4
    EXPECT_EQ(u32(32 + 36 + 12), 49u);
    EXPECT_EQ(u32(32 + 36 + 16), 7u);
  }
}

TEST(PatchSectionWrite, CanalIsCopiedToTheSectionStart) {
  PatchSectionSpec spec;
  spec.canal = test::CanalFile(333, 1);
  TArbol tree;
  TNodo* root = AnadeNodo({}, "p", tree, nullptr);
  TNodo* section = AddSection(tree, root, spec);
  section->FirstChild()->Text = "canal_p.rcu";  // compared in capitals
  Bytes out(test::kPatchSection, 0);
  ASSERT_TRUE(WritePatchSection(*section, ByteOrder::Little, out));
  EXPECT_EQ(out, test::PatchSectionBytes(spec, Endian::Little));
}

TEST(PatchSectionWrite, ContentsUpToTheLimitFitAndOneByteMoreIsRefused) {
  // One directory with one file of n bytes: its bytes end at 32 + 36 + n, its padding at the
  // next multiple of 4. The bytes may end at 65535; the padding may fill the slot.
  for (Endian e : {Endian::Little, Endian::Big}) {
    PatchSectionSpec spec;
    spec.dirs = {{"big", {{"f", Pattern(65467, 4)}}}};
    TArbol tree;
    TNodo* root = AnadeNodo({}, "p", tree, nullptr);
    TNodo* section = AddSection(tree, root, spec);
    EXPECT_EQ(TamanoSeccion(*section), 65536u);
    Bytes out(test::kPatchSection, 0);
    ASSERT_TRUE(WritePatchSection(*section, OrderOf(e), out));
    EXPECT_EQ(out, test::PatchSectionBytes(spec, e));

    spec.dirs[0].files[0].data.push_back(1);
    TArbol tree2;
    TNodo* root2 = AnadeNodo({}, "p", tree2, nullptr);
    TNodo* over = AddSection(tree2, root2, spec);
    EXPECT_EQ(TamanoSeccion(*over), 65536u);  // the same rounded size, one byte too many
    Bytes out2(test::kPatchSection, 0);
    const Result r = WritePatchSection(*over, OrderOf(e), out2);
    EXPECT_EQ(r.outcome, Outcome::Refused);
    EXPECT_EQ(r.message.Rows(), std::vector<int>{7});
    EXPECT_NE(RenderMessage(r.message).find("Sección-00"), std::string::npos);
  }
}

TEST(PatchSectionWrite, CanalMayFillTheWholeSlot) {
  TArbol tree;
  TNodo* root = AnadeNodo({}, "p", tree, nullptr);
  TNodo* section = AnadeNodo({}, SectionName(0), tree, root);
  TNodo* canal = AnadeNodo(test::CanalFile(test::kPatchSection, 3), kCanalName, tree, section);
  Bytes out(test::kPatchSection, 0);
  EXPECT_TRUE(WritePatchSection(*section, ByteOrder::Big, out));
  EXPECT_EQ(out, canal->Data.Datos);
  canal->Data.Datos.push_back(0);
  canal->Data.Tamano += 1;
  EXPECT_EQ(WritePatchSection(*section, ByteOrder::Big, out).outcome, Outcome::Refused);
}

// Contents the section format cannot hold are refused rather than written over each other.
TEST(PatchSectionWrite, ContentsTheFormatCannotHoldAreRefused) {
  struct Case {
    const char* what;
    std::function<void(TArbol&, TNodo*)> fill;
  };
  const Case cases[] = {
      {"CANAL_P.RCU beside a directory",
       [](TArbol& t, TNodo* s) {
         AnadeNodo(test::CanalFile(50, 1), kCanalName, t, s);
         AnadeNodo({}, "d", t, s);
       }},
      {"a directory before CANAL_P.RCU",
       [](TArbol& t, TNodo* s) {
         AnadeNodo({}, "d", t, s);
         AnadeNodo(test::CanalFile(50, 1), kCanalName, t, s);
       }},
      {"a plain file in the section",
       [](TArbol& t, TNodo* s) { AnadeNodo(Pattern(4, 1), "x.pan", t, s); }},
      {"a directory in a directory",
       [](TArbol& t, TNodo* s) {
         TNodo* d = AnadeNodo({}, "d", t, s);
         AnadeNodo(Pattern(4, 1), "x.pan", t, d);
         AnadeNodo({}, "sub", t, d);
       }},
      {"seventeen directories",
       [](TArbol& t, TNodo* s) {
         for (int i = 0; i < 17; ++i) AnadeNodo({}, test::Numbered("d", i), t, s);
       }},
      {"two directories over the limit together",
       [](TArbol& t, TNodo* s) {
         AnadeNodo(Pattern(40000, 1), "a", t, AnadeNodo({}, "d1", t, s));
         AnadeNodo(Pattern(30000, 1), "b", t, AnadeNodo({}, "d2", t, s));
       }},
  };
  for (const Case& c : cases) {
    TArbol tree;
    TNodo* root = AnadeNodo({}, "p", tree, nullptr);
    TNodo* section = AnadeNodo({}, SectionName(3), tree, root);
    c.fill(tree, section);
    Bytes out(test::kPatchSection, 0);
    const Result r = WritePatchSection(*section, ByteOrder::Little, out);
    EXPECT_EQ(r.outcome, Outcome::Refused) << c.what;
    EXPECT_EQ(r.message.Rows().front(), 7) << c.what;
    EXPECT_NE(RenderMessage(r.message).find("Sección-03"), std::string::npos) << c.what;
  }
}

TEST(PatchSectionWrite, SixteenDirectoriesFillTheTable) {
  PatchSectionSpec spec;
  for (int i = 0; i < 16; ++i)
    spec.dirs.push_back({test::Numbered("d", i), {{"f", Pattern(9, i)}}});
  TArbol tree;
  TNodo* root = AnadeNodo({}, "p", tree, nullptr);
  TNodo* section = AddSection(tree, root, spec);
  Bytes out(test::kPatchSection, 0);
  ASSERT_TRUE(WritePatchSection(*section, ByteOrder::Big, out));
  EXPECT_EQ(out, test::PatchSectionBytes(spec, Endian::Big));
}

}  // namespace
}  // namespace corvane

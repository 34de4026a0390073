// Comparison, search and the information figures.
#include <gtest/gtest.h>

#include "base/messages.h"
#include "firmware/codec.h"
#include "document/compare.h"
#include "document/info.h"
#include "document/search.h"
#include "support/files.h"
#include "support/document_support.h"

namespace corvane {
namespace {

using test::AddDir;
using test::AddFile;
using test::MakeDocument;
using test::ToBytes;

// ---- Comparison ----

std::unique_ptr<Document> Filled(const std::string& name) {
  auto owner = MakeDocument(1, name);
  Document& doc = *owner;
  TNodo* boot = AddDir(doc, doc.Root(), "boot");
  AddFile(doc, boot, "menu.cpi", "script bytes");
  AddFile(doc, boot, "logo.imz", "image bytes");
  TNodo* sub = AddDir(doc, boot, "sub");
  AddFile(doc, sub, "deep", doc.Root()->Text);  // differs between the two
  TNodo* data = AddDir(doc, doc.Root(), "data");
  AddFile(doc, data, "pal.lut", "palette");
  return owner;
}

std::vector<std::string> Lines(const CompareSummary& s) {
  std::vector<std::string> out;
  for (const Message& m : s.lines) out.push_back(RenderMessage(m));
  return out;
}

TEST(Compare, DifferencesMissingFilesAndDirectories) {
  struct {
    std::unique_ptr<Document> one = Filled("one.bin"), two = Filled("two.bin");
  } p;
  CompareSummary same;
  CompareTrees(*p.one->Tree(), *p.two->Tree(), same);
  EXPECT_TRUE(same.lines.empty());  // subdirectories count as equal whatever they hold
  EXPECT_EQ(same.differing + same.missing, 0u);

  p.one->Root()->Child(0)->Child(0)->Data.Datos = ToBytes("script BYTES");
  AddFile(*p.one, p.one->Root()->Child(1), "only1.lut", "x");
  AddFile(*p.two, p.two->Root()->Child(1), "only2.lut", "x");  // not reported
  AddDir(*p.one, p.one->Root(), "extra1");
  AddDir(*p.two, p.two->Root(), "EXTRA2");
  AddDir(*p.two, p.two->Root(), "extra3");
  CompareSummary s;
  CompareTrees(*p.one->Tree(), *p.two->Tree(), s);
  const std::vector<std::string> expected = {
      "¡ El número de directorios es distinto !",
      "El fichero \"boot:menu.cpi\" es diferente",
      "El fichero \"data:only1.lut\" no existe en Firmware 2",
      "El directorio \"extra1\" no se encuentra en el firmware 2",
      "El directorio \"EXTRA2\" no se encuentra en el firmware 1",
      "El directorio \"extra3\" no se encuentra en el firmware 1",
  };
  EXPECT_EQ(Lines(s), expected);
  EXPECT_EQ(s.differing, 1u);
  EXPECT_EQ(s.missing, 1u);
}

// Stored or decompressed bytes may match either way; files that decompress to nothing compare by
// their stored bytes; a directory (no bytes) equals only a directory.
TEST(Compare, SameContent) {
  const Bytes plain = ToBytes(std::string(500, 'q') + "tail");
  const Bytes packed = Compress(plain);
  const Bytes other = Compress(ToBytes(std::string(500, 'q') + "TAIL"));
  const Bytes junk1 = {0x00, 0x00, 0x00, 0x00};  // end tokens only
  const Bytes junk2 = {0x00, 0x00, 0x00, 0x00, 0x00};
  ASSERT_TRUE(Decompress(junk1).empty() && Decompress(junk2).empty());
  const std::tuple<Bytes, Bytes, bool> cases[] = {
      {plain, packed, true},  {packed, plain, true}, {plain, other, false}, {packed, other, false},
      {junk1, junk2, false},  {junk1, {}, false},    {{}, {}, true},
  };
  TArbol t;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& [a, b, equal] = cases[i];
    EXPECT_EQ(SameContent(*AnadeNodo(a, "a", t, nullptr), *AnadeNodo(b, "b", t, nullptr)), equal)
        << "case " << i;
  }
}

TEST(Compare, SidesThatDoNotLoadStillEndWithTheCounts) {
  const CompareSummary s = CompareFirmwares("/nonexistent/a.bin", 1, "/nonexistent/b.bin", 1);
  const std::vector<std::string> expected = {"Cargando firmware 1 ...",
                                             "No hay diferencias entre archivos de igual nombre",
                                             "No falta ningún archivo"};
  EXPECT_EQ(Lines(s), expected);
  EXPECT_EQ(s.failures.size(), 1u);
}

// ---- Search ----

struct SearchTree {
  std::unique_ptr<Document> doc = MakeDocument(4, "p.rsc");
  TNodo* root = doc->Root();
  TNodo* s1 = AddDir(*doc, root, "S1");
  TNodo* d1 = AddDir(*doc, s1, "dir1");
  TNodo* a = AddFile(*doc, d1, "a.cpi", "x");
  TNodo* deep = AddDir(*doc, d1, "deeper");
  TNodo* deepest = AddDir(*doc, deep, "deepest");
  TNodo* b = AddFile(*doc, deepest, "b.CPI", "y");
  TNodo* s2 = AddDir(*doc, root, "S2");
  TNodo* c = AddFile(*doc, s2, "c.cpi", "z");
};

TEST(Search, TheWalkVisitsEveryNodeOnceAndNamesMatchInExactLetterCase) {
  SearchTree t;
  std::vector<TNodo*> walk;
  for (TNodo* n = SiguienteNodo(t.root); n != nullptr; n = SiguienteNodo(n)) walk.push_back(n);
  const std::vector<TNodo*> expected = {t.s1, t.d1, t.a, t.deep, t.deepest, t.b, t.s2, t.c};
  EXPECT_EQ(walk, expected);  // climbing four levels from b.CPI to S2
  EXPECT_EQ(SiguienteNodo(nullptr), nullptr);
  std::vector<TNodo*> hits;
  for (TNodo* n = t.root; (n = Busca(n, "cpi", SearchScope::NamesOnly, false)) != nullptr;)
    hits.push_back(n);
  EXPECT_EQ(hits, (std::vector<TNodo*>{t.a, t.c}));  // b.CPI is not "cpi"
  EXPECT_EQ(Busca(t.root, "", SearchScope::NamesOnly, false), nullptr);
}

TEST(Search, DocumentSearchReportsMessage273AfterTheLastHit) {
  SearchTree t;
  t.doc->Options().open_search_results = true;
  SearchHit hit = t.doc->Search(nullptr, "c.cpi", SearchScope::NamesOnly, false);
  EXPECT_EQ(hit.node, t.c);
  EXPECT_TRUE(hit.open_editor);
  hit = t.doc->Search(hit.node, "c.cpi", SearchScope::NamesOnly, false);
  EXPECT_EQ(hit.node, nullptr);
  EXPECT_EQ(hit.message.Rows(), std::vector<int>{rows::kTextNotFound});
  hit = t.doc->Search(nullptr, "", SearchScope::NamesOnly, false);
  EXPECT_EQ(hit.node, nullptr);
  EXPECT_TRUE(hit.message.Empty());  // an empty text does nothing
  // The text typed is UTF-8; names are Latin-1 bytes.
  TNodo* accented = AddFile(*t.doc, t.s2, "ca\xF1o.cpi", "n");
  EXPECT_EQ(t.doc->Search(nullptr, "caño", SearchScope::NamesOnly, false).node, accented);
}

TEST(Search, ContentIsSearchedInWhatTheFileDecompressesTo) {
  TArbol tree;
  TNodo* root = AnadeNodo({}, "r", tree, nullptr);
  TNodo* packed = AnadeNodo(Compress(ToBytes("....the MENU is here")), "MENU.CPI", tree, root);
  EXPECT_TRUE(ContieneCadena(*packed, "menu", false));
  EXPECT_FALSE(ContieneCadena(*packed, "menu", true));
  EXPECT_TRUE(ContieneCadena(*packed, "here", true));  // the last bytes of the content
  EXPECT_FALSE(ContieneCadena(*packed, "here!", true));
  EXPECT_EQ(Busca(root, "menu", SearchScope::NamesAndContent, false), packed);
  EXPECT_EQ(Busca(root, "menu", SearchScope::NamesOnly, false), nullptr);
}

// ---- Information ----

TEST(Information, PatchWithThreeSections) {
  auto doc = MakeDocument(4, "p.rsc");
  TNodo* s0 = AddDir(*doc, doc->Root(), "Secci\xF3n-00");
  AddFile(*doc, s0, "CANAL_P.RCU", std::string(100, 'c'));
  TNodo* s1 = AddDir(*doc, doc->Root(), "Secci\xF3n-01");
  AddFile(*doc, AddDir(*doc, s1, "d1"), "f", std::string(10, 'f'));
  AddDir(*doc, s1, "d2");
  AddDir(*doc, doc->Root(), "Secci\xF3n-02");
  const InfoFigures info = doc->Information();
  EXPECT_EQ(info.directories.used, 2u);
  EXPECT_EQ(info.directories.capacity, 48u);
  EXPECT_EQ(info.space.capacity, 196608u);
  // (152 - 52) + (32 + 48 + 16) + 32
  EXPECT_EQ(info.space.used, 100u + 96u + 32u);
  EXPECT_EQ(info.files.Text(), "2 / ???");  // CuentaArchivos: one per section with files
  EXPECT_EQ(info.files.Pie(), 0);
}

TEST(Information, FileCapacityForModel7AndUnknownForModel1) {
  for (int model : {1, 7}) {
    auto doc = MakeDocument(model, "fw.bin", 10);
    TFirmware& fw = *doc->Firmware();
    fw.TableOffset = 0x1000;
    fw.AreaStart = 0x100;
    fw.FileTableOffset = 0x2000;
    fw.AddressTableOffset = 0x2000 + 20 * 8;
    TNodo* boot = AddDir(*doc, doc->Root(), "boot");
    AddFile(*doc, boot, "a", std::string(5, 'a'));
    AddFile(*doc, boot, "b", std::string(6, 'b'));
    const InfoFigures info = doc->Information();
    EXPECT_EQ(info.directories.Text(), "1 / 10  (10.00%)");
    EXPECT_EQ(info.directories.Pie(), 10);
    if (model == 7) {
      EXPECT_EQ(info.files.Text(), "2 / 8  (25.00%)");
      EXPECT_EQ(info.space.Text(), "12 / 3840  (0.31%)");
    } else {
      EXPECT_EQ(info.files.Text(), "2 / ???");
      // All data fits in the first region: no file-table bytes are added.
      EXPECT_EQ(info.space.used, 12u);
    }
  }
}

TEST(Information, SecondRegionFilesAddTheirTableEntries) {
  auto doc = MakeDocument(1);
  TFirmware& fw = *doc->Firmware();
  fw.AreaStart = 0;
  fw.TableOffset = 16;  // room for 16 bytes of data in region 1
  fw.FileTableOffset = 0x1000;
  fw.AddressTableOffset = 0x2000;
  fw.SecondAreaStart = 0x3000;
  fw.SecondAreaEnd = 0x3100;
  TNodo* d1 = AddDir(*doc, doc->Root(), "d1");
  AddFile(*doc, d1, "a", std::string(10, 'a'));
  TNodo* d2 = AddDir(*doc, doc->Root(), "d2");
  AddFile(*doc, d2, "b", std::string(10, 'b'));
  AddFile(*doc, d2, "c", std::string(2, 'c'));
  TNodo* d3 = AddDir(*doc, doc->Root(), "d3");
  AddFile(*doc, d3, "d", std::string(1, 'd'));
  EXPECT_EQ(FilesInSecondRegion(fw), 3u);  // d2 overflows region 1; d3 follows it
  const InfoFigures info = doc->Information();
  EXPECT_EQ(info.space.used, 12u + 12u + 4u + 60u);
  EXPECT_EQ(info.space.capacity, 16u + 0x100u);
}

TEST(Information, CapacityRulesForModels25To27FollowTheirWriters) {
  for (int model : {25, 26, 27}) {
    auto doc = MakeDocument(model);
    TFirmware& fw = *doc->Firmware();
    fw.AreaStart = 0x1000;
    fw.TableOffset = 0x5000;
    fw.FileTableOffset = 0x6000;
    fw.AddressTableOffset = 0x6000 + 20 * 100;
    const InfoFigures info = doc->Information();
    const bool extra = model == 27;  // its writer also fills a second area and 190 more entries
    EXPECT_EQ(info.files.capacity, 100u + (extra ? 190u : 0u)) << model;
    EXPECT_EQ(info.space.capacity, 0x4000u + (extra ? 0x1AF118u - 0x1A32CCu : 0u)) << model;
  }
}

TEST(Information, PercentagesAndEmptyCapacities) {
  EXPECT_EQ(FormatPercent(45.678), "45.68");
  EXPECT_EQ(FormatPercent(12345.678), "12346.00");
  EXPECT_EQ((InfoFigure{5, 0}).Text(), "5 / 0  (0.00%)");
  EXPECT_EQ((InfoFigure{5, 0}).Pie(), 0);
  EXPECT_EQ((InfoFigure{1, 2}).Pie(), 50);
}

}  // namespace
}  // namespace corvane

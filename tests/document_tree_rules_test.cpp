#include <gtest/gtest.h>

#include "base/messages.h"
#include "firmware/sizes.h"
#include "document/tree_rules.h"
#include "support/document_support.h"

namespace corvane {
namespace {

using test::AddDir;
using test::AddFile;
using test::MakeDocument;

std::string Render(const Message& m) { return RenderMessage(m); }

const std::string kSection0 = "Secci\xF3n-00";
const std::string kSection1 = "Secci\xF3n-01";

SelectionContext Context(int model, std::uint32_t capacity = 16) {
  SelectionContext c;
  c.model = model;
  c.root_name = model == 4 ? "patch.rsc" : "fw.bin";
  c.directory_capacity = capacity;
  return c;
}

struct FirmwareTree {
  std::unique_ptr<Document> doc = MakeDocument(1);
  TNodo* root = doc->Root();
  TNodo* boot = AddDir(*doc, root, "boot");
  TNodo* a = AddFile(*doc, boot, "a.cpz", "aaaaa");
  TNodo* b = AddFile(*doc, boot, "b.cpz", "bbbbbbb");
  TNodo* data = AddDir(*doc, root, "data");
  TNodo* c = AddFile(*doc, data, "c.cpz", "c");
  TNodo* dup = AddFile(*doc, data, "A.CPZ", "d");
};

struct PatchTree {
  std::unique_ptr<Document> doc = MakeDocument(4, "patch.rsc");
  TNodo* root = doc->Root();
  TNodo* s0 = AddDir(*doc, root, kSection0);
  TNodo* canal = AddFile(*doc, s0, "CANAL_P.RCU", "c");
  TNodo* s1 = AddDir(*doc, root, kSection1);
  TNodo* menus = AddDir(*doc, s1, "menus");
  TNodo* m1 = AddFile(*doc, menus, "m1.cpz", "m");
  TNodo* panels = AddDir(*doc, s1, "panels");
  TNodo* p1 = AddFile(*doc, panels, "p1.paz", "p");
  TNodo* s2 = AddDir(*doc, root, "Secci\xF3n-02");
  TNodo* other = AddDir(*doc, s2, "other");
};

TEST(StatusText, FirmwareNodesShowAlignedSizesAndChildren) {
  FirmwareTree t;
  EXPECT_EQ(Render(TextoEstadoNodo(t.boot)), "Tamaño del nodo : 12 -- Descendientes directos : 2");
  EXPECT_EQ(Render(TextoEstadoNodo(t.root)), "Tamaño del nodo : 16 -- Descendientes directos : 2");
  EXPECT_EQ(Render(t.doc->StatusText(t.b)), "Tamaño del nodo : 8");
  EXPECT_TRUE(TextoEstadoNodo(nullptr).Empty());
}

TEST(StatusText, PatchSectionsShowFreeSpaceWithTheCanalAllowance) {
  auto doc = MakeDocument(4);
  TNodo* root = doc->Root();
  TNodo* s0 = AddDir(*doc, root, kSection0);
  TNodo* canal = AddFile(*doc, s0, "CANAL_P.RCU", std::string(100, 'c'));
  TNodo* s1 = AddDir(*doc, root, kSection1);
  TNodo* dir = AddDir(*doc, s1, "menus");
  TNodo* f = AddFile(*doc, dir, "a.cpz", std::string(5, 'x'));
  AddFile(*doc, dir, "b.cpz", std::string(7, 'x'));

  // s0: 100 + 20 + 32 = 152, less 52 for the CANAL_P.RCU section; s1: directory record 52 + 16 =
  // 68, + 32 = 100. Every node of a section shows that section's free space.
  const std::pair<TNodo*, int> cases[] = {{s0, 100}, {canal, 100}, {s1, 100}, {dir, 52}, {f, 5}};
  for (const auto& [node, size] : cases)
    EXPECT_EQ(Render(TextoEstadoSeccion(node)),
              "Tamaño del nodo : " + std::to_string(size) +
                  " --- Espacio libre en la sección : 65435");
  EXPECT_TRUE(TextoEstadoSeccion(root).Empty());
}

TEST(SectionRule, BoundaryIs65536ExclusiveAndRawFilesAreTheFiveSpecialOnes) {
  auto doc = MakeDocument(4);
  TNodo* d = AddDir(*doc, AddDir(*doc, doc->Root(), kSection0), "big");
  AddFile(*doc, d, "fill.bin", std::string(64932, 'f'));
  ASSERT_EQ(TamanoSeccion(*d), 65000u);
  EXPECT_FALSE(FileFitsSection(*d, 516));  // 65000 + 516 + 20 = 65536
  EXPECT_TRUE(FileFitsSection(*d, 515));
  EXPECT_TRUE(ReplacementFitsSection(*d, 64932, 64932 + 535));
  EXPECT_FALSE(ReplacementFitsSection(*d, 64932, 64932 + 536));
  for (const char* name : {"CANAL_P.RCU", "canal_p.rcu", "TCS", "tpt", "PATCH", "EMM_MAIL"})
    EXPECT_TRUE(IsRawFileName(name)) << name;
  for (const char* name : {"TCS.bin", "PATCHES", "menu.cpz", ""})
    EXPECT_FALSE(IsRawFileName(name)) << name;
}

// One command's state after a selection (no node: the state right after opening).
TEST(CommandEnabling, SelectionsOfBothFamilies) {
  FirmwareTree f;
  PatchTree p;
  TNodo* section_word = AddDir(*f.doc, f.root, "Sección-05");  // UTF-8 form of the word
  const SelectionContext fw = Context(1), full = Context(1, 1), patch = Context(4);
  SelectionContext external = fw;
  external.use_external_fonts = true;
  using S = CommandStates;
  struct Case {
    const SelectionContext& ctx;
    const TNodo* node;
    bool S::*command;
    bool enabled;
  };
  const Case cases[] = {
      {fw, nullptr, &S::font_editor, true},      {fw, nullptr, &S::import_order, true},
      {fw, nullptr, &S::delete_node, false},     {patch, nullptr, &S::font_editor, false},
      {patch, nullptr, &S::export_order, false}, {patch, nullptr, &S::search, true},
      {fw, f.root, &S::delete_node, false},      {fw, f.root, &S::new_directory, false},
      {fw, f.root, &S::hex_plain, false},        {fw, f.root, &S::insert_plain, true},
      {fw, f.boot, &S::delete_node, true},       {fw, f.boot, &S::new_directory, true},
      {full, f.boot, &S::new_directory, false},  // the directory table is full
      {fw, f.a, &S::hex_decompress, true},       {fw, f.a, &S::new_directory, false},
      {external, f.a, &S::font_editor, false},   {fw, section_word, &S::delete_node, false},
      {patch, p.s1, &S::delete_node, false},     {patch, p.s1, &S::new_directory, true},
      {patch, p.s1, &S::import_order, false},    {patch, p.s0, &S::new_directory, false},
      {patch, p.menus, &S::new_directory, false}, {patch, p.menus, &S::delete_node, true},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    EXPECT_EQ(ActualizaBotones(CommandsAfterOpen(c.ctx.model), c.ctx, c.node).*c.command, c.enabled)
        << "case " << i;
  }
  EXPECT_FALSE(CommandsAfterOpen(7).font_lists);
  EXPECT_EQ(CommandsWithoutFirmware(), CommandStates{});
  for (int i = 1; i < 15; ++i) AddDir(*p.doc, p.s1, "d" + std::to_string(i));
  EXPECT_FALSE(ActualizaBotones(CommandsAfterOpen(4), patch, p.s1).new_directory);  // 16 children

  EXPECT_FALSE(CanStartRename(patch, p.root));
  EXPECT_FALSE(CanStartRename(patch, p.s1));
  EXPECT_TRUE(CanStartRename(patch, p.menus));
  EXPECT_FALSE(CanStartRename(patch, nullptr));
}

// Where a dragged node lands (parent and index once it was taken out), or nullptr: refused.
TEST(DropRules, BothFamilies) {
  FirmwareTree f;
  PatchTree p;
  struct Case {
    int model;
    const TNodo* dragged;
    const TNodo* target;
    const TNodo* parent;
    std::size_t index;
  };
  const Case cases[] = {
      {1, f.a, f.root, nullptr, 0},     // onto the root
      {1, f.root, f.boot, nullptr, 0},  // the root itself
      {1, f.boot, f.c, nullptr, 0},     // a directory onto a file
      {1, f.a, f.data, nullptr, 0},     // data holds A.CPZ: a clash wherever it lands
      {1, f.a, f.c, nullptr, 0},
      {1, f.a, f.a, nullptr, 0},
      {1, f.a, f.boot, nullptr, 0},  // its own level, from another parent
      {1, nullptr, f.a, nullptr, 0},
      {1, f.b, f.data, f.data, 2},  // a file onto a directory: its last child
      {1, f.b, f.a, f.boot, 0},     // a file onto a file: before it
      {1, f.a, f.b, f.boot, 0},     // before b, which moves up once a is out
      {1, f.data, f.boot, f.root, 0},  // a directory onto a directory: before it
      {4, p.s1, p.s2, nullptr, 0},     // sections do not move
      {4, p.canal, p.m1, nullptr, 0},  // CANAL_P.RCU stays
      {4, p.menus, p.s0, nullptr, 0},  // onto a CANAL_P.RCU section
      {4, p.m1, p.canal, nullptr, 0},
      {4, p.menus, p.p1, nullptr, 0},
      {4, p.m1, p.s2, nullptr, 0},        // a file onto a section
      {4, p.m1, p.panels, p.panels, 1},   // a file onto a deeper directory
      {4, p.menus, p.s2, p.s2, 1},        // a directory onto a section: its last child
      {4, p.menus, p.other, p.s2, 0},     // a directory onto a deeper directory: before it
      {4, p.p1, p.m1, p.menus, 0},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const DropPlace place = PlaceForDrop(Context(c.model), c.dragged, c.target);
    EXPECT_EQ(place.allowed, c.parent != nullptr) << "case " << i;
    if (place.allowed && c.parent != nullptr) {
      EXPECT_EQ(place.parent, c.parent) << "case " << i;
      EXPECT_EQ(place.index, c.index) << "case " << i;
    }
  }
}

TEST(DropRules, PatchRoomCheckCountsTheMovedEntry) {
  PatchTree t;
  // Inside one section the size follows the records' rounding: menus 0 + 16, panels 42 + 16 -> 60.
  EXPECT_EQ(TamanoSeccion(*t.panels), 112u);
  EXPECT_EQ(SectionSizeAfterMove(*t.m1, *t.panels, 1), 108u);
  // Fill section 2 to 65400 bytes: other holds one file.
  AddFile(*t.doc, t.other, "fill.bin", std::string(65400 - 32 - 16 - 20, 'f'));
  ASSERT_EQ(TamanoSeccion(*t.other), 65400u);
  TNodo* small = AddFile(*t.doc, t.menus, "small.bin", std::string(100, 's'));
  TNodo* big = AddFile(*t.doc, t.menus, "big.bin", std::string(200, 'b'));
  // 65400 + 100 + 20 = 65520 fits; 65400 + 200 + 20 = 65620 does not.
  EXPECT_TRUE(PlaceForDrop(Context(4), small, t.other).allowed);
  EXPECT_FALSE(PlaceForDrop(Context(4), big, t.other).allowed);
}

}  // namespace
}  // namespace corvane

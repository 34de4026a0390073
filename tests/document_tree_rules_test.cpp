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

TEST(StatusText, FirmwareNodesShowAlignedSizesAndChildren) {
  auto doc = MakeDocument(1);
  TNodo* root = doc->Root();
  TNodo* boot = AddDir(*doc, root, "boot");
  AddFile(*doc, boot, "a.cpz", std::string(5, 'x'));
  TNodo* b = AddFile(*doc, boot, "b.cpz", std::string(7, 'x'));
  TNodo* data = AddDir(*doc, root, "data");
  AddFile(*doc, data, "c.lut", std::string(1, 'x'));

  EXPECT_EQ(Render(TextoEstadoNodo(boot)), "Tamaño del nodo : 12 -- Descendientes directos : 2");
  EXPECT_EQ(Render(TextoEstadoNodo(root)), "Tamaño del nodo : 16 -- Descendientes directos : 2");
  EXPECT_EQ(Render(TextoEstadoNodo(b)), "Tamaño del nodo : 8");
  EXPECT_TRUE(TextoEstadoNodo(nullptr).Empty());
  EXPECT_EQ(Render(doc->StatusText(b)), "Tamaño del nodo : 8");
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

TEST(SectionRule, BoundaryIs65536Exclusive) {
  auto doc = MakeDocument(4);
  TNodo* s = AddDir(*doc, doc->Root(), kSection0);
  TNodo* d = AddDir(*doc, s, "big");
  AddFile(*doc, d, "fill.bin", std::string(64932, 'f'));
  ASSERT_EQ(TamanoSeccion(*d), 65000u);
  EXPECT_FALSE(FileFitsSection(*d, 516));  // 65000 + 516 + 20 = 65536
  EXPECT_TRUE(FileFitsSection(*d, 515));
  EXPECT_TRUE(ReplacementFitsSection(*d, 64932, 64932 + 535));
  EXPECT_FALSE(ReplacementFitsSection(*d, 64932, 64932 + 536));
}

TEST(SectionRule, RawFileNamesAreTheFiveSpecialFiles) {
  for (const char* name : {"CANAL_P.RCU", "canal_p.rcu", "TCS", "tpt", "PATCH", "EMM_MAIL"})
    EXPECT_TRUE(IsRawFileName(name)) << name;
  for (const char* name : {"TCS.bin", "PATCHES", "menu.cpz", ""})
    EXPECT_FALSE(IsRawFileName(name)) << name;
}

SelectionContext Firmware(std::uint32_t capacity = 16) {
  SelectionContext c;
  c.model = 1;
  c.root_name = "fw.bin";
  c.directory_capacity = capacity;
  return c;
}

SelectionContext Patch() {
  SelectionContext c;
  c.model = 4;
  c.root_name = "patch.rsc";
  return c;
}

TEST(CommandEnabling, OpeningSetsTheFamilyCommands) {
  const CommandStates fw = CommandsAfterOpen(1);
  EXPECT_TRUE(fw.font_editor && fw.import_order && fw.export_order && fw.information);
  EXPECT_FALSE(fw.delete_node || fw.new_directory || fw.hex_plain || fw.insert_plain);
  const CommandStates patch = CommandsAfterOpen(4);
  EXPECT_FALSE(patch.font_editor || patch.import_order || patch.export_order);
  EXPECT_TRUE(patch.search && patch.compare && patch.save);
  EXPECT_FALSE(CommandsAfterOpen(7).font_lists);
  EXPECT_EQ(CommandsWithoutFirmware(), CommandStates{});
}

TEST(CommandEnabling, FirmwareSelections) {
  auto doc = MakeDocument(1);
  TNodo* root = doc->Root();
  TNodo* boot = AddDir(*doc, root, "boot");
  TNodo* file = AddFile(*doc, boot, "menu.cpz", "x");
  const CommandStates start = CommandsAfterOpen(1);

  EXPECT_EQ(ActualizaBotones(start, Firmware(), nullptr), start);
  const CommandStates on_root = ActualizaBotones(start, Firmware(), root);
  EXPECT_FALSE(on_root.delete_node);
  EXPECT_FALSE(on_root.new_directory);
  EXPECT_FALSE(on_root.hex_plain);
  EXPECT_TRUE(on_root.insert_plain && on_root.extract_decompress);

  const CommandStates on_dir = ActualizaBotones(start, Firmware(), boot);
  EXPECT_TRUE(on_dir.delete_node);
  EXPECT_TRUE(on_dir.new_directory);
  EXPECT_FALSE(ActualizaBotones(start, Firmware(1), boot).new_directory);  // table is full

  const CommandStates on_file = ActualizaBotones(start, Firmware(), file);
  EXPECT_TRUE(on_file.hex_plain && on_file.hex_decompress && on_file.delete_node);
  EXPECT_FALSE(on_file.new_directory);

  SelectionContext external = Firmware();
  external.use_external_fonts = true;
  EXPECT_FALSE(ActualizaBotones(start, external, file).font_editor);
}

TEST(CommandEnabling, PatchSelections) {
  auto doc = MakeDocument(4, "patch.rsc");
  TNodo* root = doc->Root();
  TNodo* canal_section = AddDir(*doc, root, kSection0);
  AddFile(*doc, canal_section, "CANAL_P.RCU", "c");
  TNodo* section = AddDir(*doc, root, kSection1);
  TNodo* dir = AddDir(*doc, section, "menus");
  const CommandStates start = CommandsAfterOpen(4);

  const CommandStates on_section = ActualizaBotones(start, Patch(), section);
  EXPECT_FALSE(on_section.delete_node);
  EXPECT_TRUE(on_section.new_directory);
  EXPECT_FALSE(on_section.import_order);
  EXPECT_FALSE(ActualizaBotones(start, Patch(), canal_section).new_directory);
  EXPECT_FALSE(ActualizaBotones(start, Patch(), dir).new_directory);  // not a section
  EXPECT_TRUE(ActualizaBotones(start, Patch(), dir).delete_node);

  for (int i = 1; i < 16; ++i) AddDir(*doc, section, "d" + std::to_string(i));
  EXPECT_FALSE(ActualizaBotones(start, Patch(), section).new_directory);  // 16 children
}

TEST(CommandEnabling, SectionWordInUtf8AlsoMarksSections) {
  auto doc = MakeDocument(1);
  TNodo* odd = AddDir(*doc, doc->Root(), "Sección-05");
  EXPECT_FALSE(ActualizaBotones(CommandsAfterOpen(1), Firmware(), odd).delete_node);
}

TEST(CommandEnabling, RenameStartsOnlyOnOrdinaryNodes) {
  auto doc = MakeDocument(4, "patch.rsc");
  TNodo* section = AddDir(*doc, doc->Root(), kSection1);
  TNodo* dir = AddDir(*doc, section, "menus");
  EXPECT_FALSE(CanStartRename(Patch(), doc->Root()));
  EXPECT_FALSE(CanStartRename(Patch(), section));
  EXPECT_TRUE(CanStartRename(Patch(), dir));
  EXPECT_FALSE(CanStartRename(Patch(), nullptr));
}

// ---- Drop rules ----

struct FirmwareTree {
  std::unique_ptr<Document> doc = MakeDocument(1);
  TNodo* root = doc->Root();
  TNodo* boot = AddDir(*doc, root, "boot");
  TNodo* a = AddFile(*doc, boot, "a.cpz", "a");
  TNodo* b = AddFile(*doc, boot, "b.cpz", "b");
  TNodo* data = AddDir(*doc, root, "data");
  TNodo* c = AddFile(*doc, data, "c.cpz", "c");
  TNodo* dup = AddFile(*doc, data, "A.CPZ", "d");
};

TEST(DropRules, FirmwareFamily) {
  FirmwareTree t;
  const SelectionContext ctx = Firmware();
  // Refused: onto or of the root, directory onto file, name clash at the new level, onto itself.
  EXPECT_FALSE(PlaceForDrop(ctx, t.a, t.root).allowed);
  EXPECT_FALSE(PlaceForDrop(ctx, t.root, t.boot).allowed);
  EXPECT_FALSE(PlaceForDrop(ctx, t.boot, t.c).allowed);
  EXPECT_FALSE(PlaceForDrop(ctx, t.a, t.data).allowed);  // data holds A.CPZ
  EXPECT_FALSE(PlaceForDrop(ctx, t.a, t.c).allowed);
  EXPECT_FALSE(PlaceForDrop(ctx, t.a, t.a).allowed);
  EXPECT_FALSE(PlaceForDrop(ctx, t.a, t.boot).allowed);  // its own level, from another parent
  EXPECT_FALSE(PlaceForDrop(ctx, nullptr, t.a).allowed);

  // File onto a directory: its last child.
  DropPlace p = PlaceForDrop(ctx, t.b, t.data);
  ASSERT_TRUE(p.allowed);
  EXPECT_EQ(p.parent, t.data);
  EXPECT_EQ(p.index, 2u);
  // File onto a file of the same directory: before it (index counted after taking it out).
  p = PlaceForDrop(ctx, t.b, t.a);
  ASSERT_TRUE(p.allowed);
  EXPECT_EQ(p.parent, t.boot);
  EXPECT_EQ(p.index, 0u);
  p = PlaceForDrop(ctx, t.a, t.b);
  ASSERT_TRUE(p.allowed);
  EXPECT_EQ(p.index, 0u);  // before b, which moves up once a is out
  // Directory onto directory: before it.
  p = PlaceForDrop(ctx, t.data, t.boot);
  ASSERT_TRUE(p.allowed);
  EXPECT_EQ(p.parent, t.root);
  EXPECT_EQ(p.index, 0u);
}

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

TEST(DropRules, PatchFamily) {
  PatchTree t;
  const SelectionContext ctx = Patch();
  EXPECT_FALSE(PlaceForDrop(ctx, t.s1, t.s2).allowed);        // sections do not move
  EXPECT_FALSE(PlaceForDrop(ctx, t.canal, t.m1).allowed);     // CANAL_P.RCU stays
  EXPECT_FALSE(PlaceForDrop(ctx, t.menus, t.s0).allowed);     // onto a CANAL_P.RCU section
  EXPECT_FALSE(PlaceForDrop(ctx, t.m1, t.canal).allowed);     // onto CANAL_P.RCU
  EXPECT_FALSE(PlaceForDrop(ctx, t.menus, t.p1).allowed);     // directory onto file
  EXPECT_FALSE(PlaceForDrop(ctx, t.m1, t.s2).allowed);        // file onto a section

  DropPlace p = PlaceForDrop(ctx, t.m1, t.panels);  // file onto a deeper directory
  ASSERT_TRUE(p.allowed);
  EXPECT_EQ(p.parent, t.panels);
  p = PlaceForDrop(ctx, t.menus, t.s2);  // directory onto a section: its last child
  ASSERT_TRUE(p.allowed);
  EXPECT_EQ(p.parent, t.s2);
  EXPECT_EQ(p.index, 1u);
  p = PlaceForDrop(ctx, t.menus, t.other);  // directory onto a deeper directory: before it
  ASSERT_TRUE(p.allowed);
  EXPECT_EQ(p.parent, t.s2);
  EXPECT_EQ(p.index, 0u);
  p = PlaceForDrop(ctx, t.p1, t.m1);  // file onto file: before it
  ASSERT_TRUE(p.allowed);
  EXPECT_EQ(p.parent, t.menus);
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
  EXPECT_TRUE(PlaceForDrop(Patch(), small, t.other).allowed);
  EXPECT_FALSE(PlaceForDrop(Patch(), big, t.other).allowed);
}

}  // namespace
}  // namespace corvane

#include <gtest/gtest.h>

#include "firmware/sizes.h"
#include "firmware/tree.h"
#include "support/files.h"

namespace corvane {
namespace {

using test::ToBytes;

TEST(Tree, AddingPlacesNodesByReference) {
  TArbol tree;
  TNodo* root = AnadeNodo({}, "root.bin", tree, nullptr);
  TNodo* dir = AnadeNodo({}, "boot", tree, root);
  TNodo* b = AnadeNodo(ToBytes("bb"), "b.cpz", tree, dir);
  TNodo* a = AnadeNodo(ToBytes("a"), "~a.pan", tree, b);  // before the file reference
  EXPECT_EQ(dir->Child(0), a);
  EXPECT_EQ(a->NextSibling(), b);
  EXPECT_EQ(a->Text, "a.pan");  // the "~" is dropped
  EXPECT_EQ(a->ImageIndex, 5);
  EXPECT_EQ(b->Level(), 2);
  EXPECT_EQ(b->Data.Tamano, 2u);
  EXPECT_FALSE(b->Data.EsDirectorio);
  // Empty bytes make a directory.
  EXPECT_TRUE(dir->Data.EsDirectorio);
  EXPECT_EQ(dir->ImageIndex, 0);
}

TEST(Tree, SearchIgnoresCaseAndWalksFromTheFirstGiven) {
  TArbol tree;
  TNodo* root = AnadeNodo({}, "r", tree, nullptr);
  AnadeNodo({}, "Boot", tree, root);
  TNodo* second = AnadeNodo({}, "PANELS", tree, root);
  TNodo* third = AnadeNodo({}, "boot", tree, root);
  EXPECT_EQ(BuscaNodo(root->FirstChild(), "BOOT", true), root->FirstChild());
  EXPECT_EQ(BuscaNodo(second, "boot", true), third);
  EXPECT_EQ(BuscaNodo(root->FirstChild(), "ane", false), second);
  EXPECT_EQ(BuscaNodo(root->FirstChild(), "ane", true), nullptr);
  EXPECT_EQ(BuscaHijo(tree, nullptr, "R", true), root);
  EXPECT_EQ(BuscaNodo(nullptr, "x", true), nullptr);
}

TEST(Tree, DeletingAndMoving) {
  TArbol tree;
  TNodo* root = AnadeNodo({}, "r", tree, nullptr);
  TNodo* d1 = AnadeNodo({}, "d1", tree, root);
  TNodo* d2 = AnadeNodo({}, "d2", tree, root);
  AnadeNodo(ToBytes("x"), "f", tree, d1);
  EXPECT_FALSE(tree.Move(d1, d1->FirstChild(), 0));  // never into its own subtree
  EXPECT_TRUE(tree.Move(d1->FirstChild(), d2, 0));
  EXPECT_EQ(d1->ChildCount(), 0u);
  EXPECT_EQ(d2->FirstChild()->Text, "f");
  BorraNodo(d2);
  EXPECT_EQ(root->ChildCount(), 1u);
  LiberaArbol(root);
  EXPECT_TRUE(tree.Empty());
}

TEST(TipoArchivo, UsesTheThreeCharactersBeforeTheLast) {
  const std::pair<const char*, int> cases[] = {
      {"x.cla", 1}, {"x.app", 2}, {"p.luz", 3}, {"s.cpi", 4}, {"s.CPZ", 4}, {"p.pan", 5},
      {"t.mpg", 6}, {"LOGO.IMZ", 7}, {"i.ico", 8}, {"d.dat", 9}, {"a.b", 10}, {"", 10},
      {"noext", 10}, {".cpz", 4}};
  for (const auto& [name, type] : cases) EXPECT_EQ(TipoArchivo(name), type) << name;
}

TEST(Names, CaseFoldingCoversLatin1Letters) {
  EXPECT_EQ(LowerName("ABC\xC9\xD7z"), "abc\xE9\xD7z");
  EXPECT_EQ(UpperName("canal_p.rcu\xFF"), "CANAL_P.RCU\xFF");
}

TEST(Sizes, DirectoryRecordSizesRoundOnlyAfterDirectories) {
  TArbol tree;
  TNodo* root = AnadeNodo({}, "r", tree, nullptr);
  TNodo* d = AnadeNodo({}, "d", tree, root);
  AnadeNodo(Bytes(5, 1), "a", tree, d);
  AnadeNodo(Bytes(7, 1), "b", tree, d);
  EXPECT_EQ(TamanoDirectorio(*d), 52u);
  EXPECT_EQ(TamanoSeccion(*d), 52u + 32u);
  EXPECT_EQ(SumaTamanos(*d, 3), 12u);
  EXPECT_EQ(SumaTamanos(*d, 0), 12u);

  TNodo* e = AnadeNodo({}, "e", tree, root);
  AnadeNodo({}, "sub", tree, e);
  AnadeNodo(Bytes(1, 1), "f", tree, e);
  EXPECT_EQ(TamanoDirectorio(*e), 37u);  // 16, then 16 + 21 without a second rounding
  EXPECT_EQ(SumaTamanos(*e, 3), 4u);
  EXPECT_EQ(SumaTamanos(*e, 1), 2u);
  EXPECT_EQ(TamanoSeccion(*e->FirstChild()), 37u + 32u);
  EXPECT_EQ(TamanoSeccion(*root), TamanoDirectorio(*root) + 32u);
  EXPECT_EQ(EspacioUsado(*root, 3), 16u);
  // At the first file of a chain the count becomes its parent's child count, the empty
  // subdirectory of "e" included.
  EXPECT_EQ(CuentaArchivos(root->FirstChild()), 2u + 2u);
}

TEST(Sizes, CanalSectionsGetTheirAllowance) {
  TArbol tree;
  TNodo* root = AnadeNodo({}, "p.rsc", tree, nullptr);
  TNodo* s0 = AnadeNodo({}, "Secci\xF3n-00", tree, root);
  AnadeNodo(Bytes(100, 1), "canal_p.rcu", tree, s0);
  TNodo* s1 = AnadeNodo({}, "Secci\xF3n-01", tree, root);
  TNodo* d = AnadeNodo({}, "dir", tree, s1);
  AnadeNodo(Bytes(8, 1), "f", tree, d);
  EXPECT_TRUE(FirstChildIsCanal(*s0));
  EXPECT_FALSE(FirstChildIsCanal(*s1));
  EXPECT_EQ(EspacioSecciones(*root), (120u + 32u - 52u) + (16u + 28u + 32u));
}

}  // namespace
}  // namespace corvane

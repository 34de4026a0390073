#include <gtest/gtest.h>

#include "base/messages.h"
#include "firmware/codec.h"
#include "document/document.h"
#include "firmware/sizes.h"
#include "support/files.h"
#include "support/temp_dir.h"
#include "support/document_support.h"

namespace corvane {
namespace {

using test::AddDir;
using test::AddFile;
using test::Dump;
using test::MakeDocument;
using test::TempDir;
using test::WriteText;

const std::string kSection0 = "Secci\xF3n-00";
const std::string kSection1 = "Secci\xF3n-01";

std::vector<int> Rows(const CommandResult& r) {
  std::vector<int> rows;
  for (const Message& m : r.messages)
    for (int row : m.Rows()) rows.push_back(row);
  return rows;
}

// ---- Delete ----

TEST(DocumentDelete, RemovesTheSubtreeAndMarksTheDocument) {
  auto doc = MakeDocument(1);
  TNodo* boot = AddDir(*doc, doc->Root(), "boot");
  AddFile(*doc, boot, "a.cpz", "a");
  AddDir(*doc, doc->Root(), "data");
  const CommandResult r = doc->Delete(boot);
  EXPECT_TRUE(r.ok());
  EXPECT_TRUE(r.changed);
  EXPECT_TRUE(doc->Modified());
  EXPECT_EQ(Dump(*doc->Tree()), "fw.bin\n  data\n");
}

TEST(DocumentDelete, RefusesNodesInUseAnywhereBelowTheRootAndSections) {
  auto doc = MakeDocument(1);
  TNodo* boot = AddDir(*doc, doc->Root(), "boot");
  TNodo* a = AddFile(*doc, boot, "a.cpz", "a");
  doc->SetInUse([a](const TNodo& n) { return &n == a; });
  for (TNodo* n : {a, boot}) EXPECT_EQ(Rows(doc->Delete(n)), std::vector<int>{rows::kNodeInUse});
  EXPECT_EQ(doc->Delete(doc->Root()).outcome, Outcome::Refused);
  EXPECT_EQ(boot->ChildCount(), 1u);
  auto patch = MakeDocument(4, "p.rsc");
  TNodo* section = AddDir(*patch, patch->Root(), kSection0);
  EXPECT_EQ(patch->Delete(section).outcome, Outcome::Refused);
  EXPECT_FALSE(doc->Modified() || patch->Modified());
}

// ---- New directory ----

TEST(DocumentNewDirectory, FirmwareGoesBeforeTheSelectedDirectory) {
  auto doc = MakeDocument(1);
  AddDir(*doc, doc->Root(), "boot");
  TNodo* data = AddDir(*doc, doc->Root(), "data");
  const CommandResult r = doc->NewDirectory(data, "nuevo");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(Dump(*doc->Tree()), "fw.bin\n  boot\n  nuevo\n  data\n");
  EXPECT_TRUE(r.node->IsDirectory());
  EXPECT_EQ(r.node->Data.Tamano, 0u);
  EXPECT_TRUE(doc->Modified());
}

// Firmware directories: 12 characters, unique ignoring case, never at the root, within the
// table's capacity. Patch directories: 10 characters, inside a section but not the canal one.
TEST(DocumentNewDirectory, NameAndPlaceRules) {
  auto fw = MakeDocument(1, "fw.bin", 2);
  TNodo* boot = AddDir(*fw, fw->Root(), "boot");
  auto patch = MakeDocument(4, "p.rsc");
  TNodo* section = AddDir(*patch, patch->Root(), kSection1);
  AddDir(*patch, section, "menus");
  TNodo* canal = AddDir(*patch, patch->Root(), kSection0);
  AddFile(*patch, canal, "CANAL_P.RCU", "c");
  const int bad = rows::kBadDirName;
  struct Case {
    Document* doc;
    TNodo* at;
    const char* name;
    bool ok;
    int row;  // 0: any refusal
  };
  const Case cases[] = {
      {fw.get(), boot, "", false, bad},          {fw.get(), boot, "thirteenchars", false, bad},
      {fw.get(), boot, "BOOT", false, bad},      {fw.get(), boot, "\xE2\x82\xAC", false, bad},
      {fw.get(), fw->Root(), "x", false, 0},     {fw.get(), boot, "twelve_chars", true, 0},
      {fw.get(), boot, "y", false, 0},  // capacity 2 reached
      {patch.get(), section, "elevenchars", false, bad}, {patch.get(), section, "MENUS", false, bad},
      {patch.get(), section, "tenchars10", true, 0},     {patch.get(), canal, "x", false, 0},
  };
  for (const Case& c : cases) {
    const CommandResult r = c.doc->NewDirectory(c.at, c.name);
    EXPECT_EQ(r.ok(), c.ok) << c.name;
    if (!c.ok) {
      EXPECT_EQ(r.outcome, Outcome::Refused) << c.name;
    }
    if (c.row != 0) {
      EXPECT_EQ(Rows(r), std::vector<int>{c.row}) << c.name;
    }
  }
  EXPECT_EQ(fw->Root()->ChildCount(), 2u);
  ASSERT_EQ(section->ChildCount(), 2u);
  EXPECT_EQ(section->Child(1)->Text, "tenchars10");
}

// ---- Rename ----

TEST(DocumentRename, ShortensValidNamesAndUpdatesTheType) {
  auto doc = MakeDocument(1);
  TNodo* boot = AddDir(*doc, doc->Root(), "boot");
  TNodo* a = AddFile(*doc, boot, "a.bin", "a");
  EXPECT_EQ(a->ImageIndex, 10);
  const CommandResult r = doc->Rename(a, "verylongname.text");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(a->Text, "verylong.tex");
  EXPECT_TRUE(doc->Modified());
  ASSERT_TRUE(doc->Rename(a, "logo.imz").changed);
  EXPECT_EQ(a->ImageIndex, 7);
}

TEST(DocumentRename, InvalidAndClashingNames) {
  auto doc = MakeDocument(1);
  TNodo* boot = AddDir(*doc, doc->Root(), "boot");
  TNodo* menu = AddFile(*doc, boot, "menu.cpi", "a");
  AddFile(*doc, boot, "other.cpi", "b");

  EXPECT_EQ(Rows(doc->Rename(menu, "with space.cpi")), std::vector<int>{rows::kBadNewName});
  EXPECT_EQ(Rows(doc->Rename(menu, ".cpi")), std::vector<int>{rows::kBadNewName});
  EXPECT_EQ(Rows(doc->Rename(menu, "OTHER.CPI")), std::vector<int>{rows::kNodeExists});
  EXPECT_EQ(menu->Text, "menu.cpi");
  EXPECT_FALSE(doc->Modified());

  // Its own name in other letter case: kept, no message, nothing changed.
  const CommandResult same = doc->Rename(menu, "MENU.CPI");
  EXPECT_TRUE(same.ok());
  EXPECT_FALSE(same.changed);
  EXPECT_TRUE(same.messages.empty());
  EXPECT_EQ(menu->Text, "menu.cpi");
  EXPECT_FALSE(doc->Modified());

  EXPECT_EQ(doc->Rename(doc->Root(), "x").outcome, Outcome::Refused);
}

// ---- Drop ----

TEST(DocumentDrop, MovesAndTellsTheObserver) {
  auto doc = MakeDocument(1);
  TNodo* boot = AddDir(*doc, doc->Root(), "boot");
  TNodo* a = AddFile(*doc, boot, "a.cpz", "a");
  TNodo* b = AddFile(*doc, boot, "b.cpz", "b");
  test::RecordingObserver observer;
  doc->SetObserver(&observer);
  const CommandResult r = doc->Drop(a, b);  // a before b: where it already is
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(Dump(*doc->Tree()), "fw.bin\n  boot\n    a.cpz:1\n    b.cpz:1\n");
  ASSERT_TRUE(doc->Drop(b, a).ok());
  EXPECT_EQ(Dump(*doc->Tree()), "fw.bin\n  boot\n    b.cpz:1\n    a.cpz:1\n");
  TNodo* data = AddDir(*doc, doc->Root(), "data");
  ASSERT_TRUE(doc->Drop(b, data).ok());
  EXPECT_EQ(Dump(*doc->Tree()), "fw.bin\n  boot\n    a.cpz:1\n  data\n    b.cpz:1\n");
  EXPECT_EQ(doc->Drop(data, a).outcome, Outcome::Refused);
  const std::vector<std::string> expected = {
      "begin-move a.cpz boot 1", "end-move a.cpz",  "begin-move b.cpz boot 0",
      "end-move b.cpz",          "begin-move b.cpz data 0", "end-move b.cpz"};
  EXPECT_EQ(observer.calls, expected);
  EXPECT_TRUE(doc->Modified());
}

// ---- Insert ----

class DocumentInsert : public ::testing::Test {
 protected:
  void SetUp() override {
    boot = AddDir(*doc, doc->Root(), "boot");
    existing = AddFile(*doc, boot, "menu.cpi", "old");
  }
  void Put(const std::string& name, const std::string& bytes) { WriteText(dir / name, bytes); }

  TempDir dir;
  std::unique_ptr<Document> doc = MakeDocument(1);
  TNodo* boot = nullptr;
  TNodo* existing = nullptr;
};

TEST_F(DocumentInsert, NewFilesGoIntoTheDirectoryWithShortNames) {
  Put("report.text", "hello");
  Put("empty.txt", "");
  Put("~COM1.lut", "palette");
  Interaction ask;
  const CommandResult r = doc->Insert(boot, dir.path(), {"report.text", "empty.txt", "~COM1.lut"},
                                      false, ask);
  ASSERT_TRUE(r.ok()) << RenderMessage(r.Joined());
  EXPECT_EQ(Dump(*doc->Tree()),
            "fw.bin\n  boot\n    menu.cpi:3\n    report.tex:5\n    empty.txt\n    COM1.lut:7\n");
  EXPECT_TRUE(boot->Child(2)->IsDirectory());  // a file of 0 bytes becomes a directory node
  EXPECT_TRUE(doc->Modified());
}

TEST_F(DocumentInsert, BesideASelectedFileAndLowerCased) {
  Put("NEW.CPI", "n");
  doc->Options().lowercase_on_import = true;
  Interaction ask;
  ASSERT_TRUE(doc->Insert(existing, dir.path(), {"NEW.CPI"}, false, ask).ok());
  EXPECT_EQ(Dump(*doc->Tree()), "fw.bin\n  boot\n    new.cpi:1\n    menu.cpi:3\n");
}

TEST_F(DocumentInsert, TheRootTakesNothingUnderTheFirmwareRules) {
  Put("x.cpi", "x");
  Interaction ask;
  const CommandResult r = doc->Insert(doc->Root(), dir.path(), {"x.cpi"}, false, ask);
  EXPECT_TRUE(r.ok());
  EXPECT_FALSE(r.changed);
  EXPECT_FALSE(doc->Modified());
}

TEST_F(DocumentInsert, UnreadableFilesGiveMessage3AndTheRunGoesOn) {
  Put("good.cpi", "g");
  Interaction ask;
  const CommandResult r = doc->Insert(boot, dir.path(), {"missing.cpi", "good.cpi"}, false, ask);
  EXPECT_EQ(r.outcome, Outcome::IoError);
  EXPECT_EQ(Rows(r), std::vector<int>{rows::kCannotOpen});
  EXPECT_TRUE(r.changed);
  EXPECT_EQ(Dump(*doc->Tree()), "fw.bin\n  boot\n    menu.cpi:3\n    good.cpi:1\n");
}

TEST_F(DocumentInsert, ReplaceAnswers) {
  Put("menu.cpi", "fresh");
  Put("MENU.CPI", "other");  // shortened and compared ignoring case: the same node
  {
    FixedAnswers no(ReplaceAnswer::No);
    const CommandResult r = doc->Insert(boot, dir.path(), {"menu.cpi"}, false, no);
    EXPECT_TRUE(r.ok());
    EXPECT_FALSE(r.changed);
    ASSERT_EQ(no.Questions().size(), 1u);
    EXPECT_EQ(RenderMessage(no.Questions()[0]),
              "Ya existe un archivo llamado :  menu.cpi\r\n¿Lo sustituyo por el nuevo?");
    EXPECT_EQ(existing->Data.Tamano, 3u);
  }
  {
    FixedAnswers no_to_all(ReplaceAnswer::NoToAll);
    const CommandResult r = doc->Insert(boot, dir.path(), {"menu.cpi", "MENU.CPI"}, false, no_to_all);
    EXPECT_EQ(no_to_all.Questions().size(), 1u);  // the run stopped after the first
    EXPECT_FALSE(r.changed);
  }
  {
    FixedAnswers yes_to_all(ReplaceAnswer::YesToAll);
    const CommandResult r = doc->Insert(boot, dir.path(), {"menu.cpi", "MENU.CPI"}, false, yes_to_all);
    EXPECT_EQ(yes_to_all.Questions().size(), 1u);  // remembered for the second
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(Dump(*doc->Tree()), "fw.bin\n  boot\n    MENU.CPI:5\n");
  }
}

TEST_F(DocumentInsert, ReplacingTheSelectedFileKeepsItsPlace) {
  AddFile(*doc, boot, "z.cpi", "z");
  Put("menu.cpi", "fresh");
  Put("n.cpi", "n");
  FixedAnswers yes(ReplaceAnswer::Yes);
  ASSERT_TRUE(doc->Insert(existing, dir.path(), {"menu.cpi", "n.cpi"}, false, yes).ok());
  EXPECT_EQ(Dump(*doc->Tree()), "fw.bin\n  boot\n    n.cpi:1\n    menu.cpi:5\n    z.cpi:1\n");
}

TEST_F(DocumentInsert, FilesInUseAreNotReplaced) {
  Put("menu.cpi", "fresh");
  TNodo* held = existing;
  doc->SetInUse([held](const TNodo& n) { return &n == held; });
  FixedAnswers yes(ReplaceAnswer::Yes);
  const CommandResult r = doc->Insert(boot, dir.path(), {"menu.cpi"}, false, yes);
  EXPECT_EQ(Rows(r), std::vector<int>{rows::kNodeInUse});
  EXPECT_EQ(boot->Child(0), held);
}

TEST_F(DocumentInsert, ReplacingADirectoryDoesNotLoseTheNewFile) {
  TNodo* sub = AddDir(*doc, boot, "sub");
  AddFile(*doc, sub, "inner", "i");
  Put("sub", "file");
  FixedAnswers yes(ReplaceAnswer::Yes);
  ASSERT_TRUE(doc->Insert(boot, dir.path(), {"sub"}, false, yes).ok());
  EXPECT_EQ(Dump(*doc->Tree()), "fw.bin\n  boot\n    menu.cpi:3\n    sub:4\n");
}

TEST_F(DocumentInsert, ObserverHearsInsertAndRemove) {
  Put("menu.cpi", "fresh");
  test::RecordingObserver observer;
  doc->SetObserver(&observer);
  FixedAnswers yes(ReplaceAnswer::Yes);
  ASSERT_TRUE(doc->Insert(boot, dir.path(), {"menu.cpi"}, false, yes).ok());
  const std::vector<std::string> expected = {"begin-insert boot 0", "end-insert menu.cpi",
                                             "begin-remove menu.cpi", "end-remove boot 1"};
  EXPECT_EQ(observer.calls, expected);
}

TEST_F(DocumentInsert, CancellingStopsBeforeTheNextFile) {
  Put("a.cpi", "a");
  Put("b.cpi", "b");
  struct CancelSecond : Interaction {
    int calls = 0;
    bool Progress(const Message&, int) override { return ++calls < 2; }
  } cancel;
  const CommandResult r = doc->Insert(boot, dir.path(), {"a.cpi", "b.cpi"}, false, cancel);
  EXPECT_EQ(r.outcome, Outcome::Cancelled);
  EXPECT_TRUE(r.changed);
  EXPECT_EQ(boot->ChildCount(), 2u);
}

TEST(DocumentInsertPatch, SectionRuleBoundary) {
  TempDir dir;
  auto doc = MakeDocument(4, "p.rsc");
  TNodo* section = AddDir(*doc, doc->Root(), kSection1);
  TNodo* d = AddDir(*doc, section, "big");
  AddFile(*doc, d, "fill.bin", std::string(64932, 'f'));
  ASSERT_EQ(TamanoSeccion(*d), 65000u);
  WriteText(dir / "f516.bin", std::string(516, 'x'));
  WriteText(dir / "f515.bin", std::string(515, 'x'));
  Interaction ask;
  CommandResult r = doc->Insert(d, dir.path(), {"f516.bin"}, false, ask);
  EXPECT_EQ(r.outcome, Outcome::Refused);
  EXPECT_EQ(Rows(r), std::vector<int>{rows::kNoRoomInSection});
  EXPECT_EQ(d->ChildCount(), 1u);
  r = doc->Insert(d, dir.path(), {"f515.bin"}, false, ask);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(d->ChildCount(), 2u);
}

TEST(DocumentInsertPatch, SectionsTakeOnlyCanalAndTheRootNothing) {
  TempDir dir;
  auto doc = MakeDocument(4, "p.rsc");
  TNodo* section = AddDir(*doc, doc->Root(), kSection0);
  WriteText(dir / "CANAL_P.RCU", "canal");
  WriteText(dir / "other.bin", "x");
  Interaction ask;
  CommandResult r = doc->Insert(doc->Root(), dir.path(), {"CANAL_P.RCU"}, false, ask);
  EXPECT_FALSE(r.changed);
  r = doc->Insert(section, dir.path(), {"other.bin", "CANAL_P.RCU"}, false, ask);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(Dump(*doc->Tree()), "p.rsc\n  " + kSection0 + "\n    CANAL_P.RCU:5\n");
}

TEST(DocumentInsertPatch, TcsStaysUncompressedUnderThePatchRules) {
  TempDir dir;
  const std::string plain(300, 'T');
  WriteText(dir / "TCS", plain);
  WriteText(dir / "menu.cpi", plain);

  auto patch = MakeDocument(4, "p.rsc");
  TNodo* d = AddDir(*patch, AddDir(*patch, patch->Root(), kSection1), "dir");
  Interaction ask;
  ASSERT_TRUE(patch->Insert(d, dir.path(), {"TCS", "menu.cpi"}, true, ask).ok());
  EXPECT_EQ(d->Child(0)->Data.Datos, test::ToBytes(plain));
  EXPECT_EQ(d->Child(1)->Data.Datos, Compress(test::ToBytes(plain)));

  auto firmware = MakeDocument(1);
  TNodo* boot = AddDir(*firmware, firmware->Root(), "boot");
  ASSERT_TRUE(firmware->Insert(boot, dir.path(), {"TCS"}, true, ask).ok());
  EXPECT_EQ(boot->Child(0)->Data.Datos, Compress(test::ToBytes(plain)));
}

TEST(DocumentOpen, AFailedOpenKeepsTheOpenDocument) {
  auto doc = MakeDocument(1);
  AddDir(*doc, doc->Root(), "boot");
  doc->MarkModified();
  EXPECT_FALSE(doc->Open("/nonexistent/file.bin", 1).ok());
  EXPECT_TRUE(doc->IsOpen());
  EXPECT_TRUE(doc->Modified());
  EXPECT_EQ(doc->Root()->ChildCount(), 1u);
  doc->Close();
  EXPECT_FALSE(doc->IsOpen());
  EXPECT_EQ(doc->Delete(nullptr).outcome, Outcome::Refused);
}

}  // namespace
}  // namespace corvane

#include <gtest/gtest.h>

#include "base/messages.h"
#include "firmware/codec.h"
#include "document/document.h"
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

TEST(DocumentDelete, RemovesTheSubtreeOrRefusesNodesInUseTheRootAndSections) {
  auto doc = MakeDocument(1);
  TNodo* boot = AddDir(*doc, doc->Root(), "boot");
  TNodo* a = AddFile(*doc, boot, "a.cpz", "a");
  AddDir(*doc, doc->Root(), "data");
  doc->SetInUse([a](const TNodo& n) { return &n == a; });
  for (TNodo* n : {a, boot}) EXPECT_EQ(Rows(doc->Delete(n)), std::vector<int>{rows::kNodeInUse});
  EXPECT_EQ(doc->Delete(doc->Root()).outcome, Outcome::Refused);
  auto patch = MakeDocument(4, "p.rsc");
  EXPECT_EQ(patch->Delete(AddDir(*patch, patch->Root(), kSection0)).outcome, Outcome::Refused);
  EXPECT_FALSE(doc->Modified() || patch->Modified());

  doc->SetInUse({});
  const CommandResult r = doc->Delete(boot);
  EXPECT_TRUE(r.ok() && r.changed && doc->Modified());
  EXPECT_EQ(Dump(*doc->Tree()), "fw.bin\n  data\n");
}

// Firmware directories: 12 characters, unique ignoring case, never at the root, within the
// table's capacity, placed before the selected directory. Patch directories: 10 characters, inside
// a section but not the canal one.
TEST(DocumentNewDirectory, NameAndPlaceRules) {
  auto fw = MakeDocument(1, "fw.bin", 3);
  AddDir(*fw, fw->Root(), "top");
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
      {fw.get(), boot, "y", false, 0},  // capacity 3 reached
      {patch.get(), section, "elevenchars", false, bad}, {patch.get(), section, "MENUS", false, bad},
      {patch.get(), section, "tenchars10", true, 0},     {patch.get(), canal, "x", false, 0},
  };
  for (const Case& c : cases) {
    const CommandResult r = c.doc->NewDirectory(c.at, c.name);
    EXPECT_EQ(r.outcome, c.ok ? Outcome::Done : Outcome::Refused) << c.name;
    if (c.row != 0) {
      EXPECT_EQ(Rows(r), std::vector<int>{c.row}) << c.name;
    }
  }
  EXPECT_EQ(Dump(*fw->Tree()), "fw.bin\n  top\n  twelve_chars\n  boot\n");
  EXPECT_TRUE(fw->Modified());
  EXPECT_EQ(Dump(*patch->Tree()), "p.rsc\n  " + kSection1 + "\n    menus\n    tenchars10\n  " +
                                      kSection0 + "\n    CANAL_P.RCU:1\n");
}

TEST(DocumentRename, ShortensUpdatesTheTypeAndRefusesBadOrClashingNames) {
  auto doc = MakeDocument(1);
  TNodo* boot = AddDir(*doc, doc->Root(), "boot");
  TNodo* menu = AddFile(*doc, boot, "menu.cpi", "a");
  AddFile(*doc, boot, "other.cpi", "b");
  EXPECT_EQ(Rows(doc->Rename(menu, "with space.cpi")), std::vector<int>{rows::kBadNewName});
  EXPECT_EQ(Rows(doc->Rename(menu, "OTHER.CPI")), std::vector<int>{rows::kNodeExists});
  EXPECT_EQ(doc->Rename(doc->Root(), "x").outcome, Outcome::Refused);
  // Its own name in other letter case: kept, no message, nothing changed.
  const CommandResult same = doc->Rename(menu, "MENU.CPI");
  EXPECT_TRUE(same.ok() && !same.changed && same.messages.empty());
  EXPECT_EQ(menu->Text, "menu.cpi");
  EXPECT_FALSE(doc->Modified());

  ASSERT_TRUE(doc->Rename(menu, "verylongname.imzz").changed);
  EXPECT_EQ(menu->Text, "verylong.imz");
  EXPECT_EQ(menu->ImageIndex, TipoArchivo("logo.imz"));
  EXPECT_NE(menu->ImageIndex, TipoArchivo("menu.cpi"));
  EXPECT_TRUE(doc->Modified());
}

TEST(DocumentDrop, MovesAndTellsTheObserver) {
  auto doc = MakeDocument(1);
  TNodo* boot = AddDir(*doc, doc->Root(), "boot");
  TNodo* a = AddFile(*doc, boot, "a.cpz", "a");
  TNodo* b = AddFile(*doc, boot, "b.cpz", "b");
  TNodo* data = AddDir(*doc, doc->Root(), "data");
  test::RecordingObserver observer;
  doc->SetObserver(&observer);
  ASSERT_TRUE(doc->Drop(b, a).ok());
  ASSERT_TRUE(doc->Drop(a, data).ok());
  EXPECT_EQ(doc->Drop(data, b).outcome, Outcome::Refused);
  EXPECT_EQ(Dump(*doc->Tree()), "fw.bin\n  boot\n    b.cpz:1\n  data\n    a.cpz:1\n");
  EXPECT_EQ(observer.calls, (std::vector<std::string>{"begin-move b.cpz boot 0", "end-move b.cpz",
                                                      "begin-move a.cpz data 0", "end-move a.cpz"}));
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
  CommandResult Insert(TNodo* at, const std::vector<std::string>& names, Interaction&& ask = {}) {
    return doc->Insert(at, dir.path(), names, false, ask);
  }

  TempDir dir;
  std::unique_ptr<Document> doc = MakeDocument(1);
  TNodo* boot = nullptr;
  TNodo* existing = nullptr;
};

TEST_F(DocumentInsert, NewFilesGoIntoTheDirectoryOrBesideAFileWithShortNames) {
  Put("report.text", "hello");
  Put("empty.txt", "");
  Put("~COM1.lut", "palette");
  Put("NEW.CPI", "n");
  const CommandResult r = Insert(boot, {"report.text", "empty.txt", "~COM1.lut"});
  ASSERT_TRUE(r.ok()) << RenderMessage(r.Joined());
  EXPECT_TRUE(boot->Child(2)->IsDirectory());  // a file of 0 bytes becomes a directory node
  doc->Options().lowercase_on_import = true;
  ASSERT_TRUE(Insert(existing, {"NEW.CPI"}).ok());
  EXPECT_EQ(Dump(*doc->Tree()), "fw.bin\n  boot\n    new.cpi:1\n    menu.cpi:3\n    report.tex:5\n"
                                "    empty.txt\n    COM1.lut:7\n");
  EXPECT_TRUE(doc->Modified());
}

TEST_F(DocumentInsert, TheRootTakesNothingAndUnreadableFilesDoNotStopTheRun) {
  Put("good.cpi", "g");
  const CommandResult root = Insert(doc->Root(), {"good.cpi"});
  EXPECT_TRUE(root.ok() && !root.changed && !doc->Modified());
  const CommandResult r = Insert(boot, {"missing.cpi", "good.cpi"});
  EXPECT_EQ(r.outcome, Outcome::IoError);
  EXPECT_EQ(Rows(r), std::vector<int>{rows::kCannotOpen});
  EXPECT_TRUE(r.changed);
  EXPECT_EQ(Dump(*doc->Tree()), "fw.bin\n  boot\n    menu.cpi:3\n    good.cpi:1\n");
}

TEST_F(DocumentInsert, ReplaceAnswers) {
  Put("menu.cpi", "fresh");
  Put("MENU.CPI", "other");  // shortened and compared ignoring case: the same node
  FixedAnswers no(ReplaceAnswer::No);
  EXPECT_FALSE(doc->Insert(boot, dir.path(), {"menu.cpi"}, false, no).changed);
  ASSERT_EQ(no.Questions().size(), 1u);
  EXPECT_EQ(RenderMessage(no.Questions()[0]),
            "Ya existe un archivo llamado :  menu.cpi\r\n¿Lo sustituyo por el nuevo?");
  // No to all stops the run at the first question; yes to all is remembered for the second.
  for (const ReplaceAnswer answer : {ReplaceAnswer::NoToAll, ReplaceAnswer::YesToAll}) {
    FixedAnswers ask(answer);
    const CommandResult r = doc->Insert(boot, dir.path(), {"menu.cpi", "MENU.CPI"}, false, ask);
    EXPECT_EQ(ask.Questions().size(), 1u);
    EXPECT_EQ(r.changed, answer == ReplaceAnswer::YesToAll);
  }
  EXPECT_EQ(Dump(*doc->Tree()), "fw.bin\n  boot\n    MENU.CPI:5\n");
}

TEST_F(DocumentInsert, ReplacingTheSelectedFileKeepsItsPlaceAndTellsTheObserver) {
  AddFile(*doc, boot, "z.cpi", "z");
  Put("menu.cpi", "fresh");
  Put("n.cpi", "n");
  test::RecordingObserver observer;
  doc->SetObserver(&observer);
  ASSERT_TRUE(Insert(existing, {"menu.cpi", "n.cpi"}, FixedAnswers(ReplaceAnswer::Yes)).ok());
  EXPECT_EQ(Dump(*doc->Tree()), "fw.bin\n  boot\n    n.cpi:1\n    menu.cpi:5\n    z.cpi:1\n");
  EXPECT_EQ(observer.calls,
            (std::vector<std::string>{"begin-insert boot 0", "end-insert menu.cpi",
                                      "begin-remove menu.cpi", "end-remove boot 1",
                                      "begin-insert boot 0", "end-insert n.cpi"}));
}

TEST_F(DocumentInsert, FilesInUseAreNotReplacedAndADirectoryIsReplacedWhole) {
  TNodo* sub = AddDir(*doc, boot, "sub");
  AddFile(*doc, sub, "inner", "i");
  Put("menu.cpi", "fresh");
  Put("sub", "file");
  TNodo* held = existing;
  doc->SetInUse([held](const TNodo& n) { return &n == held; });
  const CommandResult r = Insert(boot, {"menu.cpi", "sub"}, FixedAnswers(ReplaceAnswer::Yes));
  EXPECT_EQ(Rows(r), std::vector<int>{rows::kNodeInUse});
  EXPECT_EQ(boot->Child(0), held);
  EXPECT_EQ(Dump(*doc->Tree()), "fw.bin\n  boot\n    menu.cpi:3\n    sub:4\n");
}

TEST_F(DocumentInsert, CancellingStopsBeforeTheNextFile) {
  Put("a.cpi", "a");
  Put("b.cpi", "b");
  const CommandResult r = Insert(boot, {"a.cpi", "b.cpi"}, test::CancelAfter(1));
  EXPECT_EQ(r.outcome, Outcome::Cancelled);
  EXPECT_TRUE(r.changed);
  EXPECT_EQ(boot->ChildCount(), 2u);
}

// Sections take only CANAL_P.RCU, the root nothing; a file that would fill the section to 64 KB
// is refused; TCS stays uncompressed in a patch only.
TEST(DocumentInsertPatch, SectionRules) {
  TempDir dir;
  auto doc = MakeDocument(4, "p.rsc");
  TNodo* s0 = AddDir(*doc, doc->Root(), kSection0);
  TNodo* full = AddDir(*doc, AddDir(*doc, doc->Root(), kSection1), "full");
  AddFile(*doc, full, "fill.bin", std::string(64932, 'f'));
  TNodo* d = AddDir(*doc, AddDir(*doc, doc->Root(), "Secci\xF3n-02"), "dir");
  const std::string plain(300, 'T');
  for (const char* name : {"CANAL_P.RCU", "TCS", "menu.cpi"}) WriteText(dir / name, plain);
  WriteText(dir / "f516.bin", std::string(516, 'x'));
  Interaction ask;
  EXPECT_FALSE(doc->Insert(doc->Root(), dir.path(), {"CANAL_P.RCU"}, false, ask).changed);
  ASSERT_TRUE(doc->Insert(s0, dir.path(), {"menu.cpi", "CANAL_P.RCU"}, false, ask).ok());
  ASSERT_EQ(s0->ChildCount(), 1u);
  EXPECT_EQ(s0->Child(0)->Text, "CANAL_P.RCU");
  const CommandResult refused = doc->Insert(full, dir.path(), {"f516.bin"}, false, ask);
  EXPECT_EQ(refused.outcome, Outcome::Refused);
  EXPECT_EQ(Rows(refused), std::vector<int>{rows::kNoRoomInSection});
  EXPECT_EQ(full->ChildCount(), 1u);
  ASSERT_TRUE(doc->Insert(d, dir.path(), {"TCS", "menu.cpi"}, true, ask).ok());
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

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "base/messages.h"
#include "firmware/codec.h"
#include "document/document.h"
#include "document/extraction.h"
#include "document/names.h"
#include "document/order_list.h"
#include "support/files.h"
#include "support/temp_dir.h"
#include "support/document_support.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using test::AddDir;
using test::AddFile;
using test::Dump;
using test::MakeDocument;
using test::ReadText;
using test::TempDir;
using test::ToBytes;
using test::WriteText;

// Every path below `top`, relative, sorted.
std::vector<std::string> Listing(const fs::path& top) {
  std::vector<std::string> out;
  for (const auto& e : fs::recursive_directory_iterator(top))
    out.push_back(fs::relative(e.path(), top).string() + (e.is_directory() ? "/" : ""));
  std::sort(out.begin(), out.end());
  return out;
}

struct Sample {
  std::unique_ptr<Document> doc = MakeDocument(1, "fw.bin", 8);
  TNodo* root = doc->Root();
  TNodo* boot = AddDir(*doc, root, "boot");
  TNodo* menu = AddFile(*doc, boot, "menu.cpi", "script");
  TNodo* com = AddFile(*doc, boot, "COM1.TXT", "device");
  TNodo* data = AddDir(*doc, root, "data");
  TNodo* pal = AddFile(*doc, data, "pal\xFF.lut", "palette");
  TNodo* empty = AddDir(*doc, root, "empty");
};

TEST(Extraction, RootGoesUnderTildeRootNameWithDeviceNamesMarkedAndProgressPerDirectory) {
  TempDir out;
  Sample s;
  struct Recorder : Interaction {
    std::vector<int> percents;
    bool Progress(const Message& m, int p) override {
      EXPECT_EQ(m.Rows(), std::vector<int>{rows::kSavingFiles});
      percents.push_back(p);
      return true;
    }
  } recorder;
  const CommandResult r = s.doc->Extract(s.root, out.path(), false, recorder);
  ASSERT_TRUE(r.ok()) << RenderMessage(r.Joined());
  const std::vector<std::string> expected = {
      "~fw.bin/", "~fw.bin/boot/", "~fw.bin/boot/menu.cpi", "~fw.bin/boot/~COM1.TXT",
      "~fw.bin/data/", "~fw.bin/data/pal\xC3\xBF.lut", "~fw.bin/empty/"};
  EXPECT_EQ(Listing(out.path()), expected);  // without decompression: no order list
  EXPECT_EQ(ReadText(out / "~fw.bin/boot/menu.cpi"), "script");
  EXPECT_EQ(recorder.percents, (std::vector<int>{0, 67, 100, 100, 100}));
}

TEST(Extraction, CancelStopsAfterTheDirectoryBeingWritten) {
  TempDir out;
  Sample s;
  test::CancelAfter cancel(1);
  EXPECT_EQ(s.doc->Extract(s.root, out.path(), false, cancel).outcome, Outcome::Cancelled);
  EXPECT_TRUE(fs::exists(out / "~fw.bin/boot/menu.cpi"));
  EXPECT_FALSE(fs::exists(out / "~fw.bin/data"));
}

// Every node reaches the disk through the escaping checked in document_names_test.cpp (insertion
// decodes it the same way: see the device name in document_tree_commands_test.cpp): nothing lands
// outside the chosen folder.
TEST(Extraction, HostileNamesStayInsideTheChosenFolder) {
  TempDir top;
  const fs::path chosen = top / "chosen";
  fs::create_directory(chosen);
  auto doc = MakeDocument(1);
  TNodo* up = AddDir(*doc, doc->Root(), "..");
  for (const std::string& name : {".."s, "."s, ""s, "../x"s, "a\\b"s, "nul\0x"s})
    AddFile(*doc, up, name, "bytes of " + name);
  AddFile(*doc, AddDir(*doc, doc->Root(), "/etc"), "../../escape", "not really");
  Interaction quiet;
  const CommandResult r = doc->Extract(doc->Root(), chosen, false, quiet);
  ASSERT_TRUE(r.ok()) << RenderMessage(r.Joined());
  EXPECT_EQ(Listing(top.path()).size(), Listing(chosen).size() + 1);
  EXPECT_EQ(Listing(chosen / "~fw.bin" / "~%..").size(), 6u);
  EXPECT_EQ(ReadText(chosen / "~fw.bin" / "~%.." / "~%.."), "bytes of ..");
  EXPECT_EQ(ReadText(chosen / "~fw.bin" / "~%%2Fetc" / "~%..%2F..%2Fescape"), "not really");
}

// Things in the way (a folder where a file goes, a file where a folder goes, a link leading out):
// an error for each, the rest is written, nothing lands outside the folder.
TEST(Extraction, ObstaclesAreReportedAndLinksNotFollowed) {
  TempDir top;
  const fs::path elsewhere = top / "elsewhere";
  fs::create_directories(top / "~fw.bin" / "boot" / "menu.cpi");
  fs::create_directory(elsewhere);
  fs::create_directory_symlink(elsewhere, top / "~fw.bin" / "data");
  WriteText(top / "~fw.bin" / "empty", "a file in the way");
  Sample s;
  Interaction quiet;
  const CommandResult r = s.doc->Extract(s.root, top.path(), false, quiet);
  EXPECT_EQ(r.outcome, Outcome::IoError);
  ASSERT_EQ(r.messages.size(), 3u);
  EXPECT_EQ(r.messages[0].Rows(), std::vector<int>{rows::kCannotOpen});
  EXPECT_NE(RenderMessage(r.messages[0]).find("menu.cpi"), std::string::npos);
  EXPECT_TRUE(fs::exists(top / "~fw.bin/boot/~COM1.TXT"));
  EXPECT_TRUE(fs::is_empty(elsewhere));
}

TEST(Extraction, ASingleFileAndAMissingFolder) {
  TempDir out;
  Sample s;
  Interaction quiet;
  ASSERT_TRUE(s.doc->Extract(s.com, out.path(), true, quiet).ok());
  EXPECT_EQ(Listing(out.path()), std::vector<std::string>{"~COM1.TXT"});
  EXPECT_EQ(s.doc->Extract(s.com, out / "missing", true, quiet).outcome, Outcome::IoError);
}

TEST(Extraction, DecompressionFallsBackToStoredBytesAndSkipsRawFiles) {
  // Bytes that decompress to nothing are written as stored.
  const Bytes junk = {0x00, 0x00, 0x00, 0x00};  // end tokens only
  ASSERT_TRUE(Decompress(junk).empty());
  EXPECT_EQ(BytesToWrite("x.cpz", junk, true), junk);
  const Bytes plain = ToBytes(std::string(200, 'p'));
  const Bytes packed = Compress(plain);
  EXPECT_EQ(BytesToWrite("x.cpz", packed, true), plain);
  EXPECT_EQ(BytesToWrite("x.cpz", packed, false), packed);
  EXPECT_EQ(BytesToWrite("TCS", packed, true), packed);
  EXPECT_EQ(BytesToWrite("canal_p.rcu", packed, true), packed);
}

// ---- Order list ----

TEST(OrderList, ExportWritesTheLinesByteForByte) {
  Sample s;
  const std::string text = ExportaOrdenTexto(*s.root, "fw.bin");
  EXPECT_EQ(text,
            "SECTION boot\r\n"
            "FILE    menu.cpi     ~fw.bin\\boot\\menu.cpi\r\n"
            "FILE    COM1.TXT     ~fw.bin\\boot\\~COM1.TXT\r\n"
            "SECTION data\r\n"
            "FILE    pal\xFF.lut     ~fw.bin\\data\\pal\xFF.lut\r\n"
            "SECTION empty\r\n");
}

TEST(OrderList, ReadingIgnoresOtherLinesAndAcceptsBothSeparators) {
  std::string read;
  for (const OrderEntry& e : LeeOrden("junk\nSECTION  boot  \r\nFILE  report.text ~fw\\boot\\report.text\n"
                                      "FILE    noextensionatall   ~fw/boot/x\rFILE    alone\r\n"))
    read += (e.directory ? "D " : "F ") + e.name + " " + e.path + "\n";
  EXPECT_EQ(read, "D boot \nF report.tex ~fw\\boot\\report.text\nF noextens ~fw/boot/x\nF alone \n");
  TempDir dir;
  fs::create_directories(dir / "~fw" / "boot");
  WriteText(dir / "~fw" / "boot" / "x", "x");
  EXPECT_EQ(OrderPathOnDisk(dir.path(), "~fw\\boot\\x"), dir / "~fw" / "boot" / "x");
  EXPECT_EQ(OrderPathOnDisk(dir.path(), "~fw/boot/x"), dir / "~fw" / "boot" / "x");
}

// Extract (with decompression: the list comes with it; plain: exported beside it), change the
// tree, import the list: the same tree comes back, and the plain files byte for byte.
TEST(OrderList, ExtractionAndItsListRebuildTheTree) {
  for (const bool decompress : {true, false}) {
    TempDir out;
    Sample s;
    AddFile(*s.doc, s.boot, "w space", "spaced");
    AddFile(*s.doc, s.boot, "~tilde", "tilde");
    const std::string before = Dump(*s.doc->Tree(), !decompress);
    Interaction quiet;
    ASSERT_TRUE(s.doc->Extract(s.root, out.path(), decompress, quiet).ok());
    fs::path list = out / "fw.bin.def";
    ASSERT_EQ(fs::exists(list), decompress);
    if (!decompress) {
      list = out / "list.def";
      ASSERT_TRUE(s.doc->ExportOrder(list, quiet).ok());
      EXPECT_EQ(ReadText(list), ExportaOrdenTexto(*s.root, "fw.bin"));
    }
    ASSERT_TRUE(s.doc->Delete(s.boot).ok());
    s.doc->ClearModified();
    test::RecordingObserver observer;
    s.doc->SetObserver(&observer);
    const CommandResult r = s.doc->ImportOrder(list, quiet);
    ASSERT_TRUE(r.ok()) << RenderMessage(r.Joined());
    EXPECT_EQ(Dump(*s.doc->Tree(), !decompress), before);
    EXPECT_TRUE(s.doc->Modified());
    EXPECT_EQ(observer.calls, (std::vector<std::string>{"begin-reset", "end-reset"}));
    EXPECT_TRUE(decompress || s.doc->Root()->Child(1)->Child(0)->Data.Datos == ToBytes("palette"));
  }
}

TEST(OrderList, MissingFilesAreListedInNotFoundAndFoundOnesCompressedWhenAsked) {
  TempDir dir;
  WriteText(dir / "list.def",
            "SECTION boot\r\nFILE    a.cpi        ~fw\\boot\\a.cpi\r\n"
            "FILE    b.cpi        ~fw\\boot\\b.cpi\r\nSECTION only\r\n");
  fs::create_directories(dir / "~fw" / "boot");
  const std::string plain(100, 'z');
  WriteText(dir / "~fw" / "boot" / "b.cpi", plain);
  auto doc = MakeDocument(1);
  doc->Options().compress_from_def = true;
  AddDir(*doc, doc->Root(), "old");
  Interaction quiet;
  const CommandResult r = doc->ImportOrder(dir / "list.def", quiet);
  EXPECT_EQ(r.outcome, Outcome::IoError);
  EXPECT_TRUE(r.changed);
  ASSERT_EQ(r.messages.size(), 1u);
  EXPECT_EQ(RenderMessage(r.messages[0]),
            "¡ No se encontraron algunos archivos !\r\n\r\nLa lista de archivos no encontrados "
            "está aquí :\r\n" + (dir / "NotFound.txt").string());
  EXPECT_EQ(ReadText(dir / "NotFound.txt"), "~fw\\boot\\a.cpi\r\n");
  const Bytes packed = Compress(ToBytes(plain));
  EXPECT_EQ(Dump(*doc->Tree()), "fw.bin\n  boot\n    b.cpi:" + std::to_string(packed.size()) + "\n  only\n");
  EXPECT_EQ(doc->Root()->Child(0)->Child(0)->Data.Datos, packed);
}

// A list with more directories than the table holds, or an import cancelled at once.
TEST(OrderList, RefusedOrCancelledImportsLeaveTheTreeAlone) {
  TempDir dir;
  WriteText(dir / "list.def", "SECTION a\r\nSECTION b\r\nSECTION c\r\n");
  test::CancelAfter cancel(0);
  Interaction quiet;
  for (const bool cancelled : {false, true}) {
    auto doc = MakeDocument(1, "fw.bin", cancelled ? 16 : 2);
    AddDir(*doc, doc->Root(), "old");
    const CommandResult r = doc->ImportOrder(dir / "list.def", cancelled ? cancel : quiet);
    EXPECT_EQ(r.outcome, cancelled ? Outcome::Cancelled : Outcome::Refused);
    if (!cancelled) {
      EXPECT_EQ(r.messages[0].Rows(), std::vector<int>{rows::kTooManyDirs});
    }
    EXPECT_EQ(Dump(*doc->Tree()), "fw.bin\n  old\n");
    EXPECT_FALSE(doc->Modified());
  }
}

TEST(OrderList, PatchModelsHaveNoOrderList) {
  TempDir out;
  auto doc = MakeDocument(4, "p.rsc");
  AddFile(*doc, AddDir(*doc, AddDir(*doc, doc->Root(), "Secci\xF3n-01"), "d"), "f", "x");
  Interaction quiet;
  EXPECT_EQ(doc->ExportOrder(out / "x.def", quiet).outcome, Outcome::Refused);
  ASSERT_TRUE(doc->Extract(doc->Root(), out.path(), true, quiet).ok());
  EXPECT_FALSE(fs::exists(out / "p.rsc.def"));
}

}  // namespace
}  // namespace corvane

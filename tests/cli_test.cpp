// corvane-cli end to end: each command is wired to the core, prints what it should and ends with
// its exit code (0 done, 2 bad input, 3 refused, 4 file error), and a refusal writes nothing.
#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "base/crc32.h"
#include "document/document.h"
#include "firmware/codec.h"
#include "support/cli_runner.h"
#include "support/files.h"
#include "support/image_builder.h"
#include "support/patch_builder.h"
#include "support/temp_dir.h"
#include "support/document_support.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

using test::CliRun;

std::string Q(const fs::path& p) { return test::Quote(p); }

// A Pioneer patch "p.rsc" (model 4) and a Nokia 9701s image "fw.bin" (model 13) in a temporary
// folder.
class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    test::PatchSectionSpec s0;
    s0.dirs = {{"menus", {{"a.cpz", test::Pattern(100, 1)}, {"b.cpz", test::Pattern(50, 2)}}},
               {"panels", {{"p.paz", test::Pattern(30, 3)}}}};
    test::PatchSectionSpec s1;
    s1.dirs = {{"other", {{"c.lut", test::Pattern(40, 4)}}}};
    test::WriteFile(patch, test::PlainPatch({s0, s1}, test::Endian::Little));
    image = Image(13, "fw.bin");
  }

  fs::path Image(int model, const std::string& name, bool two_regions = false,
                 std::uint32_t spare_entries = 2) {
    test::ImageSpec spec;
    spec.model = model;
    spec.dirs = test::SampleTree(two_regions);
    spec.spare_entries = spare_entries;
    test::WriteFile(dir / name, test::BuildImage(spec).file);
    return dir / name;
  }
  CliRun Run(const std::string& args) { return test::RunCli(args, dir / "err.txt"); }

  // The tree of a written file: names and stored sizes (the patch's root shown as "p.rsc"), or
  // names only, or names, sizes and a digest of the bytes.
  enum class Show { Sizes, Names, Bytes };
  std::string TreeOf(const fs::path& file, int model = 4, Show show = Show::Sizes) {
    Document doc;
    if (!doc.Open(file, model).ok()) return "<does not load>";
    if (show == Show::Bytes) {  // without the root line
      const std::string listing = test::DescribeTree(*doc.Tree());
      return listing.substr(listing.find('\n'));
    }
    std::string out;
    doc.Tree()->ForEach([&](TNodo& n) {
      if (n.Parent() == nullptr) return (void)(out += "p.rsc\n");
      out += std::string(2 * static_cast<std::size_t>(n.Level()), ' ') + n.Text;
      if (show == Show::Sizes && !n.IsDirectory()) out += ":" + std::to_string(n.Data.Tamano);
      out += "\n";
    });
    return out;
  }
  bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
  }

  test::TempDir dir;
  fs::path patch = dir / "p.rsc";
  fs::path image;
  const std::string s0 = "Secci\xF3n-00", s1 = "Secci\xF3n-01";
  const std::string s0_utf8 = "Sección-00", s1_utf8 = "Sección-01";
  const std::string menus = " -m 4 --into " + Q(s0_utf8 + "/menus") + " ";
};

// --- tree, repack, detect -------------------------------------------------------------------

TEST_F(Cli, TreeJsonGivesModelLayoutAndFiles) {
  const CliRun run = Run("tree " + Q(Image(21, "conax.bin", true)) + " -m 21 --json");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const auto j = nlohmann::json::parse(run.out);
  EXPECT_EQ(j["model"], 21);
  EXPECT_EQ(j["root"], "conax.bin");
  EXPECT_EQ(j["layout"]["BaseAddress"], 0x81200000u);
  EXPECT_EQ(j["layout"]["BlockCount"], 32);
  EXPECT_EQ(j["layout"]["SecondBlockCount"], 16);
  EXPECT_EQ(j["layout"]["ImageSize"], 48u * 0x10000);
  EXPECT_EQ(j["layout"]["DirectoryCount"], 4);
  EXPECT_GT(j["layout"]["SecondAreaStart"].get<std::uint32_t>(), 0u);
  EXPECT_EQ(j["layout"].size(), 17u);
  const auto& root = j["tree"];
  EXPECT_EQ(root["name"], "conax.bin");
  EXPECT_EQ(root["dir"], true);
  ASSERT_EQ(root["children"].size(), 4u);
  const auto& boot = root["children"][0];
  EXPECT_EQ(boot["name"], "boot");
  ASSERT_EQ(boot["children"].size(), 3u);
  EXPECT_EQ(boot["children"][1]["name"], "logo.imz");
  EXPECT_EQ(boot["children"][1]["dir"], false);
  EXPECT_EQ(boot["children"][1]["size"], 7);
  char crc[9];
  std::snprintf(crc, sizeof crc, "%08x", Crc32(test::PatternBytes(7, 2)));
  EXPECT_EQ(boot["children"][1]["crc32"], crc);
  EXPECT_EQ(root["children"][2]["children"].size(), 0u);
}

TEST_F(Cli, TreeTextAndRefusals) {
  const auto path = Image(24, "ts2.bin");
  CliRun run = Run("tree " + Q(path) + " -m 24");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "ts2.bin/\n  boot/\n    boot.cpz  301\n")) << run.out;
  run = Run("tree " + Q(path) + " -m 16");  // wrong length for a TS1A
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_EQ(run.err, "¡ El fichero no tiene la longitud adecuada !\n");
  EXPECT_EQ(Run("tree " + Q(dir / "absent.bin") + " -m 24").exit_code, 4);
}

TEST_F(Cli, MessagesFollowTheLanguageInUseOfTheInisFolder) {
  const auto inis = dir / "INIs";
  fs::create_directories(inis);
  test::WriteText(inis / "Corvane.ini", "[Corvane]\r\nLanguage2=Pirate\r\nLanguageUsed=2\r\n");
  test::WriteText(inis / "Pirate.ini", "[Pirate]\r\nTranslation5=Arr, wrong length!\r\n");
  test::WriteText(dir / "x.bin", "not a firmware");
  const std::pair<fs::path, const char*> cases[] = {
      {inis, "Arr, wrong length!\n"},
      {dir / "nowhere", "\xC2\xA1 El fichero no tiene la longitud adecuada !\n"}};
  for (const auto& [folder, expected] : cases) {
    const CliRun run = Run("--inis " + Q(folder) + " tree " + Q(dir / "x.bin") + " -m 2");
    EXPECT_EQ(run.exit_code, 2) << folder;
    EXPECT_EQ(run.err, expected) << folder;
  }
}

TEST_F(Cli, RepackWritesTheWriterOutputAndARefusalCreatesNothing) {
  const auto path = Image(2, "bct15.bin");
  ASSERT_EQ(Run("repack " + Q(path) + " -m 2 -o " + Q(dir / "out.bin")).exit_code, 0);
  TArbol tree;
  TFirmware fw;
  ASSERT_TRUE(fw.CreateFromBytes(path, test::ReadFile(path), tree, 2).ok());
  Bytes expected;
  ASSERT_TRUE(fw.Build({}, expected).ok());
  EXPECT_TRUE(test::ReadFile(dir / "out.bin") == expected);

  // A Nokia 9701s image with a second region cannot be saved whole by its writer when its block
  // has no spare entries.
  const auto nokia = Image(13, "nokia.bin", true, 0);
  const CliRun run = Run("repack " + Q(nokia) + " -m 13 -o " + Q(dir / "never.bin"));
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(run.err,
            "Hay demasiados archivos dentro del firmware.\n"
            "Borra algún archivo para poder guardar los cambios.\n");
  EXPECT_FALSE(fs::exists(dir / "never.bin"));
}

TEST_F(Cli, DetectRanksTheCandidates) {
  // A BCT-15xx image: its checksum table decides.
  CliRun run = Run("detect " + Q(Image(2, "bct15.bin")));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out.substr(0, 2), "2\t") << run.out;
  EXPECT_TRUE(Has(run.out, "block checksums match"));
  // Without -m the commands use it.
  run = Run("tree " + Q(dir / "bct15.bin") + " --json");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(nlohmann::json::parse(run.out)["model"], 2);

  // A BCT-14xx image also opens as a Kenwood (same loader, same settings) and as a BCT-17xx,
  // whose checksum table does not match: no clear winner.
  run = Run("detect " + Q(Image(1, "bct14.bin")));
  ASSERT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out.substr(0, 2), "1\t") << run.out;
  EXPECT_TRUE(Has(run.out, "\n10\t")) << run.out;
  EXPECT_GT(run.out.find("\n22\t"), run.out.find("\n10\t")) << run.out;
  EXPECT_TRUE(Has(run.out, "block checksums do not match")) << run.out;
  run = Run("tree " + Q(dir / "bct14.bin"));
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_TRUE(Has(run.err, "-m"));

  // A Strong 8100 block file: other big-endian loaders find a table in the raw file too, but
  // read no files from it.
  run = Run("detect " + Q(Image(6, "s8100.bin")));
  EXPECT_EQ(run.out.substr(0, 2), "6\t") << run.out;
  EXPECT_TRUE(Has(run.out, "no files")) << run.out;
  run = Run("tree " + Q(dir / "s8100.bin") + " --json");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(nlohmann::json::parse(run.out)["model"], 6);

  test::WriteText(dir / "junk.bin", "nothing here");
  run = Run("detect " + Q(dir / "junk.bin"));
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_TRUE(run.out.empty());
}

// --- Tree commands on a patch ---------------------------------------------------------------

TEST_F(Cli, ExtractWritesFoldersAndNoOrderListForPatches) {
  ASSERT_EQ(Run("extract " + Q(patch) + " -m 4 --decompress " + Q(dir / "out")).exit_code, 0);
  // Decompression writes what the stream decodes to (the stored bytes only when that is nothing).
  const Bytes stored = test::Pattern(100, 1);
  const Bytes decoded = Decompress(stored);
  EXPECT_EQ(test::ReadFile(dir / "out" / "~p.rsc" / s0_utf8 / "menus" / "a.cpz"),
            decoded.empty() ? stored : decoded);
  EXPECT_FALSE(fs::exists(dir / "out" / "p.rsc.def"));
  const CliRun one =
      Run("extract " + Q(patch) + " -m 4 --node " + Q(s0_utf8 + "/MENUS/b.cpz") + " " + Q(dir / "one"));
  ASSERT_EQ(one.exit_code, 0) << one.err;
  EXPECT_EQ(test::ReadFile(dir / "one" / "b.cpz"), test::Pattern(50, 2));
  EXPECT_EQ(Run("extract " + Q(patch) + " -m 4 --node nothing " + Q(dir / "x")).exit_code, 2);
}

TEST_F(Cli, InsertReplaceChoicesAndRefusals) {
  test::WriteFile(dir / "a.cpz", test::Pattern(10, 9));
  test::WriteFile(dir / "new.cpz", test::Pattern(10, 8));
  const std::string base = "insert " + Q(patch) + menus;
  CliRun run = Run(base + "-o " + Q(dir / "asked.rsc") + " " + Q(dir / "new.cpz") + " " + Q(dir / "a.cpz"));
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_TRUE(Has(run.err, "Ya existe un archivo llamado :  a.cpz")) << run.err;
  EXPECT_TRUE(Has(run.err, "¿Lo sustituyo por el nuevo?"));
  EXPECT_FALSE(fs::exists(dir / "asked.rsc"));

  const std::string rest = "\n    panels\n      p.paz:30\n  " + s1 + "\n    other\n      c.lut:40\n";
  run = Run(base + "--no-replace -o " + Q(dir / "kept.rsc") + " " + Q(dir / "a.cpz") + " " +
            Q(dir / "new.cpz"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(TreeOf(dir / "kept.rsc"),
            "p.rsc\n  " + s0 + "\n    menus\n      a.cpz:100\n      b.cpz:50\n      new.cpz:10" + rest);
  run = Run(base + "--replace -o " + Q(dir / "replaced.rsc") + " " + Q(dir / "a.cpz"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(TreeOf(dir / "replaced.rsc"),
            "p.rsc\n  " + s0 + "\n    menus\n      a.cpz:10\n      b.cpz:50" + rest);

  test::WriteFile(dir / "huge.bin", test::Pattern(65500, 5));
  run = Run(base + "-o " + Q(dir / "o.rsc") + " " + Q(dir / "huge.bin"));
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_TRUE(Has(run.err, "¡ No hay espacio suficiente en esa sección !"));
  run = Run(base + "-o " + Q(dir / "o.rsc") + " " + Q(dir / "missing.bin"));
  EXPECT_EQ(run.exit_code, 4);
  EXPECT_TRUE(Has(run.err, "¡ El fichero no se ha podido abrir !"));
  EXPECT_FALSE(fs::exists(dir / "o.rsc"));

  test::WriteText(dir / "TCS", std::string(200, 't'));  // goes in uncompressed
  run = Run("insert " + Q(patch) + " -m 4 --compress --into " + Q(s0_utf8 + "/panels") + " -o " +
            Q(dir / "t.rsc") + " " + Q(dir / "TCS"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(Has(TreeOf(dir / "t.rsc"), "TCS:200"));
}

TEST_F(Cli, DeleteMkdirRenameMove) {
  const std::string a = " " + Q(s0_utf8 + "/menus/a.cpz") + " ";
  CliRun run = Run("delete " + Q(patch) + " -m 4 -o " + Q(dir / "d.rsc") + " " + Q(s0_utf8));
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_FALSE(fs::exists(dir / "d.rsc"));
  run = Run("delete " + Q(patch) + " -m 4 -o " + Q(dir / "d.rsc") + " " + Q(s0_utf8 + "/panels") + a);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(TreeOf(dir / "d.rsc"),
            "p.rsc\n  " + s0 + "\n    menus\n      b.cpz:50\n  " + s1 + "\n    other\n      c.lut:40\n");

  run = Run("mkdir " + Q(patch) + " -m 4 --at " + Q(s0_utf8 + "/menus") + " x -o " + Q(dir / "m.rsc"));
  EXPECT_EQ(run.exit_code, 3);  // inside a directory: the command is not available
  run = Run("mkdir " + Q(patch) + " -m 4 --at " + Q(s1_utf8) + " fresh -o " + Q(dir / "m.rsc"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(Has(TreeOf(dir / "m.rsc"), "    other\n      c.lut:40\n    fresh\n"));

  run = Run("rename " + Q(patch) + " -m 4" + a + "verylongname.text -o " + Q(dir / "r.rsc"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "verylong.tex\n");
  run = Run("rename " + Q(patch) + " -m 4" + a + "A.CPZ -o " + Q(dir / "same.rsc"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "a.cpz\n");
  EXPECT_EQ(test::ReadFile(dir / "same.rsc"), test::ReadFile(patch));
  run = Run("rename " + Q(patch) + " -m 4" + a + "\"bad name\" -o " + Q(dir / "bad.rsc"));
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_TRUE(Has(run.err, "¡ El nombre nuevo no es valido !"));

  run = Run("move " + Q(patch) + " -m 4" + a + Q(s1_utf8 + "/other") + " -o " + Q(dir / "mv.rsc"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(Has(TreeOf(dir / "mv.rsc"), "    other\n      c.lut:40\n      a.cpz:100\n"));
  run = Run("move " + Q(patch) + " -m 4 " + Q(s0_utf8 + "/menus") + " " +
            Q(s0_utf8 + "/panels/p.paz") + " -o " + Q(dir / "no.rsc"));
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_FALSE(fs::exists(dir / "no.rsc"));
}

TEST_F(Cli, SearchPrintsPathsInTreeOrder) {
  CliRun run = Run("search " + Q(patch) + " -m 4 cpz --names --all");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, s0_utf8 + "/menus/a.cpz\n" + s0_utf8 + "/menus/b.cpz\n");
  EXPECT_EQ(Run("search " + Q(patch) + " -m 4 paz --names").out, s0_utf8 + "/panels/p.paz\n");
  run = Run("search " + Q(patch) + " -m 4 nowhere --names");
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(Has(run.err, "¡ No se ha encontrado esa cadena de texto !"));
}

TEST_F(Cli, InfoOfAPatchAndOfAFirmware) {
  CliRun run = Run("info " + Q(patch) + " -m 4 --json");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const nlohmann::json j = nlohmann::json::parse(run.out);
  EXPECT_EQ(j["directories"]["used"], 3);
  EXPECT_EQ(j["directories"]["capacity"], 32);
  EXPECT_EQ(j["space"]["capacity"], 131072);
  EXPECT_TRUE(j["files"]["capacity"].is_null());
  EXPECT_TRUE(j["files"]["percent"].is_null());
  EXPECT_TRUE(Has(Run("info " + Q(patch) + " -m 4").out,
                  "Número de directorios : 3 / 32  (9.38%)"));
  run = Run("info " + Q(image) + " -m 13");  // the file capacity is unknown
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Número de directorios : 3 / 8  (37.50%)\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "Número de archivos : 5 / ")) << run.out;
}

TEST_F(Cli, CompareWithACopyAndWithAChangedCopy) {
  fs::copy_file(patch, dir / "copy.rsc");
  CliRun run = Run("compare " + Q(patch) + " " + Q(dir / "copy.rsc") +
                   " --model1 4 --model2 4 -o " + Q(dir / "summary.txt"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out,
            "Cargando firmware 1 ...\nCargando firmware 2 ...\nComparando cada directorio...\n"
            "No hay diferencias entre archivos de igual nombre\nNo falta ningún archivo\n");
  EXPECT_EQ(test::ReadText(dir / "summary.txt"),
            "Cargando firmware 1 ...\r\nCargando firmware 2 ...\r\nComparando cada directorio...\r\n"
            "No hay diferencias entre archivos de igual nombre\r\nNo falta ningún archivo\r\n");

  test::WriteText(dir / "logo.imz", "changed");
  run = Run("insert " + Q(image) + " -m 13 --into boot --replace -o " + Q(dir / "changed.bin") +
            " " + Q(dir / "logo.imz"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  run = Run("delete " + Q(dir / "changed.bin") + " -m 13 -o " + Q(dir / "changed.bin") +
            " main/text.mpz");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  run = Run("compare " + Q(image) + " " + Q(dir / "changed.bin") + " --model1 13 --model2 13");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "El fichero \"boot:logo.imz\" es diferente\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "El fichero \"main:text.mpz\" no existe en Firmware 2\n"));
  EXPECT_TRUE(Has(run.out, "Número de archivos distintos : 1\n"));
  EXPECT_TRUE(Has(run.out, "Número de archivos que no se han encontrado : 1\n"));
}

// --- Order lists and directories of firmware models -----------------------------------------

TEST_F(Cli, OrderListsAreForFirmwareModels) {
  EXPECT_EQ(Run("order export " + Q(patch) + " -m 4 " + Q(dir / "l.def")).exit_code, 3);
  EXPECT_FALSE(fs::exists(dir / "l.def"));
}

// What the lists hold and rebuild is checked in document_extraction_order_list_test.cpp.
TEST_F(Cli, ExtractExportAndImportOrderLists) {
  ASSERT_EQ(Run("extract " + Q(image) + " -m 13 --decompress " + Q(dir / "dec")).exit_code, 0);
  EXPECT_TRUE(fs::exists(dir / "dec" / "fw.bin.def"));
  EXPECT_TRUE(fs::exists(dir / "dec" / "~fw.bin" / "main" / "menu.paz"));
  EXPECT_TRUE(fs::is_directory(dir / "dec" / "~fw.bin" / "void"));
  ASSERT_EQ(Run("extract " + Q(image) + " -m 13 " + Q(dir / "out")).exit_code, 0);
  EXPECT_FALSE(fs::exists(dir / "out" / "fw.bin.def"));
  ASSERT_EQ(Run("order export " + Q(image) + " -m 13 " + Q(dir / "out" / "list.def")).exit_code, 0);
  EXPECT_EQ(test::ReadText(dir / "out" / "list.def").substr(0, 56),
            "SECTION boot\r\nFILE    boot.cpz     ~fw.bin\\boot\\boot.cpz");

  // Empty the tree of a copy first, then rebuild it from the list.
  CliRun run = Run("delete " + Q(image) + " -m 13 -o " + Q(dir / "cut.bin") + " main boot/logo.imz");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const std::string import = " -m 13 " + Q(dir / "out" / "list.def") + " -o ";
  run = Run("order import " + Q(dir / "cut.bin") + import + Q(dir / "back.bin"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(TreeOf(dir / "back.bin", 13, Show::Bytes), TreeOf(image, 13, Show::Bytes));

  fs::remove(dir / "out" / "~fw.bin" / "main" / "text.mpz");
  run = Run("order import " + Q(image) + import + Q(dir / "partial.bin"));
  EXPECT_EQ(run.exit_code, 4);
  EXPECT_TRUE(Has(run.err, "¡ No se encontraron algunos archivos !"));
  EXPECT_EQ(test::ReadText(dir / "out" / "NotFound.txt"), "~fw.bin\\main\\text.mpz\r\n");
  EXPECT_FALSE(fs::exists(dir / "partial.bin"));
}

TEST_F(Cli, NewDirectoryGoesBeforeTheSelectedOne) {
  ASSERT_EQ(Run("mkdir " + Q(image) + " -m 13 --at main fresh -o " + Q(dir / "m.bin")).exit_code, 0);
  EXPECT_TRUE(Has(TreeOf(dir / "m.bin", 13, Show::Names), "  fresh\n  main\n"));
  EXPECT_EQ(Run("mkdir " + Q(image) + " -m 13 --at main BOOT -o " + Q(dir / "n.bin")).exit_code, 3);
}

}  // namespace
}  // namespace corvane

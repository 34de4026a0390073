// The tree commands of corvane-cli, end to end on built patch files.
#include <gtest/gtest.h>

#include "firmware/codec.h"

#include <array>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "document/document.h"
#include "document/names.h"
#include "support/cli_runner.h"
#include "support/files.h"
#include "support/image_builder.h"
#include "support/patch_builder.h"
#include "support/temp_dir.h"
#include "support/treeops_support.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

using test::CliRun;

std::string Q(const fs::path& p) { return test::Quote(p); }

class TreeCli : public ::testing::Test {
 protected:
  void SetUp() override {
    test::PatchSectionSpec s0;
    s0.dirs = {{"menus", {{"a.cpz", test::Pattern(100, 1)}, {"b.cpz", test::Pattern(50, 2)}}},
               {"panels", {{"p.paz", test::Pattern(30, 3)}}}};
    test::PatchSectionSpec s1;
    s1.dirs = {{"other", {{"c.lut", test::Pattern(40, 4)}}}};
    patch = dir / "p.rsc";
    test::WriteFile(patch, test::PlainPatch({s0, s1}, test::Endian::Little));
  }

  CliRun Cli(const std::string& args) { return test::RunCli(args, dir / "err.txt"); }

  // The tree of a written patch, its root shown as "p.rsc".
  std::string TreeOf(const fs::path& file) {
    Document doc;
    if (!doc.Open(file, 4).ok()) return "<does not load>";
    const std::string dump = test::Dump(*doc.Tree());
    return "p.rsc" + dump.substr(dump.find('\n'));
  }

  test::TempDir dir;
  fs::path patch;
  const std::string s0 = "Secci\xF3n-00";
  const std::string s1 = "Secci\xF3n-01";
  const std::string s0_utf8 = "Sección-00";
  const std::string s1_utf8 = "Sección-01";
};

TEST_F(TreeCli, ExtractWritesFoldersAndNoOrderListForPatches) {
  const CliRun run = Cli("extract " + Q(patch) + " -m 4 --decompress " + Q(dir / "out"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  // Extraction with decompression writes what the stream decodes to (the stored bytes only when
  // that is nothing).
  const Bytes stored = test::Pattern(100, 1);
  const Bytes decoded = Decompress(stored);
  EXPECT_EQ(test::ReadFile(dir / "out" / "~p.rsc" / s0_utf8 / "menus" / "a.cpz"),
            decoded.empty() ? stored : decoded);
  EXPECT_FALSE(fs::exists(dir / "out" / "p.rsc.def"));
  const CliRun one = Cli("extract " + Q(patch) + " -m 4 --node " + Q(s0_utf8 + "/MENUS/b.cpz") + " " +
                      Q(dir / "one"));
  ASSERT_EQ(one.exit_code, 0) << one.err;
  EXPECT_EQ(test::ReadFile(dir / "one" / "b.cpz"), test::Pattern(50, 2));
  EXPECT_EQ(Cli("extract " + Q(patch) + " -m 4 --node nothing " + Q(dir / "x")).exit_code, 2);
}

TEST_F(TreeCli, InsertReplaceChoices) {
  test::WriteFile(dir / "a.cpz", test::Pattern(10, 9));
  test::WriteFile(dir / "new.cpz", test::Pattern(10, 8));
  const std::string base = "insert " + Q(patch) + " -m 4 --into " + Q(s0_utf8 + "/menus") + " ";

  CliRun run = Cli(base + "-o " + Q(dir / "asked.rsc") + " " + Q(dir / "new.cpz") + " " + Q(dir / "a.cpz"));
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_NE(run.err.find("Ya existe un archivo llamado :  a.cpz"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("¿Lo sustituyo por el nuevo?"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "asked.rsc"));

  run = Cli(base + "--no-replace -o " + Q(dir / "kept.rsc") + " " + Q(dir / "a.cpz") + " " +
            Q(dir / "new.cpz"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(TreeOf(dir / "kept.rsc"), "p.rsc\n  " + s0 +
                                          "\n    menus\n      a.cpz:100\n      b.cpz:50\n      "
                                          "new.cpz:10\n    panels\n      p.paz:30\n  " + s1 +
                                          "\n    other\n      c.lut:40\n");

  run = Cli(base + "--replace -o " + Q(dir / "replaced.rsc") + " " + Q(dir / "a.cpz"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(TreeOf(dir / "replaced.rsc"), "p.rsc\n  " + s0 +
                                              "\n    menus\n      a.cpz:10\n      b.cpz:50\n    "
                                              "panels\n      p.paz:30\n  " + s1 +
                                              "\n    other\n      c.lut:40\n");
}

TEST_F(TreeCli, InsertRefusalsWriteNothing) {
  test::WriteFile(dir / "huge.bin", test::Pattern(65500, 5));
  CliRun run = Cli("insert " + Q(patch) + " -m 4 --into " + Q(s0_utf8 + "/menus") + " -o " +
                Q(dir / "o.rsc") + " " + Q(dir / "huge.bin"));
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_NE(run.err.find("¡ No hay espacio suficiente en esa sección !"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "o.rsc"));
  run = Cli("insert " + Q(patch) + " -m 4 --into " + Q(s0_utf8 + "/menus") + " -o " +
            Q(dir / "o.rsc") + " " + Q(dir / "missing.bin"));
  EXPECT_EQ(run.exit_code, 4);
  EXPECT_NE(run.err.find("¡ El fichero no se ha podido abrir !"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "o.rsc"));
}

TEST_F(TreeCli, TcsGoesInUncompressed) {
  test::WriteText(dir / "TCS", std::string(200, 't'));
  const CliRun run = Cli("insert " + Q(patch) + " -m 4 --compress --into " + Q(s0_utf8 + "/panels") +
                      " -o " + Q(dir / "o.rsc") + " " + Q(dir / "TCS"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(TreeOf(dir / "o.rsc").find("TCS:200"), std::string::npos);
}

TEST_F(TreeCli, DeleteMkdirRenameMove) {
  CliRun run = Cli("delete " + Q(patch) + " -m 4 -o " + Q(dir / "d.rsc") + " " + Q(s0_utf8));
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_FALSE(fs::exists(dir / "d.rsc"));
  run = Cli("delete " + Q(patch) + " -m 4 -o " + Q(dir / "d.rsc") + " " + Q(s0_utf8 + "/panels") +
            " " + Q(s0_utf8 + "/menus/a.cpz"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(TreeOf(dir / "d.rsc"), "p.rsc\n  " + s0 + "\n    menus\n      b.cpz:50\n  " + s1 +
                                       "\n    other\n      c.lut:40\n");

  run = Cli("mkdir " + Q(patch) + " -m 4 --at " + Q(s0_utf8 + "/menus") + " x -o " + Q(dir / "m.rsc"));
  EXPECT_EQ(run.exit_code, 3);  // inside a directory: the command is not available
  run = Cli("mkdir " + Q(patch) + " -m 4 --at " + Q(s1_utf8) + " fresh -o " + Q(dir / "m.rsc"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(TreeOf(dir / "m.rsc").find("    other\n      c.lut:40\n    fresh\n"), std::string::npos);

  run = Cli("rename " + Q(patch) + " -m 4 " + Q(s0_utf8 + "/menus/a.cpz") +
            " verylongname.text -o " + Q(dir / "r.rsc"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "verylong.tex\n");
  run = Cli("rename " + Q(patch) + " -m 4 " + Q(s0_utf8 + "/menus/a.cpz") + " A.CPZ -o " +
            Q(dir / "same.rsc"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "a.cpz\n");
  EXPECT_EQ(test::ReadFile(dir / "same.rsc"), test::ReadFile(patch));
  run = Cli("rename " + Q(patch) + " -m 4 " + Q(s0_utf8 + "/menus/a.cpz") + " \"bad name\" -o " +
            Q(dir / "bad.rsc"));
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_NE(run.err.find("¡ El nombre nuevo no es valido !"), std::string::npos);

  run = Cli("move " + Q(patch) + " -m 4 " + Q(s0_utf8 + "/menus/a.cpz") + " " +
            Q(s1_utf8 + "/other") + " -o " + Q(dir / "mv.rsc"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(TreeOf(dir / "mv.rsc").find("    other\n      c.lut:40\n      a.cpz:100\n"),
            std::string::npos);
  run = Cli("move " + Q(patch) + " -m 4 " + Q(s0_utf8 + "/menus") + " " +
            Q(s0_utf8 + "/panels/p.paz") + " -o " + Q(dir / "no.rsc"));
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_FALSE(fs::exists(dir / "no.rsc"));
}

TEST_F(TreeCli, SearchPrintsPathsInTreeOrder) {
  CliRun run = Cli("search " + Q(patch) + " -m 4 cpz --names --all");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, s0_utf8 + "/menus/a.cpz\n" + s0_utf8 + "/menus/b.cpz\n");
  run = Cli("search " + Q(patch) + " -m 4 paz --names");
  EXPECT_EQ(run.out, s0_utf8 + "/panels/p.paz\n");
  run = Cli("search " + Q(patch) + " -m 4 nowhere --names");
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("¡ No se ha encontrado esa cadena de texto !"), std::string::npos);
}

TEST_F(TreeCli, InfoAndCompare) {
  CliRun run = Cli("info " + Q(patch) + " -m 4 --json");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const nlohmann::json j = nlohmann::json::parse(run.out);
  EXPECT_EQ(j["directories"]["used"], 3);
  EXPECT_EQ(j["directories"]["capacity"], 32);
  EXPECT_EQ(j["space"]["capacity"], 131072);
  EXPECT_TRUE(j["files"]["capacity"].is_null());
  EXPECT_TRUE(j["files"]["percent"].is_null());
  run = Cli("info " + Q(patch) + " -m 4");
  EXPECT_NE(run.out.find("Número de directorios : 3 / 32  (9.38%)"), std::string::npos) << run.out;

  fs::copy_file(patch, dir / "copy.rsc");
  run = Cli("compare " + Q(patch) + " " + Q(dir / "copy.rsc") + " --model1 4 --model2 4 -o " +
            Q(dir / "summary.txt"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out,
            "Cargando firmware 1 ...\nCargando firmware 2 ...\nComparando cada directorio...\n"
            "No hay diferencias entre archivos de igual nombre\nNo falta ningún archivo\n");
  EXPECT_EQ(test::ReadText(dir / "summary.txt"),
            "Cargando firmware 1 ...\r\nCargando firmware 2 ...\r\nComparando cada directorio...\r\n"
            "No hay diferencias entre archivos de igual nombre\r\nNo falta ningún archivo\r\n");
}

TEST_F(TreeCli, OrderListsAreForFirmwareModels) {
  const CliRun run = Cli("order export " + Q(patch) + " -m 4 " + Q(dir / "l.def"));
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_FALSE(fs::exists(dir / "l.def"));
}


// ---- Firmware models ----

class FirmwareCli : public TreeCli {
 protected:
  void SetUp() override {
    test::ImageSpec spec;
    spec.model = 13;
    spec.dirs = test::SampleTree();
    image = dir / "fw.bin";
    test::WriteFile(image, test::BuildImage(spec).file);
  }
  std::string NamesOf(const fs::path& file) {
    Document doc;
    if (!doc.Open(file, 13).ok()) return "<does not load>";
    std::string out;
    doc.Tree()->ForEach([&out](TNodo& n) {
      if (n.Parent() != nullptr) out += std::string(2 * std::size_t(n.Level()), ' ') + n.Text + "\n";
    });
    return out;
  }
  std::string FullTree(const fs::path& file) {
    Document doc;
    if (!doc.Open(file, 13).ok()) return "<does not load>";
    std::string out;
    doc.Tree()->ForEach([&out](TNodo& n) {
      if (n.Parent() == nullptr) return;
      out += n.Text + ":" + std::to_string(n.Data.Tamano) + ":" +
             std::string(n.Data.Datos.begin(), n.Data.Datos.end()) + "\n";
    });
    return out;
  }
  fs::path image;
};

TEST_F(FirmwareCli, ExtractWithDecompressionWritesTheOrderListThatImportReads) {
  CliRun run = Cli("extract " + Q(image) + " -m 13 --decompress " + Q(dir / "out"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  ASSERT_TRUE(fs::exists(dir / "out" / "fw.bin.def"));
  EXPECT_TRUE(fs::exists(dir / "out" / "~fw.bin" / "main" / "menu.paz"));
  EXPECT_TRUE(fs::is_directory(dir / "out" / "~fw.bin" / "void"));

  // Empty the tree of a copy first, then rebuild it from the list.
  run = Cli("delete " + Q(image) + " -m 13 -o " + Q(dir / "cut.bin") + " main boot/logo.imz");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  run = Cli("order import " + Q(dir / "cut.bin") + " -m 13 " + Q(dir / "out" / "fw.bin.def") +
            " -o " + Q(dir / "back.bin"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(NamesOf(dir / "back.bin"), NamesOf(image));
}

TEST_F(FirmwareCli, PlainExtractionAndExportedListRebuildTheStoredBytes) {
  CliRun run = Cli("extract " + Q(image) + " -m 13 " + Q(dir / "out"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_FALSE(fs::exists(dir / "out" / "fw.bin.def"));
  run = Cli("order export " + Q(image) + " -m 13 " + Q(dir / "out" / "list.def"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(test::ReadText(dir / "out" / "list.def").substr(0, 56),
            "SECTION boot\r\nFILE    boot.cpz     ~fw.bin\\boot\\boot.cpz");
  run = Cli("order import " + Q(image) + " -m 13 " + Q(dir / "out" / "list.def") + " -o " +
            Q(dir / "back.bin"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(FullTree(dir / "back.bin"), FullTree(image));

  fs::remove(dir / "out" / "~fw.bin" / "main" / "text.mpz");
  run = Cli("order import " + Q(image) + " -m 13 " + Q(dir / "out" / "list.def") + " -o " +
            Q(dir / "partial.bin"));
  EXPECT_EQ(run.exit_code, 4);
  EXPECT_NE(run.err.find("¡ No se encontraron algunos archivos !"), std::string::npos);
  EXPECT_EQ(test::ReadText(dir / "out" / "NotFound.txt"), "~fw.bin\\main\\text.mpz\r\n");
  EXPECT_FALSE(fs::exists(dir / "partial.bin"));
}

TEST_F(FirmwareCli, NewDirectoryGoesBeforeTheSelectedOne) {
  const CliRun run = Cli("mkdir " + Q(image) + " -m 13 --at main fresh -o " + Q(dir / "m.bin"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(NamesOf(dir / "m.bin").find("  fresh\n  main\n"), std::string::npos);
  EXPECT_EQ(Cli("mkdir " + Q(image) + " -m 13 --at main BOOT -o " + Q(dir / "n.bin")).exit_code, 3);
}

TEST_F(FirmwareCli, CompareWithACopyAndWithAChangedCopy) {
  fs::copy_file(image, dir / "copy.bin");
  CliRun run = Cli("compare " + Q(image) + " " + Q(dir / "copy.bin") + " --model1 13 --model2 13");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("No hay diferencias entre archivos de igual nombre\nNo falta ningún archivo\n"),
            std::string::npos) << run.out;

  test::WriteText(dir / "logo.imz", "changed");
  run = Cli("insert " + Q(image) + " -m 13 --into boot --replace -o " + Q(dir / "changed.bin") +
            " " + Q(dir / "logo.imz"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  run = Cli("delete " + Q(dir / "changed.bin") + " -m 13 -o " + Q(dir / "changed.bin") +
            " main/text.mpz");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  run = Cli("compare " + Q(image) + " " + Q(dir / "changed.bin") + " --model1 13 --model2 13");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("El fichero \"boot:logo.imz\" es diferente\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("El fichero \"main:text.mpz\" no existe en Firmware 2\n"), std::string::npos);
  EXPECT_NE(run.out.find("Número de archivos distintos : 1\n"), std::string::npos);
  EXPECT_NE(run.out.find("Número de archivos que no se han encontrado : 1\n"), std::string::npos);
}

TEST_F(FirmwareCli, InfoShowsUnknownFileCapacity) {
  const CliRun run = Cli("info " + Q(image) + " -m 13");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.out.find("Número de directorios : 3 / 8  (37.50%)\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Número de archivos : 5 / "), std::string::npos) << run.out;
}

}  // namespace
}  // namespace corvane

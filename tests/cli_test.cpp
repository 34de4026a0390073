// corvane-cli wiring: each command parses its arguments, prints its output format and ends with
// its exit code (0 done, 2 bad input, 3 refused, 4 file error); a refusal writes nothing. What the
// commands do is covered by the core's tests.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "document/document.h"
#include "support/cli_runner.h"
#include "support/document_support.h"
#include "support/files.h"
#include "support/image_builder.h"
#include "support/patch_builder.h"
#include "support/script_assembler.h"
#include "base/bitmap.h"
#include "demo_image.h"
#include "firmware/codec.h"
#include "resources/panel.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

using test::CliRun;

// A model-2 image whose directory G holds a palette, a picture, an icon collection and a palette
// stored uncompressed, and whose panels directory holds a palette and a panel.
fs::path ResourceImage(const fs::path& folder) {
  Bytes palette;
  for (int i = 0; i < 64; ++i) palette.push_back(static_cast<std::uint8_t>(i * 4));
  TMHWPanel panel;
  panel.name = "MENU";
  panel.elements.push_back(TMHWPanel::NewElement(kPanbox, 0));
  panel.elements[0].visibility = 0xFFFFFFFF;
  panel.elements.push_back(TMHWPanel::NewElement(kButton, 7));
  Bytes plain_panel;
  EXPECT_TRUE(panel.Write("menu.paz", plain_panel).ok());
  test::ImageSpec spec;
  spec.model = 2;
  spec.dirs = {{"G",
                {{"A.lut", Compress(palette)},
                 {"pic.ima", Compress(Bytes{0, 4, 0, 2, 0x01, 0x23, 0x45, 0x67})},
                 {"set.icz", Compress(Bytes{0, 0x0B, 0, 1, 0, 0, 'A', 0, 4, 2, 0, 0x12, 0x34, 0x56, 0x78})},
                 {"raw.lut", palette}}},
               {"panels", {{"main.luz", Compress(palette)}, {"menu.paz", Compress(plain_panel)}}}};
  test::WriteFile(folder / "res.bin", test::BuildImage(spec).file);
  return folder / "res.bin";
}

// A Pioneer patch "p.rsc" (model 4) and a Nokia 9701s image "fw.bin" (model 13) in a temporary
// folder.
class Cli : public ::testing::Test, public test::CliFolder {
 protected:
  using CliFolder::Run;
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

  // The written tree's names, one a line, indented by level.
  std::string NamesOf(const fs::path& file, int model = 4) {
    Document doc;
    if (!doc.Open(file, model).ok()) return "<does not load>";
    const std::string names = test::Dump(*doc.Tree(), false);
    return names.substr(names.find('\n') + 1);  // below the root, named after the file
  }
  static bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
  }
  std::string Res() { return Q(ResourceImage(dir.path())) + " -m 2 "; }

  fs::path patch = dir / "p.rsc";
  fs::path image;
  const std::string s0 = "Sección-00", s1 = "Sección-01";
};

// Every refusal exits with its code (2 bad input, 3 refused, 4 file error), says why on standard
// error, prints nothing on standard output and writes no output file.
TEST_F(Cli, RefusalsSayWhyAndWriteNothing) {
  const auto inis = dir / "INIs";
  fs::create_directories(inis);
  test::WriteText(inis / "Corvane.ini", "[Corvane]\r\nLanguage2=Pirate\r\nLanguageUsed=2\r\n");
  test::WriteText(inis / "Pirate.ini", "[Pirate]\r\nTranslation5=Arr, wrong length!\r\n");
  test::WriteText(dir / "x.bin", "not a firmware");
  test::WriteFile(dir / "a.cpz", test::Pattern(10, 9));
  test::WriteText(dir / "bad.json", "{");
  test::WriteFile(dir / "deep.bmp", WriteBitmap(Bitmap{2, 1, 8, {}, {9, 10}}));
  const std::string ts2 = Q(Image(24, "ts2.bin")), res = Res(), out = " -o " + Q(dir / "out");
  const std::string into = "insert " + Q(patch) + " -m 4 --into " + Q(s0 + "/menus") + out + " ";
  const std::string render = "render " + res + "panels/";
  const std::string wrong_length = "¡ El fichero no tiene la longitud adecuada !\n";
  const struct {
    std::string args;
    int code;
    const char* err;  // a part of what standard error says (nullptr: it says nothing)
  } cases[] = {
      {"tree " + ts2 + " -m 16", 2, wrong_length.c_str()},  // wrong length for a TS1A
      {"--inis " + Q(inis) + " tree " + Q(dir / "x.bin") + " -m 2", 2, "Arr, wrong length!\n"},
      {"--inis " + Q(dir / "nowhere") + " tree " + Q(dir / "x.bin") + " -m 2", 2, wrong_length.c_str()},
      {"tree " + Q(dir / "absent.bin") + " -m 24", 4, ""},
      // A BCT-14xx also opens as a Kenwood: no clear winner, so a command needs -m.
      {"tree " + Q(Image(1, "bct14.bin")), 2, "-m"},
      {"detect " + Q(dir / "x.bin"), 2, "¡ El fichero no es del tipo seleccionado !\n"},  // no candidate
      // A second region with no spare entries cannot be saved whole.
      {"repack " + Q(Image(13, "nokia.bin", true, 0)) + " -m 13" + out, 3,
       "Hay demasiados archivos dentro del firmware.\nBorra algún archivo para poder guardar los cambios.\n"},
      {"extract " + Q(patch) + " -m 4 --node nothing " + Q(dir / "out"), 2, ""},
      {into + Q(dir / "a.cpz"), 3, "Ya existe un archivo llamado :  a.cpz"},  // no choice given
      {into + Q(dir / "missing.bin"), 4, "¡ El fichero no se ha podido abrir !"},
      {"delete " + Q(patch) + " -m 4" + out + " " + Q(s0), 3, ""},
      {"search " + Q(patch) + " -m 4 nowhere --names", 3, "¡ No se ha encontrado esa cadena de texto !"},
      {"dump " + res + "G --json", 2, ""},
      {"dump " + res + "G/none.ima --json", 2, ""},
      {"dump " + res + "G/raw.lut --json", 2, ""},
      {"build icons " + Q(dir / "bad.json") + out, 2, ""},
      {"import " + res + "G/pic.ima " + Q(dir / "deep.bmp") + out, 2, ""},
      {render + "menu.paz --screen 05" + out, 2, ""},
      {render + "main.luz" + out, 2, ""},
      {render + "menu.paz --palette panels:none.lut" + out, 2, ""},
      {render + "none.paz" + out, 2, ""},
  };
  for (const auto& c : cases) {
    const CliRun run = Run(c.args);
    EXPECT_EQ(run.exit_code, c.code) << c.args;
    EXPECT_EQ(run.out, "") << c.args;
    EXPECT_TRUE(c.err ? !run.err.empty() && Has(run.err, c.err) : run.err.empty()) << c.args << "\n" << run.err;
    EXPECT_FALSE(fs::exists(dir / "out")) << c.args;
  }
}

TEST_F(Cli, TreeTextAndJson) {
  CliRun run = Run("tree " + Q(Image(24, "ts2.bin")) + " -m 24");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "ts2.bin/\n  boot/\n    boot.cpz  301\n")) << run.out;
  run = Run("tree " + Q(image) + " -m 13 --json");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const auto j = nlohmann::json::parse(run.out);
  EXPECT_EQ(j["model"], 13);
  EXPECT_EQ(j["layout"].size(), 17u);
  const auto& logo = j["tree"]["children"][0]["children"][1];
  EXPECT_EQ(logo["name"], "logo.imz");
  EXPECT_EQ(logo["crc32"].get<std::string>().size(), 8u);
}

TEST_F(Cli, RepackDetectAndCommandsWithoutModel) {
  const auto path = Image(2, "bct15.bin");
  ASSERT_EQ(Run("repack " + Q(path) + " -m 2 -o " + Q(dir / "out.bin")).exit_code, 0);
  EXPECT_EQ(test::ReadFile(dir / "out.bin").size(), test::ReadFile(path).size());
  EXPECT_EQ(NamesOf(dir / "out.bin", 2), NamesOf(path, 2));
  CliRun run = Run("detect " + Q(path));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out.substr(0, 2), "2\t") << run.out;
  EXPECT_TRUE(Has(run.out, "block checksums match"));
  run = Run("tree " + Q(path) + " --json");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(nlohmann::json::parse(run.out)["model"], 2);
}

TEST_F(Cli, ExtractAndOrderLists) {
  ASSERT_EQ(Run("extract " + Q(image) + " -m 13 --decompress " + Q(dir / "dec")).exit_code, 0);
  EXPECT_TRUE(fs::exists(dir / "dec" / "fw.bin.def"));
  EXPECT_TRUE(fs::exists(dir / "dec" / "~fw.bin" / "main" / "menu.paz"));
  ASSERT_EQ(Run("extract " + Q(image) + " -m 13 " + Q(dir / "out")).exit_code, 0);
  const CliRun one = Run("extract " + Q(patch) + " -m 4 --node " + Q(s0 + "/MENUS/b.cpz") + " " +
                         Q(dir / "one"));
  ASSERT_EQ(one.exit_code, 0) << one.err;
  EXPECT_EQ(test::ReadFile(dir / "one" / "b.cpz"), test::Pattern(50, 2));

  const fs::path list = dir / "out" / "list.def";
  ASSERT_EQ(Run("order export " + Q(image) + " -m 13 " + Q(list)).exit_code, 0);
  EXPECT_EQ(test::ReadText(list).substr(0, 56),
            "SECTION boot\r\nFILE    boot.cpz     ~fw.bin\\boot\\boot.cpz");
  const std::string import = "order import " + Q(image) + " -m 13 " + Q(list) + " -o ";
  ASSERT_EQ(Run(import + Q(dir / "back.bin")).exit_code, 0);
  EXPECT_EQ(NamesOf(dir / "back.bin", 13), NamesOf(image, 13));
  fs::remove(dir / "out" / "~fw.bin" / "main" / "text.mpz");
  const CliRun run = Run(import + Q(dir / "partial.bin"));
  EXPECT_EQ(run.exit_code, 4);
  EXPECT_TRUE(Has(run.err, "¡ No se encontraron algunos archivos !"));
  EXPECT_FALSE(fs::exists(dir / "partial.bin"));
}

// The tree commands share opening, reporting and saving (one refusal in the table covers them).
TEST_F(Cli, InsertDeleteMkdirRenameMove) {
  test::WriteFile(dir / "a.cpz", test::Pattern(10, 9));
  const std::string into = "insert " + Q(patch) + " -m 4 --into " + Q(s0 + "/menus") + " ";
  for (const char* choice : {"--no-replace", "--replace"}) {
    const CliRun run = Run(into + choice + " -o " + Q(dir / "c.rsc") + " " + Q(dir / "a.cpz"));
    ASSERT_EQ(run.exit_code, 0) << run.err;
    Document doc;
    ASSERT_TRUE(doc.Open(dir / "c.rsc", 4).ok());
    EXPECT_EQ(doc.Root()->FirstChild()->FirstChild()->FirstChild()->Data.Tamano,
              std::string(choice) == "--replace" ? 10u : 100u);
  }
  const std::string a = " " + Q(s0 + "/menus/a.cpz") + " ";
  CliRun run = Run("delete " + Q(patch) + " -m 4 -o " + Q(dir / "d.rsc") + " " +
                   Q(s0 + "/panels") + a);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_FALSE(Has(NamesOf(dir / "d.rsc"), "a.cpz"));
  run = Run("mkdir " + Q(image) + " -m 13 --at main fresh -o " + Q(dir / "m.bin"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(Has(NamesOf(dir / "m.bin", 13), "  fresh\n  main\n"));
  run = Run("rename " + Q(patch) + " -m 4" + a + "verylongname.text -o " + Q(dir / "r.rsc"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "verylong.tex\n");
  run = Run("move " + Q(patch) + " -m 4" + a + Q(s1 + "/other") + " -o " + Q(dir / "mv.rsc"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(Has(NamesOf(dir / "mv.rsc"), "    other\n      c.lut\n      a.cpz\n"));
}

TEST_F(Cli, SearchInfoAndCompare) {
  CliRun run = Run("search " + Q(patch) + " -m 4 cpz --names --all");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, s0 + "/menus/a.cpz\n" + s0 + "/menus/b.cpz\n");
  run = Run("info " + Q(patch) + " -m 4 --json");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const nlohmann::json j = nlohmann::json::parse(run.out);
  EXPECT_EQ(j["directories"]["capacity"], 32);
  EXPECT_TRUE(j["files"]["capacity"].is_null());
  run = Run("info " + Q(image) + " -m 13");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Número de directorios : 3 / 8  (37.50%)\n")) << run.out;

  fs::copy_file(patch, dir / "copy.rsc");
  run = Run("compare " + Q(patch) + " " + Q(dir / "copy.rsc") + " --model1 4 --model2 4 -o " +
            Q(dir / "summary.txt"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out,
            "Cargando firmware 1 ...\nCargando firmware 2 ...\nComparando cada directorio...\n"
            "No hay diferencias entre archivos de igual nombre\nNo falta ningún archivo\n");
  EXPECT_EQ(test::ReadText(dir / "summary.txt"),
            "Cargando firmware 1 ...\r\nCargando firmware 2 ...\r\nComparando cada directorio...\r\n"
            "No hay diferencias entre archivos de igual nombre\r\nNo falta ningún archivo\r\n");
}

TEST_F(Cli, ResourcesDumpBuildExportImportAndRender) {
  const std::string fw = Res();
  for (const char* path : {"g/A.LUT", "G/pic.ima", "G/set.icz"}) {
    const CliRun dump = Run("dump " + fw + path + " --json");
    ASSERT_EQ(dump.exit_code, 0) << path << dump.err;
    test::WriteText(dir / "in.json", dump.out);
    const std::string build = "build " + nlohmann::json::parse(dump.out)["kind"].get<std::string>() +
                              " " + Q(dir / "in.json") + " -o ";
    ASSERT_EQ(Run(build + Q(dir / "plain") + " --plain").exit_code, 0);
    ASSERT_EQ(Run(build + Q(dir / "stored")).exit_code, 0);
    EXPECT_EQ(Decompress(test::ReadFile(dir / "stored")), test::ReadFile(dir / "plain")) << path;
  }
  ASSERT_EQ(Run("export " + fw + "G/pic.ima -o " + Q(dir / "p.bmp")).exit_code, 0);
  const auto bitmap = ReadBitmap(test::ReadFile(dir / "p.bmp"));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->colours[1], (Rgb{16, 20, 24}));  // the palette of G chosen
  ASSERT_EQ(Run("export " + fw + "G/A.lut -o " + Q(dir / "a.pal")).exit_code, 0);
  const std::string out = " -o " + Q(dir / "out.bin");
  ASSERT_EQ(Run("import " + fw + "G/A.lut " + Q(dir / "a.pal") + out).exit_code, 0);
  test::WriteFile(dir / "flecha.bmp", WriteBitmap(Bitmap{2, 1, 4, {}, {9, 10}}));
  const std::string icon = "import " + Q(dir / "out.bin") + " -m 2 G/set.icz " + Q(dir / "flecha.bmp");
  ASSERT_EQ(Run(icon + out).exit_code, 0);
  EXPECT_EQ(Run(icon + out).exit_code, 3);  // the name is taken
  EXPECT_EQ(Run(icon + " --icon A --replace" + out).exit_code, 0);

  const CliRun run = Run("render " + fw + "panels/menu.paz --screen 07 --border --grid 5 -o " +
                         Q(dir / "out.png"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const Bytes png = test::ReadFile(dir / "out.png");
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(ByteView(png).u32be(16), 576u);  // IHDR width and height
  EXPECT_EQ(ByteView(png).u32be(20), 486u);
}

TEST_F(Cli, ScriptListingCodeExportAndCheck) {
  const std::string inis = " --inis " + Q(fs::path(CORVANE_SOURCE_DIR) / "data" / "INIs");
  test::WriteFile(dir / "demo.bin", demo::DemoImage());
  const std::string demo = Q(dir / "demo.bin");
  CliRun run = Run("list-script " + demo + " boot/boot.cpz" + inis);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out.substr(0, 36), "class main;\n\nscript boot(){\n  main.t");
  run = Run("export-code -m 2 " + demo + " " + Q(dir / "out") + inis);
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.err.find("Guardando... 100%"), std::string::npos);
  for (const char* list : {"Scripts.txt", "Classes.txt", "Applications.txt"})
    EXPECT_GT(fs::file_size(dir / "out" / list), 0u) << list;
  run = Run("check " + demo + inis);
  EXPECT_EQ(run.exit_code, 3);  // the boot scripts have no panel
  EXPECT_EQ(run.out.find("boot/boot.cpz: Panel no encontrado : boot"), 0u) << run.out;

  test::ImageSpec spec;
  spec.model = demo::kDemoModel;
  spec.capacity = 4;
  spec.dirs = {{"code",
                {{"lost.cpz", Compress(test::ScriptAssembler("lost", {"Nowhere"}).Op(0).Plain())},
                 {"app.apz", Compress(test::ApplicationFile("lost", "gone", "", {}, {}))}}}};
  test::WriteFile(dir / "lost.bin", test::BuildImage(spec).file);
  run = Run("list-script " + Q(dir / "lost.bin") + " code/lost.cpz" + inis);
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("¡ La clase \"Nowhere\" no se ha encontrado !"), std::string::npos);
  run = Run("check " + Q(dir / "lost.bin") + " --json" + inis);
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_EQ(nlohmann::json::parse(run.out).size(), 3u) << run.out;
}

}  // namespace
}  // namespace corvane

// list-script, export-code and check of corvane-cli on the bundled demo and a built image, with
// the shipped instruction and variable-type tables.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "demo_image.h"
#include "firmware/codec.h"
#include "support/cli_runner.h"
#include "support/files.h"
#include "support/image_builder.h"
#include "support/script_assembler.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

class ScriptsCli : public ::testing::Test {
 protected:
  void SetUp() override {
    demo_ = dir_ / "demo.bin";
    test::WriteFile(demo_, demo::DemoImage());
  }
  test::CliRun Do(const std::string& args) {
    return test::RunCli(
        args + " --inis " + test::Quote(std::string(CORVANE_SOURCE_DIR) + "/data/INIs"),
        dir_ / "err.txt");
  }
  test::TempDir dir_;
  std::filesystem::path demo_;
};

TEST_F(ScriptsCli, ListsEveryDemoScriptAsReadableSource) {
  const test::CliRun boot = Do("list-script " + test::Quote(demo_) + " boot/boot.cpz");
  ASSERT_EQ(boot.exit_code, 0) << boot.err;
  EXPECT_EQ(boot.out,
            "class main;\n\nscript boot(){\n"
            "  main.title = \"Corvane\\ndemo\";\n  main.count = 0;\n"
            "  if (main.count == 0) {\n    print(\"first start\");\n  }\n  else\n  {\n"
            "    print(\"started again\");\n  }\n  main.count++;\n  call(\"menu\", 1);\n"
            "  exit;\n}\n");

  const test::CliRun run =
      Do("export-code -m 2 " + test::Quote(demo_) + " " + test::Quote(dir_ / "out"));
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_NE(run.err.find("Guardando... 100%"), std::string::npos);
  const std::string scripts = test::ReadText(dir_ / "out" / "Scripts.txt");
  for (const char* text :
       {"Script : menu.cpi", "Script : info.cpi", "Script : start.cpz",
        "for (main.index = 0; main.index < 5; main.index += 1)", "main.price = abs(main.total);",
        "} while (main.index < 10)", "method 0x0010 - Used by : menu:OK (2)",
        "method 0x0021 - Used by : info.RefreshMethod, info:TEXT (1)"})
    EXPECT_NE(scripts.find(text), std::string::npos) << text << "\n" << scripts;
  EXPECT_EQ(scripts.find("func"), std::string::npos) << scripts;
  const std::string classes = test::ReadText(dir_ / "out" / "Classes.txt");
  EXPECT_NE(classes.find("Tipo Variable 003 : decimal\r\nNúmero de dimensiones Variable 003 : 0"),
            std::string::npos)
      << classes;
  EXPECT_NE(test::ReadText(dir_ / "out" / "Applications.txt").find("Clase : screen"),
            std::string::npos);
}

TEST_F(ScriptsCli, MissingClassesAndReferences) {
  test::ImageSpec spec;
  spec.model = demo::kDemoModel;
  spec.capacity = 4;
  spec.dirs = {{"code",
                {{"lost.cpz", Compress(test::ScriptAssembler("lost", {"Nowhere"}).Op(0).Plain())},
                 {"app.apz", Compress(test::ApplicationFile("lost", "gone", "", {}, {}))}},
                false}};
  const auto image = dir_ / "lost.bin";
  test::WriteFile(image, test::BuildImage(spec).file);

  const test::CliRun listed = Do("list-script " + test::Quote(image) + " code/lost.cpz");
  EXPECT_EQ(listed.exit_code, 2);
  EXPECT_EQ(listed.out, "");
  EXPECT_NE(listed.err.find("¡ La clase \"Nowhere\" no se ha encontrado !"), std::string::npos);

  const test::CliRun check = Do("check " + test::Quote(image) + " --json");
  EXPECT_EQ(check.exit_code, 3);
  const auto j = nlohmann::json::parse(check.out);
  ASSERT_EQ(j.size(), 3u) << check.out;
  EXPECT_EQ(j[0]["kind"], "class");
  EXPECT_EQ(j[2]["name"], "gone");
  const test::CliRun text = Do("check " + test::Quote(demo_));
  EXPECT_EQ(text.exit_code, 3);  // the boot scripts have no panel
  EXPECT_EQ(text.out.find("boot/boot.cpz: Panel no encontrado : boot"), 0u) << text.out;
  EXPECT_EQ(text.out.find("panels/"), std::string::npos) << text.out;
}

}  // namespace
}  // namespace corvane

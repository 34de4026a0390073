// corvane-cli compare FILE1 FILE2 [--model1 N] [--model2 M] [-o SUMMARY.txt]
#include <iostream>

#include "base/messages.h"
#include "document/compare.h"
#include "base/file_io.h"
#include "firmware/models.h"
#include "tree_commands.h"

namespace corvane::cli {

void RegisterCompare(CLI::App& app, const Globals&, int& exit_code) {
  struct Options {
    std::string file1, file2, out;
    int model1 = 0, model2 = 0;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("compare", "Compare two firmwares file by file");
  cmd->add_option("FILE1", o->file1, "First firmware")->required();
  cmd->add_option("FILE2", o->file2, "Second firmware")->required();
  cmd->add_option("--model1", o->model1, "Model of FILE1; detected when left out")
      ->check(CLI::Range(1, kModelCount));
  cmd->add_option("--model2", o->model2, "Model of FILE2; detected when left out")
      ->check(CLI::Range(1, kModelCount));
  cmd->add_option("-o,--output", o->out, "Also write the summary to this text file");
  cmd->callback([o, &exit_code] {
    for (auto [file, model] : {std::pair{&o->file1, &o->model1}, std::pair{&o->file2, &o->model2}}) {
      if (*model != 0) continue;
      OpenedFirmware probe;
      if ((exit_code = OpenFirmware(*file, 0, probe)) != kExitDone) return;
      *model = probe.fw.Model;
    }
    const CompareSummary summary = CompareFirmwares(o->file1, o->model1, o->file2, o->model2);
    for (const Result& failure : summary.failures) PrintError(failure.message);
    for (const Message& line : summary.lines) std::cout << Render(line) << '\n';
    exit_code = summary.failures.empty() ? kExitDone : ExitCodeFor(summary.failures.front());
    if (!o->out.empty()) {
      const std::string text = summary.Text();
      const std::string error = WriteFileAtomic(o->out, Bytes(text.begin(), text.end()));
      if (!error.empty()) {
        PrintError(o->out + ": " + error);
        exit_code = kExitIo;
      }
    }
  });
}

}  // namespace corvane::cli

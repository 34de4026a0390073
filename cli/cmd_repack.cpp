// corvane-cli repack FILE [-m N] -o OUT
#include "cli.h"
#include "open_firmware.h"

namespace corvane::cli {

void RegisterRepack(CLI::App& app, const Globals&, int& exit_code) {
  auto* cmd = app.add_subcommand("repack", "Open a firmware and save it unchanged with its writer");
  auto file = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>();
  auto model = std::make_shared<int>(0);
  cmd->add_option("FILE", *file, "Firmware image")->required();
  cmd->add_option("-o,--output", *out, "Output file")->required();
  AddModelOption(cmd, *model);
  cmd->callback([file, out, model, &exit_code] {
    OpenedFirmware opened;
    exit_code = OpenFirmware(*file, *model, opened);
    if (exit_code != kExitDone) return;
    exit_code = Report(opened.fw.GuardaFirmware(*out, SaveOptions{}));
  });
}

}  // namespace corvane::cli

// corvane-cli detect FILE
#include <iostream>

#include "base/message_rows.h"
#include "cli.h"
#include "base/file_io.h"
#include "open_firmware.h"

namespace corvane::cli {

void RegisterDetect(CLI::App& app, const Globals&, int& exit_code) {
  auto* cmd =
      app.add_subcommand("detect", "List the receiver models that accept a file, best first");
  auto file = std::make_shared<std::string>();
  cmd->add_option("FILE", *file, "Firmware image")->required();
  cmd->callback([file, &exit_code] {
    const auto bytes = ReadWholeFile(*file);
    if (!bytes) {
      PrintError(Message::FromRow(rows::kCannotOpenFirmware).Text(" " + *file));
      exit_code = kExitIo;
      return;
    }
    const auto candidates = DetectModels(*file, *bytes);
    if (candidates.empty()) {
      PrintError(Message::FromRow(rows::kNotSelectedType));
      exit_code = kExitRejected;
      return;
    }
    for (const auto& c : candidates) std::cout << DescribeCandidate(c) << '\n';
    exit_code = kExitDone;
  });
}

}  // namespace corvane::cli

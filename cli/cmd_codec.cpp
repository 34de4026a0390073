// corvane-cli compress IN OUT / decompress IN OUT: the raw codec over whole files.
#include "base/message_rows.h"
#include "cli.h"
#include "firmware/codec.h"
#include "base/file_io.h"

namespace corvane::cli {

namespace {

void RegisterOne(CLI::App& app, const char* name, const char* help, bool compress, int& exit_code) {
  auto* cmd = app.add_subcommand(name, help);
  auto in = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>();
  cmd->add_option("IN", *in, "Input file")->required();
  cmd->add_option("OUT", *out, "Output file")->required();
  cmd->callback([in, out, compress, &exit_code] {
    const auto bytes = ReadWholeFile(*in);
    if (!bytes) {
      PrintError(Message::FromRow(rows::kCannotOpen).Text(" " + *in));
      exit_code = kExitIo;
      return;
    }
    const Bytes result = compress ? Compress(*bytes) : Decompress(*bytes);
    const std::string error = WriteFileAtomic(*out, result);
    if (!error.empty()) {
      PrintError("Cannot write " + *out + ": " + error);
      exit_code = kExitIo;
      return;
    }
    exit_code = kExitDone;
  });
}

}  // namespace

void RegisterCodec(CLI::App& app, const Globals&, int& exit_code) {
  RegisterOne(app, "compress", "Compress a whole file with the image's codec", true, exit_code);
  RegisterOne(app, "decompress", "Decompress a whole file with the image's codec", false,
              exit_code);
}

}  // namespace corvane::cli

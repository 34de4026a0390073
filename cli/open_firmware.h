// Opening a firmware for a command: with the model given by -m, or by detection.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli.h"
#include "firmware/firmware.h"

namespace corvane::cli {

// A model whose loader accepts the file, with the evidence that it is the right one.
struct Candidate {
  int model = 0;
  int score = 0;
  std::vector<std::string> evidence;
};

// Every model whose loader accepts `file`, best first (by score, then model number). Each loader
// runs on a private tree and firmware.
std::vector<Candidate> DetectModels(const std::filesystem::path& path, const Bytes& file);
// "N <tab> name <tab> score: evidence; evidence..."
std::string DescribeCandidate(const Candidate& c);

struct OpenedFirmware {
  TArbol tree;
  TFirmware fw;
};

// Adds the "-m,--model" option to a command.
void AddModelOption(CLI::App* cmd, int& model);

// Opens `path` with `model` (1..27), or with the detected model when `model` is 0: the best
// candidate when it is clearly ahead of the next; otherwise the candidates are listed on stderr.
// Returns the exit code (0 when opened).
int OpenFirmware(const std::string& path, int model, OpenedFirmware& out);

// A raw 8-bit name (Latin-1) as UTF-8 for output.
std::string NameForOutput(std::string_view name);

}  // namespace corvane::cli

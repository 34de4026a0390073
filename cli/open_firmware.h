// Opening a firmware for a command: with the model given by -m, or by detection.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli.h"
#include "document/detection.h"
#include "firmware/firmware.h"

namespace corvane::cli {

// Detection lives in the core (firmware/detection.h).
using Candidate = ModelCandidate;
using corvane::DetectModels;

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

// A raw 8-bit name (Windows-1252, as the images hold them) as UTF-8 for output.
std::string NameForOutput(std::string_view name);

}  // namespace corvane::cli

// Detecting the receiver model of a file: every model whose loader accepts it, ranked by the
// evidence that it is the right one (block checksums, table addresses inside the image, compressed
// files that decompress, files at all).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "base/bytes.h"

namespace corvane {

struct ModelCandidate {
  int model = 0;
  int score = 0;
  std::vector<std::string> evidence;
};

// Every model whose loader accepts `file`, best first (by score, then model number). Each loader
// runs on a private tree and firmware.
std::vector<ModelCandidate> DetectModels(const std::filesystem::path& path, const Bytes& file);

// The model of the best candidate when it is clearly ahead of the next one; 0 when there is no
// candidate or the best ones cannot be told apart.
int ChooseDetectedModel(const std::vector<ModelCandidate>& candidates);

}  // namespace corvane

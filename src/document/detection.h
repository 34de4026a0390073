// Detecting the receiver model of a file: every model whose loader accepts it, ranked by the
// evidence that it is the right one (block checksums, table addresses inside the image, patch
// sections that read consistently in the model's byte order, the block-file shape, font tables,
// compressed files that decompress, files at all, the file's extension).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "base/result.h"

namespace corvane {

struct ModelCandidate {
  int model = 0;
  int score = 0;
  std::vector<std::string> evidence;
};

// Every model whose loader accepts `file`, best first (by score, then model number). Each loader
// runs on a private tree and firmware.
std::vector<ModelCandidate> DetectModels(const std::filesystem::path& path, const Bytes& file);

// Evidence weighs 4 (block checksums), 3 (patch sections consistent in the byte order, the block
// file shape and its blocks, font tables found by the model's font name), 2 (table addresses),
// 1 (compressed files decompress, the extension).
// A candidate is chosen when it has at least this score ...
inline constexpr int kDetectionMinimumScore = 2;
// ... and leads every other by at least this much.
inline constexpr int kDetectionLead = 3;

// The model of the best candidate when it is clearly ahead of the next one; 0 when there is no
// candidate or the best ones cannot be told apart.
int ChooseDetectedModel(const std::vector<ModelCandidate>& candidates);

// The model ChooseDetectedModel picks for the file at `path`; 0 when it cannot be read.
int DetectModelOfFile(const std::filesystem::path& path);

class MessageTable;
class TArbol;
class TFirmware;

// "¡ No se puede distinguir el modelo del fichero ! Modelos posibles:"
inline constexpr int kRowModelsTie = 394;

// Opens `path` into `firmware` and `tree` with `model` (1..27), or with the detected model when
// `model` is 0; `model` receives the model used (0 when none could be chosen). Refusals: the
// file cannot be read (row 6 and the path), no model's loader accepts it (row 4), or the best
// candidates cannot be told apart (row 394 and one "N - name" line per candidate, each name the
// model's filter name in `names`, the message table in use).
Result OpenWithDetection(const std::filesystem::path& path, int& model, TFirmware& firmware,
                         TArbol& tree, const MessageTable& names);

}  // namespace corvane

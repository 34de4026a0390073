// Comparing two firmwares: which files differ, which files of the first are missing in the
// second, and which top-level directories only one of them has.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/result.h"
#include "firmware/tree.h"

namespace corvane {

class MessageTable;

struct CompareSummary {
  std::vector<Message> lines;    // the summary, one message per line
  std::uint32_t differing = 0;   // files that differ
  std::uint32_t missing = 0;     // files of firmware 1 not found in firmware 2
  std::vector<Result> failures;  // loader results of a side that did not load (for an error box)

  // The lines rendered and joined by CR LF (the text of the summary box and of its file).
  std::string Text(const MessageTable& table) const;
  std::string Text() const;
};

// Two files are equal when their stored bytes are equal, or the bytes they decompress to are
// equal, or one side's decompressed bytes equal the other side's stored bytes. A side whose
// bytes decompress to nothing stands for its stored bytes. Two directories (stored size 0) are
// equal whatever they hold.
bool SameContent(const TNodo& a, const TNodo& b);

// Compares the loaded trees (their first top-level node is the root) and appends the lines and
// counts (messages 311 to 319).
void CompareTrees(const TArbol& first, const TArbol& second, CompareSummary& summary);

// The whole comparison of the window: loads both files with their models into private trees,
// compares them, and ends with the two count lines (messages 320 to 326).
CompareSummary CompareFirmwares(const std::filesystem::path& file1, int model1,
                                const std::filesystem::path& file2, int model2);

// The model of filter index c (from 1) of the comparison's open dialog: the c-th of
// ComparableModels(); 0 outside them.
int CompareFilterModel(int filter_index);

}  // namespace corvane

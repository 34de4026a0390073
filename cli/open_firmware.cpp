#include "open_firmware.h"

#include "document/names.h"

#include <algorithm>
#include <sstream>

#include "base/file_io.h"
#include "firmware/models.h"

namespace corvane::cli {

namespace {

constexpr int kMsgCannotOpen = 6;
constexpr int kMsgNotSelectedType = 4;

std::string Describe(const Candidate& c) {
  std::ostringstream s;
  s << c.model << '\t' << ModelName(c.model) << '\t' << (c.score >= 0 ? "+" : "") << c.score;
  for (std::size_t i = 0; i < c.evidence.size(); ++i) s << (i == 0 ? ": " : "; ") << c.evidence[i];
  return s.str();
}

}  // namespace

void AddModelOption(CLI::App* cmd, int& model) {
  cmd->add_option("-m,--model", model, "Receiver model (1-27); detected when left out")
      ->check(CLI::Range(1, kModelCount));
}

int OpenFirmware(const std::string& path, int model, OpenedFirmware& out) {
  if (model == 0) model = GlobalOptions().model;
  const auto file = ReadWholeFile(path);
  if (!file) {
    PrintError(Message::FromRow(kMsgCannotOpen).Text(" " + path));
    return kExitIo;
  }
  if (model == 0) {
    const auto candidates = DetectModels(path, *file);
    if (candidates.empty()) {
      PrintError(Message::FromRow(kMsgNotSelectedType));
      return kExitRejected;
    }
    if (ChooseDetectedModel(candidates) == 0) {
      std::string text = "The model cannot be told apart; give it with -m. Candidates:";
      for (const auto& c : candidates) text += "\n" + Describe(c);
      PrintError(text);
      return kExitRejected;
    }
    model = candidates.front().model;
  }
  const Result r = out.fw.CreateFromBytes(path, *file, out.tree, model);
  if (!r.ok()) {
    out.tree.Clear();
    return Report(r);
  }
  return kExitDone;
}

std::string NameForOutput(std::string_view name) {
  return Latin1ToUtf8(name);
}

// Used by cmd_detect.
std::string DescribeCandidate(const Candidate& c) {
  return Describe(c);
}

}  // namespace corvane::cli

#include "open_firmware.h"

#include <sstream>

#include "document/names.h"
#include "firmware/models.h"

namespace corvane::cli {

void AddModelOption(CLI::App* cmd, int& model) {
  cmd->add_option("-m,--model", model, "Receiver model (1-27); detected when left out")
      ->check(CLI::Range(1, kModelCount));
}

int OpenFirmware(const std::string& path, int model, OpenedFirmware& out) {
  if (model == 0) model = GlobalOptions().model;
  constexpr int kRowGiveTheModel = 395;  // "Indique el modelo con -m."
  Result r = OpenWithDetection(path, model, out.fw, out.tree, CliMessages());
  if (!r.ok()) {
    out.tree.Clear();
    const std::vector<int> rows = r.message.Rows();
    if (!rows.empty() && rows.front() == kRowModelsTie) r.message.Break().Row(kRowGiveTheModel);
    return Report(r);
  }
  return kExitDone;
}

std::string NameForOutput(std::string_view name) { return Latin1ToUtf8(name); }

std::string DescribeCandidate(const Candidate& c) {
  std::ostringstream s;
  s << c.model << '\t' << ModelName(c.model) << '\t' << (c.score >= 0 ? "+" : "") << c.score;
  for (std::size_t i = 0; i < c.evidence.size(); ++i) s << (i == 0 ? ": " : "; ") << c.evidence[i];
  return s.str();
}

}  // namespace corvane::cli

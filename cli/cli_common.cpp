#include <iostream>

#include "cli.h"
#include "config/messages.h"

namespace corvane::cli {

namespace {
std::string ForTerminal(std::string text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out.push_back(text[i]);
  }
  return out;
}
}  // namespace

void PrintError(const std::string& text) {
  std::cerr << ForTerminal(text) << '\n';
}

void PrintError(const Message& message) {
  PrintError(RenderMessage(message));
}

int ExitCodeFor(const Result& result) {
  switch (result.outcome) {
    case Outcome::Done:
      return kExitDone;
    case Outcome::Rejected:
      return kExitRejected;
    case Outcome::Refused:
    case Outcome::Cancelled:
      return kExitRefused;
    case Outcome::IoError:
      return kExitIo;
  }
  return kExitRefused;
}

int Report(const Result& result) {
  if (!result.ok() && !result.message.Empty()) PrintError(result.message);
  return ExitCodeFor(result);
}

}  // namespace corvane::cli

#include <iostream>

#include "cli.h"
#include "config/language.h"
#include "base/messages.h"
#include "config/paths.h"

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

namespace {
std::string g_inis_folder;
}  // namespace

void UseInisFolder(std::string folder) { g_inis_folder = std::move(folder); }

namespace {
const Globals* g_globals = nullptr;
}  // namespace

void UseGlobals(const Globals& globals) { g_globals = &globals; }

const Globals& GlobalOptions() {
  static const Globals none;
  return g_globals != nullptr ? *g_globals : none;
}

const MessageTable& CliMessages() {
  static const MessageTable table = [] {
    const std::filesystem::path folder = InisFolder(g_inis_folder);
    InterfaceLanguage language;
    language.Setup(IniFile::LoadOrEmpty(FindFileIgnoringCase(folder, kMainIniName)), folder);
    return language.Messages();
  }();
  return table;
}

const InstructionTable& CliInstructions() {
  static const bool read = [] {
    const Result result = Instructions().ReadFile(
        FindFileIgnoringCase(InisFolder(g_inis_folder), kInstructionIniName));
    if (!result.ok()) PrintError(result.message);
    return true;
  }();
  (void)read;
  return Instructions();
}

const VarTypeTable& CliVarTypes() {
  static const VarTypeTable table = ReadVarTypes(
      IniFile::LoadOrEmpty(FindFileIgnoringCase(InisFolder(g_inis_folder), kVarIniName)));
  return table;
}

std::string Render(const Message& message) { return RenderMessage(message, CliMessages()); }

void PrintError(const std::string& text) {
  std::cerr << ForTerminal(text) << '\n';
}

void PrintError(const Message& message) {
  PrintError(Render(message));
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

// Shared pieces of the command-line tool: exit codes, error output, command registration.
#pragma once

#include <CLI/CLI.hpp>
#include <filesystem>
#include <functional>
#include <string>

#include "base/messages.h"
#include "base/result.h"
#include "config/configuration.h"
#include "resources/instruction_table.h"

namespace corvane::cli {

enum Exit : int {
  kExitDone = 0,
  kExitUsage = 1,
  kExitRejected = 2,
  kExitRefused = 3,
  kExitIo = 4,
};

// Options shared by every command.
struct Globals {
  std::string inis;  // --inis: the INIs folder (overrides CORVANE_INIS and the default)
  int model = 0;     // -m before the command name: the model of every command that opens a file
  bool external_fonts = false;  // --external-fonts: "Usar archivos externos"
  std::string fonts_dir;        // --fonts-dir: where fuente1..3.font are (default: program folder)
};

// The options given before the command name, for the commands that open a firmware (set once the
// options are parsed, before any command runs).
void UseGlobals(const Globals& globals);
const Globals& GlobalOptions();

// Each command registers itself as a subcommand whose callback stores the exit code.
struct Command {
  const char* name;
  void (*registrar)(CLI::App& app, const Globals& globals, int& exit_code);
};

// The INIs folder named by --inis (empty: CORVANE_INIS, else INIs/ beside the program). Set once
// the options are parsed, before any text is rendered.
void UseInisFolder(std::string folder);
// The message table of the language in use in that folder's Corvane.ini (built-in texts when
// there is none).
const MessageTable& CliMessages();
// The instruction table (asm_inst.ini) and the variable-type table (Var.ini) of that folder, read
// once. A table that cannot be read is reported on stderr and its entries keep their defaults.
const InstructionTable& CliInstructions();
const VarTypeTable& CliVarTypes();
// The message rendered with CliMessages().
std::string Render(const Message& message);

// Prints one line on stderr: the message rendered with the message table, rows joined by "\n".
void PrintError(const Message& message);
void PrintError(const std::string& text);
// The exit code for a result (0 when it is done).
int ExitCodeFor(const Result& result);
// Reports a failed result on stderr and gives its exit code.
int Report(const Result& result);

}  // namespace corvane::cli

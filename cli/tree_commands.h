// Shared pieces of the tree commands (extract, insert, delete, mkdir, rename, move, order,
// search, info): opening the firmware into a document, node paths, reporting and saving.
#pragma once

#include <string>
#include <string_view>

#include "cli.h"
#include "document/document.h"
#include "open_firmware.h"

namespace corvane::cli {

// Loads FILE as `model` into `doc` (model 0: the detected model, as every command opens files).
// Returns 0, or prints why not and returns the exit code.
int OpenDocument(const std::string& file, int model, Document& doc);

// The node named by PATH: node names below the root joined by "/", matched ignoring letter case
// ("" or "/" is the root). nullptr when there is none.
TNodo* FindNodePath(const Document& doc, std::string_view path);
// The same, printing "no node PATH" and setting exit_code when there is none.
TNodo* RequireNode(const Document& doc, std::string_view path, int& exit_code);
// The path of a node as FindNodePath reads it (UTF-8).
std::string NodePath(const TNodo* node);

// Prints the messages of a command on stderr; the exit code of its outcome (0 when done).
int ReportCommand(const CommandResult& result);

// Writes the document with its model's writer to OUT, atomically, its fonts put back into the
// image's font tables when they were read from it. The exit code.
int SaveDocument(Document& doc, const std::string& out);

// Answers the "replace?" question from the options: Yes (--replace), No (--no-replace), or,
// with neither, No to all while remembering the question so that the command can refuse.
class OptionAnswers : public Interaction {
 public:
  enum class Policy { Ask, Replace, Keep };
  explicit OptionAnswers(Policy policy) : policy_(policy) {}
  ReplaceAnswer AskReplace(const Message& question) override;
  const Message* Refusal() const { return refused_ ? &question_ : nullptr; }

 private:
  Policy policy_;
  bool refused_ = false;
  Message question_;
};

}  // namespace corvane::cli

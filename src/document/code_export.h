// "Extraer todo el código...": the descriptions of every application, class and script of the
// firmware, written as Applications.txt, Classes.txt and Scripts.txt into a folder.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/messages.h"
#include "config/configuration.h"
#include "document/document.h"
#include "resources/instruction_table.h"

namespace corvane {

// The tables the descriptions are written with.
struct CodeTables {
  const InstructionTable& instructions;
  const VarTypeTable& var_types;
  const MessageTable& messages;
};

// The three lists of lines (UTF-8).
struct CodeLists {
  std::vector<std::string> applications, classes, scripts;
};

// The percentage of visited nodes after each top-level directory; false cancels.
using CodeProgress = std::function<bool(int percent)>;

// Describes the files of the top-level directories and of the directories one level below them
// (deeper files are not visited), in tree order: classes (".cl"), applications (".ap") and the
// source listing of scripts (".cp"; a script whose class is missing contributes its message
// line). nullopt when cancelled.
std::optional<CodeLists> DescribeAllCode(const TNodo& root, const CodeTables& tables,
                                         const CodeProgress& progress = {});

// Writes the three lists into `folder` (each even when empty, replacing what was there; lines end
// with CR LF).
CommandResult ExtraeTodoElCodigo(const Document& document, const std::filesystem::path& folder,
                                 const CodeTables& tables, const CodeProgress& progress = {});

}  // namespace corvane

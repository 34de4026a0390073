// "Extraer todo el código...": the descriptions of every application, class and script of the
// firmware, written as Applications.txt, Classes.txt and Scripts.txt into a folder.
//
// The descriptions come from the resource classes (application, class, script source lister);
// each registers its describer here for its key (".ap", ".cl", ".cp", the key of AbreHijo).
// Files of a type whose describer is not registered are skipped.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "document/document.h"

namespace corvane::ui {

// The description lines (UTF-8) of one file node.
using CodeDescriber = std::function<std::vector<std::string>(const TNodo& file)>;

void RegisterCodeDescriber(const std::string& key, CodeDescriber describer);

// Walks the top-level directories and the nodes one and two levels below them (deeper files are
// not visited) and writes the three lists into `folder` (each even when empty, replacing what was
// there). `progress` gets the percentage of visited nodes after each top-level directory and may
// cancel (nothing is written then).
CommandResult ExtraeTodoElCodigo(Document& document, const std::filesystem::path& folder,
                                 const std::function<bool(int percent)>& progress);

}  // namespace corvane::ui

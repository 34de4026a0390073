#include "document/code_export.h"

#include <cmath>

#include "base/file_io.h"
#include "document/extraction.h"
#include "document/names.h"
#include "firmware/kinds.h"
#include "resources/application.h"
#include "resources/class.h"
#include "resources/script.h"

namespace corvane {

namespace {

void Handle(const TNodo& file, const CodeTables& tables, CodeLists& lists) {
  if (file.IsDirectory()) return;
  switch (KindOfName(file.Text)) {
    case FileKind::Class:
      TMHWClass::Create(file).Describe(file, tables.var_types, tables.messages, lists.classes);
      break;
    case FileKind::Application:
      TMHWApplication::Create(file).Describe(file, tables.messages, lists.applications);
      break;
    case FileKind::Script: {
      const TNodo* parent = file.Parent();
      const ListingContext context{tables.instructions, tables.messages, false};
      TMHWScript script = TMHWScript::Create(file, context);
      auto& out = lists.scripts;
      out.push_back(std::string(41, '-'));
      out.push_back(tables.messages.Text(296) + " " +
                    (parent ? DisplayName(parent->Text) : std::string()));
      out.push_back(tables.messages.Text(297) + " " + DisplayName(file.Text));
      out.emplace_back();
      out.insert(out.end(), std::make_move_iterator(script.listing.begin()),
                 std::make_move_iterator(script.listing.end()));
      out.emplace_back();
      break;
    }
    default:
      break;
  }
}

std::string Joined(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string out;
  out.reserve(size);
  for (const std::string& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

}  // namespace

std::optional<CodeLists> DescribeAllCode(const TNodo& root, const CodeTables& tables,
                                         const CodeProgress& progress) {
  const std::uint32_t total = CuentaNodosArchivo(root);
  std::uint32_t visited = 0;
  auto percent = [&] {
    return total == 0 ? 100
                      : static_cast<int>(std::lround(100.0 * visited / static_cast<double>(total)));
  };
  CodeLists lists;
  if (progress && !progress(percent())) return std::nullopt;
  for (const TNodo* directory : root.Children()) {
    for (const TNodo* child : directory->Children()) {
      if (child->HasChildren()) {
        for (const TNodo* file : child->Children()) {
          Handle(*file, tables, lists);
          ++visited;
        }
      } else {
        Handle(*child, tables, lists);
        ++visited;
      }
    }
    if (progress && !progress(percent())) return std::nullopt;
  }
  return lists;
}

CommandResult ExtraeTodoElCodigo(const Document& document, const std::filesystem::path& folder,
                                 const CodeTables& tables, const CodeProgress& progress) {
  CommandResult result;
  const TNodo* root = document.Root();
  CodeLists lists;
  if (root != nullptr) {
    std::optional<CodeLists> described = DescribeAllCode(*root, tables, progress);
    if (!described) {
      result.outcome = Outcome::Cancelled;
      return result;
    }
    lists = std::move(*described);
  }
  const std::pair<const char*, const std::vector<std::string>*> files[] = {
      {"Applications.txt", &lists.applications},
      {"Classes.txt", &lists.classes},
      {"Scripts.txt", &lists.scripts}};
  for (const auto& [name, lines] : files) {
    const std::string text = Joined(*lines);
    const std::string error = WriteFileAtomic(
        folder / name, ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    if (!error.empty()) {
      result.outcome = Outcome::IoError;
      result.messages.push_back(
          Message::FromRow(3).Break().Text((folder / name).string() + ": " + error));
    }
  }
  return result;
}

}  // namespace corvane

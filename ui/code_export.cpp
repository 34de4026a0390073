#include "code_export.h"

#include <cmath>
#include <map>

#include "firmware/kinds.h"
#include "document/extraction.h"
#include "base/file_io.h"
#include "document/names.h"
#include "ui_text.h"

namespace corvane::ui {

namespace {

std::map<std::string, CodeDescriber>& Describers() {
  static std::map<std::string, CodeDescriber> table;
  return table;
}

struct Lists {
  std::vector<std::string> applications, classes, scripts;
};

void Handle(const TNodo& file, Lists& lists) {
  const FileKindInfo* kind = FindFileKind(KindOfName(file.Text));
  const std::string key = kind != nullptr ? std::string(kind->stem) : std::string();
  const auto it = Describers().find(key);
  if (it == Describers().end() || !it->second) return;
  const std::vector<std::string> lines = it->second(file);
  if (key == ".cl") {
    lists.classes.insert(lists.classes.end(), lines.begin(), lines.end());
  } else if (key == ".ap") {
    lists.applications.insert(lists.applications.end(), lines.begin(), lines.end());
  } else if (key == ".cp") {
    const TNodo* parent = file.Parent();
    lists.scripts.push_back(std::string(41, '-'));
    lists.scripts.push_back(Messages().Text(296) + " " +
                            (parent ? DisplayName(parent->Text) : std::string()));
    lists.scripts.push_back(Messages().Text(297) + " " + DisplayName(file.Text));
    lists.scripts.emplace_back();
    lists.scripts.insert(lists.scripts.end(), lines.begin(), lines.end());
    lists.scripts.emplace_back();
  }
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

}  // namespace

void RegisterCodeDescriber(const std::string& key, CodeDescriber describer) {
  Describers()[key] = std::move(describer);
}

CommandResult ExtraeTodoElCodigo(Document& document, const std::filesystem::path& folder,
                                 const std::function<bool(int percent)>& progress) {
  CommandResult result;
  const TNodo* root = document.Root();
  if (root == nullptr) return result;
  const std::uint32_t total = CuentaNodosArchivo(*root);
  std::uint32_t visited = 0;
  auto percent = [&] {
    return total == 0 ? 100
                      : static_cast<int>(std::lround(100.0 * visited / static_cast<double>(total)));
  };
  Lists lists;
  if (progress && !progress(percent())) {
    result.outcome = Outcome::Cancelled;
    return result;
  }
  for (const TNodo* directory : root->Children()) {
    for (const TNodo* child : directory->Children()) {
      if (child->HasChildren()) {
        for (const TNodo* file : child->Children()) {
          Handle(*file, lists);
          ++visited;
        }
      } else {
        Handle(*child, lists);
        ++visited;
      }
    }
    if (progress && !progress(percent())) {
      result.outcome = Outcome::Cancelled;
      return result;
    }
  }
  const std::pair<const char*, const std::vector<std::string>*> files[] = {
      {"Applications.txt", &lists.applications},
      {"Classes.txt", &lists.classes},
      {"Scripts.txt", &lists.scripts}};
  for (const auto& [name, lines] : files) {
    const std::string text = Joined(*lines);
    const std::string error = WriteFileAtomic(
        folder / name,
        ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    if (!error.empty()) {
      result.outcome = Outcome::IoError;
      result.messages.push_back(
          Message::FromRow(3).Break().Text((folder / name).string() + ": " + error));
    }
  }
  return result;
}

}  // namespace corvane::ui

#include "tree_commands.h"

#include "base/messages.h"
#include "document/names.h"

namespace corvane::cli {

int OpenDocument(const std::string& file, int model, Document& doc) {
  const Globals& globals = GlobalOptions();
  if (model == 0) model = globals.model;
  doc.Options().use_external_fonts = globals.external_fonts;
  doc.Options().fonts_folder = globals.fonts_dir;
  if (model == 0) {  // detection opens the file once on its own tree to find the model
    OpenedFirmware probe;
    const int code = OpenFirmware(file, 0, probe);
    if (code != kExitDone) return code;
    model = probe.fw.Model;
  }
  const Result result = doc.Open(file, model);
  if (!result.ok()) return Report(result);
  return kExitDone;
}

TNodo* FindNodePath(const Document& doc, std::string_view path) {
  TNodo* node = doc.Root();
  std::size_t pos = 0;
  while (node != nullptr && pos < path.size()) {
    std::size_t end = path.find('/', pos);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view name = path.substr(pos, end - pos);
    if (!name.empty()) node = BuscaNodo(node->FirstChild(), Utf8ToLatin1(name), true);
    pos = end + 1;
  }
  return node;
}

TNodo* RequireNode(const Document& doc, std::string_view path, int& exit_code) {
  TNodo* node = FindNodePath(doc, path);
  if (node == nullptr) {
    PrintError("no node \"" + std::string(path) + "\" in the tree");
    exit_code = kExitRejected;
  }
  return node;
}

std::string NodePath(const TNodo* node) {
  std::string path;
  for (const TNodo* n = node; n != nullptr && n->Parent() != nullptr; n = n->Parent())
    path = DisplayName(n->Text) + (path.empty() ? "" : "/" + path);
  return path;
}

int ReportCommand(const CommandResult& result) {
  for (const Message& m : result.messages) PrintError(m);
  return ExitCodeFor(Result{result.outcome, {}});
}

int SaveDocument(Document& doc, const std::string& out) {
  return Report(doc.Save(out));
}

ReplaceAnswer OptionAnswers::AskReplace(const Message& question) {
  switch (policy_) {
    case Policy::Replace:
      return ReplaceAnswer::Yes;
    case Policy::Keep:
      return ReplaceAnswer::No;
    case Policy::Ask:
      break;
  }
  refused_ = true;
  question_ = question;
  return ReplaceAnswer::NoToAll;
}

}  // namespace corvane::cli

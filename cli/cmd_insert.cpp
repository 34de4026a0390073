// corvane-cli insert FILE [-m N] --into PATH [--compress] [--replace|--no-replace] [--lowercase]
//                    -o OUT SRC...
#include "tree_commands.h"

namespace corvane::cli {

void RegisterInsert(CLI::App& app, const Globals&, int& exit_code) {
  struct Options {
    std::string file, into, out;
    std::vector<std::string> sources;
    int model = 0;
    bool compress = false, replace = false, keep = false, lowercase = false;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("insert", "Insert files into a directory of the tree");
  cmd->add_option("FILE", o->file, "Firmware image or patch")->required();
  AddModelOption(cmd, o->model);
  cmd->add_option("--into", o->into, "Node path of the selected node")->required();
  cmd->add_flag("--compress", o->compress, "Insert with compression");
  auto* replace = cmd->add_flag("--replace", o->replace, "Replace files of the same name");
  cmd->add_flag("--no-replace", o->keep, "Keep files of the same name")->excludes(replace);
  cmd->add_flag("--lowercase", o->lowercase, "Lower-case the inserted names");
  cmd->add_option("-o,--output", o->out, "Output file")->required();
  cmd->add_option("SRC", o->sources, "Files to insert")->required();
  cmd->callback([o, &exit_code] {
    Document doc;
    if ((exit_code = OpenDocument(o->file, o->model, doc)) != kExitDone) return;
    if (RequireNode(doc, o->into, exit_code) == nullptr) return;
    doc.Options().lowercase_on_import = o->lowercase;
    OptionAnswers answers(o->replace ? OptionAnswers::Policy::Replace
                          : o->keep  ? OptionAnswers::Policy::Keep
                                     : OptionAnswers::Policy::Ask);
    CommandResult all;
    // One run per folder (in order); the selected node is looked up again for each, since a
    // run may have replaced it.
    for (std::size_t i = 0; i < o->sources.size() && answers.Refusal() == nullptr;) {
      const std::filesystem::path folder = std::filesystem::path(o->sources[i]).parent_path();
      std::vector<std::string> names;
      for (; i < o->sources.size() &&
             std::filesystem::path(o->sources[i]).parent_path() == folder;
           ++i)
        names.push_back(std::filesystem::path(o->sources[i]).filename().string());
      CommandResult r = doc.Insert(FindNodePath(doc, o->into), folder.empty() ? "." : folder,
                                   names, o->compress, answers);
      if (all.outcome == Outcome::Done) all.outcome = r.outcome;
      for (auto& m : r.messages) all.messages.push_back(std::move(m));
      for (auto& m : r.notes) all.notes.push_back(std::move(m));
    }
    for (const Message& note : all.notes) PrintError(note);
    if (const Message* refusal = answers.Refusal()) {
      PrintError(*refusal);
      exit_code = kExitRefused;
      return;
    }
    if (!all.ok()) {
      exit_code = ReportCommand(all);
      return;
    }
    exit_code = SaveDocument(doc, o->out);
  });
}

}  // namespace corvane::cli

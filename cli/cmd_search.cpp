// corvane-cli search FILE [-m N] TEXT [--names|--content] [--match-case] [--all]
#include <iostream>

#include "tree_commands.h"

namespace corvane::cli {

void RegisterSearch(CLI::App& app, const Globals&, int& exit_code) {
  struct Options {
    std::string file, text;
    int model = 0;
    bool names = false, content = false, match_case = false, all = false;
  };
  auto o = std::make_shared<Options>();
  auto* cmd = app.add_subcommand("search", "Find nodes by name or content, in tree order");
  cmd->add_option("FILE", o->file, "Firmware image or patch")->required();
  AddModelOption(cmd, o->model);
  cmd->add_option("TEXT", o->text, "Text to find")->required();
  auto* names = cmd->add_flag("--names", o->names, "Search only in names");
  cmd->add_flag("--content", o->content, "Search only in contents")->excludes(names);
  cmd->add_flag("--match-case", o->match_case, "Match letter case in contents");
  cmd->add_flag("--all", o->all, "Print every hit, not only the first");
  cmd->callback([o, &exit_code] {
    Document doc;
    if ((exit_code = OpenDocument(o->file, o->model, doc)) != kExitDone) return;
    const SearchScope scope = o->names     ? SearchScope::NamesOnly
                              : o->content ? SearchScope::ContentOnly
                                           : SearchScope::NamesAndContent;
    std::size_t hits = 0;
    const TNodo* from = doc.Root();
    for (;;) {
      const SearchHit hit = doc.Search(from, o->text, scope, o->match_case);
      if (hit.node == nullptr) {
        if (hits == 0) {
          PrintError(hit.message.Empty() ? Message().Text("empty search text") : hit.message);
          exit_code = kExitRefused;
        }
        return;
      }
      std::cout << NodePath(hit.node) << '\n';
      ++hits;
      if (!o->all) return;
      from = hit.node;
    }
  });
}

}  // namespace corvane::cli

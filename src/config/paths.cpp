#include "config/paths.h"

#include <cstdlib>
#include <system_error>

#include "config/text_encoding.h"

namespace corvane {

namespace fs = std::filesystem;

fs::path ProgramFolder() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (!ec && exe.has_parent_path()) return exe.parent_path();
  fs::path current = fs::current_path(ec);
  return ec ? fs::path(".") : current;
}

std::string ProgramFolderText() {
  std::string text = ProgramFolder().string();
  if (text.empty() || text.back() != fs::path::preferred_separator)
    text += static_cast<char>(fs::path::preferred_separator);
  return text;
}

fs::path InisFolder(std::string_view override_folder) {
  if (!override_folder.empty()) return fs::path(override_folder);
  if (const char* env = std::getenv("CORVANE_INIS"); env != nullptr && *env != '\0')
    return fs::path(env);
  return ProgramFolder() / "INIs";
}

fs::path FindFileIgnoringCase(const fs::path& folder, std::string_view name) {
  const fs::path exact = folder / fs::path(name);
  std::error_code ec;
  if (fs::exists(exact, ec) || name.empty()) return exact;
  // Several matches ("english.ini" and "ENGLISH.ini"): the first in name order, so the choice
  // does not depend on the order the folder lists them in.
  const std::string folded = FoldCase(name);
  fs::path found;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path candidate = it->path();
    if (FoldCase(candidate.filename().string()) == folded && (found.empty() || candidate < found))
      found = candidate;
  }
  return found.empty() ? exact : found;
}

}  // namespace corvane

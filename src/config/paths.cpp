#include "config/paths.h"

#include <cstdlib>
#include <system_error>

#include "base/file_io.h"
#include "base/platform.h"
#include "config/text_encoding.h"

namespace corvane {

namespace fs = std::filesystem;

fs::path ProgramFolder() {
  std::error_code ec;
  const fs::path exe = RunningProgramPath();
  if (exe.has_parent_path()) return exe.parent_path();
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
  const fs::path beside = ProgramFolder() / "INIs";
  std::error_code ec;
  if (fs::is_directory(beside, ec)) return beside;
  const fs::path shared = SharedInisFolder();
  if (fs::is_directory(shared, ec)) {
    const fs::path user = UserInisFolder();
    if (!user.empty() && PrepareUserInisFolder(shared, user)) return user;
    return shared;  // read-only, but the program still has its texts and settings
  }
  return beside;
}

fs::path SharedInisFolder() {
  return (ProgramFolder() / ".." / "share" / "corvane" / "INIs").lexically_normal();
}

fs::path UserInisFolder() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/')
    return fs::path(xdg) / "corvane" / "INIs";
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
    return fs::path(home) / ".config" / "corvane" / "INIs";
  return {};
}

bool PrepareUserInisFolder(const fs::path& shared, const fs::path& user) {
  std::error_code ec;
  fs::create_directories(user, ec);
  if (!fs::is_directory(user, ec)) return false;
  for (fs::directory_iterator it(shared, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code file_ec;
    if (!it->is_regular_file(file_ec)) continue;
    const fs::path target = user / it->path().filename();
    if (fs::exists(target, file_ec)) {
      if (it->path().filename() == kMainIniName) continue;  // the user's settings
      if (fs::last_write_time(target, file_ec) >= fs::last_write_time(it->path(), file_ec))
        continue;
    }
    // Through a temporary file, so that an interrupted copy never leaves half a file.
    if (const std::optional<Bytes> bytes = ReadWholeFile(it->path())) WriteFileAtomic(target, *bytes);
  }
  return true;
}

fs::path FindFileIgnoringCase(const fs::path& folder, std::string_view name) {
  const fs::path exact = folder / PathFromUtf8(name);
  std::error_code ec;
  if (fs::exists(exact, ec) || name.empty()) return exact;
  // Several matches ("english.ini" and "ENGLISH.ini"): the first in name order, so the choice
  // does not depend on the order the folder lists them in.
  const std::string folded = FoldCase(name);
  fs::path found;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path candidate = it->path();
    if (FoldCase(Utf8FromPath(candidate.filename())) == folded && (found.empty() || candidate < found))
      found = candidate;
  }
  return found.empty() ? exact : found;
}

}  // namespace corvane

#include "document/extraction.h"

#include <cmath>
#include <system_error>

#include "firmware/codec.h"
#include "base/file_io.h"
#include "base/platform.h"
#include "document/names.h"
#include "document/tree_rules.h"

namespace corvane {

namespace fs = std::filesystem;

namespace {

Message WriteError(const fs::path& path, const std::string& reason) {
  return Message::FromRow(rows::kCannotOpen).Break().Text(Utf8FromPath(path) + ": " + reason);
}

int Percent(std::uint32_t done, std::uint32_t total) {
  if (total == 0) return 100;
  return static_cast<int>(std::lround(100.0 * done / total));
}

// Creates `path` as a folder (an existing folder is fine). Empty on success.
std::string MakeFolder(const fs::path& path) {
  std::error_code ec;
  const fs::file_status st = fs::symlink_status(path, ec);
  if (fs::is_symlink(st)) return "a symbolic link is in the way";
  if (fs::is_directory(st)) return {};
  if (fs::exists(st)) return "a file is in the way";
  if (!fs::create_directory(path, ec) && ec) return ec.message();
  return {};
}

}  // namespace

Bytes BytesToWrite(std::string_view raw_name, ByteView stored, bool decompress) {
  if (decompress && !IsRawFileName(raw_name)) {
    Bytes plain = Decompress(stored);
    if (!plain.empty()) return plain;
  }
  return stored.ToBytes();
}

Message GuardaArchivo(const fs::path& folder, std::string_view raw_name, ByteView stored,
                      bool decompress) {
  const fs::path path = folder / PathFromUtf8(DiskFileName(raw_name));
  std::error_code ec;
  if (fs::is_symlink(fs::symlink_status(path, ec)))
    return WriteError(path, "a symbolic link is in the way");
  const std::string error = WriteFileAtomic(path, BytesToWrite(raw_name, stored, decompress));
  if (!error.empty()) return WriteError(path, error);
  return {};
}

std::uint32_t CuentaNodosArchivo(const TNodo& node) {
  if (!node.IsDirectory()) return 1;
  std::uint32_t count = 0;
  for (const TNodo* c : node.Children()) count += CuentaNodosArchivo(*c);
  return count;
}

void ExtraeDirectorio(const TNodo& node, const fs::path& folder, ExtractRun& run) {
  if (run.cancelled) return;
  if (!node.IsDirectory()) {
    const Message error = GuardaArchivo(folder, node.Text, node.Data.View(), run.decompress);
    if (!error.Empty()) run.errors.push_back(error);
    ++run.written;
    return;
  }
  // The root's folder is "~" + RootName (a name the platform gave, safe as it is).
  const bool is_root = &node == run.root;
  const fs::path sub =
      folder / PathFromUtf8(is_root ? "~" + std::string(run.root_name) : DiskFolderName(node.Text));
  const std::string error = MakeFolder(sub);
  if (!error.empty()) {
    run.errors.push_back(WriteError(sub, error));
    run.written += CuentaNodosArchivo(node);  // skipped, but counted for the percentage
  } else {
    for (const TNodo* c : node.Children()) {
      ExtraeDirectorio(*c, sub, run);
      if (run.cancelled) return;
    }
  }
  if (run.progress &&
      !run.progress(Message::FromRow(rows::kSavingFiles), Percent(run.written, run.total)))
    run.cancelled = true;
}

}  // namespace corvane

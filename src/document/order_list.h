// The file-order list (.def): the top-level directories and, in order, the files directly inside
// each, with their places on disk after an extraction of the root.
//
// The list is a Latin-1 text file with CR LF line ends, written byte for byte in this form (other
// tools read it): "SECTION " + directory, and "FILE    " + name padded to 13 + "~" + RootName + "\" +
// directory + "\" + disk name. Paths are read with either separator.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "firmware/tree.h"

namespace corvane {

// The list of the tree below `root` (ExportaOrden's text). root_name is RootName (UTF-8).
std::string ExportaOrdenTexto(const TNodo& root, std::string_view root_name);

struct OrderEntry {
  bool directory = false;
  std::string name;  // raw node name (for files already shortened with RecortaNombre)
  std::string path;  // files: the path column as written (raw bytes)
};

// The entries of a list; lines that are neither "SECTION" nor "FILE" lines are left out.
std::vector<OrderEntry> LeeOrden(std::string_view text);

// The disk file a path column names, below the list's folder. Both "\" and "/" separate; the
// column is read as Latin-1 (converted to a UTF-8 file name) and, when no such file exists, as the
// platform's own bytes.
std::filesystem::path OrderPathOnDisk(const std::filesystem::path& list_folder,
                                      std::string_view path_column);

}  // namespace corvane

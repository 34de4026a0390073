// Writing nodes of the tree to disk (GuardaArchivo, ExtraeDirectorio).
//
// Every name goes through DiskFileName / DiskFolderName (names.h): nothing is ever written outside
// the chosen folder, whatever bytes a name in the image holds. Existing files are replaced
// atomically; a folder entry that is a symbolic link is never followed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "base/result.h"
#include "firmware/tree.h"

namespace corvane {

// The bytes GuardaArchivo writes for a file: with decompression (and a name that is not one of
// CANAL_P.RCU, TCS, TPT, PATCH, EMM_MAIL) what the stored bytes decompress to when that is at
// least one byte, else the stored bytes.
Bytes BytesToWrite(std::string_view raw_name, ByteView stored, bool decompress);

// Writes one file `folder`/DiskFileName(name). Empty on success, else the error message.
Message GuardaArchivo(const std::filesystem::path& folder, std::string_view raw_name,
                      ByteView stored, bool decompress);

// The number of file nodes in the subtree of `node` (a file counts 1, an empty directory 0).
std::uint32_t CuentaNodosArchivo(const TNodo& node);

struct ExtractRun {
  bool decompress = false;
  std::string_view root_name;   // the root's folder is "~" + root_name (RootName, UTF-8)
  const TNodo* root = nullptr;  // the tree's root
  std::uint32_t total = 0;      // files to write (CuentaNodosArchivo of the start node)
  std::uint32_t written = 0;    // files handled so far
  std::vector<Message> errors;  // one per file or folder that could not be written
  // Called after each directory with message 25 and the percentage; false cancels.
  std::function<bool(const Message&, int)> progress;
  bool cancelled = false;
};

// Writes `node` (and everything below it) into `folder`.
void ExtraeDirectorio(const TNodo& node, const std::filesystem::path& folder, ExtractRun& run);

}  // namespace corvane

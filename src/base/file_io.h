// Whole-file reads and atomic whole-file writes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "base/bytes.h"

namespace corvane {

// The whole file, or nullopt when it cannot be opened or read.
std::optional<Bytes> ReadWholeFile(const std::filesystem::path& path);

// Writes bytes to a temporary file beside `path`, flushes it and renames it over `path`. On any
// failure the temporary file is removed, an existing file at `path` stays as it was, and the
// returned text says what failed (empty on success).
std::string WriteFileAtomic(const std::filesystem::path& path, ByteView bytes);

}  // namespace corvane

// What every resource kind shares: the plain bytes of a firmware file and back, and the disk
// files that editors import from and export to.
//
// A resource is read from its node's stored bytes through decompression whatever the file's
// name says, into at most 30 x the stored size + 1 bytes, and written back compressed with
// mode 7.
#pragma once

#include <filesystem>

#include "base/bytes.h"
#include "base/result.h"
#include "firmware/tree.h"

namespace corvane {

namespace rows {
inline constexpr int kFileCannotOpen = 3;  // "¡ El fichero no se ha podido abrir !"
}  // namespace rows

// The plain bytes of stored bytes / of a node's record.
Bytes PlainOf(ByteView stored);
Bytes PlainOf(const TNodo& node);
// The stored bytes of plain bytes (Comprime, mode 7).
Bytes StoredOf(ByteView plain);
// Replaces the node's record by the stored form of `plain`.
void StorePlain(TNodo& node, ByteView plain);

// A whole disk file, or an I/O refusal naming it.
Result ReadDiskFile(const std::filesystem::path& path, Bytes& out);
// Writes a whole disk file atomically, or an I/O refusal naming it.
Result WriteDiskFile(const std::filesystem::path& path, ByteView bytes);

// The name of a disk file without its folder, cut before its first "." (either separator is
// taken as a folder separator, for names written on Windows).
std::string NameBeforeFirstDot(const std::filesystem::path& path);

}  // namespace corvane

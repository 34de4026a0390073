#include "resources/stored.h"

#include "base/file_io.h"
#include "firmware/codec.h"

namespace corvane {

Bytes PlainOf(ByteView stored) { return Decompress(stored); }
Bytes PlainOf(const TNodo& node) { return Decompress(node.Data.View()); }

Bytes StoredOf(ByteView plain) { return Compress(plain); }

void StorePlain(TNodo& node, ByteView plain) {
  node.Data.Datos = StoredOf(plain);
  node.Data.Tamano = static_cast<std::uint32_t>(node.Data.Datos.size());
  node.Data.EsDirectorio = false;
}

Result ReadDiskFile(const std::filesystem::path& path, Bytes& out) {
  std::optional<Bytes> bytes = ReadWholeFile(path);
  if (!bytes)
    return Result::IoError(Message::FromRow(rows::kFileCannotOpen).Break().Text(path.string()));
  out = std::move(*bytes);
  return Result::Ok();
}

Result WriteDiskFile(const std::filesystem::path& path, ByteView bytes) {
  const std::string error = WriteFileAtomic(path, bytes);
  if (!error.empty())
    return Result::IoError(
        Message::FromRow(rows::kFileCannotOpen).Break().Text(path.string() + ": " + error));
  return Result::Ok();
}

std::string NameBeforeFirstDot(const std::filesystem::path& path) {
  std::string name = path.string();
  const std::size_t slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const std::size_t dot = name.find('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace corvane

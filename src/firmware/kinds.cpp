#include "firmware/kinds.h"

#include "firmware/tree.h"

namespace corvane {

FileKind KindOfName(std::string_view name) {
  if (name.size() < 4) return FileKind::Other;
  const std::string stem = LowerName(name.substr(name.size() - 4, 3));
  for (const FileKindInfo& info : kFileKinds)
    if (stem == info.stem) return info.kind;
  return FileKind::Other;
}

const FileKindInfo* FindFileKind(FileKind kind) {
  for (const FileKindInfo& info : kFileKinds)
    if (info.kind == kind) return &info;
  return nullptr;
}

const FileKindInfo* FindFileKind(std::string_view name) {
  for (const FileKindInfo& info : kFileKinds)
    if (info.name == name) return &info;
  return nullptr;
}

}  // namespace corvane

// Serialised sizes of directories, sections and the whole tree, as the writers lay them out.
#pragma once

#include <cstddef>
#include <cstdint>

#include "firmware/tree.h"

namespace corvane {

inline constexpr std::size_t kPatchSectionSize = 0x10000;  // a patch section's slot: 64 KB
inline constexpr std::uint32_t kSectionLimit = kPatchSectionSize - 1;  // bytes a section may hold
inline constexpr std::uint32_t kCanalAllowance = 52;   // a CANAL_P.RCU section has no table
inline constexpr const char* kCanalName = "CANAL_P.RCU";

// Bytes of a directory's children as a patch directory record: each file its size + 20, each
// directory its own size + 16 and then the running total rounded up to a multiple of 4.
std::uint32_t TamanoDirectorio(const TNodo& node);
// Sum of the sizes of the node's file children, rounded up until (sum & mask) is 0.
std::uint32_t SumaTamanos(const TNodo& node, std::uint32_t mask);
// TamanoDirectorio of the node's top-level section + 32.
std::uint32_t TamanoSeccion(const TNodo& node);
// Sum of SumaTamanos over the root's children.
std::uint32_t EspacioUsado(const TNodo& root, std::uint32_t mask);
// Sum of TamanoSeccion over the root's children, less 52 for each CANAL_P.RCU section.
std::uint32_t EspacioSecciones(const TNodo& root);
// The file count found by walking the sibling chain from `first` (see the information figures).
std::uint32_t CuentaArchivos(const TNodo* first);

// True when the node's first child is CANAL_P.RCU (compared in capitals).
bool FirstChildIsCanal(const TNodo& node);

}  // namespace corvane

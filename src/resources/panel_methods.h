// What scripts and the reference check read of a panel: its refresh, initialization and
// finalization method numbers, its icon collection, and each element's kind, name, method number
// and first text. A small reader of the panel file's plain bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/bytes.h"

namespace corvane {

struct PanelMethods {
  struct Element {
    std::uint8_t kind = 0;
    std::string name;  // raw 8-bit
    std::uint16_t method = 0xFFFF;
    std::string text0;  // a Window's image reference DIR:NAME.rf4 (raw 8-bit)
  };
  static constexpr std::uint8_t kWindowKind = 16;
  std::uint16_t init_method = 0;
  std::uint16_t refresh_method = 0;
  std::uint16_t final_method = 0;
  std::string icon_collection;  // file name without extension, in the panel's directory
  std::vector<Element> elements;
};

// Reads the plain bytes of a panel file. Element records that would start past the end of the
// bytes are not read.
PanelMethods ReadPanelMethods(ByteView plain);

}  // namespace corvane

// One 24-bit colour.
#pragma once

#include <cstdint>

namespace corvane {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

}  // namespace corvane

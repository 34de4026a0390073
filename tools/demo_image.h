// The bundled demo firmware: a Pioneer BCT-15xx image (model 2) with several directories and
// files and font tables holding fonts of our own, built with the independent test-image builder.
#pragma once

#include "base/bytes.h"

namespace corvane::demo {

inline constexpr int kDemoModel = 2;
inline constexpr unsigned kDemoCapacity = 12;
inline constexpr unsigned kDemoBaseAddress = 0x60000000;

// The whole file of the demo image.
Bytes DemoImage();

}  // namespace corvane::demo

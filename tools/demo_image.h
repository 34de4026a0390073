// The bundled demo firmware: a Pioneer BCT-15xx image (model 2) with several directories and
// files, built with the independent test-image builder.
#pragma once

#include "base/bytes.h"

namespace corvane::demo {

inline constexpr int kDemoModel = 2;
inline constexpr unsigned kDemoCapacity = 12;

// The whole file of the demo image.
Bytes DemoImage();

}  // namespace corvane::demo

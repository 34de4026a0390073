// The bundled demo firmware: a Pioneer BCT-14xx image (model 1) with several directories and
// files, built with the independent test-image builder.
#pragma once

#include "firmware/bytes.h"

namespace corvane::demo {

inline constexpr int kDemoModel = 1;
inline constexpr unsigned kDemoCapacity = 12;

// The whole file of the demo image.
Bytes DemoImage();

}  // namespace corvane::demo

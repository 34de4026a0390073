// Room for image-sized buffers.
#pragma once

#include <cstddef>

#include "base/bytes.h"

namespace corvane {

// Reserves room for `size` bytes in `buffer` (keeping its contents). Where the system offers it,
// the 2 MB stretches of fresh room are backed by large pages: a few faults instead of one per
// 4 KB page the first time the buffer is written.
void ReserveLarge(Bytes& buffer, std::size_t size);

}  // namespace corvane

// The codec written out step by step, plainly and slowly: the reference the fast codec is checked
// against. Exhaustive window search, one bit at a time, bounds-checked views everywhere.
#pragma once

#include <cstdint>

#include "base/bytes.h"

namespace corvane::test {

// Decodes `source` into a zero-filled buffer of `capacity` bytes. Output past the capacity is
// dropped and the count is then cut to the capacity. Returns the buffer trimmed to the count.
Bytes OracleDecompress(ByteView source, std::size_t capacity);

// Encodes `source` with the given mode bits (1 window search, 2 runs, 4 ninth-byte flush).
Bytes OracleCompress(ByteView source, int mode);

}  // namespace corvane::test

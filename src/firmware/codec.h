// The image's compression: a bit-packed stream of literal blocks and back-references with a
// 2048-byte window and lengths up to 64. No header, no length, no checksum.
#pragma once

#include <cstdint>
#include <span>

#include "base/bytes.h"

namespace corvane {

// Mode bits of Comprime; every caller passes kModeAll.
inline constexpr int kModeBackReferences = 1;
inline constexpr int kModeRuns = 2;
inline constexpr int kModeNinthByteFlush = 4;
inline constexpr int kModeAll = 7;

// The buffer size callers give both directions: 30 x length + 1.
inline std::size_t CodecCapacity(std::size_t length) { return 30 * length + 1; }

// Decodes the stream in `source` into `destination` and returns the number of bytes produced.
// Output never goes past destination.size(): a stream that would produce more is cut there, and
// the result is then destination.size(). A back-reference whose source lies before the start of
// the output writes zeros (what a zero-filled buffer keeps), so the result never depends on what
// the buffer held before. Bytes past the produced length are left as they were.
std::uint32_t Descomprime(ByteView source, std::span<std::uint8_t> destination);

// Encodes `source` and returns the number of stream bytes written (0 for an empty source). The
// stream is at most 13 bits per input byte plus 2 bytes, far below the usual 30 x length + 1; a
// smaller destination cuts the stream (the result is then destination.size()). Up to 7 bytes
// after the stream, within destination, may be set to zero.
std::uint32_t Comprime(ByteView source, std::span<std::uint8_t> destination, int mode);

// Whole-buffer helpers: the produced bytes exactly (a buffer of 30 x length + 1 trimmed).
Bytes Decompress(ByteView stored);
Bytes Compress(ByteView plain);

}  // namespace corvane

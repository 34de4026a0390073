// The codec written out step by step, plainly and slowly: the reference the fast codec is checked
// against. Exhaustive window search, one bit at a time, bounds-checked views everywhere.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/bytes.h"

namespace corvane::test {

// Writes a stream token by token, most significant bit first.
class Stream {
 public:
  Stream& Bits(std::uint32_t value, int n);
  // A literal block of 1 to 8 bytes, with its flag bit.
  Stream& Lit(ByteView bytes);
  Stream& Lit(std::string_view text) {
    return Lit(ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  }
  Stream& Flag0() { return Bits(0, 1); }
  Stream& Ref(std::size_t distance, std::size_t length);
  Stream& End() { return Ref(1, 1); }
  Bytes Take() const { return bytes_; }

 private:
  Bytes bytes_;
  std::size_t bits_ = 0;
};

// Decodes `source` into a zero-filled buffer of `capacity` bytes. Output past the capacity is
// dropped and the count is then cut to the capacity. Returns the buffer trimmed to the count.
Bytes OracleDecompress(ByteView source, std::size_t capacity);

// Encodes `source` with the given mode bits (1 window search, 2 runs, 4 ninth-byte flush).
Bytes OracleCompress(ByteView source, int mode);

}  // namespace corvane::test

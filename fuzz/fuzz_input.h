// Splitting one fuzzer input into the parts a target needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/bytes.h"

namespace corvane::fuzz {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool empty() const { return size_ == 0; }
  // The next byte (0 when none is left).
  std::uint8_t Byte() {
    if (size_ == 0) return 0;
    --size_;
    return *data_++;
  }
  // The next part: a length byte pair (big-endian), then that many bytes (fewer at the end).
  ByteView Part() {
    std::size_t length = static_cast<std::size_t>(Byte()) << 8;
    length |= Byte();
    return Take(length);
  }
  // Everything left.
  ByteView Rest() { return Take(size_); }
  std::string_view RestText() {
    const ByteView rest = Rest();
    return {reinterpret_cast<const char*>(rest.data()), rest.size()};
  }

 private:
  ByteView Take(std::size_t length) {
    if (length > size_) length = size_;
    const ByteView part(data_, length);
    data_ += length;
    size_ -= length;
    return part;
  }
  const std::uint8_t* data_;
  std::size_t size_;
};

}  // namespace corvane::fuzz

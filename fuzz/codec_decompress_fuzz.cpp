// Any bytes as a stream: the decoder stays inside its buffer and agrees with the reference.
#include <cstdlib>

#include "firmware/codec.h"
#include "support/codec_oracle.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  const ByteView stream(data, size);
  // The usual buffer, and a short one that cuts most streams.
  for (const std::size_t capacity : {CodecCapacity(size), size / 2}) {
    Bytes out(capacity, 0);
    out.resize(Descomprime(stream, out));
    if (out != test::OracleDecompress(stream, capacity)) std::abort();
  }
  return 0;
}

// Any bytes as plain data: the fast compressor writes exactly the reference's stream in every
// mode, and the stream decodes back to the input.
#include <algorithm>
#include <cstdlib>

#include "firmware/codec.h"
#include "support/codec_oracle.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  if (size < 1) return 0;
  // The first byte picks the mode; the rest is the plain data.
  const int mode = data[0] & 7;
  const ByteView plain(data + 1, size - 1);
  Bytes packed(CodecCapacity(plain.size()), 0);
  packed.resize(Comprime(plain, packed, mode));
  if (packed != test::OracleCompress(plain, mode)) std::abort();
  Bytes back(std::max(CodecCapacity(packed.size()), plain.size()), 0);
  back.resize(Descomprime(packed, back));
  if (back != plain.ToBytes()) std::abort();
  if (mode == kModeAll && Decompress(packed) != back) std::abort();
  return 0;
}

// The image's compression codec.
//
// Stream: tokens, then zero bits up to a byte boundary. A token is zero or more literal blocks
// (flag 1, 3 bits n - 1, n bytes; another flag follows only a block of 8) and a flag 0 where
// needed, then a back-reference: 3 bits k, k + 4 bits distance - 1, 2 bits j, j + 3 bits
// length - 1. Distance 1 with length 1 is the end token and produces nothing. Bits are taken from
// the most significant end of each byte; bits past the input read as zero.
//
// The compressor is greedy and must produce exactly the stream its plain form gives: at every
// byte it looks at, the longest earlier match in the 2048-byte window whose source ends before
// the current byte (at most 64 bytes and not past the input), the nearest one among equals, used
// from 3 bytes on; then runs of one byte value. Hash chains on 3-byte prefixes find that match
// without trying every window position.
#include "firmware/codec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>

namespace corvane {

namespace {

constexpr std::size_t kWindow = 2048;
constexpr std::size_t kMaxLength = 64;

std::uint64_t LoadBE64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
  return v;
}

std::uint64_t LoadLE64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
  return v;
}

void StoreBE64(std::uint8_t* p, std::uint64_t v) {
  if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
  std::memcpy(p, &v, sizeof v);
}

// ---------------------------------------------------------------------------------------------
// Decompression

// Random-access bit reader: 64 bits from any bit position, the first of them in the top bit.
// At least the top 57 come from the stream; bits past the input are zero.
class BitSource {
 public:
  explicit BitSource(ByteView bytes) : data_(bytes.data()), size_(bytes.size()) {}

  std::uint64_t Peek(std::uint64_t bit) const {
    const std::uint64_t byte = bit >> 3;
    std::uint64_t w;
    if (size_ >= 8 && byte <= size_ - 8) {
      w = LoadBE64(data_ + byte);
    } else {
      w = 0;
      for (std::uint64_t i = 0; i < 8; ++i) {
        w = (w << 8) | (byte + i < size_ ? data_[byte + i] : 0u);
      }
    }
    return w << (bit & 7);
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

}  // namespace

std::uint32_t Descomprime(ByteView source, std::span<std::uint8_t> destination) {
  const std::size_t cap =
      std::min<std::size_t>(destination.size(), std::numeric_limits<std::uint32_t>::max());
  if (cap == 0) return 0;
  std::uint8_t* const out = destination.data();
  const BitSource in(source);
  const std::uint64_t end = 8 * static_cast<std::uint64_t>(source.size());
  std::uint64_t p = 0;
  std::size_t o = 0;

  while (p < end) {
    std::uint64_t w = in.Peek(p);
    // Literal blocks: a flag before the first and after every block of 8.
    for (;;) {
      if ((w >> 63) == 0) {
        w <<= 1;
        ++p;
        break;
      }
      const std::size_t n = ((w >> 60) & 7) + 1;
      p += 4;
      std::uint64_t v = in.Peek(p);
      if (n == 8) v = (v & ~std::uint64_t{0xFF}) | (in.Peek(p + 56) >> 56);
      if (o + n <= cap) {
        if (n == 8) {
          StoreBE64(out + o, v);
        } else {
          for (std::size_t i = 0; i < n; ++i) out[o + i] = static_cast<std::uint8_t>(v >> (56 - 8 * i));
        }
      } else {
        for (std::size_t i = 0; o + i < cap; ++i) out[o + i] = static_cast<std::uint8_t>(v >> (56 - 8 * i));
        return static_cast<std::uint32_t>(cap);
      }
      o += n;
      p += 8 * n;
      w = in.Peek(p);
      if (n != 8) break;  // the back-reference follows at once
    }

    // Back-reference: 3 + (k + 4) + 2 + (j + 3) bits, at most 22, all within w.
    const unsigned k = static_cast<unsigned>(w >> 61);
    const unsigned dbits = k + 4;
    const std::size_t D = static_cast<std::size_t>((w << 3) >> (64 - dbits));
    const unsigned j = static_cast<unsigned>((w << (3 + dbits)) >> 62);
    const unsigned lbits = j + 3;
    const std::size_t L = static_cast<std::size_t>((w << (5 + dbits)) >> (64 - lbits));
    p += 5 + dbits + lbits;
    if (D == 0 && L == 0) continue;  // end token

    const std::size_t len = L + 1;
    const std::size_t dist = D + 1;
    std::uint8_t* const d = out + o;
    if (o + len > cap) {
      // The last bytes that fit; the stream is cut here.
      for (std::size_t i = 0; o + i < cap; ++i) d[i] = o >= dist ? out[o + i - dist] : 0;
      return static_cast<std::uint32_t>(cap);
    }
    if (o < dist) {
      std::memset(d, 0, len);  // the source lies before the output: nothing to copy
    } else if (dist == 1) {
      std::memset(d, d[-1], len);
    } else {
      const std::uint8_t* const s = d - dist;
      std::size_t i = 0;
      if (dist >= 8) {
        // Each 8-byte chunk reads only bytes already written.
        for (; i + 8 <= len; i += 8) std::memcpy(d + i, s + i, 8);
      }
      for (; i < len; ++i) d[i] = s[i];
    }
    o += len;
    if (o >= cap) return static_cast<std::uint32_t>(cap);
  }
  return static_cast<std::uint32_t>(o);
}

// ---------------------------------------------------------------------------------------------
// Compression

namespace {

// Writes bits most significant first into the caller's buffer; bytes past its end are dropped.
class BitSink {
 public:
  explicit BitSink(std::span<std::uint8_t> out) : out_(out.data()), cap_(out.size()) {}

  void Put(std::uint32_t value, int bits) {  // bits <= 32
    acc_ = (acc_ << bits) | value;
    count_ += bits;
    while (count_ >= 8) {
      count_ -= 8;
      Emit(static_cast<std::uint8_t>(acc_ >> count_));
    }
  }

  // Pads to a byte boundary with zero bits and returns the bytes written (cut at the capacity).
  std::size_t Finish() {
    if (count_ > 0) {
      Emit(static_cast<std::uint8_t>(acc_ << (8 - count_)));
      count_ = 0;
    }
    return std::min(pos_, cap_);
  }

 private:
  void Emit(std::uint8_t byte) {
    if (pos_ < cap_) out_[pos_] = byte;
    ++pos_;
  }

  std::uint8_t* out_;
  std::size_t cap_;
  std::uint64_t acc_ = 0;
  int count_ = 0;
  std::size_t pos_ = 0;
};

class Encoder {
 public:
  Encoder(const std::uint8_t* in, std::span<std::uint8_t> out) : in_(in), sink_(out) {}

  void Literal(std::size_t p, std::size_t n) {
    sink_.Put(static_cast<std::uint32_t>(8 | (n - 1)), 4);
    for (std::size_t i = 0; i < n; ++i) sink_.Put(in_[p + i], 8);
  }
  void Flag0() { sink_.Put(0, 1); }
  void Reference(std::size_t distance, std::size_t length) {
    // k: the smallest with distance <= 2^(k + 4); j: the smallest with length <= 2^(j + 3).
    const int k = distance <= 16 ? 0 : std::bit_width(distance - 1) - 4;
    const int j = length <= 8 ? 0 : std::bit_width(length - 1) - 3;
    sink_.Put(static_cast<std::uint32_t>(k), 3);
    sink_.Put(static_cast<std::uint32_t>(distance - 1), k + 4);
    sink_.Put(static_cast<std::uint32_t>(j), 2);
    sink_.Put(static_cast<std::uint32_t>(length - 1), j + 3);
  }
  std::size_t Finish() { return sink_.Finish(); }

 private:
  const std::uint8_t* in_;
  BitSink sink_;
};

// Finds, for a position c, the longest match among the sources s in [c - 2048, c) with
// s + length <= c, length <= 64 and c + length <= N, the nearest source winning ties. Only
// matches of 3 bytes or more are reported: shorter ones are never used.
class MatchFinder {
 public:
  MatchFinder(const std::uint8_t* in, std::size_t size) : in_(in), size_(size) {
    head_.fill(kNone);
  }

  struct Match {
    std::size_t distance = 0;
    std::size_t length = 0;
  };

  Match Find(std::size_t c) {
    Insert(c);
    Match best;
    const std::size_t max_len = std::min(kMaxLength, size_ - c);
    if (max_len < 3) return best;
    const std::size_t s0 = c < kWindow ? 0 : c - kWindow;
    std::size_t best_len = 2;  // a candidate must beat this to count
    // The chain runs from the nearest source to the farthest, so the first of equal lengths stays.
    for (std::size_t s = head_[Hash(c)]; s != kNone && s >= s0; s = prev_[s & (kWindow - 1)]) {
      const std::size_t cap = std::min(c - s, max_len);
      if (cap <= best_len) continue;
      if (in_[s + best_len] != in_[c + best_len]) continue;
      const std::size_t len = CommonLength(s, c, cap);
      if (len > best_len) {
        best_len = len;
        best.distance = c - s;
        best.length = len;
        if (len == max_len) break;  // farther sources can at most tie
      }
    }
    return best;
  }

 private:
  static constexpr int kHashBits = 12;
  static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

  std::size_t Hash(std::size_t pos) const {
    const std::uint32_t v = (std::uint32_t{in_[pos]} << 16) | (std::uint32_t{in_[pos + 1]} << 8) |
                            in_[pos + 2];
    return (v * 2654435761u) >> (32 - kHashBits);
  }

  // Adds every position before c that has 3 bytes after it to the chains.
  void Insert(std::size_t c) {
    const std::size_t limit = size_ >= 3 ? std::min(c, size_ - 2) : 0;
    for (; inserted_ < limit; ++inserted_) {
      const std::size_t h = Hash(inserted_);
      prev_[inserted_ & (kWindow - 1)] = head_[h];
      head_[h] = inserted_;
    }
  }

  // Number of equal bytes at s and c, at most cap (c + cap <= size, s < c).
  std::size_t CommonLength(std::size_t s, std::size_t c, std::size_t cap) const {
    std::size_t len = 0;
    while (len + 8 <= cap) {
      const std::uint64_t diff = LoadLE64(in_ + s + len) ^ LoadLE64(in_ + c + len);
      if (diff != 0) return len + static_cast<std::size_t>(std::countr_zero(diff) / 8);
      len += 8;
    }
    while (len < cap && in_[s + len] == in_[c + len]) ++len;
    return len;
  }

  const std::uint8_t* in_;
  std::size_t size_;
  std::size_t inserted_ = 0;
  std::array<std::size_t, std::size_t{1} << kHashBits> head_;
  std::array<std::size_t, kWindow> prev_{};
};

}  // namespace

std::uint32_t Comprime(ByteView source, std::span<std::uint8_t> destination, int mode) {
  const std::size_t N = source.size();
  if (N < 1) return 0;
  const std::uint8_t* const in = source.data();
  Encoder enc(in, destination);
  MatchFinder finder(in, N);
  const std::size_t flush_at = (mode & kModeNinthByteFlush) ? 9 : 8;
  std::size_t p = 0;  // input covered by emitted tokens
  std::size_t n = 0;  // pending bytes from p; the last one is the current byte

  while (p + n < N) {
    ++n;
    const std::size_t c = p + n - 1;
    if (n == flush_at) {
      enc.Literal(p, 8);
      p += 8;
      n = 0;
      continue;
    }
    if (mode & kModeBackReferences) {
      const MatchFinder::Match m = finder.Find(c);
      if (m.length >= 3) {
        --n;  // the current byte starts the reference
        if (n > 0) {
          enc.Literal(p, n);
          p += n;
        }
        if (n == 0 || n == 8) enc.Flag0();
        enc.Reference(m.distance, m.length);
        p += m.length;
        n = 0;
        continue;
      }
    }
    if (mode & kModeRuns) {
      std::size_t r = 0;
      while (c + 1 + r < N && r < kMaxLength && in[c + 1 + r] == in[c]) ++r;
      if (p >= 1 && r >= 1 && n == 1 && in[p - 1] == in[p]) {
        // The byte before, already covered, equals the current one: the run starts here.
        if (r != kMaxLength) ++r;
        n = 0;
      }
      if (r >= 2) {
        if (n > 0) {
          enc.Literal(p, n);
          p += n;
        }
        if (n == 0 || n == 8) enc.Flag0();
        enc.Reference(1, r);
        p += r;
        n = 0;
      }
    }
  }
  if (n > 0) enc.Literal(p, n);
  if (n == 0 || n == 8) enc.Flag0();
  enc.Reference(1, 1);  // end token
  return static_cast<std::uint32_t>(
      std::min<std::size_t>(enc.Finish(), std::numeric_limits<std::uint32_t>::max()));
}

Bytes Decompress(ByteView stored) {
  Bytes out(CodecCapacity(stored.size()), 0);
  out.resize(Descomprime(stored, out));
  return out;
}

Bytes Compress(ByteView plain) {
  Bytes out(CodecCapacity(plain.size()), 0);
  out.resize(Comprime(plain, out, kModeAll));
  return out;
}

}  // namespace corvane

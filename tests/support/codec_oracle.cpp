#include "support/codec_oracle.h"

#include <algorithm>

namespace corvane::test {

namespace {

class BitReader {
 public:
  explicit BitReader(ByteView bytes) : bytes_(bytes) {}
  std::uint64_t position() const { return pos_; }
  std::uint32_t Read(int bits) {
    std::uint32_t value = 0;
    for (int i = 0; i < bits; ++i) {
      const std::uint8_t byte = bytes_.at(pos_ / 8);  // zero past the end
      value = (value << 1) | ((byte >> (7 - pos_ % 8)) & 1u);
      ++pos_;
    }
    return value;
  }

 private:
  ByteView bytes_;
  std::uint64_t pos_ = 0;
};

struct Compressor {
  ByteView in;
  std::size_t N;
  Stream w;

  void Literal(std::size_t p, std::size_t n) { w.Lit(in.Sub(p, n)); }
  void Reference(std::size_t distance, std::size_t length) { w.Ref(distance, length); }
};

}  // namespace

Stream& Stream::Bits(std::uint32_t value, int n) {
  for (int i = n - 1; i >= 0; --i) {
    if (bits_ % 8 == 0) bytes_.push_back(0);  // the padding bits stay zero
    if ((value >> i) & 1u) bytes_.back() |= static_cast<std::uint8_t>(0x80u >> (bits_ % 8));
    ++bits_;
  }
  return *this;
}

Stream& Stream::Lit(ByteView bytes) {
  Bits(1, 1).Bits(static_cast<std::uint32_t>(bytes.size() - 1), 3);
  for (std::size_t i = 0; i < bytes.size(); ++i) Bits(bytes.at(i), 8);
  return *this;
}

Stream& Stream::Ref(std::size_t distance, std::size_t length) {
  int k = 0;
  while (distance > (std::size_t{1} << (k + 4))) ++k;
  int j = 0;
  while (length > (std::size_t{1} << (j + 3))) ++j;
  return Bits(static_cast<std::uint32_t>(k), 3)
      .Bits(static_cast<std::uint32_t>(distance - 1), k + 4)
      .Bits(static_cast<std::uint32_t>(j), 2)
      .Bits(static_cast<std::uint32_t>(length - 1), j + 3);
}

Bytes OracleDecompress(ByteView source, std::size_t capacity) {
  Bytes out(capacity, 0);
  const MutableByteView dest(out);
  BitReader r(source);
  std::uint64_t o = 0;
  while (r.position() < 8 * static_cast<std::uint64_t>(source.size())) {
    int last = 8;
    while (last == 8) {
      if (r.Read(1) == 0) break;
      const int n = static_cast<int>(r.Read(3)) + 1;
      for (int i = 0; i < n; ++i) dest.Set(o++, static_cast<std::uint8_t>(r.Read(8)));
      last = n;
    }
    const int k = static_cast<int>(r.Read(3));
    const std::uint32_t D = r.Read(k + 4);
    const int j = static_cast<int>(r.Read(2));
    const std::uint32_t L = r.Read(j + 3);
    if (D == 0 && L == 0) continue;
    if (o >= D + 1) {
      for (std::uint32_t i = 0; i <= L; ++i) dest.Set(o + i, dest.View().at(o - (D + 1) + i));
    }
    o += L + 1;
  }
  out.resize(static_cast<std::size_t>(std::min<std::uint64_t>(o, capacity)));
  return out;
}

Bytes OracleCompress(ByteView source, int mode) {
  Compressor cx{source, source.size(), {}};
  const std::size_t N = cx.N;
  if (N < 1) return {};
  const std::size_t flush_at = (mode & 4) ? 9 : 8;
  std::size_t p = 0;
  std::size_t n = 0;
  while (p + n < N) {
    ++n;
    const std::size_t c = p + n - 1;
    if (n == flush_at) {
      cx.Literal(p, 8);
      p += 8;
      n = 0;
      continue;
    }
    if (mode & 1) {
      std::size_t best_distance = 0;
      std::size_t best_length = 0;
      const std::size_t s0 = c < 2048 ? 0 : c - 2048;
      for (std::size_t s = s0; s < c; ++s) {
        if (source.at(s) != source.at(c)) continue;
        std::size_t l = 1;
        while (s + l < c && source.at(s + l) == source.at(c + l) && l < 64 && c + l < N) {
          ++l;
          if (l >= best_length) {
            best_distance = c - s;
            best_length = l;
          }
        }
      }
      if (best_length >= 3) {
        --n;
        if (n > 0) {
          cx.Literal(p, n);
          p += n;
        }
        if (n == 0 || n == 8) cx.w.Flag0();
        cx.Reference(best_distance, best_length);
        p += best_length;
        n = 0;
        continue;
      }
    }
    if (mode & 2) {
      std::size_t r = 0;
      while (c + 1 + r < N && r < 64 && source.at(c + 1 + r) == source.at(c)) ++r;
      if (p >= 1 && r >= 1 && n == 1 && source.at(p - 1) == source.at(p)) {
        if (r != 64) ++r;
        n = 0;
      }
      if (r >= 2) {
        if (n > 0) {
          cx.Literal(p, n);
          p += n;
        }
        if (n == 0 || n == 8) cx.w.Flag0();
        cx.Reference(1, r);
        p += r;
        n = 0;
      }
    }
  }
  if (n > 0) cx.Literal(p, n);
  if (n == 0 || n == 8) cx.w.Flag0();
  cx.Reference(1, 1);
  return cx.w.Take();
}

}  // namespace corvane::test

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

class BitWriter {
 public:
  void Write(std::uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
      if (pos_ % 8 == 0) out_.push_back(0);
      if ((value >> i) & 1u) out_.back() |= static_cast<std::uint8_t>(0x80u >> (pos_ % 8));
      ++pos_;
    }
  }
  Bytes Take() { return std::move(out_); }  // the padding bits are already zero

 private:
  Bytes out_;
  std::uint64_t pos_ = 0;
};

struct Compressor {
  ByteView in;
  std::size_t N;
  BitWriter w;

  void Literal(std::size_t p, std::size_t n) {
    w.Write(1, 1);
    w.Write(static_cast<std::uint32_t>(n - 1), 3);
    for (std::size_t i = 0; i < n; ++i) w.Write(in.at(p + i), 8);
  }
  void Reference(std::size_t distance, std::size_t length) {
    int k = 0;
    while (distance > (std::size_t{1} << (k + 4))) ++k;
    w.Write(static_cast<std::uint32_t>(k), 3);
    w.Write(static_cast<std::uint32_t>(distance - 1), k + 4);
    int j = 0;
    while (length > (std::size_t{1} << (j + 3))) ++j;
    w.Write(static_cast<std::uint32_t>(j), 2);
    w.Write(static_cast<std::uint32_t>(length - 1), j + 3);
  }
};

}  // namespace

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
        if (n == 0 || n == 8) cx.w.Write(0, 1);
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
        if (n == 0 || n == 8) cx.w.Write(0, 1);
        cx.Reference(1, r);
        p += r;
        n = 0;
      }
    }
  }
  if (n > 0) cx.Literal(p, n);
  if (n == 0 || n == 8) cx.w.Write(0, 1);
  cx.Reference(1, 1);
  return cx.w.Take();
}

}  // namespace corvane::test

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
// from 3 bytes on; then runs of one byte value. Hash chains on 3-, 4- and 8-byte prefixes find that
// match without trying every window position, and a stretch of one byte value is weighed at once
// rather than source by source.
#include "firmware/codec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <utility>

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

// A back-reference's fields (distance - 1, length - 1) from the stream bits in the top of w, at
// bit p, which moves past them: 3 + (k + 4) + 2 + (j + 3) bits, at most 22, all within w.
std::pair<std::size_t, std::size_t> TakeReference(std::uint64_t w, std::uint64_t& p) {
  const unsigned dbits = static_cast<unsigned>(w >> 61) + 4;
  const auto D = static_cast<std::size_t>((w << 3) >> (64 - dbits));
  const unsigned lbits = static_cast<unsigned>((w << (3 + dbits)) >> 62) + 3;
  const auto L = static_cast<std::size_t>((w << (5 + dbits)) >> (64 - lbits));
  p += 5 + dbits + lbits;
  return {D, L};
}

// Decodes into out[0, cap) and returns the bytes produced (at most cap). Without kWrite nothing is
// written: the walk only measures what the stream produces.
template <bool kWrite>
std::size_t Decode(ByteView source, std::uint8_t* const out, const std::size_t cap) {
  if (cap == 0) return 0;
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
      if constexpr (kWrite) {
        std::uint64_t v = in.Peek(p);
        if (n == 8) v = (v & ~std::uint64_t{0xFF}) | (in.Peek(p + 56) >> 56);
        if (o + n <= cap && n == 8) {
          StoreBE64(out + o, v);
        } else {
          // The bytes that fit; past the buffer the stream is cut.
          for (std::size_t i = 0; i < n && o + i < cap; ++i)
            out[o + i] = static_cast<std::uint8_t>(v >> (56 - 8 * i));
        }
      }
      if (o + n > cap) return cap;
      o += n;
      p += 8 * n;
      w = in.Peek(p);
      if (n != 8) break;  // the back-reference follows at once
    }

    const auto [D, L] = TakeReference(w, p);
    if (D == 0 && L == 0) continue;  // end token

    const std::size_t len = L + 1;
    const std::size_t dist = D + 1;
    if constexpr (!kWrite) {
      o += len;
      if (o >= cap) return cap;
      continue;
    }
    std::uint8_t* const d = out + o;
    if (o + len > cap) {
      // The last bytes that fit; the stream is cut here.
      for (std::size_t i = 0; o + i < cap; ++i) d[i] = o >= dist ? out[o + i - dist] : 0;
      return cap;
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
    if (o >= cap) return cap;
  }
  return o;
}

}  // namespace

std::uint32_t Descomprime(ByteView source, std::span<std::uint8_t> destination) {
  const std::size_t cap =
      std::min<std::size_t>(destination.size(), std::numeric_limits<std::uint32_t>::max());
  return static_cast<std::uint32_t>(Decode<true>(source, destination.data(), cap));
}

// ---------------------------------------------------------------------------------------------
// Compression

namespace {

// Writes bits most significant first into the caller's buffer; bytes past its end are dropped.
// Every Put stores the 8 bytes from the first unfinished one, so the buffer always holds the
// stream so far padded with zero bits, and no branch depends on how many bits are pending: the
// bytes after the padding are zeros that later bits overwrite.
class BitSink {
 public:
  explicit BitSink(std::span<std::uint8_t> out) : out_(out.data()), cap_(out.size()) {}

  // Appends the low `bits` bits of value (1 <= bits <= 32; value has no higher bits set).
  void Put(std::uint64_t value, int bits) {
    acc_ = (acc_ << bits) | value;
    count_ += bits;  // 1 to 7 + 32: the pending bits are the low count_ of acc_
    const std::uint64_t top = acc_ << (64 - count_);
    if (cap_ >= 8 && pos_ <= cap_ - 8) {
      StoreBE64(out_ + pos_, top);
    } else {
      for (std::size_t i = 0; i < 8 && pos_ + i < cap_; ++i) {
        out_[pos_ + i] = static_cast<std::uint8_t>(top >> (56 - 8 * i));
      }
    }
    pos_ += static_cast<std::size_t>(count_ >> 3);
    count_ &= 7;
  }

  // Returns the bytes written, the last one padded with zero bits (cut at the capacity).
  std::size_t Finish() { return std::min(pos_ + (count_ > 0 ? 1 : 0), cap_); }

 private:
  std::uint8_t* out_;
  std::size_t cap_;
  std::uint64_t acc_ = 0;
  int count_ = 0;  // bits not yet in a whole byte, below 8 between calls
  std::size_t pos_ = 0;
};

class Encoder {
 public:
  Encoder(const std::uint8_t* in, std::span<std::uint8_t> out) : in_(in), sink_(out) {}

  void Literal(std::size_t p, std::size_t n) {
    sink_.Put(8 | (n - 1), 4);
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
      sink_.Put((std::uint64_t{in_[p + i]} << 24) | (std::uint64_t{in_[p + i + 1]} << 16) |
                    (std::uint64_t{in_[p + i + 2]} << 8) | in_[p + i + 3],
                32);
    }
    for (; i < n; ++i) sink_.Put(in_[p + i], 8);
  }
  void Flag0() { sink_.Put(0, 1); }
  void Reference(std::size_t distance, std::size_t length) {
    // k: the smallest with distance <= 2^(k + 4); j: the smallest with length <= 2^(j + 3).
    const int k = static_cast<int>(std::max<std::size_t>(std::bit_width(distance - 1), 4)) - 4;
    const int j = static_cast<int>(std::max<std::size_t>(std::bit_width(length - 1), 3)) - 3;
    std::uint64_t bits = static_cast<std::uint64_t>(k);
    bits = (bits << (k + 4)) | (distance - 1);
    bits = (bits << 2) | static_cast<std::uint64_t>(j);
    bits = (bits << (j + 3)) | (length - 1);
    sink_.Put(bits, 3 + k + 4 + 2 + j + 3);  // at most 22 bits
  }
  std::size_t Finish() { return sink_.Finish(); }

 private:
  const std::uint8_t* in_;
  BitSink sink_;
};

struct Match {
  std::size_t distance = 0;
  std::size_t length = 0;
};

// Finds, for a position c, the longest match among the sources s in [c - 2048, c) with
// s + length <= c, length <= 64 and c + length <= N, the nearest source winning ties. Only
// matches of 3 bytes or more are reported: shorter ones are never used.
//
// Every position sits in three chains of positions, nearest first: those whose first 8, first 4
// and first 3 bytes hash alike. A match of 8 bytes or more can only come from the 8-byte chain,
// which is far shorter on repetitive data; the 4-byte chain is walked only when that one has
// none (then nothing reaches 8), and the 3-byte chain only when neither has one: then the
// nearest source of 3 equal bytes is the answer, and the walk stops at the first. The chain
// links live in rings of 2048 entries, which hold exactly the window. Positions are stored plus
// kBias so that 0, "no position", lies before every window.
template <typename Pos>
class MatchFinder {
 public:
  MatchFinder(const std::uint8_t* in, std::size_t size) : in_(in), size_(size) {}

  Match Find(std::size_t c) {
    Insert(c);
    const std::size_t max_len = std::min(kMaxLength, size_ - c);
    if (max_len < 3) return {};
    const Pos low = static_cast<Pos>(c - std::min(c, kWindow) + kBias);
    // A chain's head is its latest position: one before the window means no source in it shares
    // even the hashed bytes. No 3 equal bytes means no match at all, and no 4 no long one.
    if (chains_[kShort].head[Hash<3>(c)] < low) return {};
    if (max_len >= 8) {
      if (chains_[kMiddle].head[Hash<4>(c)] < low) return NearestThree(c, low);
      if (const Match m = Walk<8>(chains_[kLong], c, low, max_len); m.length != 0) return m;
      if (const Match m = WalkMiddle(c, low); m.length != 0) return m;
    } else if (max_len >= 4) {
      if (const Match m = Walk<4>(chains_[kMiddle], c, low, max_len); m.length != 0) return m;
    }
    return NearestThree(c, low);
  }

 private:
  static constexpr int kHashBits = 14;

  static constexpr std::size_t kBias = kWindow + 1;
  enum Tier { kLong, kMiddle, kShort };

  struct Chains {
    std::array<Pos, std::size_t{1} << kHashBits> head{};
    std::array<Pos, kWindow> prev{};
    void Add(std::size_t h, Pos e) {
      prev[e & (kWindow - 1)] = head[h];
      head[h] = e;
    }
  };

  // The longest match of K bytes or more and at most `limit` among the sources from `low` on
  // (stored positions), the nearest of equals, using the chains of K-byte keys. Chains run
  // nearest first, so the first of equal lengths stays; a source can only beat a best of b bytes
  // when its byte b equals the current one, which one comparison tells.
  //
  // With 8-byte keys, sources inside a stretch of one byte value are taken a stretch at a time.
  // When the current bytes begin with 8 equal bytes x, every source whose 8 bytes are x lies in a
  // stretch of x's, and all of that stretch's positions follow one another in the chain, nearest
  // first. How long each of them matches follows from the x's counted at the source and at c, so
  // at most two of them need weighing (BestInStretch).
  template <std::size_t K>
  Match Walk(const Chains& chains, std::size_t c, Pos low, std::size_t limit) {
    Match best;
    std::size_t best_len = K - 1;
    const std::uint8_t* const cur = in_ + c;
    std::uint64_t cur8 = 0;
    bool run = false;
    if constexpr (K == 8) {
      cur8 = LoadLE64(cur);
      run = cur8 == (cur8 & 0xFF) * 0x0101010101010101u;
    }
    const std::size_t run_c = run ? RunLength(c, limit) : 0;
    Pos next = 0;
    for (Pos e = chains.head[Hash<K>(c)]; e >= low; e = next) {
      const std::size_t s = e - kBias;
      if (run && LoadLE64(in_ + s) == cur8) {
        const Stretch& st = StretchAt(chains, e);
        // The x's before s, as far as one of them could still be the nearest best.
        const std::size_t below = std::min<std::size_t>({st.below, s - (low - kBias), limit + 1});
        BestInStretch(c, s, below, run_c, std::min<std::size_t>(st.run, limit), limit, best_len, best);
        if (best_len == limit) break;
        // The walk goes on past the stretch.
        next = below == st.below ? st.past : chains.prev[(s - below + kBias) & (kWindow - 1)];
        continue;
      }
      next = chains.prev[e & (kWindow - 1)];
      const std::size_t cap = std::min(c - s, limit);
      const std::uint8_t* const src = in_ + s;
      if (cap <= best_len || src[best_len] != cur[best_len]) continue;
      const std::size_t len = CommonLength(src, cur, cap, size_ - c);
      if (len <= best_len) continue;
      best_len = len;
      best.distance = c - s;
      best.length = len;
      if (len == limit) break;  // farther sources can at most tie
    }
    return best;
  }

  // The sources s - k for k in [0, below], all starting with 8 x's and with x's from s - below to
  // s: the nearest longest among them, kept when longer than best_len. With r_s x's counted from
  // s and r_c from c (both at most limit; r_c = limit stands for "at least"), source s - k matches
  // r_s + k bytes while that is below r_c, r_c bytes once it is above, and possibly more where
  // they are equal; never more than its distance c - s + k or the limit. Each piece grows with k,
  // so the nearest best of each is where it stops growing, and only the source where the x's end
  // together needs comparing.
  void BestInStretch(std::size_t c, std::size_t s, std::size_t below, std::size_t run_c, std::size_t run_s,
                     std::size_t limit, std::size_t& best_len, Match& best) const {
    const std::size_t d = c - s;
    const std::size_t m = std::min(run_s, d);
    // Offers source s - k matching len bytes; farther sources come later, so only longer wins.
    const auto offer = [&](std::size_t k, std::size_t len) {
      if (len <= best_len) return;
      best_len = len;
      best.distance = d + k;
      best.length = len;
    };
    const auto growing = [&](std::size_t last) {  // r_s + k below r_c for k <= last
      const std::size_t k = std::min(limit - m, last);
      offer(k, std::min(m + k, limit));
    };
    const auto settled = [&] {  // r_s above r_c: every source matches r_c bytes but for its distance
      const std::size_t k = std::min(run_c > d ? run_c - d : 0, below);
      offer(k, std::min(run_c, d + k));
    };
    if (run_c == limit) {
      growing(below);
    } else if (run_s > run_c) {
      settled();
    } else {
      const std::size_t equal_at = run_c - run_s;  // the source whose x's end where c's do
      if (equal_at > 0) growing(std::min(equal_at - 1, below));
      // Past it the x's at the source reach c's no sooner than its distance does (they end before
      // c), so no farther source of the stretch matches longer.
      if (equal_at <= below) {
        const std::size_t src = s - equal_at;
        offer(equal_at, CommonLength(in_ + src, in_ + c, std::min(c - src, limit), size_ - c));
      }
    }
  }

  // What a walk needs of the stretch around an 8-byte chain entry e whose bytes are all one
  // value x: the x's before it and from it, each counted up to one more than the longest match,
  // and the chain entry before its first x. None of it changes once e is in the chains, so it is
  // counted the first time a walk meets e and kept, in a ring like the chain links: the same
  // stretches are met again by every search of a run of x's while they stay in the window. The
  // entry before the first x is read from its link while that x is in the window, which it is
  // whenever a walk takes it.
  struct Stretch {
    Pos tag = 0;  // the stored position these counts are for; 0 is never one
    Pos past = 0;
    std::uint8_t below = 0;
    std::uint8_t run = 0;
  };
  const Stretch& StretchAt(const Chains& chains, Pos e) {
    Stretch& st = stretches_[e & (kWindow - 1)];
    if (st.tag != e) {
      const std::size_t s = e - kBias;
      st.tag = e;
      st.below = static_cast<std::uint8_t>(RunBefore(s, in_[s], kMaxLength + 1));
      st.run = static_cast<std::uint8_t>(RunLength(s, std::min(kMaxLength, size_ - s)));
      st.past = chains.prev[(s - st.below + kBias) & (kWindow - 1)];
    }
    return st;
  }

  // How many bytes from pos equal the byte at pos, at most limit (pos + limit <= size).
  std::size_t RunLength(std::size_t pos, std::size_t limit) const {
    const std::uint64_t x8 = in_[pos] * 0x0101010101010101u;
    std::size_t n = 1;
    for (; n + 8 <= limit; n += 8) {
      const std::uint64_t diff = LoadLE64(in_ + pos + n) ^ x8;
      if (diff != 0) return n + static_cast<std::size_t>(std::countr_zero(diff) / 8);
    }
    while (n < limit && in_[pos + n] == in_[pos]) ++n;
    return n;
  }

  // How many bytes before pos equal x, at most most.
  std::size_t RunBefore(std::size_t pos, std::uint8_t x, std::size_t most) const {
    const std::uint64_t x8 = x * 0x0101010101010101u;
    std::size_t n = 0;
    while (n < most && pos - n >= 8) {
      const std::uint64_t diff = LoadLE64(in_ + pos - n - 8) ^ x8;
      if (diff != 0) return std::min(most, n + static_cast<std::size_t>(std::countl_zero(diff) / 8));
      n += 8;
    }
    while (n < most && pos - n > 0 && in_[pos - n - 1] == x) ++n;
    return std::min(n, most);
  }

  // Walk<4> with a limit of 7 where 8 bytes can be read at c: every length comes from one 8-byte
  // comparison, and the best is kept without branching on it.
  Match WalkMiddle(std::size_t c, Pos low) const {
    const Chains& chains = chains_[kMiddle];
    std::size_t best_len = 3;
    std::size_t best_s = 0;
    const std::uint64_t cur = LoadLE64(in_ + c);
    for (Pos e = chains.head[Hash<4>(c)]; e >= low; e = chains.prev[e & (kWindow - 1)]) {
      const std::size_t s = e - kBias;
      const std::uint64_t diff = LoadLE64(in_ + s) ^ cur;  // s + 8 < c + 8 <= size
      // Equal bytes among the first 7: the top bit set makes 7 the most.
      const auto equal = static_cast<std::size_t>(std::countr_zero(diff | (std::uint64_t{1} << 63)) / 8);
      const std::size_t len = std::min(equal, c - s);
      const bool better = len > best_len;
      best_len = better ? len : best_len;
      best_s = better ? s : best_s;
      if (len == 7) break;  // farther sources can at most tie
    }
    if (best_len < 4) return {};
    return {c - best_s, best_len};
  }

  // The nearest source of 3 bytes equal to the current ones, 3 or more bytes away (no source of
  // 4 exists when this is asked).
  Match NearestThree(std::size_t c, Pos low) const {
    const Chains& chains = chains_[kShort];
    const std::uint32_t cur = First3(c);
    for (Pos e = chains.head[Hash<3>(c)]; e >= low; e = chains.prev[e & (kWindow - 1)]) {
      const std::size_t s = e - kBias;
      if (c - s >= 3 && First3(s) == cur) return {c - s, 3};
    }
    return {};
  }

  // Hash of the first K bytes of a 64-bit little-endian load.
  template <std::size_t K>
  static std::size_t HashOfBytes(std::uint64_t v) {
    if constexpr (K == 8) {
      return static_cast<std::size_t>((v * 0x9E3779B97F4A7C15u) >> (64 - kHashBits));
    } else {
      const auto key = static_cast<std::uint32_t>(v) & static_cast<std::uint32_t>((std::uint64_t{1} << (8 * K)) - 1);
      return (key * (K == 3 ? 2654435761u : 2246822519u)) >> (32 - kHashBits);
    }
  }
  // Hash of the K bytes at pos (pos + K <= size).
  template <std::size_t K>
  std::size_t Hash(std::size_t pos) const {
    std::uint64_t v = 0;
    if (pos + 8 <= size_) {
      v = LoadLE64(in_ + pos);
    } else {
      for (std::size_t i = 0; i < K; ++i) v |= std::uint64_t{in_[pos + i]} << (8 * i);
    }
    return HashOfBytes<K>(v);
  }
  std::uint32_t First3(std::size_t pos) const {  // pos + 3 <= size
    return in_[pos] | (std::uint32_t{in_[pos + 1]} << 8) | (std::uint32_t{in_[pos + 2]} << 16);
  }

  // Adds every position before c to the chains it has bytes for.
  void Insert(std::size_t c) {
    std::size_t i = inserted_;
    // Where 8 bytes can be read, one load gives every key.
    const std::size_t fast_limit = size_ >= 8 ? std::min(c, size_ - 7) : 0;
    for (; i < fast_limit; ++i) {
      const std::uint64_t v = LoadLE64(in_ + i);
      const auto e = static_cast<Pos>(i + kBias);
      chains_[kLong].Add(HashOfBytes<8>(v), e);
      chains_[kMiddle].Add(HashOfBytes<4>(v), e);
      chains_[kShort].Add(HashOfBytes<3>(v), e);
    }
    const std::size_t limit = size_ >= 3 ? std::min(c, size_ - 2) : 0;
    for (; i < limit; ++i) {
      const auto e = static_cast<Pos>(i + kBias);
      chains_[kShort].Add(Hash<3>(i), e);
      if (i + 4 <= size_) chains_[kMiddle].Add(Hash<4>(i), e);
      if (i + 8 <= size_) chains_[kLong].Add(Hash<8>(i), e);
    }
    inserted_ = i;
  }

  // Number of equal bytes at a and b, at most cap; `avail` bytes can be read at b and at a < b.
  static std::size_t CommonLength(const std::uint8_t* a, const std::uint8_t* b, std::size_t cap,
                                  std::size_t avail) {
    std::size_t len = 0;
    while (len + 8 <= avail) {
      const std::uint64_t diff = LoadLE64(a + len) ^ LoadLE64(b + len);
      if (diff != 0) return std::min(cap, len + static_cast<std::size_t>(std::countr_zero(diff) / 8));
      len += 8;
      if (len >= cap) return cap;
    }
    while (len < cap && a[len] == b[len]) ++len;
    return len;
  }

  const std::uint8_t* in_;
  std::size_t size_;
  std::size_t inserted_ = 0;
  std::array<Chains, 3> chains_;
  std::array<Stretch, kWindow> stretches_{};
};

template <typename Pos>
std::size_t Encode(const std::uint8_t* in, std::size_t N, std::span<std::uint8_t> destination, int mode) {
  Encoder enc(in, destination);
  MatchFinder<Pos> finder(in, N);
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
      const Match m = finder.Find(c);
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
  return enc.Finish();
}

}  // namespace

std::uint32_t Comprime(ByteView source, std::span<std::uint8_t> destination, int mode) {
  const std::size_t N = source.size();
  if (N < 1) return 0;
  // 32-bit chain entries unless positions (plus the bias) could outgrow them.
  const std::size_t written =
      N < std::numeric_limits<std::uint32_t>::max() - 2 * kWindow
          ? Encode<std::uint32_t>(source.data(), N, destination, mode)
          : Encode<std::uint64_t>(source.data(), N, destination, mode);
  return static_cast<std::uint32_t>(
      std::min<std::size_t>(written, std::numeric_limits<std::uint32_t>::max()));
}

Bytes Decompress(ByteView stored) {
  // A first walk over the tokens sizes the buffer: the usual bound is a limit, far more than
  // most streams produce.
  Bytes out(Decode<false>(stored, nullptr, CodecCapacity(stored.size())));
  Descomprime(stored, out);
  return out;
}

Bytes Compress(ByteView plain) {
  // The stream never outgrows its bound (13 bits per byte and 2 bytes); a result that fills the
  // buffer would mean a cut stream, and then the usual size is used.
  Bytes out((13 * plain.size() + 7) / 8 + 2);
  std::size_t written = Comprime(plain, out, kModeAll);
  if (written == out.size()) {
    out.assign(CodecCapacity(plain.size()), 0);
    written = Comprime(plain, out, kModeAll);
  }
  out.resize(written);
  return out;
}

}  // namespace corvane

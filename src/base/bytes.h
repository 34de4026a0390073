// Byte buffers and the bounds-checked views every reader and writer goes through.
//
// Files inside an image hold whatever bytes a crafted file puts there, so no code reads or writes
// raw pointers into them. A ByteView reads zero past its end (readers of stored and decompressed
// bytes rely on trailing zeros); a MutableByteView drops writes that fall outside its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

using Bytes = std::vector<std::uint8_t>;

class ByteView {
 public:
  ByteView() = default;
  ByteView(const std::uint8_t* data, std::size_t size) : data_(data), size_(data ? size : 0) {}
  ByteView(const Bytes& bytes) : data_(bytes.data()), size_(bytes.size()) {}  // NOLINT
  ByteView(std::span<const std::uint8_t> bytes) : data_(bytes.data()), size_(bytes.size()) {}  // NOLINT

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const std::uint8_t* data() const { return data_; }
  std::span<const std::uint8_t> span() const { return {data_, size_}; }

  // The byte at pos, or 0 past the end.
  std::uint8_t at(std::size_t pos) const { return pos < size_ ? data_[pos] : 0; }
  std::uint8_t operator[](std::size_t pos) const { return at(pos); }

  // True when [pos, pos + len) lies inside the view (no overflow).
  bool Contains(std::size_t pos, std::size_t len) const {
    return pos <= size_ && len <= size_ - pos;
  }

  std::uint32_t u8(std::size_t pos) const { return at(pos); }
  std::uint32_t u16le(std::size_t pos) const { return ReadLE(pos, 2); }
  std::uint32_t u16be(std::size_t pos) const { return ReadBE(pos, 2); }
  std::uint32_t u24le(std::size_t pos) const { return ReadLE(pos, 3); }
  std::uint32_t u24be(std::size_t pos) const { return ReadBE(pos, 3); }
  std::uint32_t u32le(std::size_t pos) const { return ReadLE(pos, 4); }
  std::uint32_t u32be(std::size_t pos) const { return ReadBE(pos, 4); }

  // n (0..4) bytes from pos, lowest byte first / highest byte first. Bytes past the end are 0.
  std::uint32_t ReadLE(std::size_t pos, int n) const;
  std::uint32_t ReadBE(std::size_t pos, int n) const;

  // The part [pos, pos + len) clipped to the view.
  ByteView Sub(std::size_t pos, std::size_t len) const;
  ByteView Sub(std::size_t pos) const { return Sub(pos, size_); }

  Bytes ToBytes() const { return Bytes(data_, data_ + size_); }

 private:
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

class MutableByteView {
 public:
  MutableByteView() = default;
  MutableByteView(std::uint8_t* data, std::size_t size) : data_(data), size_(data ? size : 0) {}
  MutableByteView(Bytes& bytes) : data_(bytes.data()), size_(bytes.size()) {}  // NOLINT

  std::size_t size() const { return size_; }
  std::uint8_t* data() const { return data_; }
  ByteView View() const { return {data_, size_}; }
  bool Contains(std::size_t pos, std::size_t len) const { return View().Contains(pos, len); }

  // Writes that fall outside the view are dropped byte by byte.
  void Set(std::size_t pos, std::uint8_t value) const {
    if (pos < size_) data_[pos] = value;
  }
  void WriteLE(std::size_t pos, std::uint32_t value, int n) const;
  void WriteBE(std::size_t pos, std::uint32_t value, int n) const;
  void Fill(std::size_t pos, std::size_t len, std::uint8_t value) const;
  void Copy(std::size_t pos, ByteView source) const;

 private:
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

enum class ByteOrder { Little, Big };

inline std::uint32_t ReadU32(ByteView v, std::size_t pos, ByteOrder order) {
  return order == ByteOrder::Little ? v.u32le(pos) : v.u32be(pos);
}
inline void WriteU32(MutableByteView v, std::size_t pos, std::uint32_t value, ByteOrder order) {
  if (order == ByteOrder::Little)
    v.WriteLE(pos, value, 4);
  else
    v.WriteBE(pos, value, 4);
}

// The characters up to the first NUL, at most n (a raw 8-bit name).
std::string LeeNombre(ByteView bytes, std::size_t pos, std::size_t n);
// At most n characters of text, the rest of the n bytes NUL.
void EscribeNombre(MutableByteView bytes, std::size_t pos, std::string_view text, std::size_t n);

// First position p < length at which text occurs inside the first `length` bytes (with_nul: the
// byte after the match must be 0 and also lie inside). -1 when absent or when text is empty.
std::int64_t BuscaCadena(std::string_view text, ByteView bytes, std::size_t length, bool with_nul);
// The same search starting at `from` (positions are absolute); -1 when absent.
std::int64_t BuscaCadenaDesde(std::string_view text, ByteView bytes, std::size_t from,
                              std::size_t length, bool with_nul);

// Base-16 value of text made of 0-9 and A-F only; -1 for any other character; 0 when empty.
std::int64_t HexAEntero(std::string_view text);

}  // namespace corvane

// The hex editor's byte texts and values, independent of any window: the clipboard text of
// bytes, hexadecimal digits read back from pasted and searched text, the numbers the status panel
// and the data inspector show, the search in a byte buffer and the "go to offset" entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"

namespace corvane {

// Two upper-case hexadecimal digits per byte, high nibble first, no separators (01 AB -> "01AB").
std::string HexText(ByteView bytes);

// Pasted text to bytes: characters that are not hexadecimal digits (either case) are skipped, the
// digits are taken in pairs (first digit the high nibble) and a last unpaired digit is dropped
// ("0a b-C" -> 0A BC).
Bytes ParsePastedHex(std::string_view text);

// The search dialog's hexadecimal pattern: its digits, with a "0" put in front of an odd count
// ("ABC" -> 0A BC). Characters that are not hexadecimal digits are ignored.
Bytes ParseSearchHex(std::string_view text);

// The status panel's values of a selection: its last four bytes as a big-endian signed 32-bit
// number, its first four bytes as a little-endian unsigned number (12 34 -> 4660 and 13330).
std::int32_t SelectionValueBE(ByteView selection);
std::uint32_t SelectionValueLE(ByteView selection);

// One value of the data inspector: `bits` 8, 16 or 32 bits read at the caret in one byte order.
struct InspectedValue {
  int bits = 8;
  bool big_endian = true;  // meaningless for 8 bits
  std::int64_t signed_value = 0;
  std::uint64_t unsigned_value = 0;
};
// The values at `pos` in the order 8, 16 BE, 16 LE, 32 BE, 32 LE; only those whose bytes all
// lie inside the data.
std::vector<InspectedValue> InspectAt(ByteView data, std::size_t pos);

// The first occurrence of `pattern` in `data` starting at `from`; with ignore_case letters
// (ASCII and Latin-1) match in either case. Nothing for an empty pattern or no hit.
std::optional<std::size_t> FindBytes(ByteView data, ByteView pattern, std::size_t from,
                                     bool ignore_case);

// An offset typed by the user: hexadecimal digits, optionally after "0x" or "$", spaces around
// ignored. Nothing for anything else or a number past 64 bits.
std::optional<std::uint64_t> ParseOffset(std::string_view text);

}  // namespace corvane

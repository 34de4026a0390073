// Text strings: a numbered list of the receiver's interface texts (.mpg, .mpz).
//
// The plain form is an offset table of 16-bit entries followed by the strings, each with a one-byte
// (short form) or 16-bit (long form) length. The form has no field of its own: reading detects it
// and writing keeps it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "base/result.h"

namespace corvane {

class TNodo;

class TMHWStringsList {
 public:
  std::vector<std::string> strings;  // byte strings, lines separated by a line feed
  bool long_form = false;

  bool operator==(const TMHWStringsList&) const = default;

  // The longest string the form holds (255 or 65535 bytes).
  std::size_t MaxLength() const { return long_form ? 0xFFFF : 0xFF; }

  // Reads the plain bytes and detects the form. Every read stays inside them: a table entry or
  // string that points past the end ends the list there (a string is cut at the end), and the
  // result is Rejected (kMsgStringsTruncated) with what was read in place.
  Result Read(ByteView plain);
  // The plain bytes in the form read. Refused, leaving `plain` untouched, when a string is longer
  // than its form allows or the whole would pass the 65535 bytes that 16-bit offsets address.
  Result Write(Bytes& plain) const;

  // Decompresses the node's stored bytes and reads them (as Read).
  Result Create(const TNodo& node);
  // Writes the plain bytes and replaces the node's stored bytes by their compressed form.
  Result Guarda(TNodo& node) const;

  // Inserts an empty string at i + 1 (i = -1: at the start). False when i is out of range.
  bool NuevaCadena(int i);
  // Removes string i. False when i is out of range.
  bool BorraCadena(int i);

  struct Match {
    int index = 0;         // the string
    std::size_t pos = 0;   // the first byte of the match in it
    bool operator==(const Match&) const = default;
  };
  // The next occurrence of `needle` (bytes, exact) from byte `pos` of string `index` on, through
  // the following strings and round to the start, ending where it began. Nothing for an empty
  // needle or when no string holds it.
  std::optional<Match> Busca(std::string_view needle, int index, std::size_t pos) const;
};

}  // namespace corvane

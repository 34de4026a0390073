// Pieces every resource's JSON form shares.
//
// Resource strings are bytes: byte b is the JSON character U+00bb. Pixel rows are hex strings,
// one digit per pixel, high nibble first.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "base/bytes.h"
#include "base/result.h"

namespace corvane {

namespace rows {
inline constexpr int kJsonNotResource = 426;  // "El documento JSON no describe el recurso:"
}  // namespace rows

// The refusal of a document the format cannot hold; `what` names the field and the fault.
Result JsonRefusal(std::string_view what);

// Raw bytes as JSON text and back (false for a character above U+00FF).
std::string JsonFromRaw(std::string_view raw);
bool RawFromJson(std::string_view json_text, std::string& raw);

// Checks in["kind"] (when present) equals `kind`.
Result CheckJsonKind(const nlohmann::ordered_json& in, std::string_view kind);
// An unsigned integer member `key` of `in` in [0, most].
Result JsonNumber(const nlohmann::ordered_json& in, const char* key, int most, int& out);
// A string member `key` of `in`.
Result JsonString(const nlohmann::ordered_json& in, const char* key, std::string& out);

// Packed 4-bit rows (width div 2 bytes each) as hex strings of width - width mod 2 digits.
// Only rows that the bytes hold are listed (a last row cut short is completed with zeros).
nlohmann::ordered_json HexRows(int width, int height, ByteView rows);
// Exactly `height` hex rows of width - width mod 2 digits (either letter case) as packed bytes.
Result RowsFromHex(const nlohmann::ordered_json& rows, int width, int height, Bytes& out);

}  // namespace corvane

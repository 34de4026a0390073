// The JSON form of a palette: {"kind":"palette","entries":[{"red","green","blue","mode"} x 16]}.
#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

#include "base/bytes.h"
#include "base/result.h"

namespace corvane {

Result DumpPalette(ByteView plain, std::string_view node_name, nlohmann::ordered_json& out);
Result BuildPalette(const nlohmann::ordered_json& in, std::string_view node_name, Bytes& plain);

}  // namespace corvane

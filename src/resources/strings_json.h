// The JSON form of text strings: {"kind":"strings","form":"short"|"long","strings":[...]}.
#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

#include "base/bytes.h"
#include "base/result.h"

namespace corvane {

Result DumpStrings(ByteView plain, std::string_view node_name, nlohmann::ordered_json& out);
Result BuildStrings(const nlohmann::ordered_json& in, std::string_view node_name, Bytes& plain);

}  // namespace corvane

// The JSON form of an image: {"kind":"image","width","height","rows":[hex rows, top first]}.
#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

#include "base/bytes.h"
#include "base/result.h"

namespace corvane {

Result DumpImage(ByteView plain, std::string_view node_name, nlohmann::ordered_json& out);
Result BuildImage(const nlohmann::ordered_json& in, std::string_view node_name, Bytes& plain);

}  // namespace corvane

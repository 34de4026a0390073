// The JSON form of an icon collection:
// {"kind":"icons","icons":[{"name","width","height","rows":[hex rows, top first]}]}.
#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

#include "base/bytes.h"
#include "base/result.h"

namespace corvane {

Result DumpIcons(ByteView plain, std::string_view node_name, nlohmann::ordered_json& out);
Result BuildIcons(const nlohmann::ordered_json& in, std::string_view node_name, Bytes& plain);

}  // namespace corvane

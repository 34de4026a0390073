// The JSON form of application files (corvane-cli dump / build):
// {"kind":"application","initial_script","final_script","palette","classes":[...],
//  "comments":[...]}
#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

#include "base/bytes.h"
#include "base/result.h"

namespace corvane {

Result DumpApplication(ByteView plain, std::string_view node_name, nlohmann::ordered_json& out);
Result BuildApplication(const nlohmann::ordered_json& in, std::string_view node_name, Bytes& plain);

}  // namespace corvane

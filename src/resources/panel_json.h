// The JSON form of panels: {"kind":"panel", header fields, "fonts", "elements"}.
//
// Strings are bytes; byte b is the JSON character U+00bb.
#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

#include "base/bytes.h"
#include "base/result.h"

namespace corvane {

class TMHWPanel;

void PanelToJson(const TMHWPanel& panel, nlohmann::ordered_json& out);
// Refused when a field is missing, of the wrong type or out of its range.
Result PanelFromJson(const nlohmann::ordered_json& in, TMHWPanel& panel);

Result DumpPanel(ByteView plain, std::string_view node_name, nlohmann::ordered_json& out);
Result BuildPanel(const nlohmann::ordered_json& in, std::string_view node_name, Bytes& plain);

}  // namespace corvane

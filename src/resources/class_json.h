// The JSON form of class files (corvane-cli dump / build):
// {"kind":"class","name","reserved":"12 hex digits of bytes 2..7",
//  "variables":[{"name","type","dimension_kind","dimension1","dimension2","length","option"}]}
// Building computes each dimension kind from the dimensions (the document's value is ignored).
#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

#include "base/bytes.h"
#include "base/result.h"

namespace corvane {

inline constexpr int kMsgBadJsonForm = 578;  // "Forma JSON incorrecta :" + what is wrong

Result DumpClass(ByteView plain, std::string_view node_name, nlohmann::ordered_json& out);
Result BuildClass(const nlohmann::ordered_json& in, std::string_view node_name, Bytes& plain);

// A refusal of a JSON form: message kMsgBadJsonForm, the node name and what is wrong.
Result BadJsonForm(std::string_view node_name, std::string_view what);

}  // namespace corvane

#include "resources/strings_json.h"

#include "resources/json_form.h"
#include "resources/strings_list.h"

namespace corvane {

Result DumpStrings(ByteView plain, std::string_view, nlohmann::ordered_json& out) {
  TMHWStringsList list;
  if (Result r = list.Read(plain); !r) return r;
  out = nlohmann::ordered_json::object();
  out["kind"] = "strings";
  out["form"] = list.long_form ? "long" : "short";
  auto strings = nlohmann::ordered_json::array();
  for (const auto& s : list.strings) strings.push_back(JsonFromRaw(s));
  out["strings"] = std::move(strings);
  return Result::Ok();
}

Result BuildStrings(const nlohmann::ordered_json& in, std::string_view, Bytes& plain) {
  auto invalid = [](const char* where) {
    return JsonRefusal(std::string("strings.") + where);
  };
  if (Result r = CheckJsonKind(in, "strings"); !r) return r;
  std::string form = in.value("form", "");
  if (form != "short" && form != "long") return invalid("form");
  auto it = in.find("strings");
  if (it == in.end() || !it->is_array()) return invalid("strings");
  TMHWStringsList list;
  list.long_form = form == "long";
  for (const auto& s : *it) {
    std::string bytes;
    if (!s.is_string() || !RawFromJson(s.get_ref<const std::string&>(), bytes))
      return invalid("strings");
    list.strings.push_back(std::move(bytes));
  }
  return list.Write(plain);
}

}  // namespace corvane

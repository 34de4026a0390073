#include "resources/application_json.h"

#include "document/names.h"
#include "resources/application.h"
#include "resources/class_json.h"

namespace corvane {

namespace {

using json = nlohmann::ordered_json;

bool Text(const json& j, const char* key, std::string& value, std::string& error) {
  bool lossy = false;
  if (!j.is_string()) {
    error = std::string("\"") + key + "\" must hold strings";
    return false;
  }
  value = Utf8ToLatin1(j.get<std::string>(), &lossy);
  if (lossy || value.size() > 255) {
    error = std::string("\"") + key + "\" must hold at most 255 Latin-1 characters";
    return false;
  }
  return true;
}

json Strings(const std::vector<std::string>& items) {
  json list = json::array();
  for (const std::string& s : items) list.push_back(Latin1ToUtf8(s));
  return list;
}

}  // namespace

Result DumpApplication(ByteView plain, std::string_view, nlohmann::ordered_json& out) {
  const TMHWApplication a = TMHWApplication::FromPlain(plain);
  out = json{{"kind", "application"},
             {"initial_script", Latin1ToUtf8(a.initial_script)},
             {"final_script", Latin1ToUtf8(a.final_script)},
             {"palette", Latin1ToUtf8(a.palette)},
             {"classes", Strings(a.classes)},
             {"comments", Strings(a.comments)}};
  return Result::Ok();
}

Result BuildApplication(const nlohmann::ordered_json& in, std::string_view node_name,
                        Bytes& plain) {
  if (!in.is_object() || in.value("kind", std::string()) != "application")
    return BadJsonForm(node_name, "\"kind\" must be \"application\"");
  TMHWApplication a;
  std::string error;
  for (const auto& [key, field] :
       {std::pair{"initial_script", &a.initial_script}, std::pair{"final_script", &a.final_script},
        std::pair{"palette", &a.palette}}) {
    const auto it = in.find(key);
    if (it == in.end() || !Text(*it, key, *field, error))
      return BadJsonForm(node_name,
                         error.empty() ? std::string("\"") + key + "\" is missing" : error);
  }
  for (const auto& [key, list] :
       {std::pair{"classes", &a.classes}, std::pair{"comments", &a.comments}}) {
    const auto it = in.find(key);
    if (it == in.end() || !it->is_array())
      return BadJsonForm(node_name, std::string("\"") + key + "\" must be an array");
    for (const json& item : *it) {
      std::string text;
      if (!Text(item, key, text, error)) return BadJsonForm(node_name, error);
      list->push_back(std::move(text));
    }
    if (list->size() > 0xFFFF) return BadJsonForm(node_name, std::string("too many ") + key);
  }
  plain = a.Plain();
  return Result::Ok();
}

}  // namespace corvane

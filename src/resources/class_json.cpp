#include "resources/class_json.h"

#include <cstdio>

#include "document/names.h"
#include "resources/class.h"

namespace corvane {

namespace {

using json = nlohmann::ordered_json;

// The integer member `key` of `j` within [low, high], or an explanation.
bool Number(const json& j, const char* key, int low, int high, int& value, std::string& error) {
  const auto it = j.find(key);
  if (it == j.end() || !it->is_number_integer()) {
    error = std::string("\"") + key + "\" must be an integer";
    return false;
  }
  const auto v = it->get<long long>();
  if (v < low || v > high) {
    error = std::string("\"") + key + "\" must be " + std::to_string(low) + " to " +
            std::to_string(high);
    return false;
  }
  value = static_cast<int>(v);
  return true;
}

// A name member: text of 1 to 13 Latin-1 characters without NUL.
bool Name(const json& j, const char* key, std::string& value, std::string& error) {
  const auto it = j.find(key);
  if (it == j.end() || !it->is_string()) {
    error = std::string("\"") + key + "\" must be a string";
    return false;
  }
  bool lossy = false;
  value = Utf8ToLatin1(it->get<std::string>(), &lossy);
  if (lossy || value.empty() || value.size() > kClassNameLimit ||
      value.find('\0') != std::string::npos) {
    error = std::string("\"") + key + "\" must be 1 to 13 Latin-1 characters";
    return false;
  }
  return true;
}

}  // namespace

Result BadJsonForm(std::string_view node_name, std::string_view what) {
  return Result::Rejected(Message::FromRow(kMsgBadJsonForm)
                              .Text(" " + Latin1ToUtf8(node_name) + ": " + std::string(what)));
}

Result DumpClass(ByteView plain, std::string_view, nlohmann::ordered_json& out) {
  const TMHWClass c = TMHWClass::FromPlain(plain);
  std::string reserved;
  for (std::size_t i = 2; i < 8; ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X", plain.at(i));
    reserved += hex;
  }
  json variables = json::array();
  for (const ClassVariable& v : c.variables)
    variables.push_back({{"name", Latin1ToUtf8(v.name)},
                         {"type", v.type},
                         {"dimension_kind", v.dimension_kind},
                         {"dimension1", v.dimension1},
                         {"dimension2", v.dimension2},
                         {"length", v.length},
                         {"option", v.option}});
  out = json{{"kind", "class"},
             {"name", Latin1ToUtf8(c.name)},
             {"reserved", reserved},
             {"variables", std::move(variables)}};
  return Result::Ok();
}

Result BuildClass(const nlohmann::ordered_json& in, std::string_view node_name, Bytes& plain) {
  if (!in.is_object() || in.value("kind", std::string()) != "class")
    return BadJsonForm(node_name, "\"kind\" must be \"class\"");
  std::string error;
  TMHWClass c;
  if (!Name(in, "name", c.name, error)) return BadJsonForm(node_name, error);
  const auto reserved = in.find("reserved");
  c.plain.assign(14, 0);
  if (reserved != in.end()) {
    const std::string hex = reserved->is_string() ? reserved->get<std::string>() : std::string();
    if (hex.size() != 12 || HexAEntero(UpperName(hex)) < 0)
      return BadJsonForm(node_name, "\"reserved\" must be 12 hexadecimal digits");
    for (std::size_t i = 0; i < 6; ++i)
      c.plain[2 + i] = static_cast<std::uint8_t>(HexAEntero(UpperName(hex.substr(2 * i, 2))));
  }
  const auto variables = in.find("variables");
  if (variables == in.end() || !variables->is_array())
    return BadJsonForm(node_name, "\"variables\" must be an array");
  for (const json& j : *variables) {
    if (!j.is_object()) return BadJsonForm(node_name, "every variable must be an object");
    ClassVariable v;
    int type = 0;
    if (!Name(j, "name", v.name, error) || !Number(j, "type", 0, 32, type, error))
      return BadJsonForm(node_name, error);
    v.type = static_cast<std::uint8_t>(type);
    // The payload's room depends on the type: a 2-byte length, a 1-byte length, or 4 bits each.
    const bool nibbles = type == 3 || type == 10;
    const bool byte_length = type == 2 || type == 5;
    const int length_max = nibbles ? 15 : byte_length ? 255 : 65535;
    const int option_max = nibbles ? 15 : byte_length || type > 10 ? 0 : 255;
    if (!Number(j, "dimension1", 0, 65535, v.dimension1, error) ||
        !Number(j, "dimension2", 0, 65535, v.dimension2, error) ||
        !Number(j, "length", 0, type > 10 ? 0 : length_max, v.length, error) ||
        !Number(j, "option", 0, option_max, v.option, error))
      return BadJsonForm(std::string(node_name) + ":" + v.name, error);
    c.variables.push_back(std::move(v));
  }
  if (c.variables.size() > 0xFFFF) return BadJsonForm(node_name, "too many variables");
  plain = c.Plain();
  return Result::Ok();
}

}  // namespace corvane

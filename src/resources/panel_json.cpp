#include "resources/panel_json.h"

#include <limits>
#include <string>

#include "resources/json_form.h"
#include "resources/panel.h"

namespace corvane {

namespace {

using Json = nlohmann::ordered_json;

// Reads fields of a JSON object, remembering the first one that is missing or out of range.
class Fields {
 public:
  Fields(const Json& object, std::string where) : object_(object), where_(std::move(where)) {
    if (!object_.is_object()) Fail("");
  }
  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }

  template <typename T>
  T Number(const char* key, std::int64_t max = std::numeric_limits<T>::max()) {
    const Json* v = Find(key);
    if (v == nullptr || !v->is_number_integer()) return Fail(key), T{};
    auto n = v->get<std::int64_t>();
    if (n < 0 || n > max) return Fail(key), T{};
    return static_cast<T>(n);
  }
  std::string Text(const char* key) { return TextOf(Find(key), key); }
  std::string TextOf(const Json* v, const std::string& key) {
    std::string bytes;
    if (v == nullptr || !v->is_string() || !RawFromJson(v->get_ref<const std::string&>(), bytes))
      Fail(key);
    return bytes;
  }
  const Json* Array(const char* key) {
    const Json* v = Find(key);
    if (v == nullptr || !v->is_array()) return Fail(key), nullptr;
    return v;
  }
  void Fail(const std::string& key) {
    if (error_.empty()) error_ = key.empty() ? where_ : where_ + "." + key;
  }
  void Adopt(const Fields& inner) {
    if (error_.empty() && !inner.ok()) error_ = inner.error();
  }

 private:
  const Json* Find(const char* key) {
    if (!object_.is_object()) return nullptr;
    auto it = object_.find(key);
    return it == object_.end() ? nullptr : &*it;
  }
  const Json& object_;
  std::string where_;
  std::string error_;
};

Result Invalid(const std::string& where) { return JsonRefusal(where); }

}  // namespace

void PanelToJson(const TMHWPanel& panel, Json& out) {
  out = Json::object();
  out["kind"] = "panel";
  out["init_method"] = panel.init_method;
  out["refresh_method"] = panel.refresh_method;
  out["final_method"] = panel.final_method;
  out["language_mask"] = panel.language_mask;
  out["default_language"] = panel.default_language;
  out["name"] = JsonFromRaw(panel.name);
  out["icon_collection"] = JsonFromRaw(panel.icon_collection);
  Json fonts = Json::array();
  for (const auto& f : panel.fonts) fonts.push_back(JsonFromRaw(f));
  out["fonts"] = std::move(fonts);
  Json elements = Json::array();
  for (const auto& e : panel.elements) {
    Json j;
    j["kind"] = e.kind;
    j["x1"] = e.x1;
    j["y1"] = e.y1;
    j["x2"] = e.x2;
    j["y2"] = e.y2;
    j["next_page"] = e.next_page;
    j["font_index"] = e.font_index;
    j["justification"] = e.justification;
    j["array_index"] = e.array_index;
    j["priority"] = e.priority;
    j["status"] = e.status;
    j["position"] = e.position;
    j["font_size"] = e.font_size;
    j["key"] = e.key;
    j["method"] = e.method;
    j["visibility"] = e.visibility;
    Json styles = Json::array();
    for (const auto& s : e.styles)
      styles.push_back({{"background", s.background}, {"border", s.border}, {"text", s.text},
                        {"border_kind", s.border_kind}, {"width1", s.width1}, {"width2", s.width2}});
    j["styles"] = std::move(styles);
    j["name"] = JsonFromRaw(e.name);
    j["variable"] = JsonFromRaw(e.variable);
    j["next_panel"] = JsonFromRaw(e.next_panel);
    Json texts = Json::array();
    for (const auto& t : e.texts) texts.push_back(JsonFromRaw(t));
    j["texts"] = std::move(texts);
    elements.push_back(std::move(j));
  }
  out["elements"] = std::move(elements);
}

Result PanelFromJson(const Json& in, TMHWPanel& panel) {
  if (Result r = CheckJsonKind(in, "panel"); !r) return r;
  TMHWPanel p;
  Fields f(in, "panel");
  p.init_method = f.Number<std::uint16_t>("init_method");
  p.refresh_method = f.Number<std::uint16_t>("refresh_method");
  p.final_method = f.Number<std::uint16_t>("final_method");
  p.language_mask = f.Number<std::uint8_t>("language_mask", 0x1F);
  p.default_language = f.Number<std::uint8_t>("default_language");
  p.name = f.Text("name");
  p.icon_collection = f.Text("icon_collection");
  if (const Json* fonts = f.Array("fonts"))
    for (std::size_t i = 0; i < fonts->size(); ++i)
      p.fonts.push_back(f.TextOf(&(*fonts)[i], "fonts[" + std::to_string(i) + "]"));
  if (const Json* elements = f.Array("elements")) {
    for (std::size_t i = 0; i < elements->size() && f.ok(); ++i) {
      Fields g((*elements)[i], "elements[" + std::to_string(i) + "]");
      TElementoPanel e;
      e.kind = g.Number<std::uint8_t>("kind");
      e.x1 = g.Number<int>("x1", 1023);
      e.y1 = g.Number<int>("y1", 1023);
      e.x2 = g.Number<int>("x2", 1023);
      e.y2 = g.Number<int>("y2", 1023);
      e.next_page = g.Number<std::uint8_t>("next_page");
      e.font_index = g.Number<std::uint8_t>("font_index");
      e.justification = g.Number<std::uint8_t>("justification", 3);
      e.array_index = g.Number<std::uint8_t>("array_index");
      e.priority = g.Number<std::uint8_t>("priority");
      e.status = g.Number<std::uint8_t>("status");
      e.position = g.Number<std::uint8_t>("position");
      e.font_size = g.Number<std::uint8_t>("font_size", 63);
      e.key = g.Number<std::uint16_t>("key");
      e.method = g.Number<std::uint16_t>("method");
      e.visibility = g.Number<std::uint32_t>("visibility");
      e.styles.clear();
      if (const Json* styles = g.Array("styles")) {
        for (std::size_t s = 0; s < styles->size(); ++s) {
          Fields h((*styles)[s], "styles[" + std::to_string(s) + "]");
          e.styles.push_back({h.Number<std::uint8_t>("background", 15),
                              h.Number<std::uint8_t>("border", 15),
                              h.Number<std::uint8_t>("text", 15),
                              h.Number<std::uint8_t>("border_kind", 15),
                              h.Number<std::uint8_t>("width1", 15),
                              h.Number<std::uint8_t>("width2", 15)});
          g.Adopt(h);
        }
      }
      e.name = g.Text("name");
      e.variable = g.Text("variable");
      e.next_panel = g.Text("next_panel");
      if (const Json* texts = g.Array("texts")) {
        if (texts->size() != kPanelLanguages) g.Fail("texts");
        for (std::size_t t = 0; t < texts->size() && t < kPanelLanguages; ++t)
          e.texts[t] = g.TextOf(&(*texts)[t], "texts");
      }
      f.Adopt(g);
      p.elements.push_back(std::move(e));
    }
  }
  if (!f.ok()) return Invalid(f.error());
  panel = std::move(p);
  return Result::Ok();
}

Result DumpPanel(ByteView plain, std::string_view, Json& out) {
  TMHWPanel panel;
  Result r = panel.Read(plain);
  if (!r) return r;
  PanelToJson(panel, out);
  return Result::Ok();
}

Result BuildPanel(const Json& in, std::string_view node_name, Bytes& plain) {
  TMHWPanel panel;
  if (Result r = PanelFromJson(in, panel); !r) return r;
  return panel.Write(node_name, plain);
}

}  // namespace corvane

#include "document/font_lists.h"

#include <cmath>
#include <cstdio>
#include <system_error>

#include "config/ini.h"
#include "resources/font_messages.h"

namespace corvane {

namespace fs = std::filesystem;

namespace {

constexpr char kGeneral[] = "General";

std::string Hex(int value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

std::string DirName(const TFuente& f) { return f.name + "-" + std::to_string(f.size); }

int GlyphsOf(const TFuente* f) { return f == nullptr || f->IsMain() ? 224 : 256; }

// Progress every 20 glyphs, as a rounded percentage of the whole run.
class Meter {
 public:
  Meter(const FontListProgress& progress, int status_row, int total)
      : progress_(progress), status_(Message::FromRow(status_row)), total_(total) {}
  bool Step() {
    ++done_;
    if (!progress_ || done_ % 20 != 0) return true;
    return progress_(status_, static_cast<int>(std::lround(100.0 * done_ / std::max(total_, 1))));
  }
  void Finish() {
    if (progress_) progress_(status_, 100);
  }

 private:
  const FontListProgress& progress_;
  Message status_;
  int total_;
  int done_ = 0;
};

Message PathMessage(int row, const fs::path& path, const std::string& reason = {}) {
  Message m = Message::FromRow(row).Text(" " + path.string());
  if (!reason.empty()) m.Text(": " + reason);
  return m;
}

// A path written on either platform: both separators; relative paths from the list's folder.
fs::path ListedPath(std::string value, const fs::path& folder) {
  for (char& c : value)
    if (c == '\\' || c == '/') c = static_cast<char>(fs::path::preferred_separator);
  fs::path path(value);
  return path.is_absolute() ? path : folder / path;
}

// The listed bitmap, or the same name with its hex digits in the other letter case.
std::optional<fs::path> ExistingBitmap(const fs::path& listed) {
  std::error_code ec;
  if (fs::is_regular_file(listed, ec)) return listed;
  const std::string stem = listed.stem().string();
  for (const bool upper : {true, false}) {
    std::string other = stem;
    for (char& c : other) c = static_cast<char>(upper ? std::toupper(c) : std::tolower(c));
    const fs::path candidate = listed.parent_path() / (other + listed.extension().string());
    if (fs::is_regular_file(candidate, ec)) return candidate;
  }
  return std::nullopt;
}

}  // namespace

FontListResult ExportFontList(const TMHWFont& set, const fs::path& list_file,
                              const FontListProgress& progress) {
  FontListResult result;
  const int count = std::min(set.count, kFontSlots);
  IniFile ini = IniFile::LoadOrEmpty(list_file);
  const fs::path folder = fs::absolute(list_file).parent_path();
  int total = 0;
  for (int f = 0; f < count; ++f) total += GlyphsOf(&set.fonts[static_cast<std::size_t>(f)]);
  Meter meter(progress, font_rows::kSavingFiles, total);

  ini.WriteInteger(kGeneral, "FontsNumber", count);
  for (int f = 0; f < count && result.ok(); ++f) {
    const TFuente& font = set.fonts[static_cast<std::size_t>(f)];
    const std::string dir_name = DirName(font);
    const fs::path dir = folder / dir_name;
    std::error_code ec;
    fs::create_directories(dir, ec);
    ini.WriteString(kGeneral, "Dir-" + Hex(f, 1), dir_name);
    for (int code = font.FirstStoredCode(); code < kGlyphCount; ++code) {
      const fs::path bitmap = dir / (Hex(code, 2) + ".bmp");
      ini.WriteString(dir_name, "Char-" + Hex(code, 2), bitmap.string());
      const std::string error = set.ExportaLetra(bitmap, f, code);
      if (!error.empty()) {
        result.outcome = Outcome::IoError;
        result.messages.push_back(PathMessage(font_rows::kFontListNotWritten, bitmap, error));
        break;
      }
      ++result.glyphs;
      if (!meter.Step()) {
        result.outcome = Outcome::Cancelled;
        break;
      }
    }
  }
  const std::string error = ini.Save(list_file);
  if (!error.empty()) {
    result.outcome = Outcome::IoError;
    result.messages.push_back(PathMessage(font_rows::kFontListNotWritten, list_file, error));
  }
  if (result.ok()) meter.Finish();
  return result;
}

FontListResult ImportFontList(TMHWFont& set, const fs::path& list_file,
                              const FontListProgress& progress) {
  FontListResult result;
  const std::optional<IniFile> ini = IniFile::Load(list_file);
  if (!ini) {
    result.outcome = Outcome::IoError;
    result.messages.push_back(PathMessage(font_rows::kFontListUnreadable, list_file));
    return result;
  }
  const int entries = ini->ReadInteger(kGeneral, "FontsNumber", 0);
  if (entries <= 0) return result;
  const fs::path folder = fs::absolute(list_file).parent_path();

  // Which font each entry names: the first of that name and size.
  std::vector<std::pair<std::string, int>> plan;  // directory name, font index or -1
  int total = 0;
  for (int i = 0; i < entries && i < 4096; ++i) {
    const std::string dir = ini->ReadString(kGeneral, "Dir-" + Hex(i, 1), "");
    const std::size_t dash = dir.find('-');
    int found = -1;
    if (dash != std::string::npos) {
      const std::string name = dir.substr(0, dash);
      const std::optional<std::int32_t> size = ParseIniInteger(dir.substr(dash + 1));
      for (int f = 0; f < std::min(set.count, kFontSlots) && size; ++f) {
        const TFuente& font = set.fonts[static_cast<std::size_t>(f)];
        if (font.name == name && font.size == *size) {
          found = f;
          break;
        }
      }
    }
    plan.emplace_back(dir, found);
    total += GlyphsOf(found < 0 ? nullptr : &set.fonts[static_cast<std::size_t>(found)]);
  }

  Meter meter(progress, font_rows::kInsertingFiles, total);
  for (const auto& [dir, f] : plan) {
    if (f < 0) {
      for (int k = 0; k < 224; ++k)
        if (!meter.Step()) {
          result.outcome = Outcome::Cancelled;
          return result;
        }
      continue;
    }
    for (int code = set.fonts[static_cast<std::size_t>(f)].FirstStoredCode(); code < kGlyphCount;
         ++code) {
      if (const auto value = ini->Find(dir, "Char-" + Hex(code, 2)))
        if (const auto file = ExistingBitmap(ListedPath(*value, folder)))
          if (set.ImportaLetra(*file, f, code)) ++result.glyphs;
      if (!meter.Step()) {
        result.outcome = Outcome::Cancelled;
        return result;
      }
    }
  }
  meter.Finish();
  return result;
}

}  // namespace corvane

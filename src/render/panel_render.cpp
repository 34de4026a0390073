#include "render/panel_render.h"

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

// Pixels x1..x2 of row y (clipped to the buffer) become the colour.
void Span(PixelBuffer& target, int y, int x1, int x2, Rgb c) {
  if (y < 0 || y >= target.Height()) return;
  x1 = std::max(x1, 0);
  x2 = std::min(x2, target.Width() - 1);
  if (x1 > x2) return;
  auto row = target.Row(y);
  for (int x = x1; x <= x2; ++x) {
    row[3 * x] = c.r;
    row[3 * x + 1] = c.g;
    row[3 * x + 2] = c.b;
  }
}

void Box(PixelBuffer& target, const PanelRect& r, Rgb c) {
  int y1 = std::max(r.y1, 0), y2 = std::min(r.y2, target.Height() - 1);
  for (int y = y1; y <= y2; ++y) Span(target, y, r.x1, r.x2, c);
}

PanelRect Inset(const PanelRect& r, int d) { return {r.x1 + d, r.y1 + d, r.x2 - d, r.y2 - d}; }

// A filled rectangle with 14 x 14 round corners and a one-pixel outline; right and bottom bounds
// exclusive.
void RoundBox(PixelBuffer& target, int left, int top, int right, int bottom, Rgb outline,
              Rgb fill) {
  const int w = right - left, h = bottom - top;
  if (w <= 0 || h <= 0) return;
  const double rx = std::min(7, w / 2), ry = std::min(7, h / 2);
  // Columns cut from each side of row j.
  auto inset = [&](int j) {
    if (j < 0 || j >= h || rx <= 0 || ry <= 0) return 0;
    double dy = j < ry ? ry - j - 0.5 : j >= h - ry ? j - (h - ry) + 0.5 : 0.0;
    if (dy <= 0) return 0;
    double dx = rx * std::sqrt(std::max(0.0, 1.0 - (dy / ry) * (dy / ry)));
    return static_cast<int>(std::lround(rx - dx));
  };
  for (int j = 0; j < h; ++j) {
    int y = top + j;
    int in = inset(j);
    int a = left + in, b = right - 1 - in;
    if (j == 0 || j == h - 1) {
      Span(target, y, a, b, outline);
      continue;
    }
    // The outline reaches as far as the rows above and below stick out.
    int a_out = std::max(a, left + std::max(inset(j - 1), inset(j + 1)));
    int b_out = std::min(b, right - 1 - std::max(inset(j - 1), inset(j + 1)));
    Span(target, y, a, std::max(a, a_out - 1), outline);
    Span(target, y, std::min(b, b_out + 1), b, outline);
    Span(target, y, std::max(a, a_out - 1) + 1, std::min(b, b_out + 1) - 1, fill);
  }
}

void DrawPicture(PixelBuffer& target, const PixelBuffer& picture, const PanelRect& r) {
  int columns = std::min(picture.Width(), r.x2 - r.x1 + 1);
  int rows = std::min(picture.Height(), r.y2 - r.y1 + 1);
  int c0 = std::max(0, -r.x1);
  int c1 = std::min(columns, target.Width() - r.x1);
  if (c0 >= c1) return;
  for (int row = std::max(0, -r.y1); row < rows && r.y1 + row < target.Height(); ++row) {
    auto src = picture.Row(row);
    auto dst = target.Row(r.y1 + row);
    std::copy(&src[3 * c0], &src[3 * c1 - 1] + 1, &dst[3 * (r.x1 + c0)]);
  }
}

int LineX(const PanelRect& r, int justification, int width) {
  switch (justification) {
    case 0:
      return r.x1 + 2;
    case 1:
      return r.x1 + (r.x2 - r.x1) / 2 - width / 2;
    case 2:
      return r.x2 - width - 2;
    default:
      return r.x1;
  }
}

}  // namespace

void Frame(PixelBuffer& target, const PanelRect& r, int w, Rgb colour) {
  if (r.x2 - r.x1 < 1 || r.y2 - r.y1 < 1) return;
  for (int y = r.y1; y <= r.y1 + w - 1; ++y) Span(target, y, r.x1, r.x2, colour);
  for (int y = r.y2 - w + 1; y <= r.y2; ++y) Span(target, y, r.x1, r.x2, colour);
  for (int y = std::max(r.y1 + w, 0); y <= std::min(r.y2 - w, target.Height() - 1); ++y) {
    Span(target, y, r.x1, r.x1 + w - 1, colour);
    Span(target, y, r.x2 - w + 1, r.x2, colour);
  }
}

void Bevel(PixelBuffer& target, const PanelRect& r, int w, bool raised) {
  const Rgb light = raised ? kWhite : kBlack;
  const Rgb dark = raised ? kBlack : kWhite;
  for (int y = std::max(r.y1, 0); y <= std::min(r.y2, target.Height() - 1); ++y) {
    Span(target, y, r.x1, r.x1 + w - 1, light);
    Span(target, y, r.x2 - w + 1, r.x2, dark);
  }
  for (int i = 0; i < w; ++i) Span(target, r.y1 + i, r.x1 + i, r.x2 - i, light);
  for (int i = 0; i < w; ++i)
    Span(target, r.y2 - w + 1 + i, r.x1 + (w - 1 - i), r.x2 - (w - 1 - i), dark);
}

void CornerBox(PixelBuffer& target, const PanelRect& r, int w, Rgb inner, Rgb outer) {
  if (w != 0 && !(inner == outer)) {
    RoundBox(target, r.x1, r.y1, r.x2 + 1, r.y2 + 1, outer, outer);
    RoundBox(target, r.x1 + w - 1, r.y1 + w - 1, r.x2 - w + 2, r.y2 - w + 2, outer, inner);
  } else {
    RoundBox(target, r.x1, r.y1, r.x2 + 1, r.y2 + 1, inner, inner);
  }
}

void DrawElement(PixelBuffer& target, const TMHWPanel& panel, int i, const PanelView& view,
                 const PanelPalette& palette, const PanelSources& sources) {
  if (i < 0 || i >= static_cast<int>(panel.elements.size())) return;
  const TElementoPanel& e = panel.elements[i];
  const PanelRect r = AbsoluteRect(panel, i);
  TEstiloElemento style;
  if (view.style >= 0 && static_cast<std::size_t>(view.style) < e.styles.size())
    style = e.styles[view.style];
  else if (!e.styles.empty())
    style = e.styles[0];
  const Rgb bg = palette[style.background & 15];
  const Rgb border = palette[style.border & 15];
  const Rgb text = palette[style.text & 15];
  const int w1 = style.width1, w2 = style.width2;

  if (style.border_kind != kBorderRounded) Box(target, r, bg);
  switch (style.border_kind) {
    case kBorderLine:
      if (w1 > 0) Frame(target, r, w1, border);
      break;
    case kBorderRounded:
      if (w1 >= 1)
        CornerBox(target, r, w1, bg, border);
      else
        CornerBox(target, r, 0, bg, bg);
      break;
    case kBorderRaised:
    case kBorderSunken:
      if (w1 > 0) Bevel(target, r, w1, style.border_kind == kBorderRaised);
      break;
    case kBorderCompound1:
    case kBorderCompound2:
      if (w1 >= 1 && w2 >= 1) {
        bool first_raised = style.border_kind == kBorderCompound1;
        Bevel(target, r, w1, first_raised);
        Frame(target, Inset(r, w1), w2, border);
        Bevel(target, Inset(r, w1 + w2), w1, !first_raised);
      }
      break;
    default:
      break;
  }

  const int language = std::clamp(view.language, 0, kPanelLanguages - 1);
  std::string_view source = e.variable.empty() ? std::string_view(e.texts[language]) : e.variable;
  if (source.empty()) return;
  if (e.kind == kIconBox) {
    if (view.icon_collection_present)
      if (const PixelBuffer* icon = sources.Icon(e.texts[0])) DrawPicture(target, *icon, r);
    return;
  }
  if (e.kind == kWindow) {
    if (const PixelBuffer* image = sources.Image(e.texts[0])) DrawPicture(target, *image, r);
    return;
  }
  const int font = panel.BuscaFuente(i, sources.Fonts());
  const int h = sources.FontHeight(font);
  auto draw_line = [&](std::string_view line, int y) {
    int x = LineX(r, e.justification, sources.TextWidth(line, font));
    sources.DrawText(target, line, r, font, x, y, text);
  };
  const int centred = r.y1 + (r.y2 - r.y1) / 2 - h / 2;
  if (e.kind == kInputBox || e.kind == kEnumBox) {
    draw_line(source.substr(0, source.find('\n')), centred);
    return;
  }
  const auto breaks = std::count(source.begin(), source.end() - 1, '\n');
  int y = breaks >= 1 ? r.y1 + 1 : centred;
  std::string_view rest = source;
  for (std::ptrdiff_t line = 0; line <= breaks; ++line) {
    std::size_t lf = rest.find('\n');
    draw_line(rest.substr(0, lf), y);
    rest = lf == std::string_view::npos ? std::string_view() : rest.substr(lf + 1);
    y += h;
  }
}

void Dibuja(PixelBuffer& work, const TMHWPanel& panel, const std::vector<int>& elements,
            const PanelView& view, const PanelPalette& palette, const PanelSources& sources) {
  work.Fill(kBlack);
  for (int i : elements) DrawElement(work, panel, i, view, palette, sources);
}

void DibujaRejilla(PixelBuffer& target, int g) {
  if (g <= 2) return;
  for (int y = 0; y < target.Height(); y += g) {
    auto row = target.Row(y);
    for (int x = 0; x < target.Width(); x += g) {
      row[3 * x] = 255;
      row[3 * x + 1] = 255;
      row[3 * x + 2] = 255;
    }
  }
}

TBordeAnimado::TBordeAnimado(const PanelRect& rect, int phases)
    : rect_(rect),
      perimeter_(2 * (rect.x2 - rect.x1) + 2 * (rect.y2 - rect.y1)),
      phase_(std::max(phases, 1)) {
  for (int i = 0; i < static_cast<int>(phase_.size()); ++i) phase_[i] = std::max(2 - i, 0);
}

std::vector<std::uint8_t> TBordeAnimado::Pattern() const {
  const int n = static_cast<int>(phase_.size());
  std::vector<std::uint8_t> pattern(std::max(perimeter_, 0), 0);
  for (int p = 0; p < static_cast<int>(pattern.size()); ++p) {
    int b = p / n, i = p % n;
    bool white = (phase_[i] < 3 && b % 2 == 0) || (phase_[i] >= 3 && b % 2 == 1);
    pattern[p] = white ? 255 : 0;
  }
  return pattern;
}

void TBordeAnimado::Pinta(PixelBuffer& target, bool advance) {
  const PanelRect& r = rect_;
  if (perimeter_ >= 1 && r.x2 >= r.x1) {
    const std::vector<std::uint8_t> pattern = Pattern();
    auto put = [&](int x, int y, int index) {
      if (index < 0 || index >= perimeter_) return;
      std::uint8_t v = pattern[index];
      target.Set(x, y, Rgb{v, v, v});
    };
    for (int x = r.x1; x <= r.x2; ++x) put(x, r.y1, x - r.x1);
    for (int x = r.x2; x >= r.x1; --x) put(x, r.y2, (r.x2 - r.x1) + (r.y2 - r.y1) + (r.x2 - x));
    for (int y = r.y1 + 1; y <= r.y2 - 1; ++y) {
      put(r.x1, y, perimeter_ - (y - r.y1));
      put(r.x2, y, (r.x2 - r.x1) + (y - r.y1));
    }
  }
  if (advance) {
    const int limit = 2 * static_cast<int>(phase_.size());
    for (int& phase : phase_)
      if (++phase > limit) phase = 0;
  }
}

}  // namespace corvane

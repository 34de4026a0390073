// Panel drawing: a full pass over a 60-element panel with texts, icons and an image (target under
// 5 ms), and `render` of the demo's largest panel end to end: open the image, draw, write the PNG
// (target under 50 ms).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "base/file_io.h"
#include "demo_image.h"
#include "document/document.h"
#include "render/panel_sources.h"
#include "render/png.h"
#include "resources/panel_layout.h"

namespace {

using namespace corvane;

std::filesystem::path DemoFile() {
  static const std::filesystem::path file = [] {
    auto path = std::filesystem::temp_directory_path() / "corvane_panel_bench_demo.bin";
    WriteFileAtomic(path, demo::DemoImage());
    return path;
  }();
  return file;
}

TNodo* Node(Document& doc, const char* dir, const char* name) {
  TNodo* d = BuscaNodo(doc.Root()->FirstChild(), dir, true);
  return d == nullptr ? nullptr : BuscaNodo(d->FirstChild(), name, true);
}

// 60 elements on one screen: texts of two lines in every border kind, icons and an image.
TMHWPanel SixtyElements() {
  TMHWPanel p;
  p.icon_collection = "icons";
  p.fonts = {"fudemi"};
  p.elements.push_back(TMHWPanel::NewElement(kPanbox, 0));
  p.elements[0].visibility = 0xFFFFFFFF;
  p.elements[0].x2 = 575;
  p.elements[0].y2 = 485;
  for (int i = 1; i < 60; ++i) {
    int kind = i % 10 == 0 ? kWindow : i % 5 == 0 ? kIconBox : kButton;
    TElementoPanel e = TMHWPanel::NewElement(kind, 0);
    e.x1 = (i % 6) * 95 + 2;
    e.y1 = (i / 6) * 48 + 2;
    e.x2 = e.x1 + 90;
    e.y2 = e.y1 + 44;
    e.styles = {{static_cast<std::uint8_t>(i % 16), 15, 1, static_cast<std::uint8_t>(i % 6), 2, 1}};
    e.justification = static_cast<std::uint8_t>(i % 3);
    e.texts[0] = kind == kWindow ? "panels:back.rf4" : kind == kIconBox ? "ok" : "Canal\nFavoritos";
    p.elements.push_back(e);
  }
  return p;
}

void BM_PanelDibuja60(benchmark::State& state) {
  Document doc;
  if (!doc.Open(DemoFile(), demo::kDemoModel).ok()) return state.SkipWithError("demo");
  TNodo* node = Node(doc, "panels", "menu.paz");
  std::optional<TMHWPalette> palette = PaletteFor(*doc.Tree(), *node, false);
  if (!palette) return state.SkipWithError("palette");
  TMHWPanel panel = SixtyElements();
  TreePanelSources sources(*doc.Tree(), *node, panel, *palette, doc.Fonts());
  PixelBuffer work(kCanvasWidth, kCanvasHeight);
  std::vector<int> list = ElementList(panel, "00");
  PanelView view{0, 0, true};
  for (auto _ : state) {
    Dibuja(work, panel, list, view, palette->Colours(), sources);
    benchmark::DoNotOptimize(work.Data().data());
  }
}
BENCHMARK(BM_PanelDibuja60)->Unit(benchmark::kMillisecond);

void BM_RenderDemoPanel(benchmark::State& state) {
  const auto out = std::filesystem::temp_directory_path() / "corvane_panel_bench.png";
  for (auto _ : state) {
    Document doc;
    if (!doc.Open(DemoFile(), demo::kDemoModel).ok()) return state.SkipWithError("demo");
    PixelBuffer picture;
    if (!RenderPanelNode(*doc.Tree(), *Node(doc, "panels", "menu.paz"), doc.Fonts(), {}, picture))
      return state.SkipWithError("render");
    WriteFileAtomic(out, EncodePng(picture));
  }
}
BENCHMARK(BM_RenderDemoPanel)->Unit(benchmark::kMillisecond);

}  // namespace

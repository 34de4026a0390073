// Typing at the end of a 4 MB buffer in the hex editor's grid: the undoable insertion and the
// repaint of the rows in view, offscreen. Each key must stay well under a 16 ms frame.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>

#include "hex_document.h"
#include "hex_editor_widget.h"

namespace {

void BM_HexEditorTypeAtEndOf4MB(benchmark::State& state) {
  corvane::ui::THexEditor grid;
  grid.resize(800, 600);
  grid.SetInsertMode(state.range(0) != 0);
  corvane::Bytes data(4 * 1024 * 1024);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 31);
  grid.Document().Load(std::move(data));
  grid.SetCursor(grid.Data().size());
  QImage frame(grid.viewport()->size(), QImage::Format_RGB32);
  int key = 0;
  for (auto _ : state) {
    const int digit = key++ % 16;
    const QString text = QString::number(digit, 16);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + (digit < 10 ? digit : 0), Qt::NoModifier, text);
    QApplication::sendEvent(&grid, &press);
    grid.viewport()->render(&frame);
  }
  benchmark::DoNotOptimize(frame.constBits());
  state.counters["bytes"] = static_cast<double>(grid.Data().size());
}
BENCHMARK(BM_HexEditorTypeAtEndOf4MB)->Arg(0)->Arg(1)->ArgName("insert")->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

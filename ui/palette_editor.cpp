#include "palette_editor.h"

#include <QEnterEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "graphics_rows.h"
#include "main_window.h"
#include "palette_choice.h"
#include "picture_view.h"
#include "prompts.h"
#include "snapshot_command.h"
#include "ui_text.h"

namespace corvane::ui {

namespace {

QColor ScreenColour(const PaletteEntry& e) { return QColor(e.red, e.green, e.blue); }

}  // namespace

// ---- TSwatch ----

TSwatch::TSwatch(QWidget* parent) : QWidget(parent) {
  setMinimumSize(32, 32);
  setCursor(Qt::PointingHandCursor);
}

void TSwatch::SetColour(const QColor& colour) {
  colour_ = colour;
  update();
}

void TSwatch::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), colour_);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TSwatch::mouseReleaseEvent(QMouseEvent* event) {
  if (!rect().contains(event->position().toPoint())) return;
  if (event->button() == Qt::LeftButton) emit Clicked();
  if (event->button() == Qt::RightButton) emit RightClicked(event->globalPosition().toPoint());
}

void TSwatch::enterEvent(QEnterEvent*) { emit Hovered(); }

// ---- TForm3 ----

TForm3* TForm3::Open(TMainForm& main, TNodo& node) {
  std::optional<TMHWPalette> palette = TMHWPalette::Create(&node);
  if (!palette) {
    Prompts::Error(&main, Msg(rows::kPaletteWrongSize));
    return nullptr;
  }
  return new TForm3(main, node, std::move(*palette));
}

TForm3::TForm3(TMainForm& main, TNodo& node, TMHWPalette palette)
    : ResourceEditor(main, node),
      palette_(std::move(palette)),
      menu_bar_(new QMenuBar),
      edit_menu_(nullptr),
      mode_menu_(new QMenu(this)),
      import_(new QPushButton),
      export_(new QPushButton),
      status_(new QLabel) {
  setObjectName(QStringLiteral("TForm3"));
  edit_menu_ = menu_bar_->addMenu(QString());
  AddUndoCommands(edit_menu_);

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(2);
  for (int i = 0; i < 16; ++i) {
    const auto at = static_cast<std::size_t>(i);
    const int row = (i / 8) * 3;
    const int column = i % 8;
    captions_[at] = new QLabel;
    swatches_[at] = new TSwatch;
    mode_labels_[at] = new QLabel;
    captions_[at]->setAlignment(Qt::AlignHCenter);
    mode_labels_[at]->setAlignment(Qt::AlignHCenter);
    grid->addWidget(captions_[at], row, column);
    grid->addWidget(swatches_[at], row + 1, column);
    grid->addWidget(mode_labels_[at], row + 2, column);
    connect(swatches_[at], &TSwatch::Clicked, this, [this, i] { PickColour(i); });
    connect(swatches_[at], &TSwatch::RightClicked, this,
            [this, i](QPoint global) { ShowModeMenu(i, global); });
    connect(swatches_[at], &TSwatch::Hovered, this,
            [this, i] { status_->setText(EntryText(i, palette_.entries[static_cast<std::size_t>(i)])); });
  }
  for (int k = 0; k < row::kModeItems; ++k) {
    QAction* item = mode_menu_->addAction(QString());
    connect(item, &QAction::triggered, this, [this, k] { SetMode(mode_target_, k); });
  }

  connect(import_, &QPushButton::clicked, this, &TForm3::Importar);
  connect(export_, &QPushButton::clicked, this, &TForm3::Exportar);

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menu_bar_);
  layout->addLayout(grid);
  layout->addLayout(ButtonRow(import_, export_, OkButton(), CancelButton()));
  layout->addWidget(status_);

  ColorPaneles();
  EtiqModos();
  CambiaIdioma();
}

void TForm3::CambiaIdioma() {
  ResourceEditor::CambiaIdioma();
  setWindowTitle(GraphicsCaption(row::kPaletteCaption, *Node()));
  edit_menu_->setTitle(EditMenuTitle(Main()));
  for (int i = 0; i < 16; ++i) captions_[static_cast<std::size_t>(i)]->setText(Msg(row::kColourName0 + i));
  const QList<QAction*> items = mode_menu_->actions();
  for (int k = 0; k < row::kModeItems; ++k) items[k]->setText(Msg(row::kModeItem0 + k));
  import_->setText(Msg(row::kImport));
  export_->setText(Msg(row::kExport));
  EtiqModos();
}

void TForm3::ColorPaneles() {
  for (std::size_t i = 0; i < 16; ++i) swatches_[i]->SetColour(ScreenColour(palette_.entries[i]));
}

void TForm3::EtiqModos() {
  for (std::size_t i = 0; i < 16; ++i)
    mode_labels_[i]->setText(Msg(row::kModeWord) + QLatin1Char(' ') +
                             QString::number(palette_.entries[i].mode));
}

void TForm3::Apply(const Entries& entries) {
  palette_.entries = entries;
  ColorPaneles();
  EtiqModos();
}

void TForm3::Edit(const Entries& after) {
  if (after == palette_.entries) return;
  Push(new SnapshotCommand<Entries>(palette_.entries, after,
                                    [this](const Entries& e) { Apply(e); }));
}

void TForm3::PickColour(int index) {
  if (index < 0 || index >= 16) return;
  const auto at = static_cast<std::size_t>(index);
  const std::optional<QColor> chosen =
      Prompts::ChooseColour(this, ScreenColour(palette_.entries[at]));
  if (!chosen) return;
  Entries after = palette_.entries;
  after[at].red = static_cast<std::uint8_t>(chosen->red());
  after[at].green = static_cast<std::uint8_t>(chosen->green());
  after[at].blue = static_cast<std::uint8_t>(chosen->blue());
  Edit(after);
}

void TForm3::SetMode(int index, int mode) {
  if (index < 0 || index >= 16 || mode < 0 || mode > 255) return;
  Entries after = palette_.entries;
  after[static_cast<std::size_t>(index)].mode = static_cast<std::uint8_t>(mode);
  Edit(after);
}

void TForm3::ShowModeMenu(int index, QPoint global) {
  mode_target_ = index;
  mode_menu_->popup(global);
}

void TForm3::Importar() {
  int filter = 0;
  const std::optional<QString> file = ChooseGraphicFile(
      Main(), this, false, row::kPalOpenFilter, QStringLiteral("pal"), &filter);
  if (!file) return;
  // A copy takes the import: a refused or half-read file leaves the palette as it was.
  TMHWPalette imported = palette_;
  const Result result = filter == 0 ? imported.ImportaPAL(ToPath(*file))
                                    : imported.ImportaBMP(ToPath(*file));
  if (!result) {
    Prompts::Report(this, result);
    return;
  }
  Edit(imported.entries);
}

void TForm3::Exportar() {
  const std::optional<QString> file =
      ChooseGraphicFile(Main(), this, true, row::kPalSaveFilter, QStringLiteral("pal"));
  if (!file) return;
  Prompts::Report(this, palette_.ExportaPAL(ToPath(*file)));
}

bool TForm3::GuardaDatos() {
  palette_.Guarda();
  Main().NodeWritten(Node());
  Main().CambioColorPaleta(NodeName(PaletteChangeKey(*Node())));
  return true;
}

QString TForm3::StatusText() const { return status_->text(); }

void RegisterPaletteEditor() {
  EditorRegistry::Register(FileKind::Palette, [](TMainForm& main, TNodo& node) -> EditorChild* {
    return TForm3::Open(main, node);
  });
}

}  // namespace corvane::ui

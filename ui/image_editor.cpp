#include "image_editor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "graphics_rows.h"
#include "main_window.h"
#include "palette_choice.h"
#include "picture_view.h"
#include "prompts.h"
#include "render/indexed_draw.h"
#include "snapshot_command.h"
#include "ui_text.h"

namespace corvane::ui {

// ---- TForm4 ----

TForm4::TForm4(TMainForm& main, TNodo& node)
    : ResourceEditor(main, node),
      image_(TMHWImage::Create(&node)),
      panel_(this),
      menu_bar_(new QMenuBar),
      edit_menu_(nullptr),
      import_(new QPushButton),
      export_(new QPushButton) {
  setObjectName(QStringLiteral("TForm4"));
  edit_menu_ = menu_bar_->addMenu(QString());
  AddUndoCommands(edit_menu_);

  QHBoxLayout* top = panel_.PaletteRow();
  top->insertSpacing(top->count() - 1, 12);
  top->insertWidget(top->count() - 1, panel_.width_label);
  top->insertWidget(top->count() - 1, panel_.height_label);

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menu_bar_);
  layout->addLayout(top);
  layout->addWidget(panel_.scroll, 1);
  layout->addLayout(ButtonRow(import_, export_, OkButton(), CancelButton()));
  layout->addWidget(panel_.status);

  if (const TArbol* tree = main.Doc().Tree())
    panel_.palettes->Setup(*tree, node, NestedPaletteContext(main.Doc().Model()));
  connect(panel_.palettes, &TPaletteList::PaletteLoaded, this, &TForm4::Dibuja);
  connect(import_, &QPushButton::clicked, this, &TForm4::Importar);
  connect(export_, &QPushButton::clicked, this, &TForm4::Exportar);
  connect(panel_.view, &TPictureView::Hovered, this, &TForm4::ShowPixel);

  Dibuja();
  CambiaIdioma();
}

void TForm4::CambiaIdioma() {
  ResourceEditor::CambiaIdioma();
  edit_menu_->setTitle(EditMenuTitle(Main()));
  import_->setText(Msg(row::kImport));
  export_->setText(Msg(row::kExport));
  ActualizaTamanos();
}

void TForm4::Dibuja() {
  panel_.Show(corvane::Dibuja(image_, panel_.palettes->Palette()));
}

void TForm4::ActualizaTamanos() {
  setWindowTitle(GraphicsCaption(row::kImageCaption, *Node()));
  panel_.CambiaIdioma(image_.Width(), image_.Height());
  panel_.Refit(this);
}

void TForm4::showEvent(QShowEvent* event) {
  ResourceEditor::showEvent(event);
  panel_.FirstShow(this);
}

void TForm4::ShowPixel(int x, int y) {
  const int index = image_.Pixel(x, y);
  panel_.status->setText(
      PixelText(x, y, index, panel_.palettes->Palette().entries[static_cast<std::size_t>(index)]));
}

void TForm4::Apply(const TMHWImage& image) {
  image_ = image;
  Dibuja();
  ActualizaTamanos();
}

void TForm4::Importar() {
  const std::optional<QString> file =
      ChooseGraphicFile(Main(), this, false, row::kBitmapFilter, QStringLiteral("bmp"));
  if (!file) return;
  TMHWImage imported = image_;
  if (const Result result = imported.ImportaBMP(ToPath(*file)); !result) {
    Prompts::Report(this, result);
    return;
  }
  Push(new SnapshotCommand<TMHWImage>(image_, std::move(imported),
                                      [this](const TMHWImage& image) { Apply(image); }));
}

void TForm4::Exportar() {
  const std::optional<QString> file =
      ChooseGraphicFile(Main(), this, true, row::kBitmapFilter, QStringLiteral("bmp"));
  if (!file) return;
  Prompts::Report(this, image_.ExportaBMP(ToPath(*file), panel_.palettes->Palette()));
}

bool TForm4::GuardaDatos() {
  image_.Guarda();
  Main().NodeWritten(Node());
  const TNodo* parent = Node()->Parent();
  Main().CambioImagen(NodeName((parent ? parent->Text : std::string()) + ":" + Node()->Text));
  return true;
}

void TForm4::Redibuja(const QString& palette) {
  if (panel_.palettes->Recarga(palette)) Dibuja();
}

void TForm4::NodeWrittenElsewhere(const TNodo& node) {
  if (panel_.palettes->RecargaNodo(node)) Dibuja();
}

QString TForm4::StatusText() const { return panel_.status->text(); }

void RegisterImageEditor() {
  EditorRegistry::Register(FileKind::Image, [](TMainForm& main, TNodo& node) -> EditorChild* {
    return new TForm4(main, node);
  });
}

}  // namespace corvane::ui

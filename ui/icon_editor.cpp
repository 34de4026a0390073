#include "icon_editor.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "graphics_rows.h"
#include "main_window.h"
#include "palette_choice.h"
#include "prompts.h"
#include "render/indexed_draw.h"
#include "resources/stored.h"
#include "snapshot_command.h"
#include "ui_text.h"

namespace corvane::ui {

namespace {

int Count(const TMHWIconLib& icons) { return static_cast<int>(icons.icons.size()); }

// Icon names are 8-bit text, shown as every name of the tree is.
QString IconName(const Icon& icon) { return NodeName(icon.name); }

}  // namespace

TForm5* TForm5::Open(TMainForm& main, TNodo& node) {
  TMHWIconLib icons;
  if (const Result result = TMHWIconLib::Create(&node, icons); !result) {
    Prompts::Report(&main, result);
    return nullptr;
  }
  return new TForm5(main, node, std::move(icons));
}

TForm5::TForm5(TMainForm& main, TNodo& node, TMHWIconLib icons)
    : ResourceEditor(main, node),
      state_{std::move(icons), 0},
      panel_(this),
      menu_bar_(new QMenuBar),
      edit_menu_(nullptr),
      icon_label_(new QLabel),
      icon_list_(new QComboBox),
      new_(new QToolButton),
      delete_(new QToolButton),
      import_(new QPushButton),
      export_(new QPushButton) {
  setObjectName(QStringLiteral("TForm5"));
  edit_menu_ = menu_bar_->addMenu(QString());
  AddUndoCommands(edit_menu_);
  new_->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
  delete_->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
  icon_list_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  icon_label_->setBuddy(icon_list_);

  auto* icons_row = new QHBoxLayout;
  icons_row->addWidget(icon_label_);
  icons_row->addWidget(icon_list_);
  icons_row->addWidget(new_);
  icons_row->addWidget(delete_);
  icons_row->addSpacing(12);
  icons_row->addWidget(panel_.width_label);
  icons_row->addWidget(panel_.height_label);
  icons_row->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menu_bar_);
  layout->addLayout(panel_.PaletteRow());
  layout->addLayout(icons_row);
  layout->addWidget(panel_.scroll, 1);
  layout->addLayout(ButtonRow(import_, export_, OkButton(), CancelButton()));
  layout->addWidget(panel_.status);

  // Receiver icons are tiny: they open enlarged.
  panel_.zoom->setCurrentIndex(3);
  if (const TArbol* tree = main.Doc().Tree())
    panel_.palettes->Setup(*tree, node, NestedPaletteContext(main.Doc().Model()));
  connect(panel_.palettes, &TPaletteList::PaletteLoaded, this, &TForm5::Dibuja);
  connect(icon_list_, &QComboBox::activated, this, &TForm5::ShowIcon);
  connect(new_, &QToolButton::clicked, this, &TForm5::NuevoIcono);
  connect(delete_, &QToolButton::clicked, this, &TForm5::BorrarIcono);
  connect(import_, &QPushButton::clicked, this, &TForm5::Importar);
  connect(export_, &QPushButton::clicked, this, &TForm5::Exportar);
  connect(panel_.view, &TPictureView::Hovered, this, &TForm5::ShowPixel);

  FillIconList();
  Dibuja();
  CambiaIdioma();
}

void TForm5::CambiaIdioma() {
  ResourceEditor::CambiaIdioma();
  edit_menu_->setTitle(EditMenuTitle(Main()));
  icon_label_->setText(Msg(row::kIconLabel));
  new_->setToolTip(Msg(row::kNewIcon));
  delete_->setToolTip(Msg(row::kDeleteIcon));
  import_->setText(Msg(row::kImport));
  export_->setText(Msg(row::kExport));
  ActualizaTamanos();
}

void TForm5::FillIconList() {
  const QSignalBlocker block(icon_list_);
  icon_list_->clear();
  for (const Icon& icon : state_.icons.icons) icon_list_->addItem(IconName(icon));
  icon_list_->setCurrentIndex(state_.shown);
}

void TForm5::Dibuja() {
  panel_.Show(corvane::Dibuja(state_.icons, static_cast<std::size_t>(state_.shown),
                              panel_.palettes->Palette()));
}

void TForm5::ActualizaTamanos() {
  setWindowTitle(GraphicsCaption(row::kIconsCaption, *Node()));
  const bool any = state_.shown < Count(state_.icons);
  const Icon* icon = any ? &state_.icons.icons[static_cast<std::size_t>(state_.shown)] : nullptr;
  panel_.CambiaIdioma(icon ? icon->width : 0, icon ? icon->height : 0);
  panel_.Refit(this);
}

void TForm5::showEvent(QShowEvent* event) {
  ResourceEditor::showEvent(event);
  panel_.FirstShow(this);
}

void TForm5::ShowPixel(int x, int y) {
  const Icon& icon = state_.icons.icons[static_cast<std::size_t>(state_.shown)];
  const std::size_t at = static_cast<std::size_t>(y) * icon.RowBytes() + static_cast<std::size_t>(x / 2);
  const int byte = at < icon.pixels.size() ? icon.pixels[at] : 0;
  const int index = x % 2 == 0 ? byte >> 4 : byte & 0x0F;
  panel_.status->setText(
      PixelText(x, y, index, panel_.palettes->Palette().entries[static_cast<std::size_t>(index)]));
}

void TForm5::ShowIcon(int index) {
  if (index < 0 || index >= Count(state_.icons)) return;
  state_.shown = index;
  icon_list_->setCurrentIndex(index);
  Dibuja();
  ActualizaTamanos();
}

void TForm5::Apply(const State& state) {
  state_ = state;
  FillIconList();
  Dibuja();
  ActualizaTamanos();
}

void TForm5::Edit(State after) {
  Push(new SnapshotCommand<State>(state_, std::move(after),
                                  [this](const State& s) { Apply(s); }));
}

void TForm5::NuevoIcono() {
  const std::optional<QString> file =
      ChooseGraphicFile(Main(), this, false, row::kBitmapFilter, QStringLiteral("bmp"));
  if (!file) return;
  const auto path = ToPath(*file);
  State after = state_;
  Result result = after.icons.Find(NameBeforeFirstDot(path)) >= 0
                      ? Result::Rejected({})
                      : after.icons.InsertaBMP(path, static_cast<std::size_t>(state_.shown));
  if (!result) {
    // A file that cannot be read says so; any other refusal is the rule of new icons.
    if (result.outcome != Outcome::IoError)
      result.message = Message::FromRow(rows::kIconBitmapRuleFirst).Break().Row(
          rows::kIconBitmapRuleSecond);
    Prompts::Report(this, result);
    return;
  }
  after.shown = std::min(state_.shown + 1, Count(after.icons) - 1);
  Edit(std::move(after));
}

void TForm5::BorrarIcono() {
  if (Count(state_.icons) < 2) return;
  State after = state_;
  after.icons.BorraIcono(static_cast<std::size_t>(state_.shown));
  after.shown = std::min(state_.shown, Count(after.icons) - 1);
  Edit(std::move(after));
}

void TForm5::Importar() {
  const std::optional<QString> file =
      ChooseGraphicFile(Main(), this, false, row::kBitmapFilter, QStringLiteral("bmp"));
  if (!file) return;
  State after = state_;
  if (const Result result =
          after.icons.ReemplazaBMP(ToPath(*file), static_cast<std::size_t>(state_.shown));
      !result) {
    Prompts::Report(this, result);
    return;
  }
  after.shown = std::min(state_.shown, Count(after.icons) - 1);
  Edit(std::move(after));
}

void TForm5::Exportar() {
  if (state_.shown >= Count(state_.icons)) return;
  const std::optional<QString> file =
      ChooseGraphicFile(Main(), this, true, row::kBitmapFilter, QStringLiteral("bmp"));
  if (!file) return;
  Prompts::Report(this, state_.icons.ExportaBMP(ToPath(*file),
                                                static_cast<std::size_t>(state_.shown),
                                                panel_.palettes->Palette()));
}

bool TForm5::GuardaDatos() {
  // A collection that no longer fits its format is refused; the window stays open.
  if (const Result result = state_.icons.Guarda(); !result) {
    Prompts::Report(this, result);
    return false;
  }
  Main().NodeWritten(Node());
  Main().CambioIcono(NodeName(Node()->Text));
  return true;
}

void TForm5::Redibuja(const QString& palette) {
  if (panel_.palettes->Recarga(palette)) Dibuja();
}

void TForm5::NodeWrittenElsewhere(const TNodo& node) {
  if (panel_.palettes->RecargaNodo(node)) Dibuja();
}

QString TForm5::StatusText() const { return panel_.status->text(); }

void RegisterIconEditor() {
  EditorRegistry::Register(FileKind::Icons, [](TMainForm& main, TNodo& node) -> EditorChild* {
    return TForm5::Open(main, node);
  });
}

}  // namespace corvane::ui

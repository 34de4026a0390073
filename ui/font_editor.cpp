#include "font_editor.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVBoxLayout>

#include "base/message_rows.h"
#include "character_map.h"
#include "file_dialogs.h"
#include "main_window.h"
#include "prompts.h"
#include "render/font_render.h"
#include "resources/font_messages.h"
#include "ui_text.h"
#include "virtual_keyboard.h"

namespace corvane::ui {

namespace {

constexpr int kFrameMargin = 4;  // the frame is 8 pixels larger than the widest glyph's picture
constexpr Rgb kGridColour{255, 0, 0};

QString Utf8(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

// One glyph before and after an edit (pixels, width or an imported bitmap).
class GlyphCommand : public QUndoCommand {
 public:
  GlyphCommand(TForm14& editor, TLetra before, TLetra after)
      : editor_(editor),
        font_(editor.font_),
        code_(editor.code_),
        before_(std::move(before)),
        after_(std::move(after)) {}
  void redo() override { Put(after_); }
  void undo() override { Put(before_); }

 private:
  void Put(const TLetra& glyph) {
    editor_.fonts_.fonts[static_cast<std::size_t>(font_)].glyphs[static_cast<std::size_t>(code_)] =
        glyph;
    editor_.ShowGlyph(font_, code_);
  }

  TForm14& editor_;
  int font_;
  int code_;
  TLetra before_;
  TLetra after_;
};

GlyphView::GlyphView(TForm14& editor) : QWidget(&editor), editor_(editor) {}

void GlyphView::SetPicture(const QImage& picture) {
  picture_ = picture;
  setFixedSize(picture_.size());
  update();
}

QPoint GlyphView::PixelAt(QPoint point) const {
  const int zoom = editor_.Zoom();
  return {point.x() / zoom, point.y() / zoom};
}

void GlyphView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
}

void GlyphView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = PixelAt(event->position().toPoint());
  editor_.BeginStroke(p.x(), p.y());
}

void GlyphView::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  const QPoint p = PixelAt(event->position().toPoint());
  editor_.ContinueStroke(p.x(), p.y());
}

void GlyphView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) editor_.EndStroke();
}

TForm14::TForm14(TMainForm& main)
    : QDialog(&main),
      main_(main),
      fonts_(main.Doc().Fonts()),
      undo_stack_(new QUndoStack(this)),
      font_label_(new QLabel(this)),
      font_list_(new QComboBox(this)),
      char_label_(new QLabel(this)),
      char_list_(new QComboBox(this)),
      map_button_(new QToolButton(this)),
      zoom_label_(new QLabel(this)),
      zoom_list_(new QComboBox(this)),
      width_label_(new QLabel(this)),
      width_list_(new QComboBox(this)),
      height_(new QLabel(this)),
      frame_(new QFrame(this)),
      glyph_(new GlyphView(*this)),
      import_(new QPushButton(this)),
      export_(new QPushButton(this)),
      undo_button_(new QToolButton(this)),
      redo_button_(new QToolButton(this)),
      sample_label_(new QLabel(this)),
      sample_(new QLineEdit(this)),
      preview_(new QLabel(this)),
      ok_(new QPushButton(this)),
      cancel_(new QPushButton(this)),
      map_(new TForm22(this)) {
  for (int f = 0; f < fonts_.count && f < kFontSlots; ++f) {
    const TFuente& font = fonts_.fonts[static_cast<std::size_t>(f)];
    font_list_->addItem(Utf8(font.name) + QStringLiteral(" - ") + QString::number(font.size));
  }
  for (int c = 0; c < kGlyphCount; ++c)
    char_list_->addItem(QString::number(c, 16).rightJustified(2, QLatin1Char('0')).toUpper());
  for (const int zoom : kZooms) zoom_list_->addItem(QStringLiteral("x%1").arg(zoom));
  for (int w = 0; w <= kMaxWidth; ++w) width_list_->addItem(QString::number(w));
  map_button_->setText(QStringLiteral("..."));
  frame_->setFrameShape(QFrame::StyledPanel);
  glyph_->setParent(frame_);
  glyph_->move(kFrameMargin, kFrameMargin);
  preview_->setMinimumHeight(24);

  auto* undo = new QAction(this);
  auto* redo = new QAction(this);
  undo->setShortcut(QKeySequence::Undo);
  redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
  undo->setEnabled(false);
  redo->setEnabled(false);
  connect(undo, &QAction::triggered, undo_stack_, &QUndoStack::undo);
  connect(redo, &QAction::triggered, undo_stack_, &QUndoStack::redo);
  connect(undo_stack_, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
  connect(undo_stack_, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
  undo_button_->setDefaultAction(undo);
  redo_button_->setDefaultAction(redo);

  auto* lists = new QGridLayout;
  lists->addWidget(font_label_, 0, 0);
  lists->addWidget(font_list_, 0, 1, 1, 3);
  lists->addWidget(char_label_, 1, 0);
  lists->addWidget(char_list_, 1, 1);
  lists->addWidget(map_button_, 1, 2);
  lists->addWidget(zoom_label_, 2, 0);
  lists->addWidget(zoom_list_, 2, 1);
  lists->addWidget(width_label_, 3, 0);
  lists->addWidget(width_list_, 3, 1);
  lists->addWidget(height_, 4, 0, 1, 2);
  auto* side = new QVBoxLayout;
  side->addLayout(lists);
  side->addWidget(import_);
  side->addWidget(export_);
  auto* undo_row = new QHBoxLayout;
  undo_row->addWidget(undo_button_);
  undo_row->addWidget(redo_button_);
  undo_row->addStretch(1);
  side->addLayout(undo_row);
  side->addStretch(1);
  auto* top = new QHBoxLayout;
  top->addWidget(frame_, 0, Qt::AlignTop);
  top->addLayout(side);
  auto* sample_row = new QHBoxLayout;
  sample_row->addWidget(sample_label_);
  sample_row->addWidget(sample_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(sample_row);
  layout->addWidget(preview_);
  layout->addLayout(buttons);

  connect(font_list_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (!updating_) SelectFont(i);
  });
  connect(char_list_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (!updating_) SelectCharacter(i);
  });
  connect(zoom_list_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (!updating_ && i >= 0) SetZoom(kZooms[static_cast<std::size_t>(i)]);
  });
  connect(width_list_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (!updating_ && i >= 0) SetWidth(i);
  });
  connect(map_button_, &QToolButton::clicked, this, &TForm14::ShowCharacterMap);
  connect(import_, &QPushButton::clicked, this, &TForm14::Import);
  connect(export_, &QPushButton::clicked, this, &TForm14::Export);
  connect(ok_, &QPushButton::clicked, this, &TForm14::Accept);
  connect(cancel_, &QPushButton::clicked, this, &TForm14::reject);
  connect(sample_, &QLineEdit::textChanged, this, &TForm14::UpdatePreview);

  CambiaIdioma();
  sample_->setText(Msg(font_editor_row::kSampleText));
  ShowGlyph(0, 33);
}

TForm14::~TForm14() = default;

void TForm14::CambiaIdioma() {
  setWindowTitle(Msg(font_editor_row::kTitle));
  font_label_->setText(Msg(font_editor_row::kFont));
  char_label_->setText(Msg(font_editor_row::kCharacter));
  zoom_label_->setText(Msg(font_editor_row::kZoom));
  width_label_->setText(Msg(font_editor_row::kWidth));
  import_->setText(Msg(font_editor_row::kImport));
  export_->setText(Msg(font_editor_row::kExport));
  map_button_->setToolTip(Msg(font_editor_row::kCharacterMap));
  undo_button_->defaultAction()->setText(Msg(font_editor_row::kUndo));
  redo_button_->defaultAction()->setText(Msg(font_editor_row::kRedo));
  sample_label_->setText(Msg(font_editor_row::kSample));
  ok_->setText(Msg(rows::kOk));
  cancel_->setText(Msg(rows::kCancel));
  Redraw();
}

bool TForm14::Changed() const { return !undo_stack_->isClean(); }

TLetra& TForm14::Current() {
  return fonts_.fonts[static_cast<std::size_t>(font_)].glyphs[static_cast<std::size_t>(code_)];
}

void TForm14::SelectFont(int font) { ShowGlyph(font, code_); }
void TForm14::SelectCharacter(int code) { ShowGlyph(font_, code); }

void TForm14::SetZoom(int zoom) {
  if (std::find(kZooms.begin(), kZooms.end(), zoom) == kZooms.end()) return;
  zoom_ = zoom;
  Redraw();
}

void TForm14::ShowGlyph(int font, int code) {
  if (stroke_) EndStroke();
  font_ = std::clamp(font, 0, kFontSlots - 1);
  code_ = std::clamp(code, 0, kGlyphCount - 1);
  Redraw();
}

void TForm14::Redraw() {
  const bool valid = fonts_.Valid(font_);
  const TFuente& font = fonts_.fonts[static_cast<std::size_t>(font_)];
  // Codes 0-31 of the main fonts share code 32's bytes; the fixed-width font keeps its width.
  const bool shared = font.IsMain() && code_ < 32;
  updating_ = true;
  font_list_->setCurrentIndex(valid ? font_ : -1);
  char_list_->setCurrentIndex(code_);
  zoom_list_->setCurrentIndex(
      static_cast<int>(std::find(kZooms.begin(), kZooms.end(), zoom_) - kZooms.begin()));
  width_list_->setCurrentIndex(valid ? std::min<int>(Current().width, kMaxWidth) : -1);
  updating_ = false;
  import_->setEnabled(valid && !shared);
  export_->setEnabled(valid && !shared);
  width_list_->setEnabled(valid && !shared && font.name != kFontVideotex);
  height_->setText(Msg(font_editor_row::kHeight) + QLatin1Char(' ') +
                   (valid ? QString::number(font.height) : QString()));

  PixelBuffer picture;
  if (valid) {
    const int w = Current().width;
    const int h = font.height;
    picture = PixelBuffer(w * zoom_ + 1, h * zoom_ + 1, Rgb{255, 255, 255});
    DibujaLetraAmpliada(picture, fonts_, font_, code_, zoom_);
    for (int c = 0; c <= w; ++c) picture.FillRect(c * zoom_, 0, c * zoom_, h * zoom_, kGridColour);
    for (int r = 0; r <= h; ++r) picture.FillRect(0, r * zoom_, w * zoom_, r * zoom_, kGridColour);
  }
  glyph_->SetPicture(ToImage(picture));
  // The frame fits the font's widest glyph, so stepping through the characters keeps the layout.
  const int widest = valid ? fonts_.MaxWidth(font_) : 0;
  frame_->setFixedSize(widest * zoom_ + 1 + 2 * kFrameMargin,
                       (valid ? font.height : 0) * zoom_ + 1 + 2 * kFrameMargin);
  UpdatePreview();
}

void TForm14::UpdatePreview() {
  if (!fonts_.Valid(font_)) {
    preview_->clear();
    return;
  }
  const std::string text = TextToBytes(sample_->text());
  const int w = std::clamp(fonts_.AnchoTexto(text, font_), 1, 4096);
  const int h = std::max(1, static_cast<int>(fonts_.fonts[static_cast<std::size_t>(font_)].height));
  PixelBuffer picture(w, h, Rgb{255, 255, 255});
  DibujaTexto(picture, fonts_, text, ClipRect{0, 0, w, h}, font_, 0, 0, Rgb{});
  preview_->setPixmap(QPixmap::fromImage(ToImage(picture)));
}

bool TForm14::SetWidth(int width) {
  if (!fonts_.Valid(font_) || !width_list_->isEnabled()) return false;
  const TLetra before = Current();
  if (width < 0 || width > kMaxWidth || width == before.width ||
      !main_.Doc().ChangeGlyphWidth(fonts_, font_, code_, width)) {
    // Refused without a message: the list shows the width the glyph has.
    Redraw();
    return false;
  }
  TLetra after = Current();
  Current() = before;
  undo_stack_->push(new GlyphCommand(*this, before, std::move(after)));
  return true;
}

void TForm14::PaintPixel(int column, int row) {
  TLetra& g = Current();
  const int height = fonts_.fonts[static_cast<std::size_t>(font_)].height;
  if (column < 0 || row < 0 || column >= g.width || row >= height) return;
  const std::size_t at = static_cast<std::size_t>(row) * g.width + static_cast<std::size_t>(column);
  if (at >= g.picture.size()) return;
  g.picture[at] = stroke_ink_ ? kInk : kBackground;
}

void TForm14::BeginStroke(int column, int row) {
  if (!fonts_.Valid(font_) || stroke_) return;
  const TLetra& g = Current();
  if (column < 0 || row < 0 || column >= g.width ||
      row >= fonts_.fonts[static_cast<std::size_t>(font_)].height)
    return;
  stroke_ = true;
  stroke_before_ = g;
  stroke_ink_ = !g.Ink(column, row);
  PaintPixel(column, row);
  Redraw();
}

void TForm14::ContinueStroke(int column, int row) {
  if (!stroke_) return;
  PaintPixel(column, row);
  Redraw();
}

void TForm14::EndStroke() {
  if (!stroke_) return;
  stroke_ = false;
  TLetra after = Current();
  if (after.picture == stroke_before_.picture) return;
  Current() = stroke_before_;
  undo_stack_->push(new GlyphCommand(*this, stroke_before_, std::move(after)));
}

void TForm14::Import() {
  if (!import_->isEnabled()) return;
  Settings& settings = main_.Config().settings;
  const std::optional<QString> file = ChooseOpenFile(this, QString(), font_editor_row::kBitmapFilter,
                                                     Utf8(settings.last_opened_directory));
  if (!file) return;
  settings.last_opened_directory = QFileInfo(*file).absolutePath().toStdString();
  const TLetra before = Current();
  if (!fonts_.ImportaLetra(ToPath(*file), font_, code_)) {
    Prompts::Error(this, Msg(font_rows::kBitmapNotTwoColours));
    return;
  }
  TLetra after = Current();
  Current() = before;
  // A wider glyph must still fit the room the image has for the fonts.
  if (after.width != before.width) {
    TMHWFont trial = fonts_;
    if (!main_.Doc().ChangeGlyphWidth(trial, font_, code_, after.width)) {
      Prompts::Error(this, Msg(font_editor_row::kImportTooWide));
      return;
    }
  }
  undo_stack_->push(new GlyphCommand(*this, before, std::move(after)));
}

void TForm14::Export() {
  if (!export_->isEnabled()) return;
  Settings& settings = main_.Config().settings;
  const std::optional<QString> file =
      ChooseSaveFile(this, QString(), font_editor_row::kBitmapFilter, QStringLiteral("bmp"),
                     Utf8(settings.last_saved_directory));
  if (!file) return;
  settings.last_saved_directory = QFileInfo(*file).absolutePath().toStdString();
  const std::string error = fonts_.ExportaLetra(ToPath(*file), font_, code_);
  if (!error.empty()) Prompts::Error(this, Utf8(error));
}

void TForm14::ShowCharacterMap() {
  const int code = map_->Mostrar(fonts_, font_);
  if (code >= 0) ShowGlyph(font_, code);
}

void TForm14::Accept() {
  if (stroke_) EndStroke();
  main_.Doc().ReplaceFonts(fonts_);
  // Refreshes the title's changed mark; open texts and panels draw with the new glyphs.
  main_.NodeWritten(nullptr);
  main_.CambioFuentes();
  undo_stack_->setClean();
  accept();
}

void TForm14::reject() {
  if (stroke_) EndStroke();
  if (Changed()) {
    switch (Prompts::YesNoCancel(this, Msg(rows::kSaveChanges))) {
      case Answer::Yes:
        Accept();
        return;
      case Answer::No:
        break;
      default:
        return;
    }
  }
  QDialog::reject();
}

void OpenFontEditor(TMainForm& main) {
  if (!main.Doc().IsOpen()) return;
  TForm14 editor(main);
  editor.exec();
}

}  // namespace corvane::ui

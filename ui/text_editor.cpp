#include "text_editor.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QUndoCommand>
#include <QVBoxLayout>
#include <algorithm>

#include "base/latin1.h"
#include "base/message_rows.h"
#include "main_window.h"
#include "prompts.h"
#include "render/font_render.h"
#include "ui_text.h"
#include "virtual_keyboard.h"

namespace corvane::ui {

namespace {

constexpr QChar kCarriageReturnSign(0x240D);
constexpr int kPreviewMaxWidth = 2048;
constexpr int kPreviewMaxLines = 64;

// Where text box edits of one string merge into one undo step.
constexpr int kTypingId = 1;

}  // namespace

QString StringToText(const std::string& bytes) {
  QString text = BytesToText(bytes);
  text.replace(QChar(u'\r'), kCarriageReturnSign);
  return text;
}

std::string TextToString(const QString& text) {
  QString plain = text;
  plain.replace(kCarriageReturnSign, QChar(u'\r'));
  plain.replace(QChar::ParagraphSeparator, QChar(u'\n'));
  plain.replace(QChar::LineSeparator, QChar(u'\n'));
  return TextToBytes(plain);
}

// Every edit of the list, undone by putting back the strings and the selection it found.
class StringsCommand : public QUndoCommand {
 public:
  StringsCommand(TForm6& editor, std::vector<std::string> after, int select_after, int id,
                 bool shown)
      : editor_(editor),
        before_(editor.list_.strings),
        after_(std::move(after)),
        select_before_(editor.selected_),
        select_after_(select_after),
        id_(id),
        shown_(shown) {}

  void redo() override {
    editor_.list_.strings = after_;
    // A typed edit is already in the box: only the preview follows.
    if (shown_) {
      shown_ = false;
      editor_.UpdatePreview();
      return;
    }
    editor_.Refresh(select_after_);
  }
  void undo() override {
    editor_.list_.strings = before_;
    editor_.Refresh(select_before_);
  }
  int id() const override { return id_; }
  bool mergeWith(const QUndoCommand* other) override {
    const auto* next = static_cast<const StringsCommand*>(other);
    if (next->select_after_ != select_after_ || !editor_.merge_next_) return false;
    after_ = next->after_;
    return true;
  }

 private:
  TForm6& editor_;
  std::vector<std::string> before_;
  std::vector<std::string> after_;
  int select_before_;
  int select_after_;
  int id_;
  bool shown_;
};

TForm6::TForm6(TMainForm& main, TNodo& node)
    : ResourceEditor(main, node),
      label_(new QLabel(this)),
      selector_(new QComboBox(this)),
      new_(new QPushButton(this)),
      delete_(new QPushButton(this)),
      keyboard_(new QPushButton(this)),
      text_(new QPlainTextEdit(this)),
      preview_(new QLabel(this)),
      find_label_(new QLabel(this)),
      find_text_(new QLineEdit(this)),
      find_(new QPushButton(this)) {
  // The window's undo stack holds the edits; the box's own would undo behind its back.
  text_->setUndoRedoEnabled(false);
  text_->installEventFilter(this);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  preview_->setMinimumHeight(24);
  preview_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  auto* top = new QHBoxLayout;
  top->addWidget(label_);
  top->addWidget(selector_, 1);
  top->addWidget(new_);
  top->addWidget(delete_);
  top->addWidget(keyboard_);
  auto* find_row = new QHBoxLayout;
  find_row->addWidget(find_label_);
  find_row->addWidget(find_text_, 1);
  find_row->addWidget(find_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OkButton());
  buttons->addWidget(CancelButton());
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(text_, 1);
  layout->addWidget(preview_);
  layout->addLayout(find_row);
  layout->addLayout(buttons);

  connect(selector_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (!updating_) Refresh(i);
  });
  connect(text_, &QPlainTextEdit::textChanged, this, &TForm6::TextEdited);
  connect(new_, &QPushButton::clicked, this, &TForm6::NuevaCadena);
  connect(delete_, &QPushButton::clicked, this, &TForm6::BorraCadena);
  connect(keyboard_, &QPushButton::clicked, this, &TForm6::Keyboard);
  connect(find_, &QPushButton::clicked, this, &TForm6::FindNext);
  connect(find_text_, &QLineEdit::returnPressed, this, &TForm6::FindNext);

  // A damaged file is shown as far as it could be read, after saying so.
  if (Result r = list_.Create(node); !r) Prompts::Report(this, r);
  Refresh(list_.strings.empty() ? -1 : 0);
  CambiaIdioma();
  SetChanged(false);
  resize(520, 360);
}

TForm6::~TForm6() = default;

bool TForm6::eventFilter(QObject* watched, QEvent* event) {
  // Undo and redo typed in the box go to the window's stack, not to the box.
  if (watched == text_ &&
      (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool undo = key->matches(QKeySequence::Undo);
    const bool redo = key->matches(QKeySequence::Redo) ||
                      key->keyCombination() == QKeyCombination(Qt::CTRL | Qt::Key_Y);
    if (undo || redo) {
      if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
      } else {
        (undo ? UndoAction() : RedoAction())->trigger();
      }
      return true;
    }
  }
  return ResourceEditor::eventFilter(watched, event);
}

void TForm6::CambiaIdioma() {
  ResourceEditor::CambiaIdioma();
  const TNodo* node = Node();
  const TNodo* parent = node->Parent();
  const QString parent_name =
      parent ? NodeName(parent->Text, parent->Parent() == nullptr) : QString();
  setWindowTitle(Msg(text_row::kTextEditorTitle) + QLatin1Char(' ') + parent_name +
                 QLatin1Char(':') + NodeName(node->Text));
  label_->setText(Msg(text_row::kStringLabel));
  new_->setText(Msg(text_row::kNewString));
  new_->setToolTip(Msg(text_row::kNewString));
  delete_->setText(Msg(text_row::kDeleteString));
  delete_->setToolTip(Msg(text_row::kDeleteString));
  keyboard_->setText(Msg(text_row::kKeyboardTitle));
  keyboard_->setToolTip(Msg(text_row::kKeyboardTitle));
  find_label_->setText(Msg(rows::kSearchLabel));
  find_->setText(Msg(text_row::kFindNext));
}

bool TForm6::GuardaDatos() {
  if (Result r = list_.Guarda(*Node()); !r) {
    Prompts::Report(this, r);
    return false;
  }
  Main().NodeWritten(Node());
  return true;
}

void TForm6::Select(int i) {
  if (i >= 0 && i < static_cast<int>(list_.strings.size())) Refresh(i);
}

void TForm6::Refresh(int i) {
  const int count = static_cast<int>(list_.strings.size());
  if (i >= count) i = count - 1;
  updating_ = true;
  if (selector_->count() != count) {
    selector_->clear();
    for (int k = 0; k < count; ++k) selector_->addItem(QString::number(k));
  }
  selector_->setCurrentIndex(i);
  selected_ = i;
  // With no string there is nothing to edit: the box is empty and stores nothing.
  text_->setReadOnly(i < 0);
  delete_->setEnabled(i >= 0);
  text_->setPlainText(i < 0 ? QString()
                            : StringToText(list_.strings[static_cast<std::size_t>(i)]));
  text_->moveCursor(QTextCursor::End);
  updating_ = false;
  UpdatePreview();
}

void TForm6::TextEdited() {
  if (updating_ || selected_ < 0) return;
  std::string now = TextToString(text_->document()->toRawText());
  if (now.size() > list_.MaxLength()) {
    // Beyond the form's limit nothing is kept: the box shows what is stored.
    now.resize(list_.MaxLength());
    const int caret = text_->textCursor().position();
    updating_ = true;
    text_->setPlainText(StringToText(now));
    QTextCursor cursor = text_->textCursor();
    cursor.setPosition(std::min(caret, static_cast<int>(text_->document()->characterCount()) - 1));
    text_->setTextCursor(cursor);
    updating_ = false;
  }
  if (now == list_.strings[static_cast<std::size_t>(selected_)]) return;
  std::vector<std::string> after = list_.strings;
  after[static_cast<std::size_t>(selected_)] = std::move(now);
  Push(new StringsCommand(*this, std::move(after), selected_, kTypingId, true));
  merge_next_ = true;
}

void TForm6::NuevaCadena() {
  TMHWStringsList next = list_;
  if (!next.NuevaCadena(selected_)) return;
  Push(new StringsCommand(*this, std::move(next.strings), selected_ + 1, -1, false));
}

void TForm6::BorraCadena() {
  TMHWStringsList next = list_;
  if (selected_ < 0 || !next.BorraCadena(selected_)) return;
  const int count = static_cast<int>(next.strings.size());
  Push(new StringsCommand(*this, std::move(next.strings), std::min(selected_, count - 1), -1,
                          false));
}

void TForm6::Keyboard() {
  if (selected_ < 0) return;
  const std::string picked = VirtualKeyboard(&Main()).Mostrar(Main().Doc().Fonts(), 0);
  if (picked.empty()) return;
  // The picked characters are one undo step of their own.
  merge_next_ = false;
  text_->textCursor().insertText(StringToText(picked));
  merge_next_ = true;
  text_->setFocus();
}

bool TForm6::FindNext() {
  const std::string needle = TextToString(find_text_->text());
  const int from = std::max(selected_, 0);
  const std::size_t pos =
      selected_ < 0 ? 0 : static_cast<std::size_t>(text_->textCursor().selectionEnd());
  const auto match = list_.Busca(needle, from, pos);
  if (!match) {
    if (!needle.empty()) Prompts::Inform(this, Msg(text_row::kStringNotFound));
    return false;
  }
  Refresh(match->index);
  // One character of the box per byte of the string.
  QTextCursor cursor = text_->textCursor();
  cursor.setPosition(static_cast<int>(match->pos));
  cursor.setPosition(static_cast<int>(match->pos + needle.size()), QTextCursor::KeepAnchor);
  text_->setTextCursor(cursor);
  return true;
}

void TForm6::UpdatePreview() {
  const TMHWFont& fonts = Main().Doc().Fonts();
  if (selected_ < 0 || !fonts.Valid(0)) {
    preview_->clear();
    return;
  }
  const std::string& s = list_.strings[static_cast<std::size_t>(selected_)];
  std::vector<std::string_view> lines;
  for (std::size_t start = 0;;) {
    const std::size_t end = s.find('\n', start);
    lines.push_back(std::string_view(s).substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos || lines.size() == kPreviewMaxLines) break;
    start = end + 1;
  }
  const int h = std::max(1, static_cast<int>(fonts.fonts[0].height));
  int w = 1;
  for (std::string_view line : lines) w = std::max(w, fonts.AnchoTexto(line, 0));
  w = std::min(w, kPreviewMaxWidth);
  PixelBuffer picture(w, h * static_cast<int>(lines.size()), Rgb{255, 255, 255});
  const ClipRect clip{0, 0, picture.Width(), picture.Height()};
  for (std::size_t k = 0; k < lines.size(); ++k)
    DibujaTexto(picture, fonts, lines[k], clip, 0, 0, static_cast<int>(k) * h, Rgb{});
  preview_->setPixmap(QPixmap::fromImage(ToImage(picture)));
}

void RegisterTextEditor() {
  EditorRegistry::Register(FileKind::Strings, [](TMainForm& main, TNodo& node) -> EditorChild* {
    return new TForm6(main, node);
  });
}

}  // namespace corvane::ui

#include "hex_search_dialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "document/hex_text.h"
#include "hex_editor_widget.h"
#include "prompts.h"
#include "ui_text.h"

namespace corvane::ui {

TForm8::TForm8(THexEditor& grid, QWidget* parent)
    : QDialog(parent, Qt::Tool), grid_(grid), label_(new QLabel), text_(new QLineEdit) {
  setObjectName(QStringLiteral("TForm8"));
  setModal(false);
  auto* row = new QHBoxLayout(this);
  row->addWidget(label_);
  row->addWidget(text_, 1);
  label_->setBuddy(text_);
  connect(text_, &QLineEdit::textEdited, this, &TForm8::FilterHexDigits);
  resize(360, sizeHint().height());
  CambiaIdioma();
}

void TForm8::Open(Mode mode) {
  mode_ = mode;
  CambiaIdioma();
  FilterHexDigits();
  show();
  raise();
  activateWindow();
  text_->setFocus();
  text_->selectAll();
}

void TForm8::CambiaIdioma() {
  setWindowTitle(Msg(mode_ == Mode::Text ? 42 : 43));
  label_->setText(Msg(101));
}

void TForm8::FilterHexDigits() {
  if (mode_ != Mode::Hex) return;
  const QString text = text_->text();
  QString digits;
  for (QChar c : text)
    if (c.isDigit() || (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f')))
      if (c.unicode() < 0x80) digits += c;
  if (digits != text) {
    const int cursor = text_->cursorPosition() - static_cast<int>(text.size() - digits.size());
    text_->setText(digits);
    text_->setCursorPosition(std::max(0, cursor));
  }
}

void TForm8::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    Busca();
    return;
  }
  QDialog::keyPressEvent(event);  // Escape closes
}

bool TForm8::Busca() {
  const QString text = text_->text();
  if (text.isEmpty()) return false;
  Bytes pattern;
  if (mode_ == Mode::Hex) {
    pattern = ParseSearchHex(text.toUpper().toStdString());
  } else {
    const QByteArray bytes = text.toLatin1();
    pattern.assign(bytes.begin(), bytes.end());
  }
  const Bytes& data = grid_.Data();
  // From one byte after the start of the selection; without a selection, from the caret.
  std::size_t from = grid_.Cursor();
  if (grid_.HasSelection() && grid_.SelStart() + 1 < data.size()) from = grid_.SelStart() + 1;
  const std::optional<std::size_t> hit =
      FindBytes(data, pattern, from, mode_ == Mode::Text);
  if (!hit) {
    Prompts::Error(this, Msg(18));
    return false;
  }
  grid_.Select(*hit, *hit + pattern.size() - 1);
  return true;
}

}  // namespace corvane::ui
